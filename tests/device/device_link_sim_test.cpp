// Model identification through the shared library, against the simulated
// devices (sim/start) and the machine sim/machines/device_link.reg. Skipped
// when no device answers, unless VX5PRCFG_REQUIRE_SIM is set.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "snmp/snmp_pp.h"

namespace {

using GetMfpModelFunction = int (*)(const char*, const char*, void*);
using AbvPrinterCheckFunction = void (*)(const char*, const char*, char*, void*);

constexpr int kAbvAnswerSize = 5;

bool DeviceAnswers() {
  static const bool answers = [] {
    int status = -1;
    Snmp_pp::Snmp udp(status);
    Snmp_pp::CTarget target(Snmp_pp::IpAddress("127.0.0.1"));
    Snmp_pp::Pdu pdu;
    pdu += Snmp_pp::Vb(Snmp_pp::Oid("1.3.6.1.2.1.1.2.0"));
    return status == SNMP_CLASS_SUCCESS && udp.get(pdu, target) == SNMP_CLASS_SUCCESS;
  }();
  return answers;
}

class DeviceLinkSimTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* source = std::getenv("VX5PRCFG_SOURCE_DIR");
    const char* build = std::getenv("VX5PRCFG_BUILD_DIR");
    const std::string library =
        build != nullptr ? std::string(build) + "/libvx5prcfg.so" : DEVICE_SIM_LIBRARY;
    // The library reads its machine once, at first use.
    const std::string profile = std::string(source != nullptr ? source : DEVICE_SIM_SOURCE_DIR) +
                                "/sim/machines/device_link.reg";
    setenv("VX5PRCFG_MACHINE", profile.c_str(), 1);
    library_ = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) return;
    getMfpModel_ = reinterpret_cast<GetMfpModelFunction>(dlsym(library_, "GetMFPModel"));
    abvPrinterCheck_ =
        reinterpret_cast<AbvPrinterCheckFunction>(dlsym(library_, "AbvPrinterCheck"));
  }

  static void TearDownTestSuite() {
    if (library_ != nullptr) dlclose(library_);
    library_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(library_, nullptr) << dlerror();
    ASSERT_NE(getMfpModel_, nullptr);
    ASSERT_NE(abvPrinterCheck_, nullptr);
    if (!DeviceAnswers()) {
      if (std::getenv("VX5PRCFG_REQUIRE_SIM") != nullptr) FAIL() << "no simulated device answers";
      GTEST_SKIP() << "no simulated device answers; run sim/start";
    }
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
