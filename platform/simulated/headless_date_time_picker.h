// A date-time picker: one moment, an optional range and a display format.
// A date picker edits the date and keeps the time of day; a time picker
// (DTS_TIMEFORMAT) edits the time and keeps the date. Its text is the moment
// in the user's formats, or in the format set with DTM_SETFORMAT.
#pragma once

#include <optional>
#include <string>

#include "platform/kernel.h"
#include "platform/simulated/headless_control.h"

namespace platform::simulated {

class DateTimePicker : public Control {
 public:
  // Starts at the machine's current local time.
  DateTimePicker(ControlOwner& owner, int id, std::uint32_t style, std::string text);
  std::string_view kind() const override { return "date-time picker"; }
  std::string ClassName() const override { return "SysDateTimePick32"; }
  std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool IsTimePicker() const;

  // DTM_SETSYSTEMTIME (GDT_VALID; a moment outside the range is refused) /
  // DTM_GETSYSTEMTIME (answers GDT_VALID).
  bool SetSystemTime(unsigned flag, const platform::SystemTime& time);
  unsigned GetSystemTime(platform::SystemTime& time) const;
  const platform::SystemTime& time() const { return time_; }

  // DTM_SETRANGE with GDTR_MIN / GDTR_MAX; `range` holds the minimum then the maximum.
  bool SetRange(unsigned flags, const platform::SystemTime range[2]);
  // DTM_GETRANGE: the GDTR_* flags of the limits set.
  unsigned GetRange(platform::SystemTime range[2]) const;

  // DTM_SETFORMATA: null restores the style's default format.
  bool SetFormat(const char* format);

  // The user picks a moment: the picker takes its date (date picker) or its
  // hour and minute (time picker), refuses a moment outside the range, and
  // notifies DTN_DATETIMECHANGE.
  bool Pick(const platform::SystemTime& picked);

 private:
  bool InRange(const platform::SystemTime& time) const;
  void Refresh();

  platform::SystemTime time_{};
  std::optional<platform::SystemTime> minimum_;
  std::optional<platform::SystemTime> maximum_;
  std::optional<std::string> format_;
};

}  // namespace platform::simulated
