// A user script played on a dialog, whichever window system shows it: one
// statement at a time, each applied to the dialog as a user's input, and what
// the user saw recorded as JSON. The simulated machine's host plays a dialog
// in a loop; the Windows host plays it from the dialog's own message loop, so
// both builds answer a script alike and record it in the same form.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_host.h"
#include "platform/scripted/user_script.h"
#include "platform/win_types.h"

namespace platform::scripted {

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

using Recorder = std::function<void(const nlohmann::json&)>;

// One dialog's share of the user's statements.
class ScriptPlayer {
 public:
  // Texts go to the dialog in `codePage`, the machine's ANSI code page.
  ScriptPlayer(User& user, Recorder recorder, std::uint32_t codePage);

  // Settles the action played last (HostedDialog::Settle), then plays the
  // user's next statement on `dialog`. False once the user has nothing more
  // for it: no statements left, the next one names another dialog, or the
  // first one names a template this dialog is not.
  bool PlayNext(HostedDialog& dialog);

 private:
  void Refused(const HostedDialog& dialog, const std::string& statement);

  User& user_;
  Recorder record_;
  std::uint32_t codePage_;
  bool first_ = true;
  std::optional<std::string> unsettled_;  // the statement whose input is still on its way
};

// The trace records every host writes.
nlohmann::json DialogRecord(int templateId, const std::string& title, int result);
nlohmann::json DialogRecord(const HostedDialog& dialog);
nlohmann::json DumpRecord(const HostedDialog& dialog);
nlohmann::json MessageBoxRecord(std::optional<int> ownerTemplate, std::string_view text,
                                std::string_view caption, unsigned type, int result);

// The dialogs open on this thread, so that a message box's owner window can
// be named by its template. An entry lasts as long as its dialog runs.
class OpenDialogEntry {
 public:
  OpenDialogEntry(WindowHandle window, int templateId);
  ~OpenDialogEntry();
  OpenDialogEntry(const OpenDialogEntry&) = delete;
  OpenDialogEntry& operator=(const OpenDialogEntry&) = delete;

 private:
  WindowHandle window_;
};

// The template of the open dialog whose window is `window`, if any.
std::optional<int> OpenDialogTemplate(WindowHandle window);
// The window of the dialog opened last on this thread and still open.
WindowHandle InnermostOpenDialog();

}  // namespace platform::scripted
