// What a user's input does to a control, the same on every window system:
// the headless controls act on it themselves, the Windows build turns it
// into the messages a real control would send.
#pragma once

#include <optional>
#include <vector>

#include "platform/kernel.h"

namespace platform {

// A moment picked in a date-time picker: a time picker takes the picked hour
// and minute, a date picker the picked day; the rest of `current` stays.
SystemTime PickedMoment(const SystemTime& current, const SystemTime& picked, bool timePicker);

// Whether a picker lets the user pick `time` within its range; a date
// picker's calendar offers whole days, so its range holds by the date.
bool InPickerRange(const SystemTime& time, const std::optional<SystemTime>& minimum,
                   const std::optional<SystemTime>& maximum, bool timePicker);

// One WM_VSCROLL / WM_HSCROLL a scroll bar sends its owner.
struct ScrollNotification {
  int code = 0;
  int position = 0;
};

// What a scroll bar sends its owner when the user scrolls it with `code`
// (SB_*; a thumb dragged to `position`, kept within the range), ending with
// SB_ENDSCROLL; nothing when the bar refuses: both arrows disabled, the
// arrow of a line disabled, or a code no user gives.
std::optional<std::vector<ScrollNotification>> UserScroll(int code, int position,
                                                          bool lineUpEnabled, bool lineDownEnabled,
                                                          int minimum, int maximum);

}  // namespace platform
