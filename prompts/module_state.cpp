#include "prompts/module_state.h"

#include "prompts/application.h"

namespace prompts {
namespace {

// Null: the thread has made no state current, so the library's own applies.
thread_local ModuleState* current = nullptr;

}  // namespace

ModuleState& ThisModuleState() {
  // The entry point's record of the instance: on this platform, the address
  // of the library's own state stands for its handle.
  static ModuleState state{&state, &TheApp()};
  return state;
}

ModuleState& CurrentModuleState() { return current != nullptr ? *current : ThisModuleState(); }

ModuleStateGuard::ModuleStateGuard() : ModuleStateGuard(ThisModuleState()) {}

ModuleStateGuard::ModuleStateGuard(ModuleState& state) : previous_(current) { current = &state; }

ModuleStateGuard::~ModuleStateGuard() { current = previous_; }

}  // namespace prompts
