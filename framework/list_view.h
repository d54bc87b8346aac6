// A list view: items with an icon, a state and sub-item texts, in columns.
// Every change of an item's state notifies LVN_ITEMCHANGED.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/control.h"

namespace framework {

class ImageList;

class ListView : public Control {
 public:
  using Control::Control;

  // LVM_INSERTCOLUMN: the column's index.
  int InsertColumn(int index, std::string_view heading, int width);

  // LVM_INSERTITEM: at `index` (clamped to the end); returns the index.
  int InsertItem(int index, std::string_view text, int image = -1, unsigned state = 0);
  bool DeleteItem(int index);
  bool DeleteAllItems();
  int GetItemCount() const;

  // LVM_SETITEMTEXT / LVM_GETITEMTEXT: `subItem` 0 is the item itself.
  bool SetItemText(int index, int subItem, std::string_view text);
  std::string GetItemText(int index, int subItem) const;
  int GetItemImage(int index) const;
  bool SetItemData(int index, std::intptr_t data);
  std::intptr_t GetItemData(int index) const;

  // LVM_GETITEMSTATE / LVM_SETITEMSTATE (index -1: every item).
  unsigned GetItemState(int index, unsigned mask) const;
  bool SetItemState(int index, unsigned state, unsigned mask);
  // LVM_GETNEXTITEM: the next item after `start` (-1: from the top) with
  // every state bit of `flags` (LVNI_SELECTED, LVNI_FOCUSED), or -1.
  int GetNextItem(int start, unsigned flags) const;

  // LVM_SETIMAGELIST: returns the previous list of that kind. The list
  // view does not own it.
  const ImageList* SetImageList(const ImageList* list, int kind);
  const ImageList* GetImageList(int kind) const;

  // LVM_ENSUREVISIBLE / LVM_GETTOPINDEX.
  bool EnsureVisible(int index);
  int GetTopIndex() const;
};

}  // namespace framework
