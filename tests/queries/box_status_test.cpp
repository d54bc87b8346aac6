// Box and HSP status against scripted devices, and the box password table's
// objects and bitmap shared with the box password prompt.
#include "queries/box_status.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "device/query_frame.h"
#include "exports/vx5prcfg.h"
#include "snmp/snmp_pp.h"
#include "tests/device/device_test_machine.h"

namespace queries {
namespace {

using device::testing::DeviceTest;
using device::testing::Hosts;
using device::testing::LocalQueue;
using Snmp_pp::ScriptedReply;
using Snmp_pp::ScriptedSend;
using Snmp_pp::SessionKind;

constexpr char kAddress[] = "10.0.0.5";
constexpr char kIpxAddress[] = "00000001:0080c7aa1234";
constexpr char kForeignModel[] = "1.3.6.1.4.1.9999.1";
constexpr unsigned char kBox0Only = 0x80;
constexpr unsigned char kBoxes1To7 = 0x7F;

std::string AddressedQueue(std::string_view address) {
  return LocalQueue("USB001", "\"SNMPIPAddress\"=\"" + std::string(address) + "\"");
}

// ---- The table's objects and bitmap ------------------------------------------------------

TEST(BoxPasswordTable, RowIsThePasswordPlusOneAndTheEmptyPasswordHasItsOwn) {
  EXPECT_EQ(BuildBoxPasswordOid(0), "1.3.6.1.4.1.1129.2.3.50.1.3.23.2.1.2.1.1");
  EXPECT_EQ(BuildBoxPasswordOid(99999), "1.3.6.1.4.1.1129.2.3.50.1.3.23.2.1.2.1.100000");
  EXPECT_EQ(BuildNoPasswordOid(), "1.3.6.1.4.1.1129.2.3.50.1.3.23.2.1.2.1.100001");
  EXPECT_EQ(BuildBoxPasswordOid(2147483647), "1.3.6.1.4.1.1129.2.3.50.1.3.23.2.1.2.1.2147483648");
}

TEST(BoxPasswordTable, BitsCountFromTheMostSignificantBitOfByteZero) {
  std::array<unsigned char, kBoxBitmapSize> bitmap{};
  bitmap[0] = kBox0Only;
  EXPECT_TRUE(TestBoxBit(bitmap, 0));
  EXPECT_FALSE(TestBoxBit(bitmap, 1));
  bitmap[0] = 0;
  bitmap[31] = 0x01;
  EXPECT_TRUE(TestBoxBit(bitmap, 255));
  EXPECT_FALSE(TestBoxBit(bitmap, 254));
  bitmap[1] = 0x20;
  EXPECT_TRUE(TestBoxBit(bitmap, 10));
}

TEST(BoxPasswordTable, BoxesOutsideTheBitmapAreNeverSet) {
  std::array<unsigned char, kBoxBitmapSize> bitmap{};
  bitmap.fill(0xFF);
  EXPECT_FALSE(TestBoxBit(bitmap, -1));
  EXPECT_FALSE(TestBoxBit(bitmap, 256));
  EXPECT_FALSE(TestBoxBit(bitmap, 1 << 30));
}

// ---- GetBoxStatusEx -----------------------------------------------------------------------

class BoxStatusTest : public DeviceTest {
 protected:
  BoxStatusTest() { UseMachine(AddressedQueue(kAddress)); }

  int BoxStatus(unsigned char firstByte, const char* setting) {
    auto& agent = devices_[kAddress];
    agent.SetOctets(BuildNoPasswordOid().c_str(), {firstByte, 0xFF});
    if (setting != nullptr) agent.Set(kBoxSettingOid, setting);
    return ::GetBoxStatusEx("Q", "0", nullptr, nullptr);
  }

  void ExpectReleased() {
    EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
    EXPECT_EQ((*machine_)->simulatedSpooler().OpenHandleCount(), 0u);
  }
};

TEST_F(BoxStatusTest, BoxZeroWithoutPasswordAndSettingOneAnswerZero) {
  EXPECT_EQ(BoxStatus(kBox0Only, "1"), kStatusOff);
  EXPECT_EQ(BoxStatus(kBox0Only, "0"), kStatusOn);
  EXPECT_EQ(BoxStatus(kBox0Only, ""), kStatusOn);
  EXPECT_EQ(BoxStatus(kBox0Only, "10"), kStatusOn);  // "1" followed by more is not "1"
  ExpectReleased();
}

TEST_F(BoxStatusTest, UnansweredSettingAnswersOne) {
  EXPECT_EQ(BoxStatus(kBox0Only, nullptr), kStatusOn);
}

TEST_F(BoxStatusTest, BoxZeroAbsentAnswersZeroWhateverTheSetting) {
  EXPECT_EQ(BoxStatus(kBoxes1To7, "1"), kStatusOff);
  EXPECT_EQ(BoxStatus(kBoxes1To7, "0"), kStatusOff);
  // With both requests on UDP and no IPX session, the setting's failed send
  // must not count as the row's failure.
  backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_UNSUPPORTED);
  devices_.clear();
  EXPECT_EQ(BoxStatus(kBoxes1To7, nullptr), kStatusOff);
  EXPECT_EQ(BoxStatus(kBox0Only, nullptr), kStatusOn);
}

TEST_F(BoxStatusTest, BothRequestsAreSentWithTheLibrarysTimeOut) {
  BoxStatus(kBoxes1To7, "0");
  const auto sends = backend_->Sends();
  ASSERT_EQ(sends.size(), 2u);  // the setting is asked although box 0 already decides
  EXPECT_EQ(sends[0].oids.at(0).get_printable(), BuildNoPasswordOid());
  EXPECT_EQ(sends[1].oids.at(0).get_printable(), std::string(kBoxSettingOid));
  for (const ScriptedSend& send : sends) {
    EXPECT_EQ(send.session, SessionKind::kUdp);
    EXPECT_EQ(send.timeout, Snmp_pp::kDefaultTimeout);
  }
}

TEST_F(BoxStatusTest, IpxAddressSendsTheRowOnIpxAndTheSettingOnUdp) {
  UseMachine(AddressedQueue(kIpxAddress));
  backend_->SetResponder([](const ScriptedSend&) { return ScriptedReply::Octets({kBox0Only}); });
  // The UDP session refuses the IPX address: the setting reads empty.
  EXPECT_EQ(::GetBoxStatusEx("Q", "0", nullptr, nullptr), kStatusOn);
  ASSERT_EQ(backend_->Sends().size(), 1u);
  EXPECT_EQ(backend_->Sends()[0].session, SessionKind::kIpx);
  EXPECT_EQ(device::IpxFirst(), 1);

  // The row's send fails too while UDP opened: the row reads as a zero bitmap.
  backend_->SetResponder([](const ScriptedSend&) { return ScriptedReply::Timeout(); });
  EXPECT_EQ(::GetBoxStatusEx("Q", "0", nullptr, nullptr), kStatusOff);
  // Neither session holds a success after the row's send: 1.
  backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  EXPECT_EQ(::GetBoxStatusEx("Q", "0", nullptr, nullptr), kStatusOn);
}

TEST_F(BoxStatusTest, SilentDeviceReadsAZeroBitmapWhileTheIpxSessionIsOpen) {
  devices_.clear();
  EXPECT_EQ(::GetBoxStatusEx("Q", "0", nullptr, nullptr), kStatusOff);
  EXPECT_EQ(::GetHSPStatusEx("Q", "0", nullptr, nullptr), kStatusOff);
  backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_UNSUPPORTED);
  EXPECT_EQ(::GetBoxStatusEx("Q", "0", nullptr, nullptr), kStatusOn);
  EXPECT_EQ(::GetHSPStatusEx("Q", "0", nullptr, nullptr), kStatusOff);
  ExpectReleased();
}

TEST_F(BoxStatusTest, NoAddressOrNoSessionAnswersOneForBothWithoutAMessage) {
  backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_UNSUPPORTED);
  EXPECT_EQ(::GetBoxStatusEx("Q", "0", nullptr, nullptr), kStatusOn);
  EXPECT_EQ(::GetHSPStatusEx("Q", "0", nullptr, nullptr), kStatusOn);
  EXPECT_EQ(::GetBoxStatus("Q", "0", nullptr), kStatusOn);
  EXPECT_EQ(::GetHSPStatus("Q", "0", nullptr), kStatusOn);

  UseMachine(LocalQueue("no-such-host.invalid"));
  EXPECT_EQ(::GetBoxStatusEx("Q", "0", nullptr, nullptr), kStatusOn);
  EXPECT_EQ(::GetHSPStatusEx("Missing", "0", nullptr, nullptr), kStatusOn);
  EXPECT_TRUE((*machine_)->simulatedUi().messageBoxes().empty());
  ExpectReleased();
}

TEST_F(BoxStatusTest, NotOursReachesTheModelCheck) {
  UseMachine(LocalQueue("\\\\\\\\srv\\\\share") + Hosts("\"srv\"=\"10.0.0.20\""));
  devices_["10.0.0.20"].SetObjectId("1.3.6.1.2.1.1.2.0", kForeignModel);
  int notOurs = 0;
  EXPECT_EQ(::GetBoxStatusEx("Q", "0", nullptr, &notOurs), kStatusOn);
  EXPECT_EQ(notOurs, 1);

  // Already known not to be ours: no model query at all.
  backend_->ClearSends();
  EXPECT_EQ(::GetHSPStatusEx("Q", "0", nullptr, &notOurs), kStatusOn);
  EXPECT_TRUE(backend_->Sends().empty());
}

// ---- GetHSPStatusEx -----------------------------------------------------------------------

TEST_F(BoxStatusTest, HspIsOnForANonZeroInteger) {
  auto& agent = devices_[kAddress];
  agent.Set(kHspSettingOid, 2L);
  EXPECT_EQ(::GetHSPStatusEx("Q", "0", nullptr, nullptr), kStatusOn);
  EXPECT_EQ(::GetHSPStatus("Q", "0", nullptr), kStatusOn);
  agent.Set(kHspSettingOid, 0L);
  EXPECT_EQ(::GetHSPStatusEx("Q", "0", nullptr, nullptr), kStatusOff);
  agent.Set(kHspSettingOid, "2");  // not an integer: the 0 it started with
  EXPECT_EQ(::GetHSPStatus("Q", "0", nullptr), kStatusOff);
  ASSERT_FALSE(backend_->Sends().empty());
  EXPECT_EQ(backend_->Sends().back().timeout, Snmp_pp::kDefaultTimeout);
}

TEST_F(BoxStatusTest, HspRequestThatFailsAnswersZeroWhicheverSessionsOpened) {
  UseMachine(AddressedQueue(kIpxAddress));
  backend_->SetResponder([](const ScriptedSend&) { return ScriptedReply::Timeout(); });
  EXPECT_EQ(::GetHSPStatusEx("Q", "0", nullptr, nullptr), kStatusOff);
  // Only the IPX session opens and its send fails: both statuses are failures.
  backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  EXPECT_EQ(::GetHSPStatusEx("Q", "0", nullptr, nullptr), kStatusOff);
  EXPECT_EQ(::GetBoxStatusEx("Q", "0", nullptr, nullptr), kStatusOn);
  ExpectReleased();
}

}  // namespace
}  // namespace queries
