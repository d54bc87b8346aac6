// A single-line edit control with the Win32 behaviours the prompts rely on:
// every change of the text, a programmatic one included, notifies EN_UPDATE
// then EN_CHANGE; ES_NUMBER refuses typed non-digits but not pasted text; the
// text limit holds against typing and pasting, not against SetWindowText;
// the last change can be undone.
#pragma once

#include <string>
#include <string_view>

#include "platform/simulated/headless_control.h"

namespace platform::simulated {

class Edit : public Control {
 public:
  // The limit before EM_LIMITTEXT, and what EM_LIMITTEXT 0 gives a single-line edit.
  static constexpr int kDefaultLimit = 32767;
  static constexpr int kMaximumLimit = 0x7FFFFFFE;
  static constexpr char kDefaultPasswordChar = '*';

  Edit(ControlOwner& owner, int id, std::uint32_t style, std::string text);
  std::string_view kind() const override { return "edit"; }
  std::string ClassName() const override { return "EDIT"; }
  std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

  // WM_SETTEXT: no limit applies; empties the undo buffer; caret to the start.
  void SetWindowText(std::string_view text) override;

  // EM_LIMITTEXT (0: the maximum) / EM_GETLIMITTEXT.
  void LimitText(int limit);
  int GetLimitText() const { return limit_; }

  // EM_SETSEL: start -1 removes the selection; end -1 runs to the end.
  void SetSel(int start, int end);
  int selectionStart() const { return selStart_; }
  int selectionEnd() const { return selEnd_; }
  // EM_REPLACESEL: replaces the selection, within the limit.
  void ReplaceSel(std::string_view text, bool canUndo = true);
  // EM_SCROLLCARET: brings the caret into view.
  void ScrollCaret() { caretScrolledIntoView_ = true; }
  bool caretScrolledIntoView() const { return caretScrolledIntoView_; }

  // EM_UNDO / EM_CANUNDO / EM_EMPTYUNDOBUFFER.
  bool Undo();
  bool CanUndo() const { return canUndo_; }
  void EmptyUndoBuffer() { canUndo_ = false; }

  // EM_SETPASSWORDCHAR (0: show the text) / EM_GETPASSWORDCHAR.
  void SetPasswordChar(char c) { passwordChar_ = c; }
  char GetPasswordChar() const { return passwordChar_; }

  // The user. Each returns false when the control refused the input.
  // One keystroke: `character` is one character's bytes ("\b" deletes).
  bool TypeCharacter(std::string_view character);
  // A paste at the caret, replacing the selection; stops at a line break.
  bool Paste(std::string_view text);
  // Select all and delete.
  bool Clear();
  // A click after the end of the text.
  void PlaceCaretAtEnd();

  ControlSnapshot Snapshot() const override;

 private:
  // Replaces the selection with `text` cut to what the limit allows.
  bool ReplaceSelection(std::string_view text, bool honourLimit, bool canUndo);
  void Changed();

  int limit_ = kDefaultLimit;
  int selStart_ = 0;
  int selEnd_ = 0;
  bool caretScrolledIntoView_ = false;
  std::string undoText_;
  bool canUndo_ = false;
  char passwordChar_;
};

}  // namespace platform::simulated
