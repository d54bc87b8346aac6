#include "tabprint/image_shift_field.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "framework/combo_box.h"
#include "platform/kernel.h"
#include "platform/machine.h"
#include "prompts/message_boxes.h"
#include "prompts/module_text.h"
#include "resources/resource_ids.h"

namespace tabprint {
namespace {

constexpr char kDecimalPoint = '.';
// LOCALE_SDECIMAL holds at most three characters and the terminator.
constexpr int kSeparatorBufferSize = 4;
constexpr const char* kShownFormat = "%0.3f";
constexpr std::string_view kMillimetreLabel = "( 0.0 - 30.0 mm )";
constexpr std::string_view kInchLabel = "( 0.0 - 1.19 in )";
constexpr std::size_t kNumberTextSize = 64;

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

// The number the C library reads from the start of `text`, in the user's
// notation.
float ReadValue(const std::string& text, char separator) {
  const std::string normal = Replaced(text, separator, kDecimalPoint);
  return static_cast<float>(std::strtod(normal.c_str(), nullptr));
}

std::string Formatted(const char* format, float value) {
  std::array<char, kNumberTextSize> text{};
  std::snprintf(text.data(), text.size(), format, static_cast<double>(value));
  return Replaced(text.data(), kDecimalPoint, GetDecimalSeparator());
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

char GetDecimalSeparator() {
  std::array<char, kSeparatorBufferSize> separator{};
  platform::Kernel& kernel = platform::CurrentMachine().kernel();
  if (kernel.GetLocaleInfo(platform::kLocaleSDecimal, separator.data(), kSeparatorBufferSize) <=
          0 ||
      separator[0] == '\0') {
    return kDecimalPoint;
  }
  return separator[0];
}

std::string ShiftRangeLabel(ShiftUnit unit) {
  std::string label(unit == kInches ? kInchLabel : kMillimetreLabel);
  if (unit == kInches) {
    std::string inches;
    prompts::LoadModuleText(IDS_STR_TAB_UNIT_INCHES, inches);
    if (inches.size() >= 2) {
      label = Replaced(Replaced(label, 'i', inches[0]), 'n', inches[1]);
    }
  }
  return Replaced(label, kDecimalPoint, GetDecimalSeparator());
}

std::string ImageShiftField::EditText() const { return dialog_.GetDlgItemText(editId_); }

ShiftUnit ImageShiftField::SelectedUnit() const {
  const auto* list = dialog_.Item<framework::ComboBox>(unitId_);
  return list != nullptr && list->GetCurSel() == kInches ? kInches : kMillimetres;
}

float ImageShiftField::EditValue() const { return ReadValue(EditText(), GetDecimalSeparator()); }

void ImageShiftField::ShowValue(const char* format, float value) {
  dialog_.SetDlgItemText(editId_, Formatted(format, value));
}

void ImageShiftField::ShowUnit(ShiftUnit unit) {
  if (auto* list = dialog_.Item<framework::ComboBox>(unitId_)) list->SetCurSel(unit);
  dialog_.SetDlgItemText(IDC_SHIFT_RANGE, ShiftRangeLabel(unit));
}

void ImageShiftField::Parse(std::string_view text, float& shift, int& unit) {
  ImageShift read = ReadImageShiftText(text);
  if (text.empty() || read.value < 0.0f || ExceedsShiftRange(read.value, read.unit)) {
    read.value = DefaultShift(read.unit);
  }
  shift = startShift_ = read.value;
  unit = startUnit_ = read.unit;
  // The unit first, so that the edit's check reads the new value in it.
  ShowUnit(read.unit);
  ShowValue(kShownFormat, read.value);
}

void ImageShiftField::ShowStockShift(float millimetres, int& unit) {
  unit = kMillimetres;
  ShowUnit(kMillimetres);
  ShowValue(kShownFormat, millimetres);
}

void ImageShiftField::ConvertUnit(int& unit) {
  float value = EditValue();
  const ShiftUnit selected = SelectedUnit();
  if (selected == unit) return;
  if (selected == kInches) {
    value = value == kMaxShiftMillimetres ? kMaxShiftInches : value * kInchesPerMillimetre;
  } else {
    value = MillimetresFromInches(value);
  }
  dialog_.SetDlgItemText(IDC_SHIFT_RANGE, ShiftRangeLabel(selected));
  unit = selected;
  ShowValue(convertedFormat_, value);
}

void ImageShiftField::CheckTyping() {
  const std::string text = EditText();
  if (text.empty()) return;
  const char separator = GetDecimalSeparator();
  const ShiftUnit unit = SelectedUnit();
  const std::string defaultText = Formatted(kShownFormat, DefaultShift(unit));
  bool separatorSeen = false;
  for (char c : text) {
    if (IsDigit(c)) continue;
    if (c == separator && !separatorSeen) {
      separatorSeen = true;
      continue;
    }
    dialog_.SetDlgItemText(editId_, defaultText);
    return;
  }
  if (ExceedsShiftRange(ReadValue(text, separator), unit)) {
    dialog_.SetDlgItemText(editId_, defaultText);
  }
}

bool ImageShiftField::CheckOnOk(float& shift) {
  const std::string text = EditText();
  shift = ReadValue(text, GetDecimalSeparator());
  if (text.empty() || ExceedsShiftRange(shift, SelectedUnit())) {
    prompts::ShowExportError(IDS_STR_TAB_INVALID_VALUE);
    dialog_.GotoDlgCtrl(editId_);
    return false;
  }
  return true;
}

void ImageShiftField::RewriteForExchange(float shift) {
  dialog_.SetDlgItemText(editId_, shift == 0.0f
                                      ? std::string("0")
                                      : Replaced(EditText(), GetDecimalSeparator(), kDecimalPoint));
}

}  // namespace tabprint
