#include "framework/data_exchange.h"

#include <cctype>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <stdexcept>

#include "framework/application.h"
#include "framework/button.h"
#include "framework/combo_box.h"
#include "framework/date_time_picker.h"
#include "framework/edit.h"
#include "framework/resource_text.h"
#include "framework/window_constants.h"
#include "platform/decimal_text.h"

namespace framework {
namespace {

// The caption when no application object exists (tests of the framework alone).
constexpr const char* kDefaultCaption = "vx5prcfg";
constexpr int kNumberDigits = DBL_DIG;

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Only blanks may follow the number.
bool OnlyBlanksFrom(const char* rest) {
  while (*rest != '\0' && IsBlank(*rest)) ++rest;
  return *rest == '\0';
}

bool ParseInt(const std::string& text, int& value) {
  const platform::DecimalReading number = platform::ReadDecimalNumber(text);
  if (number.consumed == 0 || number.value < std::numeric_limits<int>::min() ||
      number.value > std::numeric_limits<int>::max())
    return false;
  if (!OnlyBlanksFrom(text.c_str() + number.consumed)) return false;
  value = static_cast<int>(number.value);
  return true;
}

bool ParseDouble(const std::string& text, double& value) {
  const char* begin = text.c_str();
  while (IsBlank(*begin)) ++begin;
  if (*begin == '\0') return false;
  char* end = nullptr;
  const double parsed = std::strtod(begin, &end);
  if (end == begin || !OnlyBlanksFrom(end)) return false;
  value = parsed;
  return true;
}

// Writes `text` only when it differs, so that an unchanged field stays quiet.
void SetTextIfChanged(Control& control, const std::string& text) {
  if (control.GetWindowText() != text) control.SetWindowText(text);
}

}  // namespace

std::int64_t SecondsFromLocalTime(const platform::SystemTime& time) {
  std::tm broken{};
  broken.tm_year = time.year - 1900;
  broken.tm_mon = time.month - 1;
  broken.tm_mday = time.day;
  broken.tm_hour = time.hour;
  broken.tm_min = time.minute;
  broken.tm_sec = time.second;
  broken.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&broken));
}

// The exports run one at a time, so localtime's shared buffer is safe here.
platform::SystemTime LocalTimeFromSeconds(std::int64_t seconds) {
  const std::time_t moment = static_cast<std::time_t>(seconds);
  const std::tm* broken = std::localtime(&moment);
  platform::SystemTime time;
  if (broken == nullptr) return time;
  time.year = static_cast<std::uint16_t>(broken->tm_year + 1900);
  time.month = static_cast<std::uint16_t>(broken->tm_mon + 1);
  time.dayOfWeek = static_cast<std::uint16_t>(broken->tm_wday);
  time.day = static_cast<std::uint16_t>(broken->tm_mday);
  time.hour = static_cast<std::uint16_t>(broken->tm_hour);
  time.minute = static_cast<std::uint16_t>(broken->tm_min);
  time.second = static_cast<std::uint16_t>(broken->tm_sec);
  return time;
}

std::string FrameworkMessageCaption() {
  const Application* application = CurrentApplication();
  return application != nullptr ? application->name() : std::string(kDefaultCaption);
}

Control& DataExchange::Prepare(int id, bool isEdit) {
  Control* control = dialog_.GetDlgItem(id);
  if (control == nullptr) throw std::logic_error("data exchange with a control the dialog lacks");
  lastControl_ = id;
  lastWasEdit_ = isEdit && dynamic_cast<Edit*>(control) != nullptr;
  return *control;
}

void DataExchange::Text(int id, std::string& value) {
  Control& control = Prepare(id, true);
  if (saving_) {
    value = control.GetWindowText();
  } else {
    SetTextIfChanged(control, value);
  }
}

void DataExchange::Text(int id, int& value) {
  Control& control = Prepare(id, true);
  if (saving_) {
    if (!ParseInt(control.GetWindowText(), value)) Fail(LoadString(kIdpParseInt));
  } else {
    SetTextIfChanged(control, std::to_string(value));
  }
}

void DataExchange::Text(int id, double& value) {
  Control& control = Prepare(id, true);
  if (saving_) {
    if (!ParseDouble(control.GetWindowText(), value)) Fail(LoadString(kIdpParseReal));
  } else {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", kNumberDigits, value);
    SetTextIfChanged(control, text);
  }
}

void DataExchange::MaxChars(const std::string& value, int count) {
  if (saving_) {
    if (static_cast<int>(value.size()) > count) {
      Fail(FormatString(LoadString(kIdpParseStringSize), {std::to_string(count)}));
    }
    return;
  }
  Control* control = dialog_.GetDlgItem(lastControl_);
  if (auto* edit = dynamic_cast<Edit*>(control)) edit->LimitText(count);
  if (auto* combo = dynamic_cast<ComboBox*>(control)) combo->LimitText(count);
}

void DataExchange::MinMaxInt(int value, int minimum, int maximum) {
  if (!saving_ || (value >= minimum && value <= maximum)) return;
  Fail(FormatString(LoadString(kIdpParseIntRange),
                    {std::to_string(minimum), std::to_string(maximum)}));
}

void DataExchange::ComboIndex(int id, int& index) {
  auto* combo = dynamic_cast<ComboBox*>(&Prepare(id, false));
  if (combo == nullptr) throw std::logic_error("DDX_CBIndex on a control that is no combo box");
  if (saving_) {
    index = combo->GetCurSel();
  } else {
    combo->SetCurSel(index);
  }
}

void DataExchange::Check(int id, int& state) {
  auto* button = dynamic_cast<Button*>(&Prepare(id, false));
  if (button == nullptr) throw std::logic_error("DDX_Check on a control that is no button");
  if (saving_) {
    state = button->GetCheck();
  } else {
    button->SetCheck(state);
  }
}

void DataExchange::DateTime(int id, platform::SystemTime& value) {
  auto* picker = dynamic_cast<DateTimePicker*>(&Prepare(id, false));
  if (picker == nullptr) throw std::logic_error("DDX_DateTimeCtrl on a control that is no picker");
  if (saving_) {
    picker->GetSystemTime(value);
  } else {
    picker->SetSystemTime(kGdtValid, value);
  }
}

void DataExchange::DateTime(int id, std::int64_t& value) {
  platform::SystemTime time = saving_ ? platform::SystemTime{} : LocalTimeFromSeconds(value);
  DateTime(id, time);
  if (saving_) value = SecondsFromLocalTime(time);
}

void DataExchange::Fail(const std::string& message) {
  dialog_.MessageBox(message, FrameworkMessageCaption(), kMbOk | kMbIconExclamation);
  Fail();
}

void DataExchange::Fail() {
  if (lastControl_ != 0) {
    if (lastWasEdit_) {
      dialog_.GotoDlgCtrl(lastControl_);
    } else if (Control* control = dialog_.GetDlgItem(lastControl_)) {
      control->SetFocus();
    }
  }
  throw DataExchangeFailure{};
}

}  // namespace framework
