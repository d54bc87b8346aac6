// The Windows machine the DLL runs on: every platform interface over the
// real API.
#pragma once

#include "platform/machine.h"
#include "platform/win32/win32_kernel.h"
#include "platform/win32/win32_network.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_spooler.h"
#include "platform/win32/win32_user_interface.h"

namespace platform::win32 {

class Win32Machine : public Machine {
 public:
  Spooler& spooler() override { return spooler_; }
  Registry& registry() override { return registry_; }
  Network& network() override { return network_; }
  UserInterface& ui() override { return ui_; }
  Kernel& kernel() override { return kernel_; }
  // The SID of the user the process runs as: the driver's user interface
  // runs in the interactive user's session.
  std::string InteractiveUserSid() override;

 private:
  Win32Spooler spooler_;
  Win32Registry registry_;
  Win32Network network_;
  Win32UserInterface ui_;
  Win32Kernel kernel_;
};

}  // namespace platform::win32
