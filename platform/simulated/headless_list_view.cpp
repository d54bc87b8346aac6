#include "platform/simulated/headless_list_view.h"

#include <algorithm>
#include <cstring>

#include "platform/window_constants.h"

namespace platform::simulated {

using namespace window;

std::intptr_t ListView::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  const int index = static_cast<int>(wParam);
  auto* item = reinterpret_cast<ListViewItem*>(lParam);
  switch (message) {
    case kLvmInsertColumn: {
      const auto* column = reinterpret_cast<const ListViewColumn*>(lParam);
      if (column == nullptr) return -1;
      return InsertColumn(index, column->heading != nullptr ? column->heading : "", column->width);
    }
    case kLvmInsertItem: {
      if (item == nullptr) return -1;
      const char* text = (item->mask & kLvifText) != 0 && item->text != nullptr ? item->text : "";
      const int image = (item->mask & kLvifImage) != 0 ? item->image : -1;
      const unsigned state = (item->mask & kLvifState) != 0 ? item->state & item->stateMask : 0;
      const int at = InsertItem(item->item, text, image, state);
      if ((item->mask & kLvifParam) != 0) SetItemData(at, item->param);
      return at;
    }
    case kLvmDeleteItem:
      return DeleteItem(index) ? 1 : 0;
    case kLvmDeleteAllItems:
      return DeleteAllItems() ? 1 : 0;
    case kLvmGetItemCount:
      return GetItemCount();
    case kLvmGetItem:
      return item != nullptr && GetItem(*item) ? 1 : 0;
    case kLvmSetItem:
      return item != nullptr && SetItem(*item) ? 1 : 0;
    case kLvmGetItemText: {
      if (item == nullptr) return 0;
      item->item = index;
      item->mask = kLvifText;
      GetItem(*item);
      const bool written = item->text != nullptr && item->textCapacity > 0;
      return written ? static_cast<std::intptr_t>(std::strlen(item->text)) : 0;
    }
    case kLvmSetItemText:
      if (item == nullptr) return 0;
      return SetItemText(index, item->subItem, item->text != nullptr ? item->text : "") ? 1 : 0;
    case kLvmGetItemState:
      return GetItemState(index, static_cast<unsigned>(lParam));
    case kLvmSetItemState:
      return item != nullptr && SetItemState(index, item->state, item->stateMask) ? 1 : 0;
    case kLvmGetNextItem:
      return GetNextItem(index, static_cast<unsigned>(lParam));
    case kLvmSetImageList:
      return SetImageList(lParam, index);
    case kLvmGetImageList:
      return GetImageList(index);
    case kLvmEnsureVisible:
      return EnsureVisible(index) ? 1 : 0;
    case kLvmGetTopIndex:
      return topIndex_;
    default:
      return Control::Send(message, wParam, lParam);
  }
}

bool ListView::GetItem(ListViewItem& item) const {
  if (!IsValid(item.item) || item.subItem < 0) return false;
  const Item& stored = items_[item.item];
  if ((item.mask & kLvifText) != 0 && item.text != nullptr && item.textCapacity > 0) {
    const std::string text = GetItemText(item.item, item.subItem);
    const std::size_t length =
        std::min(text.size(), static_cast<std::size_t>(item.textCapacity - 1));
    text.copy(item.text, length);
    item.text[length] = '\0';
  }
  if ((item.mask & kLvifImage) != 0) item.image = stored.image;
  if ((item.mask & kLvifState) != 0) item.state = stored.state & item.stateMask;
  if ((item.mask & kLvifParam) != 0) item.param = stored.data;
  return true;
}

bool ListView::SetItem(const ListViewItem& item) {
  if (!IsValid(item.item) || item.subItem < 0) return false;
  if ((item.mask & kLvifText) != 0) {
    SetItemText(item.item, item.subItem, item.text != nullptr ? item.text : "");
  }
  if ((item.mask & kLvifImage) != 0) items_[item.item].image = item.image;
  if ((item.mask & kLvifParam) != 0) items_[item.item].data = item.param;
  if ((item.mask & kLvifState) != 0) ChangeState(item.item, item.state, item.stateMask);
  return true;
}

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

std::intptr_t ListView::SetImageList(std::intptr_t list, int kind) {
  std::intptr_t& slot = kind == kLvsilSmall ? smallImages_ : normalImages_;
  const std::intptr_t previous = slot;
  slot = list;
  return previous;
}

std::intptr_t ListView::GetImageList(int kind) const {
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

ControlSnapshot ListView::Snapshot() const {
  ControlSnapshot snapshot = Control::Snapshot();
  const int selected = GetNextItem(-1, kLvniSelected);
  snapshot.selectionStart = snapshot.selectionEnd = selected;
  for (const Item& item : items_) snapshot.items.push_back(item.texts.front());
  return snapshot;
}

}  // namespace platform::simulated
