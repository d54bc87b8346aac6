// IsValidDeptCodeMck between a scripted device and a scripted user: which
// rows are read, when the prompt and the message show, and what the caller's
// buffer holds afterwards.
#include "queries/dept_code_check.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device/query_frame.h"
#include "exports/vx5prcfg.h"
#include "tests/device/device_test_machine.h"
#include "tests/framework/scripted_session.h"

namespace queries {
namespace {

using device::testing::DeviceTest;
using device::testing::LocalQueue;
using framework::testing::ScriptedUser;
using Snmp_pp::ScriptedSend;
using Snmp_pp::SessionKind;

constexpr char kAddress[] = "10.0.0.5";
constexpr int kPromptTemplate = 4003;
constexpr std::string_view kNoConnectionText =
    "\xce\xde\xb7\xa8\xc1\xac\xbd\xd3 MFP \xc9\xe8\xb1\xb8";
constexpr std::string_view kChineseSystem =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\System]\n"
    "\"AnsiCodePage\"=dword:000003a8\n";

std::string AddressedQueue(std::string_view address) {
  return std::string(kChineseSystem) +
         LocalQueue("USB001", "\"SNMPIPAddress\"=\"" + std::string(address) + "\"");
}

std::string Row(std::string_view code) {
  return std::string(kDeptCodeOidPrefix) + "." + std::string(code);
}

class DeptCodeCheckTest : public DeviceTest {
 protected:
  DeptCodeCheckTest() {
    UseMachine(AddressedQueue(kAddress));
    code_.fill('#');
  }

  Snmp_pp::ScriptedAgent& Agent() { return devices_[kAddress]; }

  int Check(std::string_view script, std::string_view code) {
    ScriptedUser user(script);
    std::memcpy(code_.data(), code.data(), code.size());
    code_[code.size()] = '\0';
    backend_->ClearSends();
    return ::IsValidDeptCodeMck("Q", "0", code_.data(), nullptr);
  }

  std::string Code() const { return code_.data(); }

  std::vector<std::string> RowsRead() const {
    std::vector<std::string> rows;
    for (const ScriptedSend& send : backend_->Sends()) {
      rows.push_back(send.oids.at(0).get_printable());
    }
    return rows;
  }

  std::size_t Prompts() const {
    std::size_t count = 0;
    for (const auto& record : (*machine_)->trace().records()) {
      count +=
          record.value("event", "") == "dialog" && record.value("template", 0) == kPromptTemplate;
    }
    return count;
  }

  std::vector<platform::simulated::MessageBoxRecord> Messages() const {
    return (*machine_)->simulatedUi().messageBoxes();
  }

  void ExpectReleased() {
    EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
    EXPECT_EQ((*machine_)->simulatedSpooler().OpenHandleCount(), 0u);
  }

  std::array<char, VX5PRCFG_DEPT_CODE_SIZE + 2> code_{};
};

TEST_F(DeptCodeCheckTest, AnyValueButMinusOneIsRegisteredWithoutAPrompt) {
  for (long value : {0L, 7L, -2L}) {
    Agent().Set(Row("12345").c_str(), value);
    EXPECT_EQ(Check("", "12345"), kDeptCodeRegistered) << value;
    EXPECT_EQ(RowsRead(), std::vector<std::string>{Row("12345")});
    EXPECT_EQ(backend_->Sends()[0].timeout, device::kQueryTimeout);
    EXPECT_EQ(Code(), "12345");
  }
  EXPECT_EQ(code_[6], '#');
  EXPECT_EQ(Prompts(), 0u);
  EXPECT_TRUE(Messages().empty());
  ExpectReleased();
}

TEST_F(DeptCodeCheckTest, UnknownCodePromptsUntilTheDeviceKnowsTheNewOne) {
  Agent()
      .Set(Row("12345").c_str(), -1L)
      .Set(Row("11111").c_str(), -1L)
      .Set(Row("54321").c_str(), 7L);
  EXPECT_EQ(
      Check("clear 4003; type 4003 11111; click 1; clear 4003; type 4003 54321; click 1", "12345"),
      kDeptCodeRegistered);
  EXPECT_EQ(RowsRead(), (std::vector<std::string>{Row("12345"), Row("11111"), Row("54321")}));
  EXPECT_EQ(Prompts(), 2u);
  EXPECT_EQ(Code(), "54321");
  EXPECT_EQ(code_[6], '#');
  ExpectReleased();
}

TEST_F(DeptCodeCheckTest, CancelKeepsTheCodeFromBeforeThePrompt) {
  Agent().Set(Row("12345").c_str(), -1L).Set(Row("22222").c_str(), "registered?");
  EXPECT_EQ(Check("escape", "12345"), kDeptCodeCancelled);
  EXPECT_EQ(Code(), "12345");
  // A value that is no integer is not registered either.
  EXPECT_EQ(Check("clear 4003; type 4003 22222; click 1; click 2", "12345"), kDeptCodeCancelled);
  EXPECT_EQ(RowsRead(), (std::vector<std::string>{Row("12345"), Row("22222")}));
  EXPECT_EQ(Code(), "22222");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DeptCodeCheckTest, FailedRequestForACodeShowsTheMessageAndAnswersTwo) {
  // The device holds no such row: its error answer counts as no answer.
  Agent().Set(Row("12345").c_str(), 0L);
  EXPECT_EQ(Check("", "99999"), kDeptCodeRequestFailed);
  devices_.clear();  // and a device that does not answer at all
  EXPECT_EQ(Check("", "12345"), kDeptCodeRequestFailed);
  const auto messages = Messages();
  ASSERT_EQ(messages.size(), 2u);
  for (const auto& message : messages) {
    EXPECT_EQ(message.text, kNoConnectionText);
    EXPECT_EQ(message.caption, "Error");
    EXPECT_FALSE(message.ownerTemplateId.has_value());
  }
  EXPECT_EQ(Prompts(), 0u);
  ExpectReleased();
}

TEST_F(DeptCodeCheckTest, WithoutSessionsTheCodeGetsTwoMessagesAndAnEmptyOneThePrompt) {
  backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_UNSUPPORTED);
  EXPECT_EQ(Check("", "12345"), kDeptCodeRequestFailed);
  EXPECT_EQ(Messages().size(), 2u);  // at F2 and at the failed request

  // An empty code: one message at F2, then the prompt while requests fail
  // silently, until the user gives up.
  EXPECT_EQ(Check("type 4003 12345; click 1; escape", ""), kDeptCodeCancelled);
  EXPECT_EQ(Messages().size(), 3u);
  EXPECT_EQ(Prompts(), 2u);
  EXPECT_EQ(Code(), "12345");
  ExpectReleased();
}

TEST_F(DeptCodeCheckTest, EmptyCodeAtASilentDeviceIsPromptedForWithoutAMessage) {
  devices_.clear();
  EXPECT_EQ(Check("type 4003 12345; click 1; click 2", ""), kDeptCodeCancelled);
  EXPECT_EQ(Prompts(), 2u);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Code(), "12345");
}

TEST_F(DeptCodeCheckTest, IpxShapedAddressFallsBackToUdpOnlyForACode) {
  // 18 characters: IPX first, yet an IP address once the scope is cut. The
  // IPX session refuses it before it sends anything.
  UseMachine(AddressedQueue("10.0.0.5%123456789"));
  Agent().Set(Row("12345").c_str(), 3L);
  EXPECT_EQ(Check("", "12345"), kDeptCodeRegistered);
  EXPECT_EQ(device::IpxFirst(), 1);
  ASSERT_EQ(backend_->Sends().size(), 1u);
  EXPECT_EQ(backend_->Sends()[0].session, SessionKind::kUdp);

  // An empty code asks the IPX session only; its failure goes unreported.
  EXPECT_EQ(Check("escape", ""), kDeptCodeCancelled);
  EXPECT_TRUE(backend_->Sends().empty());
  EXPECT_EQ(Prompts(), 1u);
  EXPECT_TRUE(Messages().empty());
  ExpectReleased();
}

TEST_F(DeptCodeCheckTest, NoAddressAnswersMinusOneSilently) {
  UseMachine(LocalQueue("no-such-host.invalid"));
  EXPECT_EQ(Check("", "12345"), kDeptCodeNoAddress);
  EXPECT_TRUE(backend_->Sends().empty());
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Prompts(), 0u);
  ExpectReleased();
}

TEST_F(DeptCodeCheckTest, CodeTooLongForTheIdentifierIsNeverSentAndPromptedFor) {
  const std::size_t longest = kDeptCodeOidCapacity - kDeptCodeOidPrefix.size() - 2;
  EXPECT_TRUE(BuildDeptCodeOid(std::string(longest, '1')).has_value());
  EXPECT_FALSE(BuildDeptCodeOid(std::string(longest + 1, '1')).has_value());

  Agent().Set(Row("54321").c_str(), 7L);
  std::vector<char> code(longest + 2, '1');
  code.back() = '\0';
  ScriptedUser user("clear 4003; type 4003 54321; click 1");
  backend_->ClearSends();
  EXPECT_EQ(::IsValidDeptCodeMck("Q", "0", code.data(), nullptr), kDeptCodeRegistered);
  EXPECT_EQ(RowsRead(), std::vector<std::string>{Row("54321")});
  EXPECT_STREQ(code.data(), "54321");
  ExpectReleased();
}

}  // namespace
}  // namespace queries
