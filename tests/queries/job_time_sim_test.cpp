// The job-time exports end to end through prcfg, with user scripts and the
// frozen clock of sim/machines/prompts.reg: the department code check against
// the simulated devices, and the scheduled time, DIN and inserter prompts.
#include "query_exports_sim.h"

namespace queries::sim {
namespace {

constexpr char kProfile[] = "prompts.reg";
// FormatPjlTime reads the frozen local clock in this zone.
constexpr char kZone[] = "TZ=Europe/Berlin";

nlohmann::json RunJobTime(const std::string& script, const std::string& arguments) {
  return RunPrcfgJson(kProfile, script, arguments, kZone);
}

std::size_t Events(const nlohmann::json& report, std::string_view event) {
  std::size_t count = 0;
  for (const nlohmann::json& record : report["ui"]) count += record.value("event", "") == event;
  return count;
}

class JobTimeSimTest : public QueriesSimTest {};

TEST_F(JobTimeSimTest, DeptCodeCheckAnswersEachResultAgainstTheDevice) {
  auto report = RunJobTime("", "IsValidDeptCodeMck \"Dept Codes\" 0 12345");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 1);
  EXPECT_EQ(Events(report, "dialog"), 0u);

  // 11111 is not registered: the prompt asks until the device knows the code.
  report = RunJobTime("clear 4003; type 4003 54321; click 1",
                      "IsValidDeptCodeMck \"Dept Codes\" 0 11111");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 1);
  EXPECT_EQ(report["out"]["deptCode"], "54321");
  EXPECT_EQ(Events(report, "dialog"), 1u);

  // Text is no registered value either; cancelling keeps the code.
  report = RunJobTime("click 2", "IsValidDeptCodeMck \"Dept Codes\" 0 22222");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 0);
  EXPECT_EQ(report["out"]["deptCode"], "22222");

  // The device holds no row for 99999 and answers with an error.
  report = RunJobTime("", "IsValidDeptCodeMck \"Dept Codes\" 0 99999");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 2);
  EXPECT_EQ(Events(report, "message_box"), 1u);

  report = RunJobTime("", "IsValidDeptCodeMck \"No Address\" 0 12345");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], -1);
  EXPECT_EQ(Events(report, "message_box"), 0u);
}

TEST_F(JobTimeSimTest, ScheduledTimeRefusesThePastAndGivesBothForms) {
  auto report =
      RunJobTime("pick 4001 2024-05-31 09:29; click 1; pick 4000 2024-06-30 00:00; click 1",
                 "ScheduleDateTime 1");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 1);
  EXPECT_EQ(report["out"]["text"], "6/30/2024 9:30 AM");  // the time picker went back to now
  EXPECT_EQ(report["out"]["seconds"], "T1719732600");
  EXPECT_EQ(Events(report, "message_box"), 1u);

  report = RunJobTime("escape", "ScheduleDateTime16");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 0);
  EXPECT_EQ(report["out"]["text"], "5/31/2024 9:30 AM");
  EXPECT_EQ(report["out"]["stamp"], "20240531 0930");
}

TEST_F(JobTimeSimTest, DinComesBackInPlaceOrInANewBlock) {
  auto report = RunJobTime("clear 4001; type 4001 12; enter; clear 4001; type 4001 54321; click 1",
                           "ValidateDIN 999");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 1);
  EXPECT_EQ(report["out"]["din"], "54321");
  EXPECT_EQ(Events(report, "action_refused"), 1u);  // Enter with two digits

  report = RunJobTime("type 4001 54321; click 1", "ValidateDIN1");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 1);
  EXPECT_EQ(report["out"]["din"], "54321");
}

TEST_F(JobTimeSimTest, InserterPaperSizeStartsOnTheGivenPaper) {
  auto report = RunJobTime("click 1", "GetInserterPaperSelected 6");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 1);
  EXPECT_EQ(report["out"]["paperCode"], 6);
  EXPECT_EQ(report["out"]["inverted"], 0);

  report = RunJobTime("select 4098 8; check 1008 1; click 1", "GetInserterPaperSelected 6");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["out"]["paperCode"], 10);
  EXPECT_EQ(report["out"]["inverted"], 1);
}

}  // namespace
}  // namespace queries::sim
