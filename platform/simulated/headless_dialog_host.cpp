#include "platform/simulated/headless_dialog_host.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ext/stdio_sync_filebuf.h>
#include <istream>
#include <ostream>

#include "platform/machine.h"
#include "platform/scripted/trace.h"
#include "platform/simulated/simulated_machine.h"
#include "platform/simulated/terminal_user.h"

namespace platform::simulated {
namespace {

constexpr int kIdCancel = 2;

SimulatedMachine* CurrentSimulatedMachine() {
  return dynamic_cast<SimulatedMachine*>(&CurrentMachine());
}

}  // namespace

HeadlessDialogHost::HeadlessDialogHost(std::unique_ptr<User> user, Recorder recorder)
    : user_(std::move(user)), recorder_(std::move(recorder)) {}

void HeadlessDialogHost::Record(const nlohmann::json& record) {
  if (recorder_) {
    recorder_(record);
  } else if (SimulatedMachine* machine = CurrentSimulatedMachine()) {
    machine->trace().Write(record);
  }
}

void HeadlessDialogHost::CloseAsByEscape(HostedDialog& dialog) {
  if (!dialog.IsOpen()) return;
  UserAction escape;
  escape.kind = UserAction::Kind::Escape;
  dialog.Apply(escape);
  // A dialog that will not close on Escape would hold the caller for ever.
  if (dialog.IsOpen()) dialog.End(kIdCancel);
}

void HeadlessDialogHost::RunModal(HostedDialog& dialog) {
  scripted::OpenDialogEntry entry(WindowOf(dialog), dialog.TemplateId());
  if (SimulatedMachine* machine = CurrentSimulatedMachine()) {
    machine->simulatedUi().SetOwnerResolver(&scripted::OpenDialogTemplate);
  }
  scripted::ScriptPlayer player(
      *user_, [this](const nlohmann::json& record) { Record(record); },
      CurrentMachine().kernel().AnsiCodePage());
  dialog.Create();
  while (player.PlayNext(dialog)) {
  }
  CloseAsByEscape(dialog);
  Record(scripted::DialogRecord(dialog));
}

}  // namespace platform::simulated

namespace platform {
namespace {

// The terminal's streams over stdin and stderr, as the standard ones are made,
// but only once a person at a terminal needs them: the standard streams would
// be set up when the library loads, in every process that loads it.
std::istream& TerminalInput() {
  static __gnu_cxx::stdio_sync_filebuf<char> buffer(stdin);
  static std::istream input(&buffer);
  return input;
}

std::ostream& TerminalOutput() {
  static __gnu_cxx::stdio_sync_filebuf<char> buffer(stderr);
  static std::ostream output(&buffer);
  output.setf(std::ios::unitbuf);
  return output;
}

}  // namespace

std::unique_ptr<DialogHost> CreateDefaultDialogHost() {
  using namespace simulated;
  std::vector<scripted::ScriptStatement> statements;
  if (const char* script = std::getenv(scripted::kUserVariable)) {
    try {
      statements = scripted::ParseUserScript(script);
    } catch (const scripted::UserScriptError& error) {
      // Nobody can answer the dialogs: each one closes as by Escape.
      std::fprintf(stderr, "vx5prcfg: %s\n", error.what());
    }
  } else if (isatty(STDIN_FILENO) != 0) {
    return std::make_unique<HeadlessDialogHost>(
        std::make_unique<TerminalUser>(TerminalInput(), TerminalOutput()));
  }
  return std::make_unique<HeadlessDialogHost>(std::make_unique<ScriptUser>(std::move(statements)));
}

}  // namespace platform
