// The dialog host of the Windows build, until the framework reaches real
// windows through its window interface: that interface brings the real
// dialogs (DialogBoxIndirectParamA on the module's templates). Until then
// no dialog is shown, and each ends as a dialog that could not be created
// does, with -1, before it runs any of its own code.
#include "platform/dialog_host.h"
#include "platform/window.h"

namespace platform {
namespace {

constexpr int kDialogNotCreated = -1;

class NoWindowDialogHost : public DialogHost {
 public:
  void RunModal(HostedDialog& dialog) override { dialog.End(kDialogNotCreated); }
};

class NoWindowSystem : public WindowSystem {
 public:
  int RunModalDialog(const resources::DialogTemplate& /*dialogTemplate*/, bool /*fromModule*/,
                     DialogEvents& /*events*/) override {
    return kDialogNotCreated;
  }
};

}  // namespace

std::unique_ptr<DialogHost> CreateDefaultDialogHost() {
  return std::make_unique<NoWindowDialogHost>();
}

WindowSystem& CurrentWindowSystem() {
  static NoWindowSystem system;
  return system;
}

}  // namespace platform
