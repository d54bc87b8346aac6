#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/simulated/date_time_format.h"
#include "platform/simulated/simulated_kernel.h"
#include "tests/support/time_zone.h"

namespace platform::simulated {
namespace {

using test_support::TimeZone;

constexpr SystemTime kSummerMorning{2012, 5, 0, 17, 9, 5, 7, 0};
constexpr SystemTime kWinterEvening{2012, 1, 0, 10, 21, 40, 0, 0};

SimulatedKernel FrozenAt(const SystemTime& now) {
  KernelSettings settings;
  settings.frozenNow = now;
  return SimulatedKernel(settings);
}

std::string DateText(Kernel& kernel, std::uint32_t flags, const SystemTime* time,
                     const char* picture) {
  char out[64] = {};
  return kernel.GetDateFormat(flags, time, picture, out, sizeof out) > 0 ? out : "<failed>";
}

std::string TimeText(Kernel& kernel, std::uint32_t flags, const SystemTime* time,
                     const char* picture) {
  char out[64] = {};
  return kernel.GetTimeFormat(flags, time, picture, out, sizeof out) > 0 ? out : "<failed>";
}

TEST(KernelClockTest, AFrozenClockShowsItsTimeWithTheRealWeekday) {
  SimulatedKernel kernel = FrozenAt(kSummerMorning);
  const SystemTime now = kernel.GetLocalTime();
  EXPECT_EQ(now.year, 2012);
  EXPECT_EQ(now.month, 5);
  EXPECT_EQ(now.day, 17);
  EXPECT_EQ(now.hour, 9);
  EXPECT_EQ(now.minute, 5);
  EXPECT_EQ(now.second, 7);
  EXPECT_EQ(now.dayOfWeek, 4);  // Thursday
}

TEST(KernelClockTest, TheRealClockIsLocalTimeInTheProcessTimeZone) {
  SimulatedKernel kernel{KernelSettings{}};
  SystemTime utc;
  SystemTime tokyo;
  std::tm tokyoBreakdown{};
  {
    TimeZone zone("UTC");
    utc = kernel.GetLocalTime();
  }
  {
    TimeZone zone("Asia/Tokyo");
    tokyo = kernel.GetLocalTime();
    tokyoBreakdown = kernel.CurrentLocalBreakdown();
  }
  // Nine hours ahead, unless the minute turned between the two readings.
  const int utcMinutes = utc.hour * 60 + utc.minute;
  const int tokyoMinutes = tokyo.hour * 60 + tokyo.minute;
  const int difference = ((tokyoMinutes - utcMinutes) % 1440 + 1440) % 1440;
  EXPECT_GE(difference, 9 * 60);
  EXPECT_LE(difference, 9 * 60 + 1);
  EXPECT_EQ(tokyoBreakdown.tm_isdst, 0);
}

TEST(KernelClockTest, TheBreakdownCarriesTheDaylightSavingFlagOfTheFrozenMoment) {
  TimeZone zone("Europe/Berlin");
  EXPECT_EQ(FrozenAt(kSummerMorning).CurrentLocalBreakdown().tm_isdst, 1);
  const std::tm winter = FrozenAt(kWinterEvening).CurrentLocalBreakdown();
  EXPECT_EQ(winter.tm_isdst, 0);
  EXPECT_EQ(winter.tm_hour, 21);
  EXPECT_EQ(winter.tm_mday, 10);
  EXPECT_EQ(winter.tm_wday, 2);  // Tuesday
}

TEST(KernelFormatTest, UsesTheUsersPicturesAndTheCurrentTimeByDefault) {
  SimulatedKernel kernel = FrozenAt(kSummerMorning);
  EXPECT_EQ(DateText(kernel, 0, nullptr, nullptr), "5/17/2012");
  EXPECT_EQ(TimeText(kernel, 0, nullptr, nullptr), "9:05:07 AM");
  EXPECT_EQ(TimeText(kernel, kTimeNoSeconds, nullptr, nullptr), "9:05 AM");
  EXPECT_EQ(DateText(kernel, kDateLongDate, nullptr, nullptr), "Thursday, May 17, 2012");

  KernelSettings german;
  german.frozenNow = kWinterEvening;
  german.shortDate = "dd.MM.yyyy";
  german.timeFormat = "HH:mm:ss";
  SimulatedKernel germanKernel(german);
  EXPECT_EQ(DateText(germanKernel, 0, nullptr, nullptr), "10.01.2012");
  EXPECT_EQ(TimeText(germanKernel, kTimeNoSeconds, nullptr, nullptr), "21:40");
}

TEST(KernelFormatTest, AGivenTimeAndPictureOverrideTheDefaults) {
  SimulatedKernel kernel = FrozenAt(kSummerMorning);
  EXPECT_EQ(DateText(kernel, 0, &kWinterEvening, "yyyy'-'MM'-'dd"), "2012-01-10");
  EXPECT_EQ(TimeText(kernel, 0, &kWinterEvening, "hh 'o''clock' tt"), "09 o'clock PM");
}

TEST(KernelFormatTest, ReadsPicturesAsCharactersOfTheAnsiCodePage) {
  KernelSettings japanese;
  japanese.ansiCodePage = 932;
  japanese.frozenNow = kSummerMorning;
  // "yyyy年M月d日" in code page 932; Ｅ (82 64) and Ｎ (82 6D) end in the
  // bytes of 'd' and 'm'.
  japanese.shortDate =
      "yyyy\x94\x4eM\x8c\x8e"
      "d\x93\xfa";
  SimulatedKernel kernel(japanese);
  EXPECT_EQ(DateText(kernel, 0, nullptr, nullptr),
            "2012\x94\x4e"
            "5\x8c\x8e"
            "17\x93\xfa");
  EXPECT_EQ(DateText(kernel, 0, nullptr, "\x82\x64 d"), "\x82\x64 17");
  EXPECT_EQ(TimeText(kernel, 0, nullptr, "H\x82\x6d:mm"), "9\x82\x6d:05");
}

TEST(KernelFormatTest, RefusesInvalidTimesAndPictureWithPictureFlags) {
  SimulatedKernel kernel = FrozenAt(kSummerMorning);
  const SystemTime february30{2012, 2, 0, 30, 0, 0, 0, 0};
  const SystemTime hour25{2012, 2, 0, 3, 25, 0, 0, 0};
  char out[32];
  EXPECT_EQ(kernel.GetDateFormat(0, &february30, nullptr, out, sizeof out), 0);
  EXPECT_EQ(kernel.GetTimeFormat(0, &hour25, nullptr, out, sizeof out), 0);
  EXPECT_EQ(kernel.GetDateFormat(kDateShortDate, nullptr, "d", out, sizeof out), 0);
}

TEST(KernelFormatTest, FollowsTheBufferConvention) {
  SimulatedKernel kernel = FrozenAt(kSummerMorning);
  // "5/17/2012" is 9 characters and its NUL.
  EXPECT_EQ(kernel.GetDateFormat(0, nullptr, nullptr, nullptr, 0), 10);
  char out[10];
  EXPECT_EQ(kernel.GetDateFormat(0, nullptr, nullptr, out, 9), 0);
  EXPECT_EQ(kernel.GetDateFormat(0, nullptr, nullptr, out, 10), 10);
  EXPECT_STREQ(out, "5/17/2012");
  EXPECT_EQ(kernel.GetDateFormat(0, nullptr, nullptr, out, -1), 0);
  EXPECT_EQ(kernel.GetTimeFormat(kTimeNoSeconds, nullptr, nullptr, nullptr, 0), 8);
  EXPECT_EQ(kernel.GetTimeFormat(kTimeNoSeconds, nullptr, nullptr, out, 7), 0);
  EXPECT_EQ(kernel.GetTimeFormat(kTimeNoSeconds, nullptr, nullptr, nullptr, 8), 0);
}

TEST(KernelLocaleTest, AnswersTheUsersInternationalSettings) {
  KernelSettings settings;
  settings.shortDate = "dd/MM/yyyy";
  settings.decimal = ",";
  SimulatedKernel kernel(settings);
  char out[32];
  EXPECT_EQ(kernel.GetLocaleInfo(kLocaleSShortDate, out, sizeof out), 11);
  EXPECT_STREQ(out, "dd/MM/yyyy");
  EXPECT_EQ(kernel.GetLocaleInfo(kLocaleSTimeFormat, out, sizeof out), 11);
  EXPECT_STREQ(out, "h:mm:ss tt");
  EXPECT_EQ(kernel.GetLocaleInfo(kLocaleSDecimal, out, sizeof out), 2);
  EXPECT_STREQ(out, ",");
  EXPECT_EQ(kernel.GetLocaleInfo(kLocaleSShortDate, nullptr, 0), 11);
  EXPECT_EQ(kernel.GetLocaleInfo(kLocaleSShortDate, out, 10), 0);
  EXPECT_EQ(kernel.GetLocaleInfo(0x1234, out, sizeof out), 0);
}

}  // namespace
}  // namespace platform::simulated
