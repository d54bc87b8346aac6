#include "platform/simulated/headless_edit.h"

#include <algorithm>

#include "platform/window_constants.h"

namespace platform::simulated {

using namespace window;

namespace {

bool IsDigit(std::string_view character) {
  return character.size() == 1 && character[0] >= '0' && character[0] <= '9';
}

constexpr char kBackspace = '\b';

}  // namespace

Edit::Edit(ControlOwner& owner, int id, std::uint32_t style, std::string text)
    : Control(owner, id, style, std::move(text)),
      passwordChar_((style & kEsPassword) != 0 ? kDefaultPasswordChar : '\0') {}

void Edit::SetWindowText(std::string_view text) {
  set_text(std::string(text));
  canUndo_ = false;
  selStart_ = selEnd_ = 0;
  caretScrolledIntoView_ = false;
  Changed();
}

std::intptr_t Edit::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  switch (message) {
    case kEmGetSel:
      if (wParam != 0) *reinterpret_cast<std::uint32_t*>(wParam) = selStart_;
      if (lParam != 0) *reinterpret_cast<std::uint32_t*>(lParam) = selEnd_;
      return (selStart_ & 0xFFFF) | (selEnd_ << 16);
    case kEmSetSel:
      SetSel(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case kEmScrollCaret:
      ScrollCaret();
      return 1;
    case kEmReplaceSel:
      ReplaceSel(lParam != 0 ? reinterpret_cast<const char*>(lParam) : "", wParam != 0);
      return 0;
    case kEmLimitText:
      LimitText(static_cast<int>(wParam));
      return 0;
    case kEmGetLimitText:
      return limit_;
    case kEmCanUndo:
      return CanUndo() ? 1 : 0;
    case kEmUndo:
      return Undo() ? 1 : 0;
    case kEmEmptyUndoBuffer:
      EmptyUndoBuffer();
      return 0;
    case kEmSetPasswordChar:
      SetPasswordChar(static_cast<char>(wParam));
      return 0;
    case kEmGetPasswordChar:
      return static_cast<unsigned char>(passwordChar_);
    default:
      return Control::Send(message, wParam, lParam);
  }
}

void Edit::LimitText(int limit) { limit_ = limit <= 0 ? kMaximumLimit : limit; }

void Edit::SetSel(int start, int end) {
  const int length = static_cast<int>(GetWindowText().size());
  if (start < 0) {
    // Deselects, leaving the caret where the selection ended.
    selStart_ = selEnd_;
    return;
  }
  if (end < 0 || end > length) end = length;
  start = std::min(start, length);
  selStart_ = std::min(start, end);
  selEnd_ = std::max(start, end);
}

void Edit::ReplaceSel(std::string_view text, bool canUndo) {
  ReplaceSelection(text, /*honourLimit=*/true, canUndo);
}

bool Edit::Undo() {
  if (!canUndo_) return false;
  std::string current = GetWindowText();
  set_text(undoText_);
  undoText_ = std::move(current);
  // An undo can itself be undone, as in Win32.
  selStart_ = selEnd_ = static_cast<int>(GetWindowText().size());
  Changed();
  return true;
}

bool Edit::TypeCharacter(std::string_view character) {
  if (!TakesInput() || (style() & kEsReadOnly) != 0 || character.empty()) return false;
  if (character.size() == 1 && character[0] == kBackspace) {
    if (selStart_ == selEnd_) {
      if (selStart_ == 0) return false;
      selStart_ -= 1;
    }
    return ReplaceSelection({}, /*honourLimit=*/false, /*canUndo=*/true);
  }
  if ((style() & kEsNumber) != 0 && !IsDigit(character)) return false;
  const int length = static_cast<int>(GetWindowText().size());
  const int room = limit_ - (length - (selEnd_ - selStart_));
  if (room < static_cast<int>(character.size())) return false;
  return ReplaceSelection(character, /*honourLimit=*/true, /*canUndo=*/true);
}

bool Edit::Paste(std::string_view text) {
  if (!TakesInput() || (style() & kEsReadOnly) != 0) return false;
  // A single-line edit takes the clipboard's first line only.
  text = text.substr(0, text.find_first_of("\r\n"));
  return ReplaceSelection(text, /*honourLimit=*/true, /*canUndo=*/true);
}

bool Edit::Clear() {
  if (!TakesInput() || (style() & kEsReadOnly) != 0) return false;
  SetSel(0, -1);
  return ReplaceSelection({}, /*honourLimit=*/false, /*canUndo=*/true);
}

void Edit::PlaceCaretAtEnd() { selStart_ = selEnd_ = static_cast<int>(GetWindowText().size()); }

bool Edit::ReplaceSelection(std::string_view text, bool honourLimit, bool canUndo) {
  const std::string& current = GetWindowText();
  const int length = static_cast<int>(current.size());
  if (honourLimit) {
    const int room = std::max(0, limit_ - (length - (selEnd_ - selStart_)));
    if (static_cast<int>(text.size()) > room) text = text.substr(0, room);
  }
  if (text.empty() && selStart_ == selEnd_) return false;

  std::string next = current.substr(0, selStart_);
  next.append(text);
  next.append(current, selEnd_, std::string::npos);
  if (canUndo) {
    undoText_ = current;
    canUndo_ = true;
  }
  selStart_ = selEnd_ = selStart_ + static_cast<int>(text.size());
  set_text(std::move(next));
  Changed();
  return true;
}

void Edit::Changed() {
  NotifyCommand(kEnUpdate);
  NotifyCommand(kEnChange);
}

ControlSnapshot Edit::Snapshot() const {
  ControlSnapshot snapshot = Control::Snapshot();
  snapshot.selectionStart = selStart_;
  snapshot.selectionEnd = selEnd_;
  return snapshot;
}

}  // namespace platform::simulated
