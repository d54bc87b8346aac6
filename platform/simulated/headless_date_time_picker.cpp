#include "platform/simulated/headless_date_time_picker.h"

#include <array>

#include "platform/machine.h"
#include "platform/user_input.h"
#include "platform/window_constants.h"

namespace platform::simulated {

using namespace window;

namespace {

constexpr int kFormattedCapacity = 256;

}  // namespace

DateTimePicker::DateTimePicker(ControlOwner& owner, int id, std::uint32_t style, std::string text)
    : Control(owner, id, style, std::move(text)),
      time_(platform::CurrentMachine().kernel().GetLocalTime()) {
  Refresh();
}

std::intptr_t DateTimePicker::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  auto* times = reinterpret_cast<SystemTime*>(lParam);
  switch (message) {
    case kDtmGetSystemTime:
      return times != nullptr ? GetSystemTime(*times) : kGdtNone;
    case kDtmSetSystemTime:
      return times != nullptr && SetSystemTime(static_cast<unsigned>(wParam), *times) ? 1 : 0;
    case kDtmGetRange:
      return times != nullptr ? GetRange(times) : 0;
    case kDtmSetRange:
      return times != nullptr && SetRange(static_cast<unsigned>(wParam), times) ? 1 : 0;
    case kDtmSetFormat:
      return SetFormat(reinterpret_cast<const char*>(lParam)) ? 1 : 0;
    default:
      return Control::Send(message, wParam, lParam);
  }
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
  return InPickerRange(time, minimum_, maximum_, IsTimePicker());
}

bool DateTimePicker::Pick(const platform::SystemTime& picked) {
  if (!TakesInput()) return false;
  const platform::SystemTime next = PickedMoment(time_, picked, IsTimePicker());
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

}  // namespace platform::simulated
