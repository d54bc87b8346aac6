#include "platform/frozen_clock.h"

#include <chrono>

namespace platform {
namespace {

constexpr int kFirstTmYear = 1900;

}  // namespace

std::optional<SystemTime> ParseFrozenClock(std::string_view text) {
  if (text.size() != kFrozenClockPattern.size()) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char wanted = kFrozenClockPattern[i];
    const bool digitWanted = wanted != '-' && wanted != ' ' && wanted != ':';
    const bool isDigit = text[i] >= '0' && text[i] <= '9';
    if (digitWanted ? !isDigit : text[i] != wanted) return std::nullopt;
  }
  const auto number = [&](std::size_t at, std::size_t length) {
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  const std::chrono::year_month_day date{std::chrono::year(number(0, 4)),
                                         std::chrono::month(static_cast<unsigned>(number(5, 2))),
                                         std::chrono::day(static_cast<unsigned>(number(8, 2)))};
  const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
  if (!date.ok() || hour > 23 || minute > 59 || second > 59) return std::nullopt;

  SystemTime time;
  time.year = static_cast<std::uint16_t>(static_cast<int>(date.year()));
  time.month = static_cast<std::uint16_t>(static_cast<unsigned>(date.month()));
  time.day = static_cast<std::uint16_t>(static_cast<unsigned>(date.day()));
  time.dayOfWeek = static_cast<std::uint16_t>(std::chrono::weekday(date).c_encoding());
  time.hour = static_cast<std::uint16_t>(hour);
  time.minute = static_cast<std::uint16_t>(minute);
  time.second = static_cast<std::uint16_t>(second);
  return time;
}

std::tm ToBrokenDownTime(const SystemTime& time) {
  std::tm broken{};
  broken.tm_year = time.year - kFirstTmYear;
  broken.tm_mon = time.month - 1;
  broken.tm_mday = time.day;
  broken.tm_hour = time.hour;
  broken.tm_min = time.minute;
  broken.tm_sec = time.second;
  broken.tm_isdst = -1;  // let the time zone decide
  return broken;
}

}  // namespace platform
