// The one accessor through which the module reaches the operating system.
// An implementation is installed once per process; tests install their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/kernel.h"
#include "platform/network.h"
#include "platform/registry.h"
#include "platform/spooler.h"
#include "platform/user_interface.h"

namespace platform {

class Machine {
 public:
  virtual ~Machine() = default;
  virtual Spooler& spooler() = 0;
  virtual Registry& registry() = 0;
  virtual Network& network() = 0;
  virtual UserInterface& ui() = 0;
  virtual Kernel& kernel() = 0;
  // The interactive user's SID as text ("S-1-5-21-..."), which names the
  // user's hive under HKEY_USERS; empty when no user is logged on.
  virtual std::string InteractiveUserSid() { return {}; }
};

// The machine the module runs on. The first call without an installed
// machine creates the platform's default one.
Machine& CurrentMachine();

// UTF-16 text (a resource's) in the current machine's ANSI code page, as the
// A-functions give it: characters the code page lacks become "?".
std::string ToAnsi(std::u16string_view text);

// Replaces the current machine (tests). Returns the previous one.
std::unique_ptr<Machine> InstallMachine(std::unique_ptr<Machine> machine);

// Changes each time another machine becomes current, so that what the module
// binds once (the name-resolution entry points) is bound anew for a machine
// a test installed.
std::uint64_t MachineGeneration();

// Provided by the platform implementation linked in (platform/simulated on
// Linux): the machine a process gets when nothing was installed.
std::unique_ptr<Machine> CreateDefaultMachine();

}  // namespace platform
