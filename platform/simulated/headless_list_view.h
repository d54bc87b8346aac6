// A list view: items with an icon, a state and sub-item texts, in columns.
// Every change of an item's state notifies LVN_ITEMCHANGED, an item inserted
// with a state included.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simulated/headless_control.h"

namespace platform::simulated {

class ListView : public Control {
 public:
  using Control::Control;
  std::string_view kind() const override { return "list view"; }
  std::string ClassName() const override { return "SysListView32"; }
  std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

  // LVM_INSERTCOLUMN: the column's index.
  int InsertColumn(int index, std::string_view heading, int width);
  int GetColumnCount() const { return static_cast<int>(columns_.size()); }

  // LVM_INSERTITEM: at `index` (clamped to the end); returns the index.
  int InsertItem(int index, std::string_view text, int image = -1, unsigned state = 0);
  bool DeleteItem(int index);
  bool DeleteAllItems();
  int GetItemCount() const { return static_cast<int>(items_.size()); }

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
  // view does not own it: it keeps the handle it is given.
  std::intptr_t SetImageList(std::intptr_t list, int kind);
  std::intptr_t GetImageList(int kind) const;

  // LVM_ENSUREVISIBLE / LVM_GETTOPINDEX.
  bool EnsureVisible(int index);
  int GetTopIndex() const { return topIndex_; }

  // The user clicks item `index`: it becomes the focused, selected item (the
  // only one for LVS_SINGLESEL, as for a click without modifier keys).
  bool Select(int index);

  ControlSnapshot Snapshot() const override;

 private:
  struct Item {
    std::vector<std::string> texts;  // [0] the item, then the sub-items
    int image = -1;
    unsigned state = 0;
    std::intptr_t data = 0;
  };
  // LVM_GETITEM / LVM_SETITEM of the fields `item.mask` names.
  bool GetItem(ListViewItem& item) const;
  bool SetItem(const ListViewItem& item);
  bool IsValid(int index) const { return index >= 0 && index < GetItemCount(); }
  void ChangeState(int index, unsigned state, unsigned mask);

  std::vector<std::string> columns_;
  std::vector<Item> items_;
  std::intptr_t normalImages_ = 0;
  std::intptr_t smallImages_ = 0;
  int topIndex_ = 0;
};

}  // namespace platform::simulated
