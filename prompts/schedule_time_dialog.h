// The scheduled time prompt (template 4000): a date from today to the end of
// the range and a time of day, refused while the moment has already passed.
// The chosen moment goes back as display text and as the job's machine form
// ("T" seconds or a stamp); a cancelled prompt gives the current moment.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "platform/kernel.h"

namespace prompts {

// Range modes: 1 offers one calendar month ahead, any other value dates up
// to kLatestScheduleDate. ScheduleDateTime16 always uses kFullRange.
inline constexpr int kOneMonthRange = 1;
inline constexpr int kFullRange = 2;
// The latest date of the full range; the time of day is the current one.
inline constexpr std::uint16_t kLatestScheduleYear = 2038;
inline constexpr std::uint16_t kLatestScheduleMonth = 1;
inline constexpr std::uint16_t kLatestScheduleDay = 17;

// The buffer the user's time format is read into.
inline constexpr std::size_t kTimeFormatCapacity = 32;
// The caller's buffers.
inline constexpr std::size_t kScheduleSecondsCapacity = 13;
inline constexpr std::size_t kScheduleStampCapacity = 14;

bool IsLeapYear(int year);

// The same day one month later; a day the next month lacks becomes its last
// day. Every other field (the time of day) is kept.
platform::SystemTime AddOneMonth(const platform::SystemTime& date);

// Whether `moment` has not passed at `now`, minute by minute: the current
// minute itself is accepted.
bool IsScheduleNotElapsed(const platform::SystemTime& moment, const platform::SystemTime& now);

// The time format cut to hours and minutes at its first "mm": right after it
// when an 'H' came before, else with " tt" after it (as far as it fits in
// `capacity` bytes). A format without "mm" stays as it is.
void ShortenTimeFormat(char* format, std::size_t capacity);

// The user's time format: "sTimeFormat" of the user's international
// settings, else the locale's, into `format` (kTimeFormatCapacity bytes).
void ReadUserTimeFormat(char* format);

class CScheduleTime : public framework::Dialog {
 public:
  // Both values start at the current moment.
  CScheduleTime();

  std::int64_t m_timeDate;
  std::int64_t m_timeTime;
  int m_nMode = kFullRange;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(framework::DataExchange& exchange) override;
};

// ScheduleDateTime: `text` (512 bytes) receives the moment in the user's
// formats, `seconds` (13 bytes) "T" and its seconds since 1970. Returns 1 on
// OK (seconds 0), 0 on Cancel (the current moment with its seconds). A null
// buffer is left out.
int ScheduleDateTime(char* text, char* seconds, int rangeMode);
// ScheduleDateTime16: the same with `stamp` (14 bytes) "YYYYMMDD HHMM".
int ScheduleDateTime16(char* text, char* stamp);

}  // namespace prompts
