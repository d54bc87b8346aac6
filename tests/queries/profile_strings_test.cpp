// The advanced profile table against scripted devices: which slots each
// column fills, where a column stops, the settings' defaults and offsets, long
// values, and the blocks' contents on every path.
#include "queries/profile_strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "exports/vx5prcfg.h"
#include "snmp/snmp_pp.h"
#include "tests/device/device_test_machine.h"

namespace queries {
namespace {

using device::testing::DeviceTest;
using device::testing::LocalQueue;
using Snmp_pp::SessionKind;

constexpr char kAddress[] = "10.0.0.5";
constexpr char kMarker = '#';
constexpr int kMarkerSetting = 0x7777;

std::string AddressedQueue(std::string_view address) {
  return LocalQueue("USB001", "\"SNMPIPAddress\"=\"" + std::string(address) + "\"");
}

std::string RowOid(int column, int row) {
  return kProfileColumns[column].prefix + std::to_string(row);
}

class ProfileStringsTest : public DeviceTest {
 protected:
  ProfileStringsTest() {
    UseMachine(AddressedQueue(kAddress));
    strings_.fill(kMarker);
    settings_.fill(kMarkerSetting);
  }

  Snmp_pp::ScriptedAgent& Agent() { return devices_[kAddress]; }

  // Column `column` (0, 1, 2) answers rows 1 to `rows` with "c<column>r<row>".
  void FillColumn(int column, int rows) {
    for (int row = 1; row <= rows; ++row) {
      const std::string text = "c" + std::to_string(column) + "r" + std::to_string(row);
      Agent().Set(RowOid(column, row).c_str(), text.c_str());
    }
  }

  int Read(const char* queue = "Q") {
    return ::GetAdvancedProfileStrings(settings_.data(), strings_.data(), queue, "0", nullptr);
  }

  std::string Slot(int slot) const {
    const char* start = strings_.data() + kProfileSlotSize * slot;
    return std::string(start, strnlen(start, kProfileSlotSize));
  }

  std::vector<int> EmptySlots() const {
    std::vector<int> empty;
    for (int slot = 0; slot < static_cast<int>(kProfileSlotCount); ++slot) {
      if (Slot(slot).empty()) empty.push_back(slot);
    }
    return empty;
  }

  std::vector<int> Settings() const { return {settings_.begin(), settings_.end()}; }

  void ExpectInitialBlocks() const {
    EXPECT_EQ(EmptySlots().size(), kProfileSlotCount);
    for (char c : strings_) ASSERT_EQ(c, '\0');
    EXPECT_EQ(Settings(), (std::vector<int>{0, 1, 0, 1, 1}));
  }

  void ExpectReleased() {
    EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
    EXPECT_EQ((*machine_)->simulatedSpooler().OpenHandleCount(), 0u);
  }

  std::array<char, VX5PRCFG_PROFILE_STRINGS_SIZE> strings_{};
  std::array<int, VX5PRCFG_PROFILE_SETTINGS> settings_{};
};

TEST_F(ProfileStringsTest, ColumnsFillTheirSlotsAndStopAtTheirFirstMissingRow) {
  FillColumn(0, 3);
  FillColumn(1, 16);
  Agent().Set(RowOid(0, 5).c_str(), "beyond the gap");
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(Slot(1), "c0r1");
  EXPECT_EQ(Slot(3), "c0r3");
  EXPECT_EQ(Slot(19), "c1r1");
  EXPECT_EQ(Slot(34), "c1r16");
  std::vector<int> expectedEmpty = {0};
  for (int slot = 4; slot <= 18; ++slot) expectedEmpty.push_back(slot);
  for (int slot = 35; slot <= 101; ++slot) expectedEmpty.push_back(slot);
  EXPECT_EQ(EmptySlots(), expectedEmpty);
  EXPECT_EQ(Settings(), (std::vector<int>{0, 1, 0, 1, 1}));

  // Rows asked: 4 of column 2, 16 and none further of column 3, 1 of column
  // 4, and the four numbers; each over a pair of sessions of its own.
  EXPECT_EQ(backend_->Sends().size(), 4u + 16u + 1u + 4u);
  EXPECT_EQ(backend_->OpenCount(SessionKind::kUdp), 1 + 25);
  EXPECT_EQ(backend_->OpenCount(SessionKind::kIpx), 1 + 25);
  ExpectReleased();
}

TEST_F(ProfileStringsTest, EveryColumnStartsAtRowOneAndTheLastFillsSlotsToHundred) {
  FillColumn(2, 64);
  Agent().Set(RowOid(2, 65).c_str(), "not a row");
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(Slot(37), "c2r1");
  EXPECT_EQ(Slot(100), "c2r64");
  EXPECT_EQ(Slot(101), "");
  EXPECT_EQ(EmptySlots().size(), kProfileSlotCount - 64);
}

TEST_F(ProfileStringsTest, SettingsHoldTheNumbersWithTheSecondPlusOne) {
  Agent().Set(kProfileNumber1Oid, 7L).Set(kProfileNumber2Oid, 4L);
  Agent().Set(kProfileNumber3Oid, -2L).Set(kProfileNumber4Oid, 0L);
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(Settings(), (std::vector<int>{7, 5, -2, 1, 0}));

  Agent().Set(kProfileNumber2Oid, 0L);
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(settings_[1], 1);

  // The largest integer wraps as 32-bit arithmetic does (the sanitizer build
  // reports an overflow here if it is added as int).
  Agent().Set(kProfileNumber2Oid, 2147483647L);
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(settings_[1], -2147483647 - 1);

  // Answered, but not as integers: read as 0 (the second as 1).
  Agent().Set(kProfileNumber1Oid, "7").Set(kProfileNumber2Oid, "4");
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(Settings(), (std::vector<int>{0, 1, -2, 1, 0}));
}

TEST_F(ProfileStringsTest, LongValuesFillTheSlotWithoutATerminator) {
  const std::string exact(255, 'a');
  const std::string longer = std::string(256, 'b') + "XY";
  const std::string overlong = std::string(256, 'c') + std::string(100, 'Z');
  Agent().Set(RowOid(0, 1).c_str(), exact.c_str());
  Agent().Set(RowOid(0, 2).c_str(), longer.c_str());
  Agent().Set(RowOid(0, 3).c_str(), overlong.c_str());
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(Slot(1), exact);
  EXPECT_EQ(strings_[kProfileSlotSize * 1 + 255], '\0');
  EXPECT_EQ(std::string(strings_.data() + kProfileSlotSize * 2, kProfileSlotSize),
            std::string(256, 'b'));
  EXPECT_EQ(std::string(strings_.data() + kProfileSlotSize * 3, kProfileSlotSize),
            std::string(256, 'c'));
  EXPECT_EQ(Slot(4), "");  // nothing spilled into the next slot
}

TEST_F(ProfileStringsTest, ValueStopsAtItsFirstZeroByte) {
  Agent().SetOctets(RowOid(1, 1).c_str(), {'a', 'b', 0, 'c'});
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(Slot(19), "ab");
  EXPECT_EQ(strings_[kProfileSlotSize * 19 + 3], '\0');
}

TEST_F(ProfileStringsTest, SilentDeviceCostsOneRequestPerColumnAndNumber) {
  devices_.clear();
  EXPECT_EQ(Read(), 1);
  ExpectInitialBlocks();
  EXPECT_EQ(backend_->Sends().size(), 7u);
  ExpectReleased();
}

// Each group's first request is held until all seven are waiting at once:
// groups that waited for each other would never get there.
TEST_F(ProfileStringsTest, SilentDeviceKeepsAllGroupsWaitingAtOnce) {
  constexpr std::size_t kGroups = 7;
  std::mutex mutex;
  std::condition_variable arrived;
  std::size_t waiting = 0;
  std::size_t mostWaiting = 0;
  backend_->SetResponder([&](const Snmp_pp::ScriptedSend&) {
    std::unique_lock lock(mutex);
    mostWaiting = std::max(mostWaiting, ++waiting);
    arrived.notify_all();
    arrived.wait_for(lock, std::chrono::seconds(10), [&] { return mostWaiting == kGroups; });
    --waiting;
    return Snmp_pp::ScriptedReply::Timeout();
  });
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(mostWaiting, kGroups);
  ExpectInitialBlocks();
  EXPECT_EQ(backend_->Sends().size(), kGroups);
  ExpectReleased();
}

TEST_F(ProfileStringsTest, NoAddressOrNoSessionLeavesTheInitialBlocks) {
  FillColumn(0, 2);
  UseMachine(LocalQueue("no-such-host.invalid"));
  EXPECT_EQ(Read(), 0);
  ExpectInitialBlocks();
  strings_.fill(kMarker);
  EXPECT_EQ(Read("Missing"), 0);
  ExpectInitialBlocks();
  EXPECT_TRUE((*machine_)->simulatedUi().messageBoxes().empty());

  UseMachine(AddressedQueue(kAddress));
  strings_.fill(kMarker);
  settings_.fill(kMarkerSetting);
  backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_UNSUPPORTED);
  EXPECT_EQ(Read(), 0);
  ExpectInitialBlocks();
  ASSERT_EQ((*machine_)->simulatedUi().messageBoxes().size(), 1u);
  EXPECT_EQ((*machine_)->simulatedUi().messageBoxes()[0].caption, "Error");
  ExpectReleased();
}

TEST_F(ProfileStringsTest, ScopeSuffixIsLeftOutOfTheTarget) {
  UseMachine(AddressedQueue("fe80::1%4"));
  devices_["fe80::1"].Set(RowOid(0, 1).c_str(), "scoped");
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(Slot(1), "scoped");
}

TEST(ProfileReaders, IndexesOtherThanMinusOneAreAppended) {
  auto backend = std::make_shared<Snmp_pp::ScriptedBackend>();
  const Snmp_pp::ScopedSessionBackend scoped(backend);
  Snmp_pp::ScriptedAgent agent;
  agent.Set("1.3.6.9.4.2", "text").Set("1.3.6.9.4", 12L);
  backend->SetResponder(agent.AsResponder());
  Snmp_pp::CTarget target(Snmp_pp::IpAddress("10.0.0.5"));

  std::array<char, kProfileValueBufferSize> value{};
  EXPECT_EQ(ReadProfileText("1.3.6.9", 4, 2, value.data(), false, target), 1);
  EXPECT_STREQ(value.data(), "text");
  int number = -1;
  EXPECT_EQ(ReadProfileInteger("1.3.6.9", 4, kNoIndex, &number, false, target), 1);
  EXPECT_EQ(number, 12);
  EXPECT_EQ(ReadProfileInteger("1.3.6.9.4", kNoIndex, 7, &number, false, target), 0);
  EXPECT_EQ(number, 0);

  backend->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  backend->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_UNSUPPORTED);
  backend->ClearSends();
  EXPECT_EQ(ReadProfileText("1.3.6.9.4.2", kNoIndex, kNoIndex, value.data(), false, target), 0);
  EXPECT_TRUE(backend->Sends().empty());
}

}  // namespace
}  // namespace queries
