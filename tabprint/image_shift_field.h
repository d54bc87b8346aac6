// The image shift field of both tab dialogs: an edit holding the value in the
// user's decimal notation, a unit list ("mm", "inches") and the range label
// beside them. The dialog keeps the value, the unit and whether the edit's
// change handler is on; the field does the reading, checking and showing.
#pragma once

#include <string>
#include <string_view>

#include "framework/dialog.h"
#include "tabprint/job_record.h"

namespace tabprint {

// The first character of the user's decimal separator ("." when the locale
// gives none).
char GetDecimalSeparator();
// "( 0.0 - 30.0 mm )" or "( 0.0 - 1.19 in )", with the user's separator and
// the inch label's letters taken from the "inches" text.
std::string ShiftRangeLabel(ShiftUnit unit);

class ImageShiftField {
 public:
  // `convertedFormat`: how the value converted into another unit is shown.
  ImageShiftField(framework::Dialog& dialog, int editId, int unitId, const char* convertedFormat)
      : dialog_(dialog), editId_(editId), unitId_(unitId), convertedFormat_(convertedFormat) {}

  // ParseImageShift: the caller's text (empty when none) into `shift` and
  // `unit`; out of range, negative or empty gives the unit's default. Shown,
  // and kept as the shift the dialog started with.
  void Parse(std::string_view text, float& shift, int& unit);
  // The shift the dialog started with, value and unit, as Cancel hands it back.
  void RestoreStart(float& shift, int& unit) const {
    shift = startShift_;
    unit = startUnit_;
  }
  // A tab stock's shift, in millimetres, shown with the millimetre unit.
  void ShowStockShift(float millimetres, int& unit);
  // ConvertShiftUnit: the unit list's selection changed from `unit`.
  void ConvertUnit(int& unit);
  // CheckShiftTyping: the edit's text changed.
  void CheckTyping();
  // The check of CheckShiftOnOk: stores the value read in `shift`; an empty
  // or out-of-range value shows "Invalid value", puts the focus on the edit
  // and answers false.
  bool CheckOnOk(float& shift);
  // The rest of CheckShiftOnOk, with the dialog's change handler off: the
  // edit rewritten with "." for the framework's number exchange ("0" for 0).
  void RewriteForExchange(float shift);

 private:
  std::string EditText() const;
  ShiftUnit SelectedUnit() const;
  float EditValue() const;
  void ShowValue(const char* format, float value);
  void ShowUnit(ShiftUnit unit);

  framework::Dialog& dialog_;
  int editId_;
  int unitId_;
  const char* convertedFormat_;
  float startShift_ = kDefaultShiftMillimetres;
  int startUnit_ = kMillimetres;
};

}  // namespace tabprint
