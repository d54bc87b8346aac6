// The simulated Windows machine: registry, spooler, network, user interface
// and kernel, all described by one machine profile (a .reg file).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/machine.h"
#include "platform/scripted/trace.h"
#include "platform/simulated/registry_tree.h"
#include "platform/simulated/simulated_kernel.h"
#include "platform/simulated/simulated_network.h"
#include "platform/simulated/simulated_registry.h"
#include "platform/simulated/simulated_spooler.h"
#include "platform/simulated/simulated_user_interface.h"

namespace platform::simulated {

inline constexpr const char* kMachineVariable = "VX5PRCFG_MACHINE";
inline constexpr std::string_view kRegHeaderVersion5 = "Windows Registry Editor Version 5.00";
// The machine's own settings (under HKEY_LOCAL_MACHINE) and the user's locale
// (under HKEY_CURRENT_USER).
inline constexpr std::u16string_view kSystemKey = u"SOFTWARE\\SimulatedMachine\\System";
inline constexpr std::u16string_view kInternationalKey = u"Control Panel\\International";

// The settings of the machine's kernel that the profile gives. Throws
// RegFileError naming `source` for a setting it cannot use.
KernelSettings ReadKernelSettings(const RegistryTree& tree, std::string_view source);

class SimulatedMachine : public Machine {
 public:
  // The machine of the profile at `path`; throws RegFileError when refused.
  static std::unique_ptr<SimulatedMachine> FromFile(
      const std::string& path, scripted::Trace trace = scripted::Trace::FromEnvironment());
  // The machine of the .reg text `text` (header included). The default trace
  // keeps its records in memory.
  static std::unique_ptr<SimulatedMachine> FromText(std::string_view text,
                                                    scripted::Trace trace = Memory());
  // The same without the header line: a test's machine in one line.
  static std::unique_ptr<SimulatedMachine> FromRegistryLines(std::string_view lines,
                                                             scripted::Trace trace = Memory());

  // A machine holding `tree`. `profile` names it in the trace (empty: none);
  // driver files without a folder are found in `driverDirectory`.
  explicit SimulatedMachine(std::shared_ptr<RegistryTree> tree = std::make_shared<RegistryTree>(),
                            std::string profile = {}, std::string driverDirectory = {},
                            scripted::Trace trace = Memory());

  Spooler& spooler() override { return spooler_; }
  Registry& registry() override { return registry_; }
  Network& network() override { return network_; }
  UserInterface& ui() override { return ui_; }
  Kernel& kernel() override { return kernel_; }
  std::string InteractiveUserSid() override { return interactiveUserSid_; }

  // The simulated pieces, for tests, the dialog host and the CLI.
  scripted::Trace& trace() { return trace_; }
  SimulatedSpooler& simulatedSpooler() { return spooler_; }
  SimulatedUserInterface& simulatedUi() { return ui_; }
  RegistryTree& tree() { return *tree_; }
  std::uint32_t ansiCodePage() const { return ansiCodePage_; }

 private:
  static scripted::Trace Memory() {
    scripted::Trace trace;
    trace.CaptureInMemory();
    return trace;
  }
  SimulatedMachine(std::shared_ptr<RegistryTree> tree, const KernelSettings& settings,
                   std::string profile, std::string driverDirectory, scripted::Trace trace);

  std::shared_ptr<RegistryTree> tree_;
  scripted::Trace trace_;
  std::uint32_t ansiCodePage_;
  std::string interactiveUserSid_;
  SimulatedRegistry registry_;
  SimulatedSpooler spooler_;
  SimulatedNetwork network_;
  SimulatedUserInterface ui_;
  SimulatedKernel kernel_;
};

// Installs `machine` as the current machine for the life of this object and
// puts the previous one back afterwards (tests).
class ScopedMachine {
 public:
  explicit ScopedMachine(std::unique_ptr<SimulatedMachine> machine);
  ~ScopedMachine();
  ScopedMachine(const ScopedMachine&) = delete;
  ScopedMachine& operator=(const ScopedMachine&) = delete;

  SimulatedMachine& operator*() const { return *machine_; }
  SimulatedMachine* operator->() const { return machine_; }

 private:
  SimulatedMachine* machine_;
  std::unique_ptr<Machine> previous_;
};

}  // namespace platform::simulated
