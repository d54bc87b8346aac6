// TabPrinting through prcfg and the shared library, against the simulated
// devices (sim/start) and sim/machines/tabprint.reg: the device's tab stocks
// in the dialogs, and one connection message with the built-in stocks for a
// device without them, a silent device and a printer without an address.
// Skipped when no device answers, unless VX5PRCFG_REQUIRE_SIM is set.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/prcfg_process.h"
#include "tests/support/simulated_devices.h"

namespace {

using ::testing::ElementsAre;

constexpr int kStockList = 1003;

class TabPrintingSimTest : public test_support::SimulatedDeviceTest {
 protected:
  // prcfg --json TabPrinting with `args` after the mode, acted on by `script`.
  static nlohmann::json Call(const std::string& script, const std::vector<std::string>& args) {
    std::vector<std::string> command = {
        "--json", "--machine", (prcfg_test::SourceDir() / "sim/machines/tabprint.reg").string(),
        "--user", script,      "TabPrinting"};
    command.insert(command.end(), args.begin(), args.end());
    const prcfg_test::ProcessResult result = prcfg_test::RunPrcfg(command);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.Json();
  }

  static std::vector<nlohmann::json> Events(const nlohmann::json& call, const char* kind) {
    std::vector<nlohmann::json> events;
    for (const auto& event : call["ui"]) {
      if (event["event"] == kind) events.push_back(event);
    }
    return events;
  }

  static nlohmann::json Control(const nlohmann::json& dump, int id) {
    for (const auto& control : dump["controls"]) {
      if (control["id"] == id) return control;
    }
    return {};
  }
};

TEST_F(TabPrintingSimTest, TheDevicesStocksFillTheListAndTheRowsBecomeTheTabList) {
  const nlohmann::json call =
      Call("select 1003 2; dump; type 7001 3; select 8001 1; type 7002 12; click 1",
           {"0", "0", "1", "0.5in", "-", "Tab Copier"});
  EXPECT_EQ(call["return"], 1);
  EXPECT_TRUE(Events(call, "message_box").empty());
  const auto dumps = Events(call, "dump");
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_EQ(Control(dumps[0], kStockList)["items_hex"].size(), 4u);
  EXPECT_EQ(Control(dumps[0], 4108)["text_hex"], "3130");  // "10": a stock of kind 4
  EXPECT_EQ(call["out"]["tabListOut"], "3,12I");
  EXPECT_EQ(call["out"]["manufacturerIndex"], 2);
  EXPECT_EQ(call["out"]["cassetteIndex"], 1);
  EXPECT_EQ(call["out"]["imageShift"], "9.000mm,9000.000");  // the stock's shift
}

TEST_F(TabPrintingSimTest, AHostNameReachesTheSameDevice) {
  const nlohmann::json call = Call("dump", {"1", "3", "0", "0.5in", "-", "Named Tab Copier"});
  const auto dumps = Events(call, "dump");
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_EQ(dumps[0]["template"], 4045);
  EXPECT_EQ(Control(dumps[0], kStockList)["items_hex"].size(), 4u);
  EXPECT_EQ(call["out"]["manufacturerIndex"], 3);
  EXPECT_EQ(call["out"]["imageShift"], "0.500in,12820.513");
}

TEST_F(TabPrintingSimTest, NoStocksASilentDeviceOrNoAddressGiveOneMessageAndTheBuiltInStocks) {
  for (const char* printer : {"Plain Copier", "Silent Copier", "Local Copier", "No Such Printer"}) {
    SCOPED_TRACE(printer);
    const nlohmann::json call = Call("dump", {"0", "1", "0", "-", "3I,5", printer});
    EXPECT_EQ(call["return"], 1);
    std::vector<std::string> messages;
    for (const auto& box : Events(call, "message_box")) {
      messages.push_back(box["caption"].get<std::string>() + ": " + box["text"].get<std::string>());
    }
    EXPECT_THAT(messages, ElementsAre("Error: Could not connect to the RV4410 device."));
    const auto dumps = Events(call, "dump");
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_EQ(Control(dumps[0], kStockList)["items_hex"].size(), 5u);
    EXPECT_EQ(call["out"]["tabListOut"], "3I,5");  // cancelled: the caller's list
  }
}

}  // namespace
