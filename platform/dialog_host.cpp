#include "platform/dialog_host.h"

#include <mutex>
#include <utility>

namespace platform {
namespace {

struct Installed {
  std::mutex mutex;
  std::unique_ptr<DialogHost> host;
};

Installed& State() {
  static Installed state;
  return state;
}

}  // namespace

DialogHost& CurrentDialogHost() {
  Installed& state = State();
  std::lock_guard lock(state.mutex);
  if (!state.host) state.host = CreateDefaultDialogHost();
  return *state.host;
}

std::unique_ptr<DialogHost> InstallDialogHost(std::unique_ptr<DialogHost> host) {
  Installed& state = State();
  std::lock_guard lock(state.mutex);
  std::swap(state.host, host);
  return host;
}

}  // namespace platform
