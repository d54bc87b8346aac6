// The module state: what makes this library's resources current (its
// instance handle and application object). Each thread has its own current
// state; exports that show dialogs or load texts make this library's state
// current for the call with a ModuleStateGuard, which puts the caller's back
// on every way out, exceptions included.
#pragma once

namespace framework {
class Application;
}

namespace prompts {

struct ModuleState {
  const void* instance = nullptr;                 // the library's instance handle
  framework::Application* application = nullptr;  // its application object
};

// This library's state, set up at load.
ModuleState& ThisModuleState();

// The calling thread's current state: this library's unless a guard or the
// caller made another current.
ModuleState& CurrentModuleState();

class ModuleStateGuard {
 public:
  // Makes `state` (this library's by default) current on the calling thread.
  ModuleStateGuard();
  explicit ModuleStateGuard(ModuleState& state);
  ~ModuleStateGuard();
  ModuleStateGuard(const ModuleStateGuard&) = delete;
  ModuleStateGuard& operator=(const ModuleStateGuard&) = delete;

 private:
  ModuleState* previous_;
};

}  // namespace prompts
