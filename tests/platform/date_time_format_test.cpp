#include "platform/simulated/date_time_format.h"

#include <gtest/gtest.h>

namespace platform::simulated {
namespace {

// Thursday 17 May 2012, 09:05:07.
constexpr SystemTime kMorning{2012, 5, 0, 17, 9, 5, 7, 0};
// Sunday 3 January 2010, 00:00:09 and 21:40:00.
constexpr SystemTime kMidnight{2010, 1, 0, 3, 0, 0, 9, 0};
constexpr SystemTime kEvening{2010, 1, 0, 3, 21, 40, 0, 0};

TEST(DatePictureTest, ExpandsDayMonthAndYearElements) {
  EXPECT_EQ(FormatDatePicture("M/d/yyyy", kMorning), "5/17/2012");
  EXPECT_EQ(FormatDatePicture("MM/dd/yy", kMidnight), "01/03/10");
  EXPECT_EQ(FormatDatePicture("d.M.y", kMidnight), "3.1.10");
  EXPECT_EQ(FormatDatePicture("ddd, MMM d", kMorning), "Thu, May 17");
  EXPECT_EQ(FormatDatePicture("dddd, MMMM dd, yyyy", kMidnight), "Sunday, January 03, 2010");
  EXPECT_EQ(FormatDatePicture("yyyy-MM-dd", kMorning), "2012-05-17");
}

TEST(DatePictureTest, LongerRunsMeanTheFullForm) {
  EXPECT_EQ(FormatDatePicture("ddddd MMMMM yyyyy", kMorning), "Thursday May 2012");
}

TEST(DatePictureTest, TakesTheWeekdayFromTheDateNotTheField) {
  SystemTime wrongWeekday = kMorning;
  wrongWeekday.dayOfWeek = 1;
  EXPECT_EQ(FormatDatePicture("dddd", wrongWeekday), "Thursday");
}

TEST(DatePictureTest, CopiesQuotedTextAndOtherCharacters) {
  EXPECT_EQ(FormatDatePicture("'day' d 'of' MMMM", kMorning), "day 17 of May");
  EXPECT_EQ(FormatDatePicture("'abc''bar'", kMorning), "abc'bar");
  EXPECT_EQ(FormatDatePicture("d''MM", kMorning), "17'05");
  EXPECT_EQ(FormatDatePicture("yyyy年M月d日", kMorning), "2012年5月17日");
  EXPECT_EQ(FormatDatePicture("'unclosed d", kMorning), "unclosed d");
  // Time letters mean nothing to a date picture.
  EXPECT_EQ(FormatDatePicture("d hh:mm", kMorning), "17 hh:mm");
}

TEST(TimePictureTest, ExpandsHourMinuteSecondAndMarker) {
  EXPECT_EQ(FormatTimePicture("h:mm:ss tt", kMorning, 0), "9:05:07 AM");
  EXPECT_EQ(FormatTimePicture("hh:mm:ss t", kEvening, 0), "09:40:00 P");
  EXPECT_EQ(FormatTimePicture("HH:mm:ss", kMorning, 0), "09:05:07");
  EXPECT_EQ(FormatTimePicture("H:m:s", kMorning, 0), "9:5:7");
  EXPECT_EQ(FormatTimePicture("h tt", kMidnight, 0), "12 AM");
  EXPECT_EQ(FormatTimePicture("H 'h' mm", kMidnight, 0), "0 h 00");
  EXPECT_EQ(FormatTimePicture("tt h'.'mm", kEvening, 0), "PM 9.40");
}

TEST(TimePictureTest, NoSecondsDropsTheSecondsAndTheSeparatorBeforeThem) {
  EXPECT_EQ(FormatTimePicture("h:mm:ss tt", kMorning, kTimeNoSeconds), "9:05 AM");
  EXPECT_EQ(FormatTimePicture("HH:mm:ss", kMorning, kTimeNoSeconds), "09:05");
  EXPECT_EQ(FormatTimePicture("tt hh:mm:ss", kEvening, kTimeNoSeconds), "PM 09:40");
  EXPECT_EQ(FormatTimePicture("H.mm.ss 'Uhr'", kMorning, kTimeNoSeconds), "9.05 Uhr");
  EXPECT_EQ(FormatTimePicture("h:mm tt", kMorning, kTimeNoSeconds), "9:05 AM");
}

TEST(TimePictureTest, OtherFlagsDropOrChangeTheirElements) {
  EXPECT_EQ(FormatTimePicture("h:mm:ss tt", kMorning, kTimeNoMinutesOrSeconds), "9 AM");
  EXPECT_EQ(FormatTimePicture("h:mm:ss tt", kEvening, kTimeNoTimeMarker), "9:40:00");
  EXPECT_EQ(FormatTimePicture("tt h:mm", kEvening, kTimeNoTimeMarker), "9:40");
  EXPECT_EQ(FormatTimePicture("hh:mm", kEvening, kTimeForce24HourFormat), "21:40");
}

TEST(SystemTimeTest, AcceptsOnlyRealDatesAndTimes) {
  EXPECT_TRUE(IsValidSystemTime(kMorning));
  EXPECT_TRUE(IsValidSystemTime({2012, 2, 0, 29, 23, 59, 59, 999}));
  EXPECT_FALSE(IsValidSystemTime({2011, 2, 0, 29, 0, 0, 0, 0}));
  EXPECT_FALSE(IsValidSystemTime({2012, 13, 0, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(IsValidSystemTime({2012, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(IsValidSystemTime({2012, 5, 0, 17, 24, 0, 0, 0}));
  EXPECT_FALSE(IsValidSystemTime({1600, 5, 0, 17, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace platform::simulated
