// prcfg as the driver's stand-in, run as a subprocess against the built
// library and temporary machine profiles.
#include "tests/cli/prcfg_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace prcfg_test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr int kExitUsage = 2;
constexpr int kExitNotDefined = 3;
constexpr int kExitOverrun = 4;
constexpr int kAllowedClockSkewSeconds = 2;
const std::vector<std::string> kUtilities = {"GetShortPathNameFromDll", "GetCurrentTimeS",
                                             "GetCurrentTimePJL"};

std::vector<std::string> ExportList() {
  std::ifstream in(SourceDir() / "exports" / "exports.list");
  std::vector<std::string> names;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.front() != '#') names.push_back(line);
  }
  return names;
}

nlohmann::json CallJson(const std::string& profileBody, const std::vector<std::string>& call,
                        const Environment& environment = {}) {
  TemporaryProfile profile(profileBody);
  std::vector<std::string> args = {"--machine", profile.path(), "--json"};
  args.insert(args.end(), call.begin(), call.end());
  const ProcessResult result = RunPrcfg(args, environment);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  return result.Json();
}

// ---- Bad command lines ----------------------------------------------------

class BadCommandLine : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(BadCommandLine, ExitsTwoWithUsageOnStderr) {
  const ProcessResult result = RunPrcfg(GetParam());
  EXPECT_EQ(result.exitCode, kExitUsage);
  EXPECT_THAT(result.err, HasSubstr("usage: prcfg"));
  EXPECT_EQ(result.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Prcfg, BadCommandLine,
    ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"--json"},
                      std::vector<std::string>{"--bogus", "GetCurrentTimeS"},
                      std::vector<std::string>{"--machine"},
                      std::vector<std::string>{"--user", "frobnicate 1", "GetCurrentTimeS"},
                      std::vector<std::string>{"NoSuchExport"},
                      std::vector<std::string>{"--list", "GetCurrentTimeS"},
                      std::vector<std::string>{"tour", "extra"},
                      // Out-only parameters take no argument.
                      std::vector<std::string>{"GetCurrentTimePJL", "T0"},
                      std::vector<std::string>{"GetControllerAddress", "-", "twelve"},
                      std::vector<std::string>{"GetControllerAddress", "-", "4294967296"},
                      std::vector<std::string>{"GetControllerAddress", "-", "-"},
                      std::vector<std::string>{"GetMFPModel", "Queue", "0", "0x1234"},
                      // Longer than the 6 bytes a caller provides.
                      std::vector<std::string>{"ValidateDepartmentCode", "1234567"}));

TEST(PrcfgExports, AnExportMissingFromTheLibraryExitsThree) {
  const ProcessResult list = RunPrcfg({"--json", "--list"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  for (const auto& row : list.Json()) {
    if (row["defined"].get<bool>()) continue;
    const ProcessResult result = RunPrcfg({row["export"].get<std::string>()});
    EXPECT_EQ(result.exitCode, kExitNotDefined);
    EXPECT_THAT(result.err, HasSubstr("not defined"));
    return;
  }
  GTEST_SKIP() << "the library defines every export";
}

// ---- --list ---------------------------------------------------------------

TEST(PrcfgList, NamesEveryExportOfTheListInOrderWithItsParameters) {
  const ProcessResult result = RunPrcfg({"--json", "--list"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::vector<std::string> names;
  for (const auto& row : result.Json()) {
    names.push_back(row["export"]);
    EXPECT_FALSE(row["params"].empty()) << row["export"];
  }
  EXPECT_EQ(names, ExportList());
}

TEST(PrcfgList, MarksTheUtilitiesDefinedAndShowsOutBuffersWithTheirSizes) {
  const ProcessResult result = RunPrcfg({"--list"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("  GetCurrentTimeS(out text[512])\n"));
  EXPECT_THAT(result.out, HasSubstr("  GetCurrentTimePJL(out text[16])\n"));
  EXPECT_THAT(result.out,
              HasSubstr("  GetShortPathNameFromDll(longPath:text, out shortPath[260])"));
  const auto rows = RunPrcfg({"--json", "--list"}).Json();
  for (const auto& row : rows) {
    const bool utility =
        std::find(kUtilities.begin(), kUtilities.end(), row["export"]) != kUtilities.end();
    if (utility) {
      EXPECT_TRUE(row["defined"].get<bool>()) << row["export"];
    }
  }
}

// ---- Output ---------------------------------------------------------------

TEST(PrcfgOutput, JsonIsOneObjectWithExportReturnOutAndUi) {
  const auto json = CallJson(FrozenClock("2012-05-17 09:05:00"), {"GetCurrentTimePJL"},
                             {{"TZ", "Europe/Berlin"}});
  std::vector<std::string> keys;
  for (const auto& [key, value] : json.items()) keys.push_back(key);
  EXPECT_THAT(keys, ::testing::UnorderedElementsAre("export", "return", "out", "ui"));
  EXPECT_EQ(json["export"], "GetCurrentTimePJL");
  EXPECT_EQ(json["return"], 1);
  EXPECT_TRUE(json["ui"].is_array());
  // Each text comes with its exact bytes.
  EXPECT_EQ(json["out"]["text_hex"], "5431333337323338333030");
}

TEST(PrcfgOutput, HumanFormShowsReturnValueAndOutArguments) {
  TemporaryProfile profile(FrozenClock("2012-05-17 09:05:00"));
  const ProcessResult result =
      RunPrcfg({"--machine", profile.path(), "GetCurrentTimePJL"}, {{"TZ", "Europe/Berlin"}});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "GetCurrentTimePJL returned 1\n  text = \"T1337238300\"\n");
}

TEST(PrcfgOutput, DashPassesANullPointer) {
  // A null long path is the export's documented failure.
  const auto json = CallJson("", {"GetShortPathNameFromDll", "-"});
  EXPECT_EQ(json["return"], 0);
}

TEST(PrcfgOutput, OutBufferWithinItsSizeReportsNoOverrun) {
  TemporaryProfile profile("");
  const ProcessResult result =
      RunPrcfg({"--machine", profile.path(), "--json", "GetShortPathNameFromDll", "/tmp"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_THAT(result.err, Not(HasSubstr("OVERRUN")));
  EXPECT_EQ(result.Json()["out"]["shortPath"], "/tmp");
  EXPECT_EQ(result.Json()["return"], 4);
}

TEST(PrcfgOutput, RefusedProfileIsReportedAndFails) {
  TemporaryProfile profile("this is not a registry line\r\n");
  const ProcessResult result = RunPrcfg({"--machine", profile.path(), "GetCurrentTimeS"});
  EXPECT_NE(result.exitCode, 0);
  EXPECT_THAT(result.err, HasSubstr("machine.reg"));

  // Refused before the call: no fallback machine answers with the real clock.
  TemporaryProfile impossibleDay(FrozenClock("2024-02-30 10:00:00"));
  const ProcessResult call = RunPrcfg({"--machine", impossibleDay.path(), "GetCurrentTimeS"});
  EXPECT_NE(call.exitCode, 0);
  EXPECT_THAT(call.err, HasSubstr("machine.reg"));
  EXPECT_EQ(call.out, "");
}

// ---- Faults and traces of a misbehaving module ----------------------------

// prcfg copied beside the fake module, which it then loads as the library.
class PrcfgWithFakeModule : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    fs::copy_file(BuildDir() / "prcfg", folder_.path() / "prcfg");
    fs::copy_file(VX5PRCFG_FAKE_MODULE, folder_.path() / "libvx5prcfg.so");
  }
  ProcessResult Run(const std::vector<std::string>& args) {
    return RunProgram((folder_.path() / "prcfg").string(), args);
  }
  TemporaryFolder folder_;
  TemporaryProfile profile_{""};
};

TEST_F(PrcfgWithFakeModule, WritingPastAnOutBufferIsReportedLoudly) {
  const ProcessResult result = Run({"--machine", profile_.path(), "GetCurrentTimePJL"});
  EXPECT_EQ(result.exitCode, kExitOverrun);
  EXPECT_THAT(result.err,
              HasSubstr("BUFFER OVERRUN: GetCurrentTimePJL: text: written past its 16"));
}

TEST_F(PrcfgWithFakeModule, TraceEventsBecomeUiInTheMachinesCodePage) {
  const ProcessResult result = Run({"--machine", profile_.path(), "--json", "GetCurrentTimeS"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto json = result.Json();
  EXPECT_EQ(json["out"]["text"], "При");
  EXPECT_EQ(json["out"]["text_hex"], "cff0e8");
  ASSERT_EQ(json["ui"].size(), 2u);  // the machine record is not the user's
  EXPECT_EQ(json["ui"][0]["event"], "message_box");
  EXPECT_EQ(json["ui"][0]["caption"], "Привет");
  EXPECT_EQ(json["ui"][0]["caption_hex"], "cff0e8e2e5f2");
  EXPECT_TRUE(json["ui"][0]["owner"].is_null());
  EXPECT_EQ(json["ui"][1]["event"], "dialog");  // unknown events pass through
  EXPECT_EQ(json["ui"][1]["id"], 4003);
  EXPECT_EQ(json["ui"][1]["title"], "A");
}

TEST_F(PrcfgWithFakeModule, HumanFormShowsTheMessageBox) {
  const ProcessResult result = Run({"--machine", profile_.path(), "GetCurrentTimeS"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("message box \"Привет\" (no owner): \"OK\" -> 1"));
}

// ---- The utility exports through the CLI ----------------------------------

TEST(PrcfgUtilities, PjlTimeOfAFrozenBerlinClock) {
  const auto json = CallJson(FrozenClock("2012-05-17 09:05:00"), {"GetCurrentTimePJL"},
                             {{"TZ", "Europe/Berlin"}});
  EXPECT_EQ(json["out"]["text"], "T1337238300");
}

TEST(PrcfgUtilities, PjlTimeAfter2038WrapsToTheLow32Bits) {
  const auto json =
      CallJson(FrozenClock("2040-01-01 00:00:00"), {"GetCurrentTimePJL"}, {{"TZ", "UTC"}});
  EXPECT_EQ(json["out"]["text"], "T-2085978496");
}

TEST(PrcfgUtilities, CurrentTimeInTheDefaultLocaleDropsTheSeconds) {
  const auto json = CallJson(FrozenClock("2012-05-17 09:05:07"), {"GetCurrentTimeS"});
  EXPECT_EQ(json["return"], 1);
  EXPECT_EQ(json["out"]["text"], "5/17/2012 9:05 AM");
}

TEST(PrcfgUtilities, PjlTimeWithoutAFrozenClockFollowsTheRealOne) {
  const auto json = CallJson("[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\System]\r\n",
                             {"GetCurrentTimePJL"}, {{"TZ", "Europe/Berlin"}});
  const std::string text = json["out"]["text"];
  ASSERT_EQ(text.front(), 'T');
  const long long reported = std::stoll(text.substr(1));
  const auto now = static_cast<std::int32_t>(std::time(nullptr));
  EXPECT_LE(std::llabs(reported - now), kAllowedClockSkewSeconds) << text;
}

// ---- tour -----------------------------------------------------------------

// Ports that lead to no device keep the device queries quick.
TEST(PrcfgTour, ListsTheQueuesWithTheirPortsAndCallsTheUtilitiesOnce) {
  TemporaryProfile profile(
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office MFP]\r\n"
      "\"Port\"=\"FILE:\"\r\n"
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\B\xC3\xBCro]\r\n"
      "\"Port\"=\"LPT1:\"\r\n" +
      FrozenClock("2012-05-17 09:05:00"));
  const ProcessResult result =
      RunPrcfg({"--machine", profile.path(), "--json", "tour"}, {{"TZ", "Europe/Berlin"}});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto json = result.Json();
  std::vector<std::string> queues;
  for (const auto& queue : json["queues"]) {
    queues.push_back(queue["name"].get<std::string>() + " on " + queue["port"].get<std::string>());
  }
  EXPECT_THAT(queues,
              ::testing::UnorderedElementsAre("Office MFP on FILE:", "B\xC3\xBCro on LPT1:"));
  int pjlCalls = 0;
  for (const auto& call : json["calls"]) {
    if (call["export"] != "GetCurrentTimePJL") continue;
    ++pjlCalls;
    EXPECT_EQ(call["out"]["text"], "T1337238300");
  }
  EXPECT_EQ(pjlCalls, 1);
}

TEST(PrcfgTour, HumanFormNamesEachQueueAndPort) {
  TemporaryProfile profile(
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office MFP]\r\n"
      "\"Port\"=\"FILE:\"\r\n");
  const ProcessResult result = RunPrcfg({"--machine", profile.path(), "tour"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("Office MFP  (port FILE:)"));
  EXPECT_THAT(result.out, HasSubstr("GetCurrentTimePJL returned 1"));
}

}  // namespace
}  // namespace prcfg_test
