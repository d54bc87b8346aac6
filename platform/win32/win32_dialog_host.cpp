// On Windows a dialog runs in a real window (win32_window_system.cpp): the
// system's modal loop, the user at the real keyboard. A hosted dialog, the
// simulated machine's kind acted on by a script, has no host here: it ends
// as a dialog that could not be created does, with -1, before it runs any
// of its own code.
#include "platform/dialog_host.h"

namespace platform {
namespace {

constexpr int kDialogNotCreated = -1;

class NoWindowDialogHost : public DialogHost {
 public:
  void RunModal(HostedDialog& dialog) override { dialog.End(kDialogNotCreated); }
};

}  // namespace

std::unique_ptr<DialogHost> CreateDefaultDialogHost() {
  return std::make_unique<NoWindowDialogHost>();
}

}  // namespace platform
