// A date-time picker: one moment, an optional range and a display format.
// A date picker edits the date and keeps the time of day; a time picker
// (DTS_TIMEFORMAT) edits the time and keeps the date.
#pragma once

#include "framework/control.h"
#include "platform/kernel.h"
#include "platform/window_constants.h"

namespace framework {

class DateTimePicker : public Control {
 public:
  using Control::Control;
  bool IsTimePicker() const {
    return (style() & platform::window::kDtsTimeFormat) == platform::window::kDtsTimeFormat;
  }

  // DTM_SETSYSTEMTIME (GDT_VALID; a moment outside the range is refused) /
  // DTM_GETSYSTEMTIME (answers GDT_VALID).
  bool SetSystemTime(unsigned flag, const platform::SystemTime& time) {
    return Send(platform::window::kDtmSetSystemTime, flag, Pointer(&time)) != 0;
  }
  unsigned GetSystemTime(platform::SystemTime& time) const {
    return static_cast<unsigned>(Send(platform::window::kDtmGetSystemTime, 0, Pointer(&time)));
  }
  platform::SystemTime time() const {
    platform::SystemTime moment{};
    GetSystemTime(moment);
    return moment;
  }

  // DTM_SETRANGE with GDTR_MIN / GDTR_MAX; `range` holds the minimum then the maximum.
  bool SetRange(unsigned flags, const platform::SystemTime range[2]) {
    return Send(platform::window::kDtmSetRange, flags, Pointer(range)) != 0;
  }
  // DTM_GETRANGE: the GDTR_* flags of the limits set.
  unsigned GetRange(platform::SystemTime range[2]) const {
    return static_cast<unsigned>(Send(platform::window::kDtmGetRange, 0, Pointer(range)));
  }

  // DTM_SETFORMATA: null restores the style's default format.
  bool SetFormat(const char* format) {
    return Send(platform::window::kDtmSetFormat, 0, Pointer(format)) != 0;
  }
};

}  // namespace framework
