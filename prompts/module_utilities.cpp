#include "prompts/module_utilities.h"

#include <cstdio>
#include <ctime>

#include "platform/machine.h"

namespace prompts {
namespace {

constexpr int kFirstTmYear = 1900;

platform::Kernel& Kernel() { return platform::CurrentMachine().kernel(); }

}  // namespace

void FormatPjlTime(const platform::SystemTime& localTime, char* out, std::size_t capacity) {
  if (out == nullptr || capacity == 0) return;
  std::tm broken{};
  broken.tm_sec = localTime.second;
  broken.tm_min = localTime.minute;
  broken.tm_hour = localTime.hour;
  broken.tm_mday = localTime.day;
  broken.tm_mon = localTime.month - 1;
  broken.tm_year = localTime.year - kFirstTmYear;
  // The flag of now, not of `localTime`: a time on the other side of a
  // daylight-saving change comes out an hour off, as the driver expects.
  broken.tm_isdst = Kernel().CurrentLocalBreakdown().tm_isdst;
  const std::time_t seconds = std::mktime(&broken);
  // The device reads a 32-bit count: keep the low 32 bits, printed signed.
  const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds));
  std::snprintf(out, capacity, "T%d", static_cast<int>(low));
}

std::string FormatPjlTime(const platform::SystemTime& localTime) {
  char text[kPjlTimeTextCapacity] = {};
  FormatPjlTime(localTime, text, sizeof text);
  return text;
}

std::uint32_t ShortPathNameFromDll(const char* longPath, char* shortPath) {
  if (longPath == nullptr || shortPath == nullptr) return 0;
  return Kernel().GetShortPathName(longPath, shortPath, kShortPathCapacity);
}

void DisplayTimeText(const platform::SystemTime* time, char* text) {
  if (text == nullptr) return;
  platform::Kernel& kernel = Kernel();
  char datePart[kTimePartCapacity] = {};
  char timePart[kTimePartCapacity] = {};
  kernel.GetDateFormat(0, time, nullptr, datePart, static_cast<int>(sizeof datePart));
  kernel.GetTimeFormat(platform::kTimeNoSeconds, time, nullptr, timePart,
                       static_cast<int>(sizeof timePart));
  std::snprintf(text, kCurrentTimeTextCapacity, "%s %s", datePart, timePart);
}

int CurrentTimeText(char* text) {
  if (text == nullptr) return 0;
  DisplayTimeText(nullptr, text);
  return 1;
}

int CurrentTimePjl(char* text) {
  if (text == nullptr) return 0;
  FormatPjlTime(Kernel().GetLocalTime(), text, kPjlTimeTextCapacity);
  return 1;
}

}  // namespace prompts
