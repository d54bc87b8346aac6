#include "platform/machine.h"

#include <mutex>
#include <utility>

namespace platform {
namespace {

struct Installed {
  std::mutex mutex;
  std::unique_ptr<Machine> machine;
};

Installed& State() {
  static Installed state;
  return state;
}

}  // namespace

Machine& CurrentMachine() {
  Installed& state = State();
  std::lock_guard lock(state.mutex);
  if (!state.machine) state.machine = CreateDefaultMachine();
  return *state.machine;
}

std::unique_ptr<Machine> InstallMachine(std::unique_ptr<Machine> machine) {
  Installed& state = State();
  std::lock_guard lock(state.mutex);
  std::swap(state.machine, machine);
  return machine;
}

}  // namespace platform
