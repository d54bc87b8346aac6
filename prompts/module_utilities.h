// The module's small utilities: short path names, the current local time as
// the user reads it, and the "T" seconds of the job's control data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/kernel.h"

namespace prompts {

// Buffer sizes the driver provides and the module works with.
inline constexpr std::uint32_t kShortPathCapacity = 260;
inline constexpr std::size_t kTimePartCapacity = 256;
inline constexpr std::size_t kCurrentTimeTextCapacity = 512;
inline constexpr std::size_t kPjlTimeTextCapacity = 16;

// "T" and the seconds since 1970 of `localTime`, read with the daylight-saving
// flag of the current local time; the low 32 bits printed as a signed int.
// Writes at most `capacity` bytes, NUL included.
void FormatPjlTime(const platform::SystemTime& localTime, char* out, std::size_t capacity);
std::string FormatPjlTime(const platform::SystemTime& localTime);

// "<date> <time>" of `time` (null: now) in the user's default date format
// and time format without seconds, each part made in a kTimePartCapacity
// buffer, into `text` (kCurrentTimeTextCapacity bytes).
void DisplayTimeText(const platform::SystemTime* time, char* text);

// The utility exports' logic; the exports add only the C boundary.
std::uint32_t ShortPathNameFromDll(const char* longPath, char* shortPath);
int CurrentTimeText(char* text);
int CurrentTimePjl(char* text);

}  // namespace prompts
