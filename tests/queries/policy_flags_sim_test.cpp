// The policy flags through the shared library against the simulated devices.
#include "query_exports_sim.h"

namespace queries::sim {
namespace {

using Flag = int (*)(const char*, const char*, void*);
constexpr const char* kFlags[] = {"IsDeptCodeEnforced", "IsConfirmDialogEnforced",
                                  "IsUserAccountenforced", "IsBlackFreeModeEnabled",
                                  "IsPrivPasswordEncryptEnabled"};

class PolicyFlagsSimTest : public QueriesSimTest {};

TEST_F(PolicyFlagsSimTest, EveryFlagReadsItsDevicesAnswer) {
  for (const char* name : kFlags) {
    const Flag flag = Export<Flag>(name);
    ASSERT_NE(flag, nullptr) << name;
    EXPECT_EQ(flag("Policy On", "0", nullptr), 1) << name;
    EXPECT_EQ(flag("Policy Off", "0", nullptr), 0) << name;
  }
}

TEST_F(PolicyFlagsSimTest, WithoutAnAddressOnlyTheUserAccountFlagGoesOn) {
  for (const char* name : kFlags) {
    const int expected = std::string_view(name) == "IsUserAccountenforced" ? 0 : -1;
    EXPECT_EQ(Export<Flag>(name)("No Address", "0", nullptr), expected) << name;
  }
}

TEST_F(PolicyFlagsSimTest, SilentDeviceTimesOutTheUserAccountFlag) {
  EXPECT_EQ(Export<Flag>("IsUserAccountenforced")("Silent", "0", nullptr), SNMP_CLASS_TIMEOUT);
}

}  // namespace
}  // namespace queries::sim
