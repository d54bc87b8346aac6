// An edit control: its text limit, selection, undo and password character.
#pragma once

#include <cstdint>
#include <utility>

#include "framework/control.h"
#include "platform/window_constants.h"

namespace framework {

class Edit : public Control {
 public:
  using Control::Control;

  // EM_LIMITTEXT (0: the maximum) / EM_GETLIMITTEXT.
  void LimitText(int limit) { Send(platform::window::kEmLimitText, static_cast<unsigned>(limit)); }
  int GetLimitText() const { return static_cast<int>(Send(platform::window::kEmGetLimitText)); }

  // EM_SETSEL: start -1 removes the selection; end -1 runs to the end.
  void SetSel(int start, int end) {
    Send(platform::window::kEmSetSel, static_cast<std::uintptr_t>(start), end);
  }
  int selectionStart() const { return Selection().first; }
  int selectionEnd() const { return Selection().second; }
  // EM_REPLACESEL: replaces the selection, within the limit.
  void ReplaceSel(const char* text, bool canUndo = true) {
    Send(platform::window::kEmReplaceSel, canUndo ? 1 : 0, Pointer(text));
  }
  // EM_SCROLLCARET: brings the caret into view.
  void ScrollCaret() { Send(platform::window::kEmScrollCaret); }

  // EM_UNDO / EM_CANUNDO / EM_EMPTYUNDOBUFFER.
  bool Undo() { return Send(platform::window::kEmUndo) != 0; }
  bool CanUndo() const { return Send(platform::window::kEmCanUndo) != 0; }
  void EmptyUndoBuffer() { Send(platform::window::kEmEmptyUndoBuffer); }

  // EM_SETPASSWORDCHAR (0: show the text) / EM_GETPASSWORDCHAR.
  void SetPasswordChar(char c) {
    Send(platform::window::kEmSetPasswordChar, static_cast<unsigned char>(c));
  }
  char GetPasswordChar() const {
    return static_cast<char>(Send(platform::window::kEmGetPasswordChar));
  }

 private:
  std::pair<int, int> Selection() const {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    Send(platform::window::kEmGetSel, reinterpret_cast<std::uintptr_t>(&start), Pointer(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
  }
};

}  // namespace framework
