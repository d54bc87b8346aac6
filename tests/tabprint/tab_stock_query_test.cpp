// The tab stock table read from the device: every column into its record,
// walks that keep to their column, and one connection message for each way
// the table can be missing.
#include "tabprint/tab_stock_query.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/framework/scripted_session.h"
#include "tests/tabprint/tab_device.h"

namespace tabprint {
namespace {

using framework::testing::ScriptedSession;
using testing::kDeviceAddress;
using testing::RowOf;
using testing::TabDevice;

constexpr char kConnectionMessage[] = "Could not connect to the RV4410 device.";

class TabStockQueryTest : public ::testing::Test {
 protected:
  TabStockQueryTest() { Snmp_pp::SocketLayerStats::reset(); }

  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& box : session_.messageBoxes()) {
      EXPECT_EQ(box.caption, "Error");
      EXPECT_FALSE(box.ownerTemplateId.has_value());
      texts.push_back(box.text);
    }
    return texts;
  }

  ScriptedSession session_{""};
  TabDevice device_;
};

TEST_F(TabStockQueryTest, EveryColumnGoesIntoItsRecordInTableOrder) {
  device_.Add(1, {1, "Five Banks", 5, 12000}).Add(2, {4, "Ten Banks", 10, 9500});
  const TabStockTable table = QueryTabStock(kDeviceAddress);
  ASSERT_EQ(table.records.size(), 2u);
  EXPECT_TRUE(table.deviceListValid);
  const TabStockRecord& second = table.records[1];
  EXPECT_EQ(second.kind, 4);
  EXPECT_STREQ(second.name, "Ten Banks");
  EXPECT_EQ(second.tabsPerBank, 10);
  EXPECT_EQ(second.imageShiftMicrons, 9500);
  EXPECT_EQ(second.column6Value, 6);
  EXPECT_EQ(second.column7Value, 7);
  EXPECT_EQ(second.column8Value, 8);
  EXPECT_STREQ(table.records[0].name, "Five Banks");
  EXPECT_TRUE(Messages().empty());

  // The counting walk, then one get-next a row for each of the seven columns,
  // at the library's default community with a 3-second time-out.
  const auto sends = device_.backend().Sends();
  EXPECT_EQ(sends.size(), 3u + 7u * 2u);
  for (const auto& send : sends) {
    EXPECT_EQ(send.operation, Snmp_pp::SnmpOperation::kGetNext);
    EXPECT_EQ(send.community, "public");
    EXPECT_EQ(send.timeout, kTabStockTimeout);
    EXPECT_EQ(send.session, Snmp_pp::SessionKind::kUdp);
  }
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST_F(TabStockQueryTest, AColumnNeverTakesRowsOfALongerColumnNumber) {
  // Columns 20 and 21 follow column 2 when columns 3 to 9 are absent.
  device_.agent()
      .Set(RowOf(kStockKindColumnOid, 1).c_str(), 3L)
      .Set(RowOf(kStockKindColumnOid, 2).c_str(), 4L)
      .Set((std::string(kStockKindColumnOid) + "0.1").c_str(), 9L)
      .Set((std::string(kStockKindColumnOid) + "1.1").c_str(), 9L);
  device_.AnswerFromTable();
  const TabStockTable table = QueryTabStock(kDeviceAddress);
  ASSERT_EQ(table.records.size(), 2u);
  EXPECT_EQ(table.records[1].kind, 4);
  EXPECT_STREQ(table.records[0].name, "");
  EXPECT_TRUE(table.deviceListValid);
}

TEST_F(TabStockQueryTest, EachMissingTableShowsTheConnectionMessageOnce) {
  // No address; a device without rows; a device that does not answer.
  for (const char* address : {static_cast<const char*>(nullptr), kDeviceAddress, "10.0.0.99"}) {
    SCOPED_TRACE(address != nullptr ? address : "no address");
    ScriptedSession session("");
    const TabStockTable table = QueryTabStock(address);
    EXPECT_TRUE(table.records.empty());
    ASSERT_EQ(session.messageBoxes().size(), 1u);
    EXPECT_EQ(session.messageBoxes()[0].text, kConnectionMessage);
  }
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST_F(TabStockQueryTest, AFailedColumnWalkKeepsTheRecordsButMarksTheListInvalid) {
  device_.Add(1, {3, "First", 6, 1000}).Add(2, {3, "Second", 6, 2000});
  const Snmp_pp::ScriptedAgent agent = device_.agent();
  device_.backend().SetResponder([agent](const Snmp_pp::ScriptedSend& send) {
    const std::string asked = send.oids.at(0).get_printable();
    if (asked.starts_with(kStockColumn7Oid)) return Snmp_pp::ScriptedReply::Timeout();
    return agent.Answer(send);
  });
  const TabStockTable table = QueryTabStock(kDeviceAddress);
  ASSERT_EQ(table.records.size(), 2u);
  EXPECT_FALSE(table.deviceListValid);
  EXPECT_EQ(table.records[1].imageShiftMicrons, 2000);  // the later columns are still read
  EXPECT_THAT(Messages(), ::testing::ElementsAre(kConnectionMessage));
}

TEST_F(TabStockQueryTest, WalksEndAgainstADeviceThatAnswersTheSameRowForever) {
  int sends = 0;
  // The counting walk never moves on: no table, one message.
  device_.backend().SetResponder([&](const Snmp_pp::ScriptedSend&) {
    ++sends;
    Snmp_pp::Vb row{Snmp_pp::Oid(RowOf(kStockKindColumnOid, 1).c_str())};
    row.set_value(3L);
    return Snmp_pp::ScriptedReply::Value(row);
  });
  EXPECT_TRUE(QueryTabStock(kDeviceAddress).records.empty());
  EXPECT_EQ(sends, 2);
  EXPECT_THAT(Messages(), ::testing::ElementsAre(kConnectionMessage));
}

TEST_F(TabStockQueryTest, ALongStockNameIsCutTo99Characters) {
  const std::string name(150, 'n');
  device_.Add(1, {1, name.c_str(), 5, 1000});
  const TabStockTable table = QueryTabStock(kDeviceAddress);
  ASSERT_EQ(table.records.size(), 1u);
  EXPECT_EQ(std::string(table.records[0].name), name.substr(0, 99));
}

}  // namespace
}  // namespace tabprint
