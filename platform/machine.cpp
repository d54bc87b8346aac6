#include "platform/machine.h"

#include <mutex>
#include <utility>

namespace platform {
namespace {

struct Installed {
  std::mutex mutex;
  std::unique_ptr<Machine> machine;
  std::uint64_t generation = 0;
};

Installed& State() {
  static Installed state;
  return state;
}

}  // namespace

Machine& CurrentMachine() {
  Installed& state = State();
  std::lock_guard lock(state.mutex);
  if (!state.machine) {
    state.machine = CreateDefaultMachine();
    ++state.generation;
  }
  return *state.machine;
}

std::string ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  Kernel& kernel = CurrentMachine().kernel();
  const std::uint32_t codePage = kernel.AnsiCodePage();
  const int needed = kernel.WideToAnsi(codePage, text, nullptr, 0);
  if (needed <= 0) return {};
  std::string ansi(static_cast<std::size_t>(needed), '\0');
  const int written = kernel.WideToAnsi(codePage, text, ansi.data(), needed);
  ansi.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return ansi;
}

std::unique_ptr<Machine> InstallMachine(std::unique_ptr<Machine> machine) {
  Installed& state = State();
  std::lock_guard lock(state.mutex);
  std::swap(state.machine, machine);
  ++state.generation;
  return machine;
}

std::uint64_t MachineGeneration() {
  CurrentMachine();  // a default machine counts as a new one
  Installed& state = State();
  std::lock_guard lock(state.mutex);
  return state.generation;
}

}  // namespace platform
