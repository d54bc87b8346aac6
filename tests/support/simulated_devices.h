// For tests that call the shared library against the simulated devices
// (sim/start): the library loaded with one of the example machines, and a
// base fixture that skips when no device answers — or fails, when
// VX5PRCFG_REQUIRE_SIM is set, as ./run test does.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "snmp/snmp_pp.h"

namespace test_support {

inline std::string SourceDir() {
  const char* source = std::getenv("VX5PRCFG_SOURCE_DIR");
  return source != nullptr ? source : ".";
}

inline std::string BuildDir() {
  const char* build = std::getenv("VX5PRCFG_BUILD_DIR");
  return build != nullptr ? build : ".";
}

// The shared library with the machine sim/machines/`profile`. The library
// reads its machine once, at first use, so a process holds one machine.
inline void* LoadLibraryWithMachine(const char* profile) {
  setenv("VX5PRCFG_MACHINE", (SourceDir() + "/sim/machines/" + profile).c_str(), 1);
  return dlopen((BuildDir() + "/libvx5prcfg.so").c_str(), RTLD_NOW | RTLD_LOCAL);
}

template <typename Function>
Function Export(void* library, const char* name) {
  return library != nullptr ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
}

// Whether the agent serving sim/devices answers on 127.0.0.1.
inline bool DeviceAnswers() {
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

class SimulatedDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!DeviceAnswers()) {
      if (std::getenv("VX5PRCFG_REQUIRE_SIM") != nullptr) FAIL() << "no simulated device answers";
      GTEST_SKIP() << "no simulated device answers; run sim/start";
    }
  }
};

}  // namespace test_support
