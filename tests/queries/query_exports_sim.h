// The shared library loaded with the queries' machine (sim/machines/
// queries.reg), for the device queries' tests against the simulated devices
// (sim/start). Skipped when no device answers, unless VX5PRCFG_REQUIRE_SIM
// is set.
#pragma once

#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

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

// prcfg --json with the machine sim/machines/`profile`, a user script and
// `arguments` (quoted for the shell as needed); its parsed report, or a
// discarded value when prcfg printed no JSON. `environment` ("NAME=value ...")
// is set for prcfg alone.
inline nlohmann::json RunPrcfgJson(const std::string& profile, const std::string& script,
                                   const std::string& arguments,
                                   const std::string& environment = "") {
  const std::string command = environment + " " + BuildDir() + "/prcfg --json --machine " +
                              SourceDir() + "/sim/machines/" + profile + " --user '" + script +
                              "' " + arguments + " </dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return {};
  std::string output;
  std::array<char, 4096> chunk{};
  while (std::size_t read = std::fread(chunk.data(), 1, chunk.size(), pipe.get())) {
    output.append(chunk.data(), read);
  }
  return nlohmann::json::parse(output, nullptr, false);
}

class QueriesSimTest : public test_support::SimulatedDeviceTest {
 protected:
  void SetUp() override {
    ASSERT_NE(Library(), nullptr) << dlerror();
    SimulatedDeviceTest::SetUp();
  }
};

}  // namespace queries::sim
