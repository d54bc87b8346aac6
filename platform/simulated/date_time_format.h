// GetDateFormat / GetTimeFormat pictures, expanded as Windows does for an
// English locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/kernel.h"

namespace platform::simulated {

// GetTimeFormat flags beyond kTimeNoSeconds.
inline constexpr std::uint32_t kTimeNoMinutesOrSeconds = 0x1;
inline constexpr std::uint32_t kTimeNoTimeMarker = 0x4;
inline constexpr std::uint32_t kTimeForce24HourFormat = 0x8;
// GetDateFormat flags choosing the user's picture.
inline constexpr std::uint32_t kDateShortDate = 0x1;
inline constexpr std::uint32_t kDateLongDate = 0x2;

// The user's long date when the profile names none (United States English).
inline constexpr std::string_view kDefaultLongDate = "dddd, MMMM d, yyyy";

// The weekday of `time`'s date, 0 = Sunday.
int DayOfWeek(const SystemTime& time);

// Whether Windows accepts `time` for formatting (real date, time in range).
bool IsValidSystemTime(const SystemTime& time);

// Date elements d dd ddd dddd M MM MMM MMMM y yy yyyy; the day of the week is
// computed from the date, as Windows ignores wDayOfWeek. Quoted text is
// literal ('' is a quote); any other character is copied.
std::string FormatDatePicture(std::string_view picture, const SystemTime& time);

// Time elements h hh H HH m mm s ss t tt. An element a flag drops takes the
// separator before it along (so "h:mm:ss tt" without seconds is "9:05 AM").
std::string FormatTimePicture(std::string_view picture, const SystemTime& time,
                              std::uint32_t flags);

}  // namespace platform::simulated
