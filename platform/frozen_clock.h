// A frozen local clock: the "YYYY-MM-DD HH:MM:SS" that a machine profile
// ("Now") or the DLL's test setting gives, read the same way on every
// platform.
#pragma once

#include <ctime>
#include <optional>
#include <string_view>

#include "platform/kernel.h"

namespace platform {

inline constexpr std::string_view kFrozenClockPattern = "YYYY-MM-DD HH:MM:SS";

// `text` as a valid local date and time, its day of the week taken from the
// calendar; nothing for any other text.
std::optional<SystemTime> ParseFrozenClock(std::string_view text);

// `time` as the C runtime's broken-down local time, the daylight-saving flag
// left for mktime to take from the zone.
std::tm ToBrokenDownTime(const SystemTime& time);

}  // namespace platform
