// The kernel of the simulated machine: a frozen or real clock, the user's
// locale pictures, the machine's ANSI code page and version.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/kernel.h"

namespace platform::simulated {

struct KernelSettings {
  std::uint32_t ansiCodePage = 1252;
  VersionInfo version{};
  // A frozen local clock ("Now" of the profile); the real clock when empty.
  std::optional<SystemTime> frozenNow;
  // HKEY_CURRENT_USER\Control Panel\International.
  std::string shortDate = "M/d/yyyy";
  std::string timeFormat = "h:mm:ss tt";
  std::string decimal = ".";
};

class SimulatedKernel : public Kernel {
 public:
  explicit SimulatedKernel(KernelSettings settings);
  // ... the Kernel overrides
};

}  // namespace platform::simulated
