// Model identification through the shared library, against the simulated
// devices (sim/start) and the machine sim/machines/device_link.reg. Skipped
// when no device answers, unless VX5PRCFG_REQUIRE_SIM is set.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/simulated_devices.h"

namespace {

using GetMfpModelFunction = int (*)(const char*, const char*, void*);
using AbvPrinterCheckFunction = void (*)(const char*, const char*, char*, void*);

constexpr int kAbvAnswerSize = 5;

class DeviceLinkSimTest : public test_support::SimulatedDeviceTest {
 protected:
  static void SetUpTestSuite() {
    library_ = test_support::LoadLibraryWithMachine("device_link.reg");
    getMfpModel_ = test_support::Export<GetMfpModelFunction>(library_, "GetMFPModel");
    abvPrinterCheck_ = test_support::Export<AbvPrinterCheckFunction>(library_, "AbvPrinterCheck");
  }

  static void TearDownTestSuite() {
    if (library_ != nullptr) dlclose(library_);
    library_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(library_, nullptr) << dlerror();
    ASSERT_NE(getMfpModel_, nullptr);
    ASSERT_NE(abvPrinterCheck_, nullptr);
    SimulatedDeviceTest::SetUp();
  }

  static int GetMfpModel(const char* queue) { return getMfpModel_(queue, "0", nullptr); }

  static std::string Abv(const char* queue) {
    char answer[kAbvAnswerSize] = "xxxx";
    abvPrinterCheck_(queue, "0", answer, nullptr);
    return answer;
  }

  static inline void* library_ = nullptr;
  static inline GetMfpModelFunction getMfpModel_ = nullptr;
  static inline AbvPrinterCheckFunction abvPrinterCheck_ = nullptr;
};

TEST_F(DeviceLinkSimTest, GetMfpModelNamesTheMultiFunctionModels) {
  EXPECT_EQ(GetMfpModel("Model 15"), 1);
  EXPECT_EQ(GetMfpModel("Model 17"), 0);
  EXPECT_EQ(GetMfpModel("Model 140"), 1);
  EXPECT_EQ(GetMfpModel("No Such Queue"), 0);
}

TEST_F(DeviceLinkSimTest, GetMfpModelIsZeroWhenTheDeviceDoesNotAnswer) {
  EXPECT_EQ(GetMfpModel("Silent"), 0);
}

TEST_F(DeviceLinkSimTest, EmptyCommunityIsSentAsSuch) {
  // No device serves the empty community; the default would reach one.
  EXPECT_EQ(GetMfpModel("Empty Community"), 0);
}

TEST_F(DeviceLinkSimTest, AbvPrinterCheckReadsThePrivateObjects) {
  EXPECT_EQ(Abv("Abv 14"), "ffmt");
  EXPECT_EQ(Abv("Abv 15"), "ffmf");  // over IPv6
  EXPECT_EQ(Abv("Long Name"), "ftmt");
}

TEST_F(DeviceLinkSimTest, EveryPortKindReachesItsDevice) {
  for (const char* queue : {"Port IP", "Port Host", "Port UNC", "Port Web", "Port Raw", "Port IPP",
                            "Port WSD", "Port Discovered", "Port Server"}) {
    EXPECT_EQ(GetMfpModel(queue), 1) << queue;
  }
}

}  // namespace
