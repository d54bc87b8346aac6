#include "framework/list_view.h"

#include <algorithm>
#include <array>

#include "framework/image_list.h"
#include "platform/window_constants.h"

namespace framework {

using namespace platform::window;

namespace {
std::uintptr_t Index(int index) { return static_cast<std::uintptr_t>(index); }

// Longer item texts are read cut to this.
constexpr int kItemTextCapacity = 260;
}  // namespace

int ListView::InsertColumn(int index, std::string_view heading, int width) {
  const std::string text(heading);
  platform::ListViewColumn column;
  column.heading = text.c_str();
  column.width = width;
  return static_cast<int>(Send(kLvmInsertColumn, Index(index), Pointer(&column)));
}

int ListView::InsertItem(int index, std::string_view text, int image, unsigned state) {
  std::string itemText(text);
  platform::ListViewItem item;
  item.mask = kLvifText | kLvifImage | kLvifState;
  item.item = index;
  item.text = itemText.data();
  item.image = image;
  item.state = state;
  item.stateMask = state;
  return static_cast<int>(Send(kLvmInsertItem, 0, Pointer(&item)));
}

bool ListView::DeleteItem(int index) { return Send(kLvmDeleteItem, Index(index)) != 0; }

bool ListView::DeleteAllItems() { return Send(kLvmDeleteAllItems) != 0; }

int ListView::GetItemCount() const { return static_cast<int>(Send(kLvmGetItemCount)); }

bool ListView::SetItemText(int index, int subItem, std::string_view text) {
  std::string itemText(text);
  platform::ListViewItem item;
  item.subItem = subItem;
  item.text = itemText.data();
  return Send(kLvmSetItemText, Index(index), Pointer(&item)) != 0;
}

std::string ListView::GetItemText(int index, int subItem) const {
  std::array<char, kItemTextCapacity> buffer{};
  platform::ListViewItem item;
  item.subItem = subItem;
  item.text = buffer.data();
  item.textCapacity = kItemTextCapacity;
  const std::intptr_t length = Send(kLvmGetItemText, Index(index), Pointer(&item));
  if (length <= 0) return {};
  return std::string(buffer.data(), std::min<std::size_t>(length, kItemTextCapacity - 1));
}

int ListView::GetItemImage(int index) const {
  platform::ListViewItem item;
  item.mask = kLvifImage;
  item.item = index;
  return Send(kLvmGetItem, 0, Pointer(&item)) != 0 ? item.image : -1;
}

bool ListView::SetItemData(int index, std::intptr_t data) {
  platform::ListViewItem item;
  item.mask = kLvifParam;
  item.item = index;
  item.param = data;
  return Send(kLvmSetItem, 0, Pointer(&item)) != 0;
}

std::intptr_t ListView::GetItemData(int index) const {
  platform::ListViewItem item;
  item.mask = kLvifParam;
  item.item = index;
  return Send(kLvmGetItem, 0, Pointer(&item)) != 0 ? item.param : 0;
}

unsigned ListView::GetItemState(int index, unsigned mask) const {
  return static_cast<unsigned>(Send(kLvmGetItemState, Index(index), mask));
}

bool ListView::SetItemState(int index, unsigned state, unsigned mask) {
  platform::ListViewItem item;
  item.mask = kLvifState;
  item.state = state;
  item.stateMask = mask;
  return Send(kLvmSetItemState, Index(index), Pointer(&item)) != 0;
}

int ListView::GetNextItem(int start, unsigned flags) const {
  return static_cast<int>(Send(kLvmGetNextItem, Index(start), flags));
}

const ImageList* ListView::SetImageList(const ImageList* list, int kind) {
  const platform::ImageListPictures* pictures = list != nullptr ? list->pictures() : nullptr;
  return ImageList::FromPictures(reinterpret_cast<const platform::ImageListPictures*>(
      Send(kLvmSetImageList, Index(kind), Pointer(pictures))));
}

const ImageList* ListView::GetImageList(int kind) const {
  return ImageList::FromPictures(
      reinterpret_cast<const platform::ImageListPictures*>(Send(kLvmGetImageList, Index(kind))));
}

bool ListView::EnsureVisible(int index) { return Send(kLvmEnsureVisible, Index(index)) != 0; }

int ListView::GetTopIndex() const { return static_cast<int>(Send(kLvmGetTopIndex)); }

}  // namespace framework
