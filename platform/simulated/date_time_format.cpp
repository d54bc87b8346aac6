#include "platform/simulated/date_time_format.h"

#include <array>
#include <chrono>
#include <functional>

namespace platform::simulated {
namespace {

constexpr std::array<std::string_view, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::size_t kAbbreviationLength = 3;
constexpr char kQuote = '\'';
constexpr int kHoursPerHalfDay = 12;
constexpr int kYearsPerCentury = 100;
constexpr int kFirstYear = 1601;  // SYSTEMTIME's range
constexpr int kLastYear = 30827;

std::string Number(int value, int count) {
  std::string digits = std::to_string(value);
  if (count >= 2 && digits.size() < 2) digits.insert(0, 1, '0');
  return digits;
}

std::string_view Name(std::string_view full, int count) {
  return count == 3 ? full.substr(0, kAbbreviationLength) : full;
}

// An element's text, or nothing when the element is left out.
using ElementFormatter = std::function<std::optional<std::string>(char letter, int count)>;

// Walks a picture: runs of element letters go to `format`, quoted text and
// other characters are copied. A left-out element removes the separator
// written since the element before it; one leading the picture removes the
// separator after it instead.
std::string ExpandPicture(std::string_view picture, std::string_view letters,
                          const ElementFormatter& format) {
  std::string out;
  std::size_t lastElementEnd = 0;
  bool anyElementKept = false;
  bool skipSeparator = false;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == kQuote) {
      std::string literal;
      if (i + 1 < picture.size() && picture[i + 1] == kQuote) {
        literal = kQuote;  // "''" is a quote, inside or outside quoted text
        i += 2;
      } else {
        for (++i; i < picture.size(); ++i) {
          if (picture[i] != kQuote) {
            literal += picture[i];
          } else if (i + 1 < picture.size() && picture[i + 1] == kQuote) {
            literal += picture[i++];
          } else {
            ++i;  // the closing quote; an unclosed one runs to the end
            break;
          }
        }
      }
      if (!skipSeparator) out += literal;
      continue;
    }
    if (letters.find(c) == std::string_view::npos) {
      if (!skipSeparator) out += c;
      ++i;
      continue;
    }
    int count = 0;
    while (i < picture.size() && picture[i] == c) {
      ++count;
      ++i;
    }
    if (std::optional<std::string> text = format(c, count)) {
      out += *text;
      lastElementEnd = out.size();
      anyElementKept = true;
      skipSeparator = false;
    } else {
      out.resize(lastElementEnd);
      skipSeparator = !anyElementKept;
    }
  }
  return out;
}

}  // namespace

int DayOfWeek(const SystemTime& time) {
  using namespace std::chrono;
  const sys_days date = year_month_day{year{time.year}, month{time.month}, day{time.day}};
  return static_cast<int>(weekday{date}.c_encoding());
}

bool IsValidSystemTime(const SystemTime& time) {
  using namespace std::chrono;
  if (time.year < kFirstYear || time.year > kLastYear) return false;
  const year_month_day date{year{time.year}, month{time.month}, day{time.day}};
  return date.ok() && time.hour < 24 && time.minute < 60 && time.second < 60 &&
         time.milliseconds < 1000;
}

std::string FormatDatePicture(std::string_view picture, const SystemTime& time) {
  return ExpandPicture(picture, "dMy", [&time](char letter, int count) -> std::string {
    switch (letter) {
      case 'd':
        if (count <= 2) return Number(time.day, count);
        return std::string(Name(kDayNames[DayOfWeek(time)], count));
      case 'M':
        if (count <= 2) return Number(time.month, count);
        return std::string(Name(kMonthNames[time.month - 1], count));
      default:  // 'y'
        if (count <= 2) return Number(time.year % kYearsPerCentury, count);
        return std::to_string(time.year);
    }
  });
}

std::string FormatTimePicture(std::string_view picture, const SystemTime& time,
                              std::uint32_t flags) {
  const bool noMinutes = (flags & kTimeNoMinutesOrSeconds) != 0;
  const bool noSeconds = noMinutes || (flags & kTimeNoSeconds) != 0;
  const bool noMarker = (flags & kTimeNoTimeMarker) != 0;
  const bool force24 = (flags & kTimeForce24HourFormat) != 0;
  const bool afternoon = time.hour >= kHoursPerHalfDay;
  return ExpandPicture(picture, "hHmst", [&](char letter, int count) -> std::optional<std::string> {
    switch (letter) {
      case 'h':
        if (!force24) {
          const int hour = time.hour % kHoursPerHalfDay;
          return Number(hour == 0 ? kHoursPerHalfDay : hour, count);
        }
        [[fallthrough]];
      case 'H':
        return Number(time.hour, count);
      case 'm':
        if (noMinutes) return std::nullopt;
        return Number(time.minute, count);
      case 's':
        if (noSeconds) return std::nullopt;
        return Number(time.second, count);
      default:  // 't'
        if (noMarker) return std::nullopt;
        return std::string(afternoon ? "PM" : "AM").substr(0, count == 1 ? 1 : 2);
    }
  });
}

}  // namespace platform::simulated
