// The device login driven by user scripts against a loopback responder: the
// request each kind sends, the device's acceptance and refusals, Enter that
// does nothing, the limits of the fields, and every way an attempt ends
// without an answer.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "exports/vx5prcfg.h"
#include "prompts/login_dialog.h"
#include "snmp/snmp_pp.h"
#include "tests/framework/scripted_session.h"
#include "tests/support/login_responder.h"

namespace prompts {
namespace {

using framework::testing::FromHex;
using framework::testing::ScriptedSession;
using test_support::kLoginQueue;
using test_support::LoginResponder;

constexpr char kAccept[] = "<Status>ok</Status><ReturnValue>1</ReturnValue>";
constexpr char kRefuse[] = "<ReturnValue>0</ReturnValue>";
constexpr char kCaption[] = "NORVANE k-ORBITA730-940";

// The caller's two 256-byte buffers with a marked tail.
struct Credentials {
  Credentials() {
    user.fill('#');
    password.fill('#');
    user[0] = password[0] = '\0';
  }
  std::array<char, 256> user{};
  std::array<char, 256> password{};
};

// The title of each dialog as it closed.
std::vector<std::string> Titles(ScriptedSession& session) {
  std::vector<std::string> titles;
  for (const auto& dialog : session.Events("dialog")) {
    titles.push_back(FromHex(dialog["title_hex"]));
  }
  return titles;
}

std::string Request(const char* kind, const char* user, const char* password) {
  return std::string("<Request>") + kind + "</Request><UserName>" + user + "</UserName><Password>" +
         password + "</Password>" + std::string(1, '\0');
}

TEST(LoginPromptTest, AcceptedLoginHandsBackBothTextsAndClosesWithWelcome) {
  LoginResponder device(kAccept);
  ScriptedSession session("type 4001 alice; type 4004 s3cret; click 4008", device.MachineLines());
  Credentials out;
  EXPECT_EQ(::IsVezurOruvaUser(out.user.data(), out.password.data(), kLoginQueue, nullptr, 0), 1);
  EXPECT_STREQ(out.user.data(), "alice");
  EXPECT_STREQ(out.password.data(), "s3cret");
  EXPECT_EQ(out.user[6], '#');
  EXPECT_EQ(device.Requests(),
            (std::vector<std::string>{Request("ValidateUser", "alice", "s3cret")}));
  EXPECT_TRUE(session.messageBoxes().empty());
  EXPECT_EQ(Titles(session), (std::vector<std::string>{"Welcome..."}));
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST(LoginPromptTest, RefusalsNameTheRequestKindAndLeaveTheDialogOpen) {
  LoginResponder device(kRefuse);
  {
    // Kind 2 asks for administrator rights; an empty password is an empty element.
    ScriptedSession session("type 4001 bob; click 4008; escape", device.MachineLines());
    unsigned int kind = 2;
    Credentials out;
    EXPECT_EQ(
        ::IsVezurOruvaUser16(out.user.data(), out.password.data(), kLoginQueue, nullptr, &kind), 0);
    EXPECT_EQ(out.user[1], '#');  // untouched
    ASSERT_EQ(session.messageBoxes().size(), 1u);
    EXPECT_EQ(session.messageBoxes()[0].text,
              "Please log in as an 'Administrator' to access this folder.");
    EXPECT_EQ(session.messageBoxes()[0].caption, kCaption);
    EXPECT_EQ(session.messageBoxes()[0].ownerTemplateId, 4004);
    EXPECT_EQ(Titles(session), (std::vector<std::string>{"HubSquareComposer Login"}));
  }
  ScriptedSession session("type 4001 bob; type 4004 x; click 4008; escape", device.MachineLines());
  Credentials out;
  EXPECT_EQ(::IsVezurOruvaUser(out.user.data(), out.password.data(), kLoginQueue, nullptr, 1), 0);
  ASSERT_EQ(session.messageBoxes().size(), 1u);
  EXPECT_EQ(session.messageBoxes()[0].text, "Username / Password does not exist.");
  EXPECT_EQ(device.Requests(),
            (std::vector<std::string>{Request("ValidateUserPriveledge", "bob", ""),
                                      Request("ValidateUser", "bob", "x")}));
}

TEST(LoginPromptTest, EnterAndAnEmptyUserNameSendNothing) {
  LoginResponder device(kAccept);
  ScriptedSession session("type 4004 pw; enter; click 1; click 4008; escape",
                          device.MachineLines());
  Credentials out;
  EXPECT_EQ(::IsVezurOruvaUser(out.user.data(), out.password.data(), kLoginQueue, nullptr, 0), 0);
  ASSERT_EQ(session.messageBoxes().size(), 1u);
  EXPECT_EQ(session.messageBoxes()[0].text, "Please enter a valid username.");
  EXPECT_TRUE(device.Requests().empty());
  EXPECT_EQ(Titles(session), (std::vector<std::string>{"HubSquareComposer Login"}));
}

TEST(LoginPromptTest, FieldsStopAtTheirLimitSoTheLongestRequestFitsAndTheCallersBuffers) {
  LoginResponder device(kAccept);
  const std::string longText(120, 'n');
  ScriptedSession session("paste 4001 " + longText + "; paste 4004 " + longText + "; click 4008",
                          device.MachineLines());
  Credentials out;
  EXPECT_EQ(::IsVezurOruvaUser(out.user.data(), out.password.data(), kLoginQueue, nullptr, 2), 1);
  const std::string kept(kMaxLoginFieldLength, 'n');
  EXPECT_EQ(std::string(out.user.data()), kept);
  ASSERT_EQ(device.Requests().size(), 1u);
  EXPECT_EQ(device.Requests()[0], Request("ValidateUserPriveledge", kept.c_str(), kept.c_str()));
  EXPECT_LE(device.Requests()[0].size(), kLoginRequestSize);
}

TEST(LoginPromptTest, SilentDeviceEndsTheAttemptAfterTheTimeLimit) {
  LoginResponder device("");
  ScriptedSession session("type 4001 carol; click 4008; escape", device.MachineLines());
  Credentials out;
  EXPECT_EQ(::IsVezurOruvaUser(out.user.data(), out.password.data(), kLoginQueue, nullptr, 0), 0);
  EXPECT_EQ(device.Requests().size(), 1u);
  EXPECT_TRUE(session.messageBoxes().empty());
  EXPECT_EQ(Titles(session), (std::vector<std::string>{"Please Wait..."}));
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST(LoginPromptTest, NoIpxProtocolOrAnUnreachableNodeIsShownAndNothingLeaks) {
  LoginResponder device(kAccept);
  {
    ScriptedSession session("type 4001 dave; click 4008; escape", device.MachineLines(false));
    Credentials out;
    EXPECT_EQ(::IsVezurOruvaUser(out.user.data(), out.password.data(), kLoginQueue, nullptr, 0), 0);
    ASSERT_EQ(session.messageBoxes().size(), 1u);
    EXPECT_EQ(session.messageBoxes()[0].text, "ERROR on socket()");
    EXPECT_EQ(session.messageBoxes()[0].caption, "ERROR");
    EXPECT_FALSE(session.messageBoxes()[0].ownerTemplateId.has_value());
  }
  // A failed connect tells so with the prompts' caption.
  std::string lines = device.MachineLines();
  lines.replace(lines.find("\"127.0.0.1\""), 11, "\"nowhere\"");
  ScriptedSession session("type 4001 dave; click 4008; escape", lines);
  Credentials out;
  EXPECT_EQ(::IsVezurOruvaUser(out.user.data(), out.password.data(), kLoginQueue, nullptr, 0), 0);
  ASSERT_EQ(session.messageBoxes().size(), 1u);
  EXPECT_EQ(session.messageBoxes()[0].text, "Unable to start communication with the RV4410 device");
  EXPECT_EQ(session.messageBoxes()[0].caption, kCaption);
  EXPECT_TRUE(device.Requests().empty());
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST(LoginPromptTest, PrinterWithoutAnAddressAnswersDifferentlyInEachExport) {
  ScriptedSession session("");
  Credentials out;
  EXPECT_EQ(::IsVezurOruvaUser(out.user.data(), out.password.data(), "Unknown", nullptr, 0), 1);
  EXPECT_EQ(out.user[1], '#');
  EXPECT_TRUE(session.messageBoxes().empty());
  EXPECT_TRUE(session.Events("dialog").empty());

  unsigned int kind = 0;
  EXPECT_EQ(::IsVezurOruvaUser16(out.user.data(), out.password.data(), "Unknown", nullptr, &kind),
            0);
  ASSERT_EQ(session.messageBoxes().size(), 1u);
  EXPECT_EQ(session.messageBoxes()[0].text, "Could not get printer name.");
  EXPECT_EQ(session.messageBoxes()[0].caption, "Error");
}

TEST(LoginReplyTest, OnlyAOneBetweenBothTagsAccepts) {
  EXPECT_TRUE(ParseReturnValue("<A>0</A><ReturnValue>1</ReturnValue>"));
  EXPECT_FALSE(ParseReturnValue("<ReturnValue>0</ReturnValue>"));
  EXPECT_FALSE(ParseReturnValue("<ReturnValue>1"));
  EXPECT_FALSE(ParseReturnValue("1</ReturnValue>"));
  EXPECT_FALSE(ParseReturnValue("</ReturnValue><ReturnValue>1"));
  EXPECT_FALSE(ParseReturnValue("<ReturnValue>10000000001</ReturnValue>"));
  // A full 100-byte reply without a zero is read within its bytes.
  EXPECT_FALSE(ParseReturnValue(std::string(100, 'x')));

  EXPECT_TRUE(HexPairsToBytes("0000000B-00c0ee445566"));
  EXPECT_FALSE(HexPairsToBytes("0000000b00c0ee445566"));
  EXPECT_FALSE(HexPairsToBytes("0000000b-00c0ee44556z"));
  EXPECT_EQ(HexPairsToBytes("0102030a-0b0c0d0e0f10")->node[5], 0x10);
}

}  // namespace
}  // namespace prompts
