#include "prompts/schedule_time_dialog.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "device/registry_text.h"
#include "framework/date_time_picker.h"
#include "framework/window_constants.h"
#include "platform/machine.h"
#include "prompts/message_boxes.h"
#include "prompts/module_state.h"
#include "prompts/module_utilities.h"
#include "prompts/prompt_setup.h"
#include "resources/resource_ids.h"

namespace prompts {
namespace {

using platform::SystemTime;

constexpr std::string_view kInternationalKey = "control panel\\international";
constexpr std::string_view kTimeFormatValue = "sTimeFormat";
constexpr char kTimeMarkerSuffix[] = " tt";
constexpr std::uint16_t kMonthsPerYear = 12;
constexpr std::uint16_t kFebruary = 2;
constexpr std::uint16_t kFirstShortenedDay = 29;
constexpr std::array<std::uint16_t, kMonthsPerYear> kDaysInMonth = {31, 28, 31, 30, 31, 30,
                                                                    31, 31, 30, 31, 30, 31};

platform::Kernel& Kernel() { return platform::CurrentMachine().kernel(); }

std::uint16_t DaysInMonth(int year, std::uint16_t month) {
  if (month == kFebruary && IsLeapYear(year)) return kDaysInMonth[kFebruary - 1] + 1;
  return kDaysInMonth[month - 1];
}

// YYYYMMDD and HHMM as numbers, so that moments compare minute by minute.
long DayNumber(const SystemTime& time) {
  return static_cast<long>(time.year) * 10000 + time.month * 100 + time.day;
}
long MinuteNumber(const SystemTime& time) { return time.hour * 100L + time.minute; }

SystemTime LatestScheduleDate(const SystemTime& now) {
  SystemTime latest = now;
  latest.year = kLatestScheduleYear;
  latest.month = kLatestScheduleMonth;
  latest.day = kLatestScheduleDay;
  return latest;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

SystemTime AddOneMonth(const SystemTime& date) {
  SystemTime next = date;
  if (date.month >= kMonthsPerYear) {
    next.month = 1;
    next.year = static_cast<std::uint16_t>(date.year + 1);
  } else {
    next.month = static_cast<std::uint16_t>(date.month + 1);
  }
  const std::uint16_t length = DaysInMonth(next.year, next.month);
  if (next.day >= kFirstShortenedDay && next.day > length) next.day = length;
  return next;
}

bool IsScheduleNotElapsed(const SystemTime& moment, const SystemTime& now) {
  const long day = DayNumber(moment);
  const long today = DayNumber(now);
  return day > today || (day == today && MinuteNumber(moment) >= MinuteNumber(now));
}

void ShortenTimeFormat(char* format, std::size_t capacity) {
  if (format == nullptr || capacity == 0) return;
  format[capacity - 1] = '\0';
  bool hourOf24Seen = false;
  for (std::size_t i = 0; format[i] != '\0' && format[i + 1] != '\0'; ++i) {
    if (format[i] == 'H') hourOf24Seen = true;
    if (format[i] != 'm' || format[i + 1] != 'm') continue;
    const std::size_t end = i + 2;  // at most capacity - 1: a NUL follows the pair
    if (hourOf24Seen) {
      format[end] = '\0';
    } else {
      // A pair near the end of the buffer keeps what of " tt" fits.
      std::snprintf(format + end, capacity - end, "%s", kTimeMarkerSuffix);
    }
    return;
  }
}

void ReadUserTimeFormat(char* format) {
  const auto key = device::OpenKey(platform::Hive::CurrentUser, kInternationalKey);
  if (key != nullptr && device::ReadTextInto(*key, kTimeFormatValue, format, kTimeFormatCapacity,
                                             kTimeFormatCapacity)) {
    return;
  }
  Kernel().GetLocaleInfo(platform::kLocaleSTimeFormat, format,
                         static_cast<int>(kTimeFormatCapacity));
  format[kTimeFormatCapacity - 1] = '\0';
}

CScheduleTime::CScheduleTime() : framework::Dialog(IDD_SCHEDULE_TIME) {
  m_timeDate = m_timeTime = framework::SecondsFromLocalTime(Kernel().GetLocalTime());
}

void CScheduleTime::DoDataExchange(framework::DataExchange& exchange) {
  exchange.DateTime(IDC_SCHEDULE_DATE, m_timeDate);
  exchange.DateTime(IDC_SCHEDULE_TIME, m_timeTime);
}

bool CScheduleTime::OnInitDialog() {
  Dialog::OnInitDialog();
  MakeTopmost(*this);

  const SystemTime now = Kernel().GetLocalTime();
  const SystemTime range[2] = {
      now, m_nMode == kOneMonthRange ? AddOneMonth(now) : LatestScheduleDate(now)};
  auto* date = Item<framework::DateTimePicker>(IDC_SCHEDULE_DATE);
  auto* time = Item<framework::DateTimePicker>(IDC_SCHEDULE_TIME);
  if (date != nullptr) {
    date->SetRange(framework::kGdtrMin | framework::kGdtrMax, range);
    date->SetFormat(nullptr);
  }

  char format[kTimeFormatCapacity] = {};
  ReadUserTimeFormat(format);
  ShortenTimeFormat(format, sizeof format);
  if (time != nullptr) {
    time->SetSystemTime(framework::kGdtValid, now);
    time->SetFormat(format);
  }
  return true;
}

void CScheduleTime::OnOK() {
  auto* date = Item<framework::DateTimePicker>(IDC_SCHEDULE_DATE);
  auto* time = Item<framework::DateTimePicker>(IDC_SCHEDULE_TIME);
  if (date == nullptr || time == nullptr) return;
  SystemTime moment{};
  SystemTime timeOfDay{};
  date->GetSystemTime(moment);
  time->GetSystemTime(timeOfDay);
  moment.hour = timeOfDay.hour;
  moment.minute = timeOfDay.minute;
  if (IsScheduleNotElapsed(moment, Kernel().GetLocalTime())) {
    Dialog::OnOK();
    return;
  }
  ShowPromptMessage(*this, IDS_STR_SCHEDULE_ELAPSED);
  time->SetSystemTime(framework::kGdtValid, Kernel().GetLocalTime());
}

namespace {

struct ScheduledMoment {
  int answer;
  SystemTime moment;
};

// Runs the prompt: the chosen date with the chosen hour and minute
// (seconds 0) on OK, the current moment on Cancel.
ScheduledMoment RunSchedulePrompt(int rangeMode) {
  CScheduleTime dialog;
  dialog.m_nMode = rangeMode;
  if (dialog.DoModal() != framework::kIdOk) return {0, Kernel().GetLocalTime()};
  SystemTime moment = framework::LocalTimeFromSeconds(dialog.m_timeDate);
  const SystemTime timeOfDay = framework::LocalTimeFromSeconds(dialog.m_timeTime);
  moment.hour = timeOfDay.hour;
  moment.minute = timeOfDay.minute;
  moment.second = 0;
  moment.milliseconds = 0;
  return {1, moment};
}

}  // namespace

int ScheduleDateTime(char* text, char* seconds, int rangeMode) {
  ModuleStateGuard guard;
  const ScheduledMoment chosen = RunSchedulePrompt(rangeMode);
  DisplayTimeText(&chosen.moment, text);
  if (seconds != nullptr) FormatPjlTime(chosen.moment, seconds, kScheduleSecondsCapacity);
  return chosen.answer;
}

int ScheduleDateTime16(char* text, char* stamp) {
  ModuleStateGuard guard;
  const ScheduledMoment chosen = RunSchedulePrompt(kFullRange);
  DisplayTimeText(&chosen.moment, text);
  if (stamp != nullptr) {
    // Each field kept to its digits, so the stamp always fits its 14 bytes.
    const SystemTime& m = chosen.moment;
    std::snprintf(stamp, kScheduleStampCapacity, "%04d%02d%02d %02d%02d", m.year % 10000,
                  m.month % 100, m.day % 100, m.hour % 100, m.minute % 100);
  }
  return chosen.answer;
}

}  // namespace prompts
