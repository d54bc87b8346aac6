// The profile table through the shared library against the simulated
// devices, over IPv4 and IPv6.
#include <array>
#include <string>

#include "query_exports_sim.h"

namespace queries::sim {
namespace {

using ProfileStrings = int (*)(int*, char*, const char*, const char*, void*);

constexpr std::size_t kSlotSize = 256;
constexpr std::size_t kSlots = 102;

class ProfileStringsSimTest : public QueriesSimTest {
 protected:
  int Read(const char* queue) {
    const auto read = Export<ProfileStrings>("GetAdvancedProfileStrings");
    if (read == nullptr) return -100;
    return read(settings_.data(), strings_.data(), queue, "0", nullptr);
  }
  std::string Slot(std::size_t slot) const {
    return std::string(strings_.data() + kSlotSize * slot).substr(0, kSlotSize);
  }

  std::array<int, 5> settings_{};
  std::array<char, kSlotSize * kSlots> strings_{};
};

TEST_F(ProfileStringsSimTest, TableFillsItsSlotsOverIpv4AndIpv6) {
  for (const char* queue : {"Profile", "Profile IPv6"}) {
    strings_.fill('#');
    ASSERT_EQ(Read(queue), 1) << queue;
    EXPECT_EQ(Slot(1), "Profile 1") << queue;
    EXPECT_EQ(Slot(3), "Profile 3") << queue;
    EXPECT_EQ(Slot(4), "") << queue;
    EXPECT_EQ(Slot(19), "Setting 1") << queue;
    EXPECT_EQ(Slot(34), "Setting 16") << queue;
    EXPECT_EQ(Slot(37), "Option 1") << queue;
    EXPECT_EQ(Slot(39), "") << queue;
    EXPECT_EQ(settings_, (std::array<int, 5>{2, 5, 1, 1, 0})) << queue;
  }
}

TEST_F(ProfileStringsSimTest, NoAddressLeavesTheInitialBlocks) {
  strings_.fill('#');
  EXPECT_EQ(Read("No Address"), 0);
  EXPECT_EQ(Slot(1), "");
  EXPECT_EQ(settings_, (std::array<int, 5>{0, 1, 0, 1, 1}));
}

}  // namespace
}  // namespace queries::sim
