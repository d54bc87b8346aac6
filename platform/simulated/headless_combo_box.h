// A combo box: a list of ANSI items, a current selection and, for the
// drop-down kinds with an edit field, a text of its own. Programmatic changes
// notify nothing; the user's choices notify CBN_SELCHANGE.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simulated/headless_control.h"

namespace platform::simulated {

class ComboBox : public Control {
 public:
  ComboBox(ControlOwner& owner, int id, std::uint32_t style, std::string text);
  std::string_view kind() const override { return "combo box"; }
  std::string ClassName() const override { return "COMBOBOX"; }
  std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

  bool HasEditField() const;  // CBS_SIMPLE and CBS_DROPDOWN
  bool IsSorted() const;

  // CB_ADDSTRING (sorted lists insert in order) / CB_INSERTSTRING (-1: at the
  // end) / CB_DELETESTRING / CB_RESETCONTENT. Return the index, or CB_ERR.
  int AddString(std::string_view text);
  int InsertString(int index, std::string_view text);
  int DeleteString(int index);  // the count left, or CB_ERR
  void ResetContent();
  int GetCount() const { return static_cast<int>(items_.size()); }
  // CB_GETLBTEXT: empty for an index out of range.
  std::string GetLBText(int index) const;
  // CB_SETITEMDATA / CB_GETITEMDATA.
  bool SetItemData(int index, std::intptr_t data);
  std::intptr_t GetItemData(int index) const;

  // CB_GETCURSEL / CB_SETCURSEL (-1 clears; out of range clears and answers CB_ERR).
  int GetCurSel() const { return selection_; }
  int SetCurSel(int index);

  // CB_FINDSTRING: the first item, after `startAfter` and wrapping round,
  // whose text starts with `prefix` (case-insensitive); -1 searches all from
  // the top. CB_FINDSTRINGEXACT the same for the whole text.
  int FindString(int startAfter, std::string_view prefix) const;
  int FindStringExact(int startAfter, std::string_view text) const;

  // CB_LIMITTEXT for the edit field (0: no limit).
  void LimitText(int limit) { limit_ = limit; }

  // The user: picks item `index` from the list.
  bool Select(int index);
  // One keystroke: a drop-down list jumps to the next item starting with
  // it; an edit field takes it as text (CBN_EDITCHANGE).
  bool TypeCharacter(std::string_view character);

  ControlSnapshot Snapshot() const override;

 private:
  struct Item {
    std::string text;
    std::intptr_t data = 0;
  };
  template <class Matches>
  int Search(int startAfter, Matches matches) const;
  bool IsValid(int index) const { return index >= 0 && index < GetCount(); }

  std::vector<Item> items_;
  int selection_ = -1;
  int limit_ = 0;
};

}  // namespace platform::simulated
