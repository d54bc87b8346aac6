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
