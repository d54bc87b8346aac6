#include "framework/date_time_picker.h"

#include <array>
#include <tuple>

#include "framework/window_constants.h"
#include "platform/machine.h"

namespace framework {
namespace {

constexpr int kFormattedCapacity = 256;

auto DateFields(const platform::SystemTime& t) { return std::tuple(t.year, t.month, t.day); }

auto AllFields(const platform::SystemTime& t) {
  return std::tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds);
}

}  // namespace

int CompareSystemTimes(const platform::SystemTime& left, const platform::SystemTime& right) {
  const auto l = AllFields(left);
  const auto r = AllFields(right);
  return l < r ? -1 : (r < l ? 1 : 0);
}

DateTimePicker::DateTimePicker(ControlOwner& owner, int id, std::uint32_t style, std::string text)
    : Control(owner, id, style, std::move(text)),
      time_(platform::CurrentMachine().kernel().GetLocalTime()) {
  Refresh();
}

bool DateTimePicker::IsTimePicker() const { return (style() & kDtsTimeFormat) == kDtsTimeFormat; }

bool DateTimePicker::SetSystemTime(unsigned flag, const platform::SystemTime& time) {
  if (flag != kGdtValid || !InRange(time)) return false;
  time_ = time;
  Refresh();
  return true;
}

unsigned DateTimePicker::GetSystemTime(platform::SystemTime& time) const {
  time = time_;
  return kGdtValid;
}

bool DateTimePicker::SetRange(unsigned flags, const platform::SystemTime range[2]) {
  minimum_.reset();
  maximum_.reset();
  if ((flags & kGdtrMin) != 0) minimum_ = range[0];
  if ((flags & kGdtrMax) != 0) maximum_ = range[1];
  return true;
}

unsigned DateTimePicker::GetRange(platform::SystemTime range[2]) const {
  unsigned flags = 0;
  if (minimum_) {
    range[0] = *minimum_;
    flags |= kGdtrMin;
  }
  if (maximum_) {
    range[1] = *maximum_;
    flags |= kGdtrMax;
  }
  return flags;
}

bool DateTimePicker::SetFormat(const char* format) {
  if (format == nullptr) {
    format_.reset();
  } else {
    format_ = std::string(format);
  }
  Refresh();
  return true;
}

bool DateTimePicker::InRange(const platform::SystemTime& time) const {
  // A date picker's calendar offers whole days: its range holds by the date.
  if (!IsTimePicker()) {
    if (minimum_ && DateFields(time) < DateFields(*minimum_)) return false;
    if (maximum_ && DateFields(*maximum_) < DateFields(time)) return false;
    return true;
  }
  if (minimum_ && CompareSystemTimes(time, *minimum_) < 0) return false;
  if (maximum_ && CompareSystemTimes(*maximum_, time) < 0) return false;
  return true;
}

bool DateTimePicker::Pick(const platform::SystemTime& picked) {
  if (!TakesInput()) return false;
  platform::SystemTime next = time_;
  if (IsTimePicker()) {
    next.hour = picked.hour;
    next.minute = picked.minute;
  } else {
    next.year = picked.year;
    next.month = picked.month;
    next.day = picked.day;
    next.dayOfWeek = picked.dayOfWeek;
  }
  if (!InRange(next)) return false;
  time_ = next;
  Refresh();
  Notification notification;
  notification.code = kDtnDateTimeChange;
  NotifyOwner(notification);
  return true;
}

void DateTimePicker::Refresh() {
  platform::Kernel& kernel = platform::CurrentMachine().kernel();
  std::array<char, kFormattedCapacity> text{};
  const char* picture = format_ ? format_->c_str() : nullptr;
  const std::uint32_t flags = 0;
  const int written =
      IsTimePicker()
          ? kernel.GetTimeFormat(flags, &time_, picture, text.data(), kFormattedCapacity)
          : kernel.GetDateFormat(flags, &time_, picture, text.data(), kFormattedCapacity);
  set_text(written > 0 ? std::string(text.data()) : std::string());
}

}  // namespace framework
