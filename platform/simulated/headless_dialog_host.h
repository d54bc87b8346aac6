// The simulated machine's dialog host: no window appears; a user (a script or
// a person at a terminal) acts on the dialog one statement at a time, and the
// trace records what happened. A dialog still open when the user has nothing
// more to do is closed as by Escape.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "platform/dialog_host.h"
#include "platform/simulated/user_script.h"

namespace platform::simulated {

// Where a dialog's statements come from.
class User {
 public:
  virtual ~User() = default;
  // The next statement for `dialog`; nothing when the user is done.
  virtual std::optional<ScriptStatement> Next(const HostedDialog& dialog) = 0;
  // A statement read too early (it belongs to the next dialog).
  virtual void PutBack(ScriptStatement statement) = 0;
};

// The statements of a script, in order, shared by every dialog of the process.
class ScriptUser : public User {
 public:
  explicit ScriptUser(std::vector<ScriptStatement> statements);
  std::optional<ScriptStatement> Next(const HostedDialog& dialog) override;
  void PutBack(ScriptStatement statement) override;
  std::size_t remaining() const { return statements_.size(); }

 private:
  std::deque<ScriptStatement> statements_;
};

class HeadlessDialogHost : public DialogHost {
 public:
  using Recorder = std::function<void(const nlohmann::json&)>;

  // Records go to the current simulated machine's trace unless `recorder` is given.
  explicit HeadlessDialogHost(std::unique_ptr<User> user, Recorder recorder = {});
  void RunModal(HostedDialog& dialog) override;

 private:
  void Record(const nlohmann::json& record);
  void CloseAsByEscape(HostedDialog& dialog);

  std::unique_ptr<User> user_;
  Recorder recorder_;
};

// The trace records of the host.
nlohmann::json DialogRecord(const HostedDialog& dialog);
nlohmann::json DumpRecord(const HostedDialog& dialog);

// The template of the open dialog whose window is `window` (the owner of a
// message box), if any.
std::optional<int> OpenDialogTemplate(WindowHandle window);

}  // namespace platform::simulated
