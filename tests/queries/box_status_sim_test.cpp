// Box and HSP status through the shared library, and the box password prompt
// through prcfg with a user script, against the simulated devices.
#include "query_exports_sim.h"

namespace queries::sim {
namespace {

using Status = int (*)(const char*, const char*, void*);
using StatusEx = int (*)(const char*, const char*, void*, int*);

class BoxStatusSimTest : public QueriesSimTest {};

TEST_F(BoxStatusSimTest, BoxStatusReadsBoxZeroAndTheSetting) {
  const auto boxStatus = Export<Status>("GetBoxStatus");
  const auto boxStatusEx = Export<StatusEx>("GetBoxStatusEx");
  ASSERT_NE(boxStatus, nullptr);
  ASSERT_NE(boxStatusEx, nullptr);
  EXPECT_EQ(boxStatus("Status Open", "0", nullptr), 0);
  EXPECT_EQ(boxStatus("Status Closed", "0", nullptr), 1);
  int notOurs = 0;
  EXPECT_EQ(boxStatusEx("Status Open", "0", nullptr, &notOurs), 0);
  EXPECT_EQ(notOurs, 0);
  EXPECT_EQ(boxStatusEx("No Address", "0", nullptr, nullptr), 1);
}

TEST_F(BoxStatusSimTest, HspStatusReadsTheSetting) {
  const auto hspStatus = Export<Status>("GetHSPStatus");
  const auto hspStatusEx = Export<StatusEx>("GetHSPStatusEx");
  ASSERT_NE(hspStatus, nullptr);
  ASSERT_NE(hspStatusEx, nullptr);
  EXPECT_EQ(hspStatus("Status Open", "0", nullptr), 0);
  EXPECT_EQ(hspStatus("Status Closed", "0", nullptr), 1);
  EXPECT_EQ(hspStatusEx("Status Closed", "0", nullptr, nullptr), 1);
  EXPECT_EQ(hspStatusEx("No Address", "0", nullptr, nullptr), 1);
}

// prcfg --json CheckBoxPassword with a user script; its parsed report.
nlohmann::json RunCli(const std::string& script, const std::string& arguments) {
  return RunPrcfgJson("queries.reg", script, "CheckBoxPassword " + arguments);
}

std::size_t Dialogs(const nlohmann::json& report) {
  std::size_t count = 0;
  for (const nlohmann::json& event : report["ui"]) count += event.value("event", "") == "dialog";
  return count;
}

class BoxPasswordSimTest : public QueriesSimTest {};

TEST_F(BoxPasswordSimTest, WrongPasswordPromptsUntilTheDeviceAcceptsOne) {
  const auto report = RunCli("clear 4116; type 4116 12345; click 1", "Password 0 5 11111");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 10);
  EXPECT_EQ(report["out"]["entered"], "12345");
  EXPECT_EQ(Dialogs(report), 1u);
}

TEST_F(BoxPasswordSimTest, NoPasswordRowPermitsBoxZeroWithoutAPrompt) {
  const auto report = RunCli("", "Password 0 0 \"\"");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 10);
  EXPECT_EQ(Dialogs(report), 0u);
}

TEST_F(BoxPasswordSimTest, CancelAndAnUnheldRowEndThePrompting) {
  auto report = RunCli("click 2", "Password 0 5 11111");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], 11);
  // The device holds no row for 54321: its error answer fails the request.
  report = RunCli("clear 4116; type 4116 54321; click 1", "Password 0 5 11111");
  ASSERT_TRUE(report.is_object());
  EXPECT_EQ(report["return"], -1);
  EXPECT_EQ(report["out"]["entered"], "54321");
}

}  // namespace
}  // namespace queries::sim
