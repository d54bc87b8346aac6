// The simulated machine's dialog host: no window appears; a user (a script or
// a person at a terminal) acts on the dialog one statement at a time, and the
// trace records what happened. A dialog still open when the user has nothing
// more to do is closed as by Escape.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>

#include "platform/dialog_host.h"
#include "platform/scripted/script_player.h"

namespace platform::simulated {

// The users a host plays dialogs for: a script's, or a person's at a terminal.
using scripted::ScriptUser;
using scripted::User;

class HeadlessDialogHost : public DialogHost {
 public:
  using Recorder = scripted::Recorder;

  // Records go to the current simulated machine's trace unless `recorder` is given.
  explicit HeadlessDialogHost(std::unique_ptr<User> user, Recorder recorder = {});
  void RunModal(HostedDialog& dialog) override;

 private:
  void Record(const nlohmann::json& record);
  void CloseAsByEscape(HostedDialog& dialog);

  std::unique_ptr<User> user_;
  Recorder recorder_;
};

}  // namespace platform::simulated
