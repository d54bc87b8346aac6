// The address look-ups and the device login through prcfg: the address
// book's text for each port kind of the example machine, a controller address
// through a queue handle prcfg opened ("@QUEUE"), and a login against a
// loopback responder driven by a user script.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/prcfg_process.h"
#include "tests/support/login_responder.h"

namespace prcfg_test {
namespace {

using test_support::kLoginQueue;
using test_support::LoginResponder;

nlohmann::json Call(const std::string& machine, const std::vector<std::string>& call,
                    const std::vector<std::string>& options = {}) {
  std::vector<std::string> args = {"--machine", machine, "--json"};
  args.insert(args.end(), options.begin(), options.end());
  args.insert(args.end(), call.begin(), call.end());
  const ProcessResult result = RunPrcfg(args);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  return result.Json();
}

std::string LookupsMachine() { return (SourceDir() / "sim" / "machines" / "lookups.reg").string(); }

TEST(PrcfgLookups, AddressBookTextForEachPortKind) {
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Book TCP Copier", "127.0.0.2"}, {"Book Named Copier", "127.0.0.3"},
      {"Book LPR Copier", "127.0.0.1"}, {"Book AIPP Copier", "127.0.0.3"},
      {"Book UNC Copier", "127.0.0.2"}, {"Book Unknown Copier", "000.000.000.000"},
  };
  for (const auto& [queue, text] : expected) {
    const auto json = Call(LookupsMachine(), {"GetIPAddressForAddrBk", queue});
    EXPECT_EQ(json["return"], 1) << queue;
    EXPECT_EQ(json["out"]["address"], text) << queue;
  }
}

TEST(PrcfgLookups, ControllerAddressThroughAQueueHandleOpenedForTheCall) {
  auto json = Call(LookupsMachine(), {"GetControllerAddress", "@Book TCP Copier", "0"});
  EXPECT_EQ(json["return"], 1);
  EXPECT_EQ(json["out"]["address"], "127.0.0.2");
  // Without a handle the queue is not known.
  json = Call(LookupsMachine(), {"GetControllerAddress", "-", "0"});
  EXPECT_EQ(json["return"], 0);
  json = Call(LookupsMachine(), {"GetControllerAddress", "@No Such Queue", "0"});
  EXPECT_EQ(json["return"], 0);
}

TEST(PrcfgLookups, LoginAcceptedAndRefusedByALoopbackDevice) {
  {
    LoginResponder device("<ReturnValue>1</ReturnValue>");
    TemporaryProfile profile(device.MachineLines());
    const auto json = Call(profile.path(), {"IsVezurOruvaUser", kLoginQueue, "-", "0"},
                           {"--user", "type 4001 alice; type 4004 pw; click 4008"});
    EXPECT_EQ(json["return"], 1);
    EXPECT_EQ(json["out"]["userName"], "alice");
    EXPECT_EQ(json["out"]["password"], "pw");
    ASSERT_EQ(device.Requests().size(), 1u);
  }
  LoginResponder device("<ReturnValue>0</ReturnValue>");
  TemporaryProfile profile(device.MachineLines());
  const auto json = Call(profile.path(), {"IsVezurOruvaUser16", kLoginQueue, "-", "2"},
                         {"--user", "type 4001 bob; click 4008; escape"});
  EXPECT_EQ(json["return"], 0);
  std::vector<std::string> texts;
  for (const auto& event : json["ui"]) {
    if (event["event"] == "message_box") texts.push_back(event["text"]);
  }
  EXPECT_THAT(texts,
              ::testing::ElementsAre("Please log in as an 'Administrator' to access this folder."));
}

}  // namespace
}  // namespace prcfg_test
