// A combo box: a list of ANSI items and a current selection. Programmatic
// changes notify nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/control.h"

namespace framework {

class ComboBox : public Control {
 public:
  using Control::Control;

  // CB_ADDSTRING (sorted lists insert in order) / CB_INSERTSTRING (-1: at the
  // end) / CB_DELETESTRING / CB_RESETCONTENT. Return the index, or CB_ERR.
  int AddString(std::string_view text);
  int InsertString(int index, std::string_view text);
  int DeleteString(int index);  // the count left, or CB_ERR
  void ResetContent();
  int GetCount() const;
  // CB_GETLBTEXT: empty for an index out of range.
  std::string GetLBText(int index) const;
  // CB_SETITEMDATA / CB_GETITEMDATA.
  bool SetItemData(int index, std::intptr_t data);
  std::intptr_t GetItemData(int index) const;

  // CB_GETCURSEL / CB_SETCURSEL (-1 clears; out of range clears and answers CB_ERR).
  int GetCurSel() const;
  int SetCurSel(int index);

  // CB_FINDSTRING: the first item, after `startAfter` and wrapping round,
  // whose text starts with `prefix` (case-insensitive); -1 searches all from
  // the top. CB_FINDSTRINGEXACT the same for the whole text.
  int FindString(int startAfter, std::string_view prefix) const;
  int FindStringExact(int startAfter, std::string_view text) const;

  // CB_LIMITTEXT for the edit field (0: no limit).
  void LimitText(int limit);
};

}  // namespace framework
