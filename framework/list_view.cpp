#include "framework/list_view.h"

#include <algorithm>

#include "framework/window_constants.h"

namespace framework {

int ListView::InsertColumn(int index, std::string_view heading, int /*width*/) {
  index = std::clamp(index, 0, GetColumnCount());
  columns_.insert(columns_.begin() + index, std::string(heading));
  return index;
}

int ListView::InsertItem(int index, std::string_view text, int image, unsigned state) {
  index = std::clamp(index, 0, GetItemCount());
  items_.insert(items_.begin() + index, Item{{std::string(text)}, image, 0, 0});
  if (state != 0) ChangeState(index, state, state);
  return index;
}

bool ListView::DeleteItem(int index) {
  if (!IsValid(index)) return false;
  items_.erase(items_.begin() + index);
  return true;
}

bool ListView::DeleteAllItems() {
  items_.clear();
  topIndex_ = 0;
  return true;
}

bool ListView::SetItemText(int index, int subItem, std::string_view text) {
  if (!IsValid(index) || subItem < 0) return false;
  std::vector<std::string>& texts = items_[index].texts;
  if (static_cast<std::size_t>(subItem) >= texts.size()) texts.resize(subItem + 1);
  texts[subItem].assign(text);
  return true;
}

std::string ListView::GetItemText(int index, int subItem) const {
  if (!IsValid(index) || subItem < 0) return {};
  const std::vector<std::string>& texts = items_[index].texts;
  return static_cast<std::size_t>(subItem) < texts.size() ? texts[subItem] : std::string();
}

int ListView::GetItemImage(int index) const { return IsValid(index) ? items_[index].image : -1; }

bool ListView::SetItemData(int index, std::intptr_t data) {
  if (!IsValid(index)) return false;
  items_[index].data = data;
  return true;
}

std::intptr_t ListView::GetItemData(int index) const {
  return IsValid(index) ? items_[index].data : 0;
}

unsigned ListView::GetItemState(int index, unsigned mask) const {
  return IsValid(index) ? items_[index].state & mask : 0;
}

bool ListView::SetItemState(int index, unsigned state, unsigned mask) {
  if (index == -1) {
    for (int i = 0; i < GetItemCount(); ++i) ChangeState(i, state, mask);
    return true;
  }
  if (!IsValid(index)) return false;
  ChangeState(index, state, mask);
  return true;
}

void ListView::ChangeState(int index, unsigned state, unsigned mask) {
  const unsigned oldState = items_[index].state;
  const unsigned newState = (oldState & ~mask) | (state & mask);
  if (newState == oldState) return;
  items_[index].state = newState;
  Notification notification;
  notification.code = kLvnItemChanged;
  notification.item = index;
  notification.oldState = oldState;
  notification.newState = newState;
  NotifyOwner(notification);
}

int ListView::GetNextItem(int start, unsigned flags) const {
  for (int index = std::max(start + 1, 0); index < GetItemCount(); ++index) {
    if ((items_[index].state & flags) == flags) return index;
  }
  return -1;
}

const ImageList* ListView::SetImageList(const ImageList* list, int kind) {
  const ImageList*& slot = kind == kLvsilSmall ? smallImages_ : normalImages_;
  const ImageList* previous = slot;
  slot = list;
  return previous;
}

const ImageList* ListView::GetImageList(int kind) const {
  return kind == kLvsilSmall ? smallImages_ : normalImages_;
}

bool ListView::EnsureVisible(int index) {
  if (!IsValid(index)) return false;
  topIndex_ = index;
  return true;
}

bool ListView::Select(int index) {
  if (!TakesInput() || !IsValid(index)) return false;
  // Selecting another item first drops the old selection, as a plain click does.
  for (int i = 0; i < GetItemCount(); ++i) {
    if (i != index) ChangeState(i, 0, kLvisSelected | kLvisFocused);
  }
  ChangeState(index, kLvisSelected | kLvisFocused, kLvisSelected | kLvisFocused);
  return true;
}

platform::ControlSnapshot ListView::Snapshot() const {
  platform::ControlSnapshot snapshot = Control::Snapshot();
  const int selected = GetNextItem(-1, kLvniSelected);
  snapshot.selectionStart = snapshot.selectionEnd = selected;
  for (const Item& item : items_) snapshot.items.push_back(item.texts.front());
  return snapshot;
}

}  // namespace framework
