// The shared library loaded with the queries' machine (sim/machines/
// queries.reg), for the device queries' tests against the simulated devices
// (sim/start). Skipped when no device answers, unless VX5PRCFG_REQUIRE_SIM
// is set.
#pragma once

#include <dlfcn.h>

#include "tests/support/simulated_devices.h"

namespace queries::sim {

using test_support::BuildDir;
using test_support::SourceDir;

inline std::string MachineProfile() { return SourceDir() + "/sim/machines/queries.reg"; }

// Loaded once per process: the library reads its machine at first use.
inline void* Library() {
  static void* library = test_support::LoadLibraryWithMachine("queries.reg");
  return library;
}

template <typename Function>
Function Export(const char* name) {
  return test_support::Export<Function>(Library(), name);
}

class QueriesSimTest : public test_support::SimulatedDeviceTest {
 protected:
  void SetUp() override {
    ASSERT_NE(Library(), nullptr) << dlerror();
    SimulatedDeviceTest::SetUp();
  }
};

}  // namespace queries::sim
