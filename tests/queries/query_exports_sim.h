// The shared library loaded with the queries' machine (sim/machines/
// queries.reg), for the device queries' tests against the simulated devices
// (sim/start). Skipped when no device answers, unless VX5PRCFG_REQUIRE_SIM
// is set.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "snmp/snmp_pp.h"

namespace queries::sim {

inline std::string SourceDir() {
  const char* source = std::getenv("VX5PRCFG_SOURCE_DIR");
  return source != nullptr ? source : ".";
}

inline std::string BuildDir() {
  const char* build = std::getenv("VX5PRCFG_BUILD_DIR");
  return build != nullptr ? build : ".";
}

inline std::string MachineProfile() { return SourceDir() + "/sim/machines/queries.reg"; }

// Loaded once per process: the library reads its machine at first use.
inline void* Library() {
  static void* library = [] {
    setenv("VX5PRCFG_MACHINE", MachineProfile().c_str(), 1);
    return dlopen((BuildDir() + "/libvx5prcfg.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  }();
  return library;
}

template <typename Function>
Function Export(const char* name) {
  void* library = Library();
  return library != nullptr ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
}

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

class QueriesSimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Library(), nullptr) << dlerror();
    if (!DeviceAnswers()) {
      if (std::getenv("VX5PRCFG_REQUIRE_SIM") != nullptr) FAIL() << "no simulated device answers";
      GTEST_SKIP() << "no simulated device answers; run sim/start";
    }
  }
};

}  // namespace queries::sim
