// The policy flags against scripted devices: what each answer means, the
// department-code chain of three requests, and the answers at F1 and F2.
#include "queries/policy_flags.h"

#include <gtest/gtest.h>

#include "device/query_frame.h"
#include "exports/vx5prcfg.h"
#include "tests/device/device_test_machine.h"

namespace queries {
namespace {

using device::testing::DeviceTest;
using device::testing::LocalQueue;
using Snmp_pp::ScriptedReply;
using Snmp_pp::ScriptedSend;
using Snmp_pp::SessionKind;

constexpr char kAddress[] = "10.0.0.5";
constexpr char kIpxAddress[] = "00000001:0080c7aa1234";

std::string AddressedQueue(std::string_view address) {
  return LocalQueue("USB001", "\"SNMPIPAddress\"=\"" + std::string(address) + "\"");
}

using Flag = int (*)(const char*, const char*, void*);
struct NamedFlag {
  const char* name;
  Flag flag;
};
constexpr NamedFlag kStoppingFlags[] = {
    {"IsDeptCodeEnforced", ::IsDeptCodeEnforced},
    {"IsConfirmDialogEnforced", ::IsConfirmDialogEnforced},
    {"IsBlackFreeModeEnabled", ::IsBlackFreeModeEnabled},
    {"IsPrivPasswordEncryptEnabled", ::IsPrivPasswordEncryptEnabled},
};

class PolicyFlagsTest : public DeviceTest {
 protected:
  PolicyFlagsTest() { UseMachine(AddressedQueue(kAddress)); }

  Snmp_pp::ScriptedAgent& Agent() { return devices_[kAddress]; }

  int DeptCode(long mode, long countMode, long enabled) {
    Agent()
        .Set(kDeptCodeModeOid, mode)
        .Set(kDeptCodeCountModeOid, countMode)
        .Set(kDeptCodeSwitchOid, enabled);
    backend_->ClearSends();
    return ::IsDeptCodeEnforced("Q", "0", nullptr);
  }

  std::vector<std::string> OidsSent() {
    std::vector<std::string> oids;
    for (const ScriptedSend& send : backend_->Sends())
      oids.push_back(send.oids.at(0).get_printable());
    return oids;
  }

  void ExpectReleased() {
    EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
    EXPECT_EQ((*machine_)->simulatedSpooler().OpenHandleCount(), 0u);
  }
};

// ---- Department codes ----------------------------------------------------------------

TEST_F(PolicyFlagsTest, DeptCodeIsEnforcedOnlyForThreeThreeOneInOrder) {
  EXPECT_EQ(DeptCode(3, 3, 1), kPolicyOn);
  EXPECT_EQ(OidsSent(), (std::vector<std::string>{kDeptCodeModeOid, kDeptCodeCountModeOid,
                                                  kDeptCodeSwitchOid}));
  EXPECT_EQ(DeptCode(3, 3, 0), kPolicyOff);
  EXPECT_EQ(DeptCode(3, 1, 1), kPolicyOff);
  EXPECT_EQ(backend_->Sends().size(), 2u);  // the third object is not asked
  EXPECT_EQ(DeptCode(1, 3, 3), kPolicyOff);
  ExpectReleased();
}

TEST_F(PolicyFlagsTest, DeptCodeStopsAfterTheFirstRequestWhenItIsNotThree) {
  EXPECT_EQ(DeptCode(2, 3, 1), kPolicyOff);
  EXPECT_EQ(OidsSent(), std::vector<std::string>{kDeptCodeModeOid});

  // Nothing answers: the failure of request 1 is not a failure, its empty
  // value simply does not match.
  devices_.clear();
  backend_->ClearSends();
  EXPECT_EQ(::IsDeptCodeEnforced("Q", "0", nullptr), kPolicyOff);
  EXPECT_EQ(backend_->Sends().size(), 1u);
  ExpectReleased();
}

TEST_F(PolicyFlagsTest, DeptCodeAnswersOfOtherTypesCompareAsTheirText) {
  Agent().Set(kDeptCodeModeOid, "3").Set(kDeptCodeCountModeOid, "3").Set(kDeptCodeSwitchOid, "1");
  EXPECT_EQ(::IsDeptCodeEnforced("Q", "0", nullptr), kPolicyOn);
  Agent().Set(kDeptCodeSwitchOid, "1 ");  // whole text only
  EXPECT_EQ(::IsDeptCodeEnforced("Q", "0", nullptr), kPolicyOff);
}

TEST_F(PolicyFlagsTest, DeptCodeOnAnIpxAddressSendsRequestOneOnIpxOnly) {
  UseMachine(AddressedQueue(kIpxAddress));
  // The IPX node answers 3 for the first two objects and times out on the third.
  backend_->SetResponder([](const ScriptedSend& send) {
    if (send.session != SessionKind::kIpx) return ScriptedReply::Status(SNMP_CLASS_ERROR);
    const std::string oid = send.oids.at(0).get_printable();
    return oid == kDeptCodeSwitchOid ? ScriptedReply::Timeout() : ScriptedReply::Integer(3);
  });
  EXPECT_EQ(::IsDeptCodeEnforced("Q", "0", nullptr), kPolicyOff);
  std::vector<SessionKind> sessions;
  for (const ScriptedSend& send : backend_->Sends()) sessions.push_back(send.session);
  // The UDP session refuses the IPX address before it sends anything.
  EXPECT_EQ(sessions, std::vector<SessionKind>(3, SessionKind::kIpx));

  backend_->SetResponder([](const ScriptedSend& send) {
    const std::string oid = send.oids.at(0).get_printable();
    return ScriptedReply::Integer(oid == kDeptCodeSwitchOid ? 1 : 3);
  });
  EXPECT_EQ(::IsDeptCodeEnforced("Q", "0", nullptr), kPolicyOn);
  ExpectReleased();
}

TEST_F(PolicyFlagsTest, DeptCodeRequestOneHasNoFallbackToUdp) {
  // 18 characters: IPX first, yet an IP address once the scope is cut. The
  // IPX session refuses it and request 1 is not sent again over UDP.
  UseMachine(AddressedQueue("10.0.0.5%123456789"));
  Agent().Set(kDeptCodeModeOid, 3L).Set(kDeptCodeCountModeOid, 3L).Set(kDeptCodeSwitchOid, 1L);
  EXPECT_EQ(::IsDeptCodeEnforced("Q", "0", nullptr), kPolicyOff);
  EXPECT_TRUE(backend_->Sends().empty());
  EXPECT_EQ(device::IpxFirst(), 1);
  ExpectReleased();
}

// ---- The single-object flags -----------------------------------------------------------

TEST_F(PolicyFlagsTest, EachFlagMatchesItsOwnValueOnly) {
  Agent().Set(kConfirmDialogOid, 1L).Set(kBlackFreeModeOid, 3L).Set(kPrivPasswordEncryptOid, 4L);
  Agent().Set(kUserAccountOid, 3L);
  EXPECT_EQ(::IsConfirmDialogEnforced("Q", "0", nullptr), kPolicyOn);
  EXPECT_EQ(::IsBlackFreeModeEnabled("Q", "0", nullptr), kPolicyOn);
  EXPECT_EQ(::IsPrivPasswordEncryptEnabled("Q", "0", nullptr), kPolicyOn);
  EXPECT_EQ(::IsUserAccountenforced("Q", "0", nullptr), kPolicyOn);

  Agent().Set(kConfirmDialogOid, 3L).Set(kBlackFreeModeOid, 4L).Set(kPrivPasswordEncryptOid, 3L);
  Agent().Set(kUserAccountOid, 1L);
  EXPECT_EQ(::IsConfirmDialogEnforced("Q", "0", nullptr), kPolicyOff);
  EXPECT_EQ(::IsBlackFreeModeEnabled("Q", "0", nullptr), kPolicyOff);
  EXPECT_EQ(::IsPrivPasswordEncryptEnabled("Q", "0", nullptr), kPolicyOff);
  EXPECT_EQ(::IsUserAccountenforced("Q", "0", nullptr), kPolicyOff);
  ExpectReleased();
}

TEST_F(PolicyFlagsTest, AbsentObjectsAndSilentDevicesReadAsOff) {
  // The device lacks every object: an error answer reads as empty text.
  Agent().Set("1.3.6.1.2.1.1.2.0", 1L);
  for (const NamedFlag& flag : kStoppingFlags) {
    EXPECT_EQ(flag.flag("Q", "0", nullptr), kPolicyOff) << flag.name;
  }
  EXPECT_EQ(::IsUserAccountenforced("Q", "0", nullptr), kPolicyOff);

  devices_.clear();  // nothing answers: only the user-account flag tells
  EXPECT_EQ(::IsConfirmDialogEnforced("Q", "0", nullptr), kPolicyOff);
  EXPECT_EQ(::IsUserAccountenforced("Q", "0", nullptr), SNMP_CLASS_TIMEOUT);
  ExpectReleased();
}

TEST_F(PolicyFlagsTest, TextIsComparedWholeAndIgnoringCase) {
  EXPECT_TRUE(SameTextIgnoringCase("Abc", "aBC"));
  EXPECT_FALSE(SameTextIgnoringCase("3", "33"));
  EXPECT_FALSE(SameTextIgnoringCase("", "3"));
  Agent().Set(kConfirmDialogOid, "01");
  EXPECT_EQ(::IsConfirmDialogEnforced("Q", "0", nullptr), kPolicyOff);
}

// ---- F1 and F2 -----------------------------------------------------------------------

TEST_F(PolicyFlagsTest, WithoutAnAddressFourFlagsAnswerMinusOneAndUserAccountZero) {
  UseMachine(LocalQueue("no-such-host.invalid"));
  for (const char* queue : {"Q", "Missing"}) {
    for (const NamedFlag& flag : kStoppingFlags) {
      EXPECT_EQ(flag.flag(queue, "0", nullptr), kPolicyNoAddress) << flag.name << " " << queue;
    }
    EXPECT_EQ(::IsUserAccountenforced(queue, "0", nullptr), kPolicyOff) << queue;
  }
  EXPECT_TRUE((*machine_)->simulatedUi().messageBoxes().empty());
  ExpectReleased();
}

// A UNC port whose server is no device of ours fails the resolution but leaves
// the server's address behind: user accounts are still asked there.
TEST_F(PolicyFlagsTest, UserAccountIsAskedAtTheAddressAFailedResolutionLeft) {
  UseMachine(LocalQueue(R"(\\\\10.0.0.5\\share)"));
  Agent().SetObjectId("1.3.6.1.2.1.1.2.0", "1.3.6.1.4.1.9.1.1").Set(kUserAccountOid, 3L);
  for (const NamedFlag& flag : kStoppingFlags) {
    EXPECT_EQ(flag.flag("Q", "0", nullptr), kPolicyNoAddress) << flag.name;
  }
  backend_->ClearSends();
  EXPECT_EQ(::IsUserAccountenforced("Q", "0", nullptr), kPolicyOn);
  ASSERT_FALSE(backend_->Sends().empty());
  EXPECT_EQ(backend_->Sends().back().address, kAddress);
  ExpectReleased();
}

TEST_F(PolicyFlagsTest, UserAccountTimesOutAtTheAddressOfASilentServer) {
  UseMachine(LocalQueue(R"(\\\\10.0.0.9\\share)"));
  EXPECT_EQ(::IsUserAccountenforced("Q", "0", nullptr), SNMP_CLASS_TIMEOUT);
  ExpectReleased();
}

TEST_F(PolicyFlagsTest, WithoutSessionsEveryFlagShowsTheMessageAndAnswersZero) {
  Agent().Set(kUserAccountOid, 3L).Set(kConfirmDialogOid, 1L);
  backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_UNSUPPORTED);
  for (const NamedFlag& flag : kStoppingFlags) {
    EXPECT_EQ(flag.flag("Q", "0", nullptr), kPolicyOff) << flag.name;
  }
  EXPECT_EQ(::IsUserAccountenforced("Q", "0", nullptr), kPolicyOff);
  const auto& boxes = (*machine_)->simulatedUi().messageBoxes();
  ASSERT_EQ(boxes.size(), 5u);
  for (const auto& box : boxes) EXPECT_EQ(box.caption, "Error");
  EXPECT_TRUE(backend_->Sends().empty());
  ExpectReleased();
}

}  // namespace
}  // namespace queries
