// TabPrinting driven by scripted users: which dialog each mode runs, what
// comes back after OK and Cancel, the image shift field, the tab stocks and
// their bank sizes, and the tab rows with their paging and clean-up.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "exports/vx5prcfg.h"
#include "tabprint/job_record.h"
#include "tests/framework/scripted_session.h"
#include "tests/tabprint/tab_device.h"

namespace tabprint {
namespace {

using framework::testing::FromHex;
using framework::testing::ScriptedSession;
using ::testing::ElementsAre;
using testing::TabDevice;

constexpr int kTabPrint = 4038;
constexpr int kPrimary = 4045;
constexpr char kUntouched[] = "untouched";
constexpr char kKokuyo[] = "KOKUYO A4-S (5-tab banks)";

// The tab device behind a Standard TCP/IP port and behind a host name; a
// device that does not answer; a printer the machine does not know.
constexpr char kTabCopier[] = "Tab Copier";
constexpr char kNamedCopier[] = "Named Copier";
constexpr char kSilentCopier[] = "Silent Copier";
constexpr char kNoPrinter[] = "No Such Printer";
constexpr char kQueues[] = R"([HKLM\SOFTWARE\SimulatedMachine\Hosts]
"tabs.test"="10.0.0.9"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\Tab Copier]
"Port"="TabPort"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\Named Copier]
"Port"="NamedPort"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\Silent Copier]
"Port"="SilentPort"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port\Ports\TabPort]
"IPAddress"="10.0.0.9"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port\Ports\NamedPort]
"HostName"="tabs.test"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port\Ports\SilentPort]
"IPAddress"="10.0.0.99"
)";

// What the driver passes.
struct Job {
  unsigned mode = 0;
  int manufacturer = 0;
  int cassette = 0;
  const char* shift = "";  // null: no image shift buffer
  const char* tabListIn = nullptr;
  const char* printer = kTabCopier;
};

// What came back, and what the user saw.
struct Outcome {
  int result = 0;
  std::string tabList;
  int manufacturer = 0;
  int cassette = 0;
  std::string shift;
  std::vector<std::string> messages;  // "caption: text"
  std::vector<nlohmann::json> dumps;
  std::vector<int> dialogs;  // templates, in order
  std::vector<int> results;
  int refused = 0;
};

// A control of a dump.
struct Shown {
  nlohmann::json control;
  std::string text() const { return FromHex(control.value("text_hex", "")); }
  bool enabled() const { return control.value("enabled", false); }
  bool visible() const { return control.value("visible", false); }
  int selection() const { return control["selection"][0]; }
};

Shown In(const nlohmann::json& dump, int id) {
  for (const nlohmann::json& control : dump["controls"]) {
    if (control["id"] == id) return {control};
  }
  ADD_FAILURE() << "no control " << id;
  return {};
}

std::string PageList(int first, int last) {
  std::string list;
  for (int page = first; page <= last; ++page) list += std::to_string(page) + ",";
  list.pop_back();
  return list;
}

class TabPrintingTest : public ::testing::Test {
 protected:
  Outcome Run(std::string_view script, const Job& job, std::string_view machine = "") {
    ScriptedSession session(script, std::string(kQueues) + std::string(machine));
    // The caller's buffers, with marked bytes after the room they promise.
    const std::size_t listRoom = TabListCapacity(job.tabListIn);
    std::vector<char> tabList(listRoom + 4, '#');
    std::strcpy(tabList.data(), kUntouched);
    std::array<char, kImageShiftSize + 4> shift{};
    shift.fill('#');
    if (job.shift != nullptr) std::strcpy(shift.data(), job.shift);
    int manufacturer = job.manufacturer;
    int cassette = job.cassette;

    Outcome outcome;
    outcome.result =
        TabPrinting(job.mode, tabList.data(), &manufacturer, &cassette,
                    job.shift != nullptr ? shift.data() : nullptr, job.tabListIn, job.printer);
    EXPECT_EQ(std::string(tabList.begin() + listRoom, tabList.end()), "####");
    EXPECT_EQ(std::string(shift.begin() + kImageShiftSize, shift.end()), "####");
    outcome.tabList = tabList.data();
    outcome.manufacturer = manufacturer;
    outcome.cassette = cassette;
    outcome.shift = job.shift != nullptr ? std::string(shift.data()) : std::string();
    for (const auto& box : session.messageBoxes()) {
      outcome.messages.push_back(box.caption + ": " + box.text);
    }
    outcome.dumps = session.Events("dump");
    for (const auto& dialog : session.Events("dialog")) {
      outcome.dialogs.push_back(dialog["template"]);
      outcome.results.push_back(dialog["result"]);
    }
    outcome.refused = static_cast<int>(session.Events("action_refused").size());
    return outcome;
  }

  TabDevice device_;
};

// ---- Entry and job record -------------------------------------------------

TEST_F(TabPrintingTest, ModesOneToThreeRunThePrimaryDialogAndEveryOtherTheTabPrintDialog) {
  device_.AddThreeKinds();
  for (unsigned mode : {0u, 4u, 1u, 2u, 3u, 77u}) {
    SCOPED_TRACE(mode);
    const Outcome outcome = Run("escape", {.mode = mode});
    EXPECT_EQ(outcome.result, 1);
    EXPECT_THAT(outcome.dialogs, ElementsAre(mode >= 1 && mode <= 3 ? kPrimary : kTabPrint));
    EXPECT_TRUE(outcome.messages.empty());
  }
  // A host name reaches the same device.
  const Outcome outcome = Run("dump", {.mode = 1, .printer = kNamedCopier});
  EXPECT_EQ(In(outcome.dumps.at(0), 1003).text(), "Device Eight");
}

TEST_F(TabPrintingTest, CancelHandsBackTheCallersTabListAndBothIndexes) {
  Outcome outcome = Run("escape", {.manufacturer = 3, .cassette = 1, .tabListIn = "3I,5"});
  EXPECT_EQ(outcome.tabList, "3I,5");
  EXPECT_EQ(outcome.manufacturer, 3);
  EXPECT_EQ(outcome.cassette, 1);
  // A tab list longer than the usual buffer comes back whole in its own room.
  const std::string longList = PageList(1000, 1099);
  outcome = Run("escape", {.tabListIn = longList.c_str()});
  EXPECT_EQ(outcome.tabList, longList);
}

TEST_F(TabPrintingTest, OkWithoutPagesLeavesTheTabListAsItWas) {
  const Outcome outcome = Run("click 1", {});
  EXPECT_THAT(outcome.results, ElementsAre(1));
  EXPECT_EQ(outcome.tabList, kUntouched);
}

TEST_F(TabPrintingTest, ImageShiftTextsComeBackInTheModulesForm) {
  const std::pair<const char*, const char*> kShifts[] = {
      {"0.507in", "0.507in,13000.001"}, {"", "13.000mm,13000.000"},
      {"45mm", "13.000mm,13000.000"},   {"-2mm", "13.000mm,13000.000"},
      {"1.5in", "0.507in,13000.001"},   {"1.19in", "1.190in,30000.000"},
      {"7.5", "7.500mm,7500.000"},      {"0.500in,12820.513", "0.500in,12820.513"},
  };
  for (unsigned mode : {0u, 1u}) {
    for (const auto& [in, out] : kShifts) {
      SCOPED_TRACE(std::string(in) + " in mode " + std::to_string(mode));
      EXPECT_EQ(Run("click 1", {.mode = mode, .shift = in}).shift, out);
    }
  }
  // No buffer: nothing to read or write, and the dialog starts on 13 mm.
  const Outcome outcome = Run("dump", {.shift = nullptr});
  EXPECT_EQ(In(outcome.dumps.at(0), 4109).text(), "13.000");
}

TEST_F(TabPrintingTest, TheShiftBufferIsReadNoFurtherThanItsNineteenBytes) {
  ScriptedSession session("escape");
  // 19 bytes without a terminator, followed by what a longer read would take for a unit.
  std::array<char, kImageShiftSize + 3> shift{};
  std::memset(shift.data(), ' ', kImageShiftSize);
  std::memcpy(shift.data(), "0.25", 4);
  std::memcpy(shift.data() + kImageShiftSize, "in", 3);
  std::array<char, kTabListSize> tabList{};
  int manufacturer = 0;
  int cassette = 0;
  TabPrinting(0, tabList.data(), &manufacturer, &cassette, shift.data(), nullptr, kNoPrinter);
  EXPECT_STREQ(shift.data(), "0.250mm,250.000");
  // Null required arguments read as 0 and receive nothing.
  EXPECT_EQ(TabPrinting(0, nullptr, nullptr, nullptr, nullptr, "3I", nullptr), 1);
}

TEST_F(TabPrintingTest, CancelHandsBackTheShiftInTheUnitItStartedWith) {
  // A unit change, a stock choice (back to millimetres) or a refused OK
  // before Cancel leaves the starting shift as it was.
  EXPECT_EQ(Run("select 4112 1; escape", {.mode = 1, .shift = "13mm"}).shift, "13.000mm,13000.000");
  EXPECT_EQ(Run("select 4110 0; escape", {.shift = "0.25in"}).shift, "0.250in,6410.256");
  EXPECT_EQ(Run("select 1003 2; escape", {.shift = "0.25in"}).shift, "0.250in,6410.256");
  EXPECT_EQ(Run("select 4112 1; clear 4110; click 1; escape", {.mode = 1, .shift = "5mm"}).shift,
            "5.000mm,5000.000");
}

// ---- Primary tab dialog ---------------------------------------------------

TEST_F(TabPrintingTest, PrimaryDialogConvertsTheShiftBetweenUnitsInSinglePrecision) {
  const Outcome outcome = Run(
      "select 4112 1; dump; select 4112 0; dump; clear 4110; type 4110 30; select 4112 1; dump; "
      "click 1",
      {.mode = 1});
  ASSERT_EQ(outcome.dumps.size(), 3u);
  EXPECT_EQ(In(outcome.dumps[0], 4110).text(), "0.507000");
  EXPECT_EQ(In(outcome.dumps[0], 4111).text(), "( 0.0 - 1.19 in )");
  EXPECT_EQ(In(outcome.dumps[1], 4110).text(), "13.000001");
  EXPECT_EQ(In(outcome.dumps[1], 4111).text(), "( 0.0 - 30.0 mm )");
  EXPECT_EQ(In(outcome.dumps[2], 4110).text(), "1.190000");
  EXPECT_EQ(outcome.shift, "1.190in,30000.000");
}

TEST_F(TabPrintingTest, ModesTwoAndThreeStartOnTheirOwnStockWhateverIndexIsGiven) {
  Outcome outcome = Run("dump", {.mode = 2, .manufacturer = 4, .printer = kNoPrinter});
  EXPECT_EQ(In(outcome.dumps.at(0), 1003).text(), kKokuyo);
  EXPECT_EQ(outcome.manufacturer, 2);
  outcome = Run("dump", {.mode = 3, .manufacturer = 4, .printer = kNoPrinter});
  EXPECT_EQ(In(outcome.dumps.at(0), 1003).selection(), 0);
  EXPECT_EQ(outcome.manufacturer, 0);
}

TEST_F(TabPrintingTest, AStartIndexBeyondTheListSelectsTheSecondEntryAndTouchesNothingElse) {
  Outcome outcome = Run("dump", {.mode = 1, .manufacturer = 9, .shift = "5mm"});
  EXPECT_EQ(In(outcome.dumps.at(0), 1003).selection(), 1);
  EXPECT_EQ(In(outcome.dumps.at(0), 4110).text(), "5.000");
  // The tab print dialog keeps its bank size and the template's row labels.
  outcome = Run("dump", {.manufacturer = 9, .printer = kNoPrinter});
  const nlohmann::json& dump = outcome.dumps.at(0);
  EXPECT_EQ(In(dump, 1003).selection(), 1);
  EXPECT_EQ(In(dump, 4108).text(), "5");
  EXPECT_FALSE(In(dump, 4108).enabled());
  EXPECT_EQ(In(dump, 4092).text(), "Tab 6");
  EXPECT_FALSE(In(dump, 10006).visible());
}

TEST_F(TabPrintingTest, PrimaryOkRefusedForTheShiftHasTakenTheStockAndCassette) {
  const Outcome outcome = Run("select 1003 3; select 1024 1; clear 4110; click 1; escape",
                              {.mode = 1, .printer = kNoPrinter});
  EXPECT_THAT(outcome.messages, ElementsAre("Error: Could not connect to the RV4410 device.",
                                            "Error: Invalid value"));
  EXPECT_THAT(outcome.results, ElementsAre(2));
  EXPECT_EQ(outcome.manufacturer, 3);
  EXPECT_EQ(outcome.cassette, 1);
}

TEST_F(TabPrintingTest, TheUsersDecimalSeparatorIsShownAndTheDriverGetsAPoint) {
  const Outcome outcome = Run("dump; click 1", {.mode = 1, .shift = "2.5mm"},
                              "[HKEY_CURRENT_USER\\Control Panel\\International]\n"
                              "\"sDecimal\"=\",\"\n");
  EXPECT_EQ(In(outcome.dumps.at(0), 4110).text(), "2,500");
  EXPECT_EQ(In(outcome.dumps.at(0), 4111).text(), "( 0,0 - 30,0 mm )");
  EXPECT_EQ(outcome.shift, "2.500mm,2500.000");
}

// ---- Tab stocks and bank sizes ---------------------------------------------

TEST_F(TabPrintingTest, BuiltInStocksSetTheBankSizeFromTheirNames) {
  const Outcome outcome =
      Run("select 1003 2; dump; select 1003 1; dump; select 1003 4; dump; clear 4108; "
          "type 4108 14; select 1003 0; dump",
          {.printer = kNoPrinter});
  ASSERT_EQ(outcome.dumps.size(), 4u);
  const std::pair<const char*, bool> kExpected[] = {
      {"5", false}, {"8", false}, {"5", true}, {"5", true}};
  for (std::size_t i = 0; i < outcome.dumps.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(In(outcome.dumps[i], 4108).text(), kExpected[i].first);
    EXPECT_EQ(In(outcome.dumps[i], 4108).enabled(), kExpected[i].second);
    EXPECT_EQ(In(outcome.dumps[i], 4109).text(), "13.000");
  }
  // Emptying 4108 refuses the exchange with the framework's message.
  EXPECT_THAT(outcome.messages, ElementsAre("Error: Could not connect to the RV4410 device.",
                                            "vx5prcfg: Enter an integer."));
}

TEST_F(TabPrintingTest, DeviceStocksOfKindsThreeAndFourTakeTheirTabsPerBank) {
  device_.AddThreeKinds();
  const Outcome outcome =
      Run("select 4110 1; select 1003 0; dump; select 1003 1; dump; select 1003 2; dump", {});
  ASSERT_EQ(outcome.dumps.size(), 3u);
  EXPECT_THAT(outcome.dumps[0]["controls"][2].is_object(), true);
  const std::tuple<const char*, bool, const char*> kExpected[] = {
      {"8", false, "12.000"}, {"5", true, "14.500"}, {"10", false, "9.000"}};
  for (std::size_t i = 0; i < outcome.dumps.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& [tabs, enabled, shift] = kExpected[i];
    EXPECT_EQ(In(outcome.dumps[i], 4108).text(), tabs);
    EXPECT_EQ(In(outcome.dumps[i], 4108).enabled(), enabled);
    // Every choice resets the shift to the stock's, in millimetres.
    EXPECT_EQ(In(outcome.dumps[i], 4109).text(), shift);
    EXPECT_EQ(In(outcome.dumps[i], 4110).selection(), 0);
  }
  EXPECT_EQ(In(outcome.dumps[0], 1003).text(), "Device Eight");
}

TEST_F(TabPrintingTest, AFailedColumnWalkLeavesTheStocksToThePrimaryDialogOnly) {
  device_.AddThreeKinds();
  const Snmp_pp::ScriptedAgent agent = device_.agent();
  device_.backend().SetResponder([agent](const Snmp_pp::ScriptedSend& send) {
    if (send.oids.at(0).get_printable() == std::string(kStockColumn8Oid) + ".2") {
      return Snmp_pp::ScriptedReply::Timeout();
    }
    return agent.Answer(send);
  });
  Outcome outcome = Run("select 1003 1; dump", {.mode = 1});
  EXPECT_EQ(In(outcome.dumps.at(0), 1003).text(), "Device Open");
  EXPECT_EQ(In(outcome.dumps.at(0), 4110).text(), "14.500");
  EXPECT_EQ(outcome.messages.size(), 1u);
  outcome = Run("dump", {.manufacturer = 1});
  EXPECT_EQ(In(outcome.dumps.at(0), 1003).text(),
            "Blanks-USA Copy Tabs, (8-tab banks) LT+1/2\"Tab");
}

TEST_F(TabPrintingTest, TabsPerBankAboveEightyAreRefusedAtOk) {
  const Outcome outcome =
      Run("clear 4108; type 4108 81; click 1; clear 4108; type 4108 80; type 7001 4; click 1",
          {.manufacturer = 4, .printer = kNoPrinter});
  EXPECT_THAT(outcome.messages, ElementsAre("Error: Could not connect to the RV4410 device.",
                                            "vx5prcfg: Enter an integer.", "Error: Invalid value",
                                            "vx5prcfg: Enter an integer."));
  EXPECT_THAT(outcome.results, ElementsAre(1));
  EXPECT_EQ(outcome.tabList, "4I");
}

TEST_F(TabPrintingTest, ACassetteIndexBeyondTheListSelectsTheLowerDrawer) {
  const Outcome outcome = Run("click 1", {.mode = 1, .cassette = 5});
  EXPECT_EQ(outcome.cassette, 0);
}

// ---- Tab rows ---------------------------------------------------------------

TEST_F(TabPrintingTest, RowsAreSortedAtOkWithTheirLocations) {
  device_.AddThreeKinds();
  const Outcome outcome = Run("click 1", {.tabListIn = "7,3I,5"});
  EXPECT_THAT(outcome.messages, ElementsAre("Warning: Page numbers sorted"));
  EXPECT_EQ(outcome.tabList, "3I,5,7");
}

TEST_F(TabPrintingTest, BlankRowsAreDroppedWithAWarningWhenTheStockIsApplied) {
  device_.AddThreeKinds();
  const Outcome outcome = Run("dump; click 1", {.manufacturer = 2, .tabListIn = "5,,9"});
  EXPECT_THAT(outcome.messages, ElementsAre("Warning: 1 Page numbers left blank"));
  EXPECT_EQ(In(outcome.dumps.at(0), 7002).text(), "9");
  EXPECT_EQ(outcome.tabList, "5,9");
}

TEST_F(TabPrintingTest, TenRowsPageOnlyAsFarAsTheLastFilledPage) {
  const std::string tenRows = PageList(1, 10);
  const Outcome outcome = Run("scroll 4018 pagedown; dump; scroll 4018 pagedown; dump; click 1",
                              {.manufacturer = 1, .tabListIn = tenRows.c_str()});
  ASSERT_EQ(outcome.dumps.size(), 2u);
  for (const nlohmann::json& dump : outcome.dumps) {
    EXPECT_EQ(In(dump, 4018).control["scroll"]["position"], 1);
    EXPECT_EQ(In(dump, 7001).text(), "9");
    EXPECT_EQ(In(dump, 7002).text(), "10");
    EXPECT_EQ(In(dump, 7003).text(), "");
    EXPECT_TRUE(In(dump, 7003).enabled());
    EXPECT_FALSE(In(dump, 7004).enabled());
    EXPECT_FALSE(In(dump, 8003).enabled());
    EXPECT_EQ(In(dump, 10001).text(), "Bank 2");  // 8 tabs a bank: row 9 opens bank 2
  }
  EXPECT_EQ(outcome.tabList, tenRows);
}

TEST_F(TabPrintingTest, RowLabelsNameTheBankAndTheTab) {
  const Outcome outcome = Run("dump", {.manufacturer = 2, .printer = kNoPrinter});
  const nlohmann::json& dump = outcome.dumps.at(0);
  for (int k = 0; k < 8; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(In(dump, 4087 + k).text(), "Tab " + std::to_string(k % 5 + 1));
    const bool firstOfBank = k == 0 || k == 5;
    EXPECT_EQ(In(dump, 10001 + k).visible(), firstOfBank);
    EXPECT_EQ(In(dump, 9001 + k).visible(), firstOfBank);
  }
  EXPECT_EQ(In(dump, 10006).text(), "Bank 2");
}

TEST_F(TabPrintingTest, TypedPagesOpenTheNextRowOnlyInOrderAndNeverAsALoneZero) {
  const Outcome outcome =
      Run("type 7001 0; dump; type 7001 10; type 7002 3; dump; type 7002 0; dump; escape",
          {.printer = kNoPrinter});
  ASSERT_EQ(outcome.dumps.size(), 3u);
  EXPECT_EQ(In(outcome.dumps[0], 7001).text(), "");
  EXPECT_EQ(In(outcome.dumps[1], 7002).text(), "3");  // below the row above
  EXPECT_FALSE(In(outcome.dumps[1], 7003).enabled());
  EXPECT_EQ(In(outcome.dumps[2], 7002).text(), "30");
  EXPECT_TRUE(In(outcome.dumps[2], 7003).enabled());
  EXPECT_TRUE(In(outcome.dumps[2], 8003).enabled());
}

TEST_F(TabPrintingTest, TypedRowsGoOnPastTheWindowAndAllComeBackAtOk) {
  std::string script = "select 1003 1";
  for (int k = 0; k < 8; ++k)
    script += "; type " + std::to_string(7001 + k) + " " + std::to_string(k + 1);
  script += "; select 8002 1; dump; scroll 4018 linedown; type 7001 9; dump; click 1";
  const Outcome outcome = Run(script, {.printer = kNoPrinter});
  ASSERT_EQ(outcome.dumps.size(), 2u);
  EXPECT_TRUE(In(outcome.dumps[0], 4018).enabled());
  EXPECT_EQ(In(outcome.dumps[1], 7001).text(), "9");
  EXPECT_EQ(In(outcome.dumps[1], 4087).text(), "Tab 1");
  EXPECT_EQ(outcome.refused, 0);
  EXPECT_EQ(outcome.tabList, "1I,2,3I,4I,5I,6I,7I,8I,9I");
}

TEST_F(TabPrintingTest, ChangingTheTabsPerBankKeepsTheRowsTyped) {
  const Outcome outcome = Run("type 7001 1; type 7002 2; clear 4108; type 4108 3; dump; click 1",
                              {.manufacturer = 4, .printer = kNoPrinter});
  EXPECT_EQ(In(outcome.dumps.at(0), 7002).text(), "2");
  EXPECT_EQ(In(outcome.dumps.at(0), 10004).text(), "Bank 2");
  EXPECT_EQ(outcome.tabList, "1I,2I");
}

TEST_F(TabPrintingTest, NoDeviceNoRowsOrASilentDeviceGiveOneMessageAndTheBuiltInList) {
  for (const char* printer : {kNoPrinter, kTabCopier, kSilentCopier}) {
    SCOPED_TRACE(printer);
    for (unsigned mode : {0u, 1u}) {
      const Outcome outcome = Run("dump", {.mode = mode, .printer = printer});
      EXPECT_EQ(outcome.result, 1);
      EXPECT_THAT(outcome.messages, ElementsAre("Error: Could not connect to the RV4410 device."));
      EXPECT_EQ(In(outcome.dumps.at(0), 1003).control["items_hex"].size(), 5u);
    }
  }
}

}  // namespace
}  // namespace tabprint
