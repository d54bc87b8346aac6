// ScheduleDateTime and ScheduleDateTime16 driven by user scripts on a machine
// whose clock is frozen: which moments the prompt accepts, the dates it
// offers, the time format it shows, and the texts it hands back.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "exports/vx5prcfg.h"
#include "prompts/schedule_time_dialog.h"
#include "tests/framework/scripted_session.h"
#include "tests/support/time_zone.h"

namespace prompts {
namespace {

using framework::testing::FromHex;
using framework::testing::ScriptedSession;
using platform::SystemTime;
using test_support::TimeZone;

constexpr int kTemplate = 4000;
constexpr int kTimePicker = 4001;

std::string Clock(const std::string& now) {
  return "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\System]\n\"Now\"=\"" + now + "\"\n";
}

std::string Machine(const std::string& now, const std::string& timeFormat = "h:mm:ss tt") {
  return Clock(now) +
         "[HKEY_CURRENT_USER\\Control Panel\\International]\n"
         "\"sShortDate\"=\"M/d/yyyy\"\n\"sTimeFormat\"=\"" +
         timeFormat + "\"\n";
}

std::string ControlText(const nlohmann::json& dump, int id) {
  for (const nlohmann::json& control : dump["controls"]) {
    if (control["id"] == id) return FromHex(control["text_hex"]);
  }
  return {};
}

struct Results {
  int answer = -1;
  std::array<char, VX5PRCFG_SCHEDULE_TEXT_SIZE> text{};
  std::array<char, VX5PRCFG_SCHEDULE_STAMP_SIZE> form{};  // seconds (13 bytes) or stamp
};

Results Schedule(int rangeMode) {
  Results results;
  results.answer = ::ScheduleDateTime(results.text.data(), results.form.data(), rangeMode);
  return results;
}

Results Schedule16() {
  Results results;
  results.answer = ::ScheduleDateTime16(results.text.data(), results.form.data());
  return results;
}

TEST(ScheduleTimePromptTest, CurrentMinuteIsAcceptedAndAnEarlierOneRefusedWithThePickerReset) {
  TimeZone zone("Europe/Berlin");
  ScriptedSession session(
      "pick 4001 2024-05-31 09:29; click 1; dump; pick 4001 2024-05-31 09:30; click 1",
      Machine("2024-05-31 09:30:45"));
  const Results results = Schedule(kOneMonthRange);
  EXPECT_EQ(results.answer, 1);
  EXPECT_STREQ(results.text.data(), "5/31/2024 9:30 AM");
  EXPECT_STREQ(results.form.data(), "T1717140600");  // seconds 0

  const auto& boxes = session.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Scheduled time has already elapsed.");
  EXPECT_EQ(boxes[0].caption, "NORVANE k-ORBITA730-940");
  EXPECT_EQ(boxes[0].ownerTemplateId, kTemplate);
  const auto dumps = session.Events("dump");
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_EQ(ControlText(dumps[0], kTimePicker), "9:30 AM");  // back to now after the refusal
}

TEST(ScheduleTimePromptTest, DatesRunFromTodayToTheEndOfTheRange) {
  struct Case {
    const char* now;
    int mode;
    const char* yesterday;
    const char* lastDate;
    const char* firstRefused;
    const char* text;
  };
  const Case cases[] = {
      {"2024-01-31 12:00:00", kOneMonthRange, "2024-01-30", "2024-02-29", "2024-03-01",
       "2/29/2024 12:00 PM"},
      {"2023-01-31 12:00:00", kOneMonthRange, "2023-01-30", "2023-02-28", "2023-03-01",
       "2/28/2023 12:00 PM"},
      {"2023-12-15 08:15:00", kOneMonthRange, "2023-12-14", "2024-01-15", "2024-01-16",
       "1/15/2024 8:15 AM"},
      {"2024-05-31 09:30:00", 0, "2024-05-30", "2038-01-17", "2038-01-18", "1/17/2038 9:30 AM"},
  };
  for (const Case& c : cases) {
    const std::string script = std::string("pick 4000 ") + c.yesterday + " 00:00; pick 4000 " +
                               c.firstRefused + " 00:00; pick 4000 " + c.lastDate +
                               " 00:00; click 1";
    ScriptedSession session(script, Machine(c.now));
    const Results results = Schedule(c.mode);
    EXPECT_EQ(results.answer, 1) << c.now;
    EXPECT_STREQ(results.text.data(), c.text) << c.now;
    EXPECT_EQ(session.Events("action_refused").size(), 2u) << c.now;
  }
}

TEST(ScheduleTimePromptTest, MonthsAddedKeepTheDayWhereTheNextMonthHasIt) {
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(2023));
  const auto next = [](std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    const SystemTime later = AddOneMonth(SystemTime{year, month, 0, day, 17, 45, 0, 0});
    EXPECT_EQ(later.hour, 17);
    EXPECT_EQ(later.minute, 45);
    return std::vector<int>{later.year, later.month, later.day};
  };
  EXPECT_EQ(next(2024, 3, 31), (std::vector<int>{2024, 4, 30}));
  EXPECT_EQ(next(2024, 12, 31), (std::vector<int>{2025, 1, 31}));
  EXPECT_EQ(next(2100, 1, 29), (std::vector<int>{2100, 2, 28}));
  EXPECT_EQ(next(2000, 1, 30), (std::vector<int>{2000, 2, 29}));
  EXPECT_EQ(next(2024, 2, 28), (std::vector<int>{2024, 3, 28}));
}

TEST(ScheduleTimePromptTest, TimeFormatIsCutAfterItsFirstMinutes) {
  const auto shortened = [](const char* format) {
    std::array<char, kTimeFormatCapacity> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%s", format);
    ShortenTimeFormat(buffer.data(), buffer.size());
    return std::string(buffer.data());
  };
  EXPECT_EQ(shortened("h:mm:ss tt"), "h:mm tt");
  EXPECT_EQ(shortened("HH:mm:ss"), "HH:mm");
  EXPECT_EQ(shortened("hh.mm.ss"), "hh.mm tt");
  EXPECT_EQ(shortened("tt hh:mm:ss"), "tt hh:mm tt");
  EXPECT_EQ(shortened("HH 'h'"), "HH 'h'");  // no minutes: unchanged

  // A pair at the very end keeps what of " tt" fits, and nothing more.
  std::array<char, kTimeFormatCapacity + 8> guarded{};
  guarded.fill('#');
  const std::string late = std::string(kTimeFormatCapacity - 4, 'h') + "mm";  // 31 characters
  std::snprintf(guarded.data(), kTimeFormatCapacity, "%s", late.c_str());
  ShortenTimeFormat(guarded.data(), kTimeFormatCapacity);
  EXPECT_EQ(std::string(guarded.data()), late + " ");
  EXPECT_EQ(guarded[kTimeFormatCapacity], '#');

  // The user's format from the registry, else the locale's.
  struct Case {
    std::string machine;
    const char* shown;
  };
  const Case shownCases[] = {
      {Machine("2024-05-31 09:30:45", "HH:mm:ss"), "09:30"},
      {Machine("2024-05-31 21:05:00", "hh.mm.ss"), "09.05 PM"},
      {Clock("2024-05-31 09:30:45"), "9:30 AM"},
  };
  for (const Case& c : shownCases) {
    ScriptedSession session("dump; escape", c.machine);
    Schedule16();
    const auto dumps = session.Events("dump");
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_EQ(ControlText(dumps[0], kTimePicker), c.shown);
  }
}

TEST(ScheduleTimePromptTest, CancelGivesTheCurrentMomentWithItsSeconds) {
  TimeZone zone("Europe/Berlin");
  ScriptedSession session("escape; dialog 4000; close", Machine("2024-07-15 14:20:37"));
  const Results cancelled = Schedule(kOneMonthRange);
  EXPECT_EQ(cancelled.answer, 0);
  EXPECT_STREQ(cancelled.text.data(), "7/15/2024 2:20 PM");
  EXPECT_STREQ(cancelled.form.data(), "T1721046037");
  std::array<char, VX5PRCFG_PJL_TIME_SIZE> pjl{};
  ::GetCurrentTimePJL(pjl.data());
  EXPECT_STREQ(cancelled.form.data(), pjl.data());

  const Results cancelled16 = Schedule16();
  EXPECT_EQ(cancelled16.answer, 0);
  EXPECT_STREQ(cancelled16.text.data(), "7/15/2024 2:20 PM");
  EXPECT_STREQ(cancelled16.form.data(), "20240715 1420");
  EXPECT_EQ(::ScheduleDateTime(nullptr, nullptr, 1), 0);  // null buffers are left out
}

TEST(ScheduleTimePromptTest, StampHasADateAndATimeWithABlankBetween) {
  ScriptedSession session("enter", Machine("2012-05-17 09:05:00"));
  const Results results = Schedule16();
  EXPECT_EQ(results.answer, 1);
  EXPECT_STREQ(results.form.data(), "20120517 0905");
  EXPECT_STREQ(results.text.data(), "5/17/2012 9:05 AM");
  const auto closed = session.Events("dialog");
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0]["title_hex"], "5363686564756c65642054696d65");  // "Scheduled Time"
}

}  // namespace
}  // namespace prompts
