#include "framework/combo_box.h"

#include "platform/window_constants.h"

namespace framework {

using namespace platform::window;

namespace {
std::uintptr_t Index(int index) { return static_cast<std::uintptr_t>(index); }
}  // namespace

int ComboBox::AddString(std::string_view text) {
  const std::string item(text);
  return static_cast<int>(Send(kCbAddString, 0, Pointer(item.c_str())));
}

int ComboBox::InsertString(int index, std::string_view text) {
  const std::string item(text);
  return static_cast<int>(Send(kCbInsertString, Index(index), Pointer(item.c_str())));
}

int ComboBox::DeleteString(int index) {
  return static_cast<int>(Send(kCbDeleteString, Index(index)));
}

void ComboBox::ResetContent() { Send(kCbResetContent); }

int ComboBox::GetCount() const { return static_cast<int>(Send(kCbGetCount)); }

std::string ComboBox::GetLBText(int index) const {
  const std::intptr_t length = Send(kCbGetLbTextLen, Index(index));
  if (length < 0) return {};
  // CB_GETLBTEXT writes the text and its NUL.
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const std::intptr_t written = Send(kCbGetLbText, Index(index), Pointer(text.data()));
  text.resize(written > 0 && written <= length ? static_cast<std::size_t>(written) : 0);
  return text;
}

bool ComboBox::SetItemData(int index, std::intptr_t data) {
  return Send(kCbSetItemData, Index(index), data) != kCbErr;
}

std::intptr_t ComboBox::GetItemData(int index) const { return Send(kCbGetItemData, Index(index)); }

int ComboBox::GetCurSel() const { return static_cast<int>(Send(kCbGetCurSel)); }

int ComboBox::SetCurSel(int index) { return static_cast<int>(Send(kCbSetCurSel, Index(index))); }

int ComboBox::FindString(int startAfter, std::string_view prefix) const {
  const std::string text(prefix);
  return static_cast<int>(Send(kCbFindString, Index(startAfter), Pointer(text.c_str())));
}

int ComboBox::FindStringExact(int startAfter, std::string_view text) const {
  const std::string exact(text);
  return static_cast<int>(Send(kCbFindStringExact, Index(startAfter), Pointer(exact.c_str())));
}

void ComboBox::LimitText(int limit) { Send(kCbLimitText, Index(limit)); }

}  // namespace framework
