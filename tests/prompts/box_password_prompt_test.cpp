// CheckBoxPassword between a scripted device and a scripted user: which row
// each attempt reads, when the prompt shows, what it enables, and what the
// caller's buffer holds afterwards.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "exports/vx5prcfg.h"
#include "framework/window_constants.h"
#include "prompts/box_password_dialog.h"
#include "queries/box_status.h"
#include "snmp/scripted_backend.h"
#include "snmp/snmp_pp.h"
#include "tests/framework/scripted_session.h"

namespace prompts {
namespace {

using framework::testing::FromHex;
using framework::testing::ScriptedSession;
using Snmp_pp::ScriptedReply;
using Snmp_pp::ScriptedSend;
using Snmp_pp::SessionKind;

constexpr int kTemplate = 4047;
constexpr int kEdit = 4116;
constexpr int kOk = 1;
constexpr char kAddress[] = "10.0.0.5";
constexpr char kIpxAddress[] = "00000001:0080c7aa1234";
constexpr std::string_view kChineseSystem =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\System]\n"
    "\"AnsiCodePage\"=dword:000003a8\n";

std::string Machine(std::string_view address, std::string_view more = {}) {
  return "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Q]\n"
         "\"Port\"=\"USB001\"\n\"Attributes\"=dword:00000040\n"
         "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Q\\PrinterDriverData]\n"
         "\"SNMPIPAddress\"=\"" +
         std::string(address) + "\"\n" + std::string(more);
}

// A bitmap of 32 bytes with the given boxes set.
std::vector<unsigned char> Boxes(std::initializer_list<int> boxes) {
  std::vector<unsigned char> bitmap(queries::kBoxBitmapSize, 0);
  for (int box : boxes) bitmap[box / 8] |= static_cast<unsigned char>(0x80 >> (box % 8));
  return bitmap;
}

nlohmann::json ControlOf(const nlohmann::json& dump, int id) {
  for (const nlohmann::json& control : dump["controls"]) {
    if (control["id"] == id) return control;
  }
  return {};
}

class BoxPasswordPromptTest : public ::testing::Test {
 protected:
  BoxPasswordPromptTest()
      : backend_(std::make_shared<Snmp_pp::ScriptedBackend>()), scoped_(backend_) {
    Snmp_pp::SocketLayerStats::reset();
    backend_->SetResponder([this](const ScriptedSend& send) { return agent_.Answer(send); });
    entered_.fill('#');
    std::memcpy(entered_.data(), "prev", 5);
  }

  // The row of password `number`, or the no-password row for -1.
  void Permit(int number, std::initializer_list<int> boxes) {
    const std::string oid =
        number < 0 ? queries::BuildNoPasswordOid() : queries::BuildBoxPasswordOid(number);
    agent_.SetOctets(oid.c_str(), Boxes(boxes));
  }

  int Check(ScriptedSession& session, const char* box, const char* password) {
    (void)session;
    return ::CheckBoxPassword("Q", "0", box, password, entered_.data(), nullptr);
  }

  std::vector<std::string> RowsRead() const {
    std::vector<std::string> rows;
    const std::size_t prefix = queries::kBoxPasswordOidPrefix.size();
    for (const ScriptedSend& send : backend_->Sends()) {
      rows.push_back(std::string(send.oids.at(0).get_printable()).substr(prefix));
    }
    return rows;
  }

  std::string Entered() const { return entered_.data(); }

  std::shared_ptr<Snmp_pp::ScriptedBackend> backend_;
  Snmp_pp::ScopedSessionBackend scoped_;
  Snmp_pp::ScriptedAgent agent_;
  std::array<char, VX5PRCFG_BOX_PASSWORD_SIZE + 2> entered_{};
};

TEST_F(BoxPasswordPromptTest, PermittedAtOnceNeedsNoPrompt) {
  ScriptedSession session("", Machine(kAddress));
  Permit(-1, {3});
  EXPECT_EQ(Check(session, "3", ""), kBoxPermitted);
  EXPECT_EQ(RowsRead(), std::vector<std::string>{"100001"});
  EXPECT_TRUE(session.Events("dialog").empty());
  EXPECT_EQ(Entered(), "prev");
  EXPECT_EQ(backend_->Sends()[0].timeout, Snmp_pp::kDefaultTimeout);
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST_F(BoxPasswordPromptTest, WrongPasswordThenTheRightOneTakesOnePrompt) {
  ScriptedSession session("dump; clear 4116; type 4116 22222; click 1", Machine(kAddress));
  Permit(11111, {1});
  Permit(22222, {1, 3});
  EXPECT_EQ(Check(session, "3", "1111199"), kBoxPermitted);
  EXPECT_EQ(RowsRead(), (std::vector<std::string>{"1111200", "22223"}));
  ASSERT_EQ(session.Events("dialog").size(), 1u);
  const auto dump = session.Events("dump").at(0);
  EXPECT_EQ(dump["template"], kTemplate);
  EXPECT_EQ(FromHex(ControlOf(dump, kEdit)["text_hex"]), "11111");  // first five characters
  EXPECT_EQ(Entered(), "22222");
  EXPECT_EQ(entered_[6], '#');  // nothing written past the terminator
}

TEST_F(BoxPasswordPromptTest, CancelLeavesTheBufferWithTheLastEntry) {
  {
    ScriptedSession session("click 2", Machine(kAddress));
    EXPECT_EQ(Check(session, "0", "12345"), kBoxPromptCancelled);
    EXPECT_EQ(Entered(), "prev");
  }
  for (const char* script :
       {"clear 4116; type 4116 54321; click 1; escape", "clear 4116; type 4116 54321; click 1"}) {
    ScriptedSession session(script, Machine(kAddress));
    EXPECT_EQ(Check(session, "0", "12345"), kBoxPromptCancelled) << script;
    EXPECT_EQ(session.Events("dialog").size(), 2u);
    EXPECT_EQ(Entered(), "54321");
  }
}

TEST_F(BoxPasswordPromptTest, ClearedFieldAsksTheNoPasswordRow) {
  ScriptedSession session("clear 4116; click 1", Machine(kAddress));
  Permit(-1, {7});
  EXPECT_EQ(Check(session, "7", "00042"), kBoxPermitted);
  EXPECT_EQ(RowsRead(), (std::vector<std::string>{"43", "100001"}));
  EXPECT_EQ(Entered(), "");
}

TEST_F(BoxPasswordPromptTest, OkIsEnabledForNoneOrFiveCharacters) {
  ScriptedSession session(
      "clear 4116; dump; type 4116 1; dump; type 4116 234; dump; type 4116 5; dump; escape",
      Machine(kAddress));
  EXPECT_EQ(Check(session, "0", ""), kBoxPromptCancelled);
  const auto dumps = session.Events("dump");
  ASSERT_EQ(dumps.size(), 4u);
  const std::vector<bool> expected = {true, false, false, true};
  for (std::size_t i = 0; i < dumps.size(); ++i) {
    EXPECT_EQ(ControlOf(dumps[i], kOk)["enabled"], expected[i]) << i;
  }
}

TEST_F(BoxPasswordPromptTest, BoxNumberIndexesTheBitmapFromTheTop) {
  struct Case {
    const char* box;
    unsigned char firstByte;
    unsigned char lastByte;
    int expected;
  };
  const Case cases[] = {
      {"255", 0x00, 0x01, kBoxPermitted},       {"254", 0xFF, 0x01, kBoxPromptCancelled},
      {"0", 0x80, 0x00, kBoxPermitted},         {"0", 0x7F, 0xFF, kBoxPromptCancelled},
      {"256", 0xFF, 0xFF, kBoxPromptCancelled},  // outside the bitmap: never permitted
      {"-1", 0xFF, 0xFF, kBoxPromptCancelled},  {"99999999999", 0xFF, 0xFF, kBoxPromptCancelled},
  };
  for (const Case& c : cases) {
    ScriptedSession session("escape", Machine(kAddress));
    std::vector<unsigned char> bitmap(queries::kBoxBitmapSize, 0);
    bitmap.front() = c.firstByte;
    bitmap.back() = c.lastByte;
    agent_.SetOctets(queries::BuildNoPasswordOid().c_str(), bitmap);
    EXPECT_EQ(Check(session, c.box, ""), c.expected) << c.box;
  }
}

TEST_F(BoxPasswordPromptTest, NoAddressNoSessionOrAFailedGetAnswersMinusOne) {
  {
    ScriptedSession session("", "[HKLM\\SOFTWARE\\Empty]\n");
    EXPECT_EQ(Check(session, "0", ""), kBoxNotAsked);
  }
  {
    ScriptedSession session("", Machine(kAddress));
    backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
    backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_UNSUPPORTED);
    EXPECT_EQ(Check(session, "0", ""), kBoxNotAsked);
    EXPECT_TRUE(session.messageBoxes().empty());
  }
  {
    // Only the IPX session opens and its send times out.
    ScriptedSession session("", Machine(kIpxAddress));
    backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
    backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_SUCCESS);
    backend_->SetResponder([](const ScriptedSend&) { return ScriptedReply::Timeout(); });
    EXPECT_EQ(Check(session, "0", ""), kBoxNotAsked);
    EXPECT_TRUE(session.Events("dialog").empty());
  }
  EXPECT_EQ(Entered(), "prev");
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST_F(BoxPasswordPromptTest, UnansweredRowCountsAsNotPermitted) {
  ScriptedSession session("escape", Machine(kAddress));
  backend_->SetResponder([](const ScriptedSend&) { return ScriptedReply::Timeout(); });
  EXPECT_EQ(Check(session, "0", ""), kBoxPromptCancelled);
  EXPECT_EQ(session.Events("dialog").size(), 1u);
}

TEST_F(BoxPasswordPromptTest, TextsComeThroughTheAnsiCodePage) {
  ScriptedSession session("escape", Machine(kAddress, kChineseSystem));
  Check(session, "0", "");
  const auto closed = session.Events("dialog");
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0]["title_hex"], "ceded0a7b5c4c3dcc2eb");  // in GBK
}

}  // namespace
}  // namespace prompts
