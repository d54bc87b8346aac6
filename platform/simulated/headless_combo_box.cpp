#include "platform/simulated/headless_combo_box.h"

#include "platform/window_constants.h"

namespace platform::simulated {

using namespace window;

namespace {
const char* TextOf(std::intptr_t lParam) {
  return lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
}
}  // namespace

ComboBox::ComboBox(ControlOwner& owner, int id, std::uint32_t style, std::string text)
    : Control(owner, id, style, std::move(text)) {}

std::intptr_t ComboBox::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  const int index = static_cast<int>(wParam);
  switch (message) {
    case kCbAddString:
      return AddString(TextOf(lParam));
    case kCbInsertString:
      return InsertString(index, TextOf(lParam));
    case kCbDeleteString:
      return DeleteString(index);
    case kCbResetContent:
      ResetContent();
      return 0;
    case kCbGetCount:
      return GetCount();
    case kCbGetLbTextLen:
      return IsValid(index) ? static_cast<std::intptr_t>(items_[index].text.size()) : kCbErr;
    case kCbGetLbText: {
      // The caller's buffer holds CB_GETLBTEXTLEN + 1 bytes, as in Win32.
      if (!IsValid(index) || lParam == 0) return kCbErr;
      const std::string& text = items_[index].text;
      char* buffer = reinterpret_cast<char*>(lParam);
      text.copy(buffer, text.size());
      buffer[text.size()] = '\0';
      return static_cast<std::intptr_t>(text.size());
    }
    case kCbSetItemData:
      return SetItemData(index, lParam) ? 0 : kCbErr;
    case kCbGetItemData:
      return GetItemData(index);
    case kCbGetCurSel:
      return GetCurSel();
    case kCbSetCurSel:
      return SetCurSel(index);
    case kCbFindString:
      return FindString(index, TextOf(lParam));
    case kCbFindStringExact:
      return FindStringExact(index, TextOf(lParam));
    case kCbLimitText:
      LimitText(index);
      return 1;
    default:
      return Control::Send(message, wParam, lParam);
  }
}

bool ComboBox::HasEditField() const { return (style() & kCbsTypeMask) != kCbsDropDownList; }

bool ComboBox::IsSorted() const { return (style() & kCbsSort) != 0; }

int ComboBox::AddString(std::string_view text) {
  int index = GetCount();
  if (IsSorted()) {
    index = 0;
    while (index < GetCount() && CompareNoCase(items_[index].text, text) <= 0) ++index;
  }
  return InsertString(index, text);
}

int ComboBox::InsertString(int index, std::string_view text) {
  if (index < 0) index = GetCount();
  if (index > GetCount()) return kCbErr;
  items_.insert(items_.begin() + index, Item{std::string(text), 0});
  if (selection_ >= index) ++selection_;
  return index;
}

int ComboBox::DeleteString(int index) {
  if (!IsValid(index)) return kCbErr;
  items_.erase(items_.begin() + index);
  if (selection_ == index) {
    selection_ = -1;
  } else if (selection_ > index) {
    --selection_;
  }
  return GetCount();
}

void ComboBox::ResetContent() {
  items_.clear();
  selection_ = -1;
  set_text({});
}

std::string ComboBox::GetLBText(int index) const {
  return IsValid(index) ? items_[index].text : std::string();
}

bool ComboBox::SetItemData(int index, std::intptr_t data) {
  if (!IsValid(index)) return false;
  items_[index].data = data;
  return true;
}

std::intptr_t ComboBox::GetItemData(int index) const {
  return IsValid(index) ? items_[index].data : kCbErr;
}

int ComboBox::SetCurSel(int index) {
  if (!IsValid(index)) {
    selection_ = -1;
    set_text({});
    return kCbErr;
  }
  selection_ = index;
  set_text(items_[index].text);
  return index;
}

template <class Matches>
int ComboBox::Search(int startAfter, Matches matches) const {
  const int count = GetCount();
  if (count == 0) return kCbErr;
  const int first = IsValid(startAfter) ? startAfter + 1 : 0;
  for (int step = 0; step < count; ++step) {
    const int index = (first + step) % count;
    if (matches(items_[index].text)) return index;
  }
  return kCbErr;
}

int ComboBox::FindString(int startAfter, std::string_view prefix) const {
  return Search(startAfter,
                [prefix](const std::string& item) { return StartsWithNoCase(item, prefix); });
}

int ComboBox::FindStringExact(int startAfter, std::string_view text) const {
  return Search(startAfter,
                [text](const std::string& item) { return CompareNoCase(item, text) == 0; });
}

bool ComboBox::Select(int index) {
  if (!TakesInput() || !IsValid(index)) return false;
  SetCurSel(index);
  NotifyCommand(kCbnSelChange);
  return true;
}

bool ComboBox::TypeCharacter(std::string_view character) {
  if (!TakesInput() || character.empty()) return false;
  if (HasEditField()) {
    if (limit_ > 0 && GetWindowText().size() + character.size() > static_cast<std::size_t>(limit_))
      return false;
    set_text(GetWindowText() + std::string(character));
    NotifyCommand(kCbnEditChange);
    return true;
  }
  const int found = FindString(selection_, character);
  if (found == kCbErr) return false;
  return Select(found);
}

ControlSnapshot ComboBox::Snapshot() const {
  ControlSnapshot snapshot = Control::Snapshot();
  snapshot.selectionStart = snapshot.selectionEnd = selection_;
  for (const Item& item : items_) snapshot.items.push_back(item.text);
  return snapshot;
}

}  // namespace platform::simulated
