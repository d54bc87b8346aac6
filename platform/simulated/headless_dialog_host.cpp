#include "platform/simulated/headless_dialog_host.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ext/stdio_sync_filebuf.h>
#include <istream>
#include <ostream>

#include "platform/machine.h"
#include "platform/simulated/simulated_machine.h"
#include "platform/simulated/terminal_user.h"
#include "platform/simulated/trace.h"

namespace platform::simulated {
namespace {

constexpr int kIdCancel = 2;

// The dialogs running on this thread, innermost last.
thread_local std::vector<HostedDialog*> openDialogs;

class OpenDialogEntry {
 public:
  explicit OpenDialogEntry(HostedDialog& dialog) : dialog_(dialog) {
    openDialogs.push_back(&dialog);
  }
  ~OpenDialogEntry() { std::erase(openDialogs, &dialog_); }
  OpenDialogEntry(const OpenDialogEntry&) = delete;
  OpenDialogEntry& operator=(const OpenDialogEntry&) = delete;

 private:
  HostedDialog& dialog_;
};

SimulatedMachine* CurrentSimulatedMachine() {
  return dynamic_cast<SimulatedMachine*>(&CurrentMachine());
}

bool HasText(std::string_view kind) { return kind != "list view" && kind != "scroll bar"; }
bool HasCheck(std::string_view kind) { return kind == "check box" || kind == "radio button"; }
bool HasItems(std::string_view kind) { return kind == "combo box" || kind == "list view"; }
bool HasSelection(std::string_view kind) { return kind == "edit" || HasItems(kind); }

nlohmann::json ControlRecord(const ControlSnapshot& control) {
  nlohmann::json record = {{"id", control.id}, {"kind", control.kind}};
  if (HasText(control.kind)) record["text_hex"] = HexBytes(control.text);
  record["enabled"] = control.enabled;
  record["visible"] = control.visible;
  if (HasCheck(control.kind)) record["checked"] = control.checked;
  if (HasSelection(control.kind)) {
    record["selection"] = {control.selectionStart, control.selectionEnd};
  }
  if (HasItems(control.kind)) {
    nlohmann::json items = nlohmann::json::array();
    for (const std::string& item : control.items) items.push_back(HexBytes(item));
    record["items_hex"] = std::move(items);
  }
  if (control.kind == "scroll bar") {
    record["scroll"] = {{"position", control.scrollPosition},
                        {"line_up", control.lineUpEnabled},
                        {"line_down", control.lineDownEnabled}};
  }
  return record;
}

}  // namespace

std::optional<int> OpenDialogTemplate(WindowHandle window) {
  for (HostedDialog* dialog : openDialogs) {
    if (WindowOf(*dialog) == window) return dialog->TemplateId();
  }
  return std::nullopt;
}

ScriptUser::ScriptUser(std::vector<ScriptStatement> statements)
    : statements_(std::make_move_iterator(statements.begin()),
                  std::make_move_iterator(statements.end())) {}

std::optional<ScriptStatement> ScriptUser::Next(const HostedDialog& /*dialog*/) {
  if (statements_.empty()) return std::nullopt;
  ScriptStatement next = std::move(statements_.front());
  statements_.pop_front();
  return next;
}

void ScriptUser::PutBack(ScriptStatement statement) {
  statements_.push_front(std::move(statement));
}

nlohmann::json DialogRecord(const HostedDialog& dialog) {
  return {{"event", "dialog"},
          {"template", dialog.TemplateId()},
          {"title_hex", HexBytes(dialog.Title())},
          {"result", dialog.Result()}};
}

nlohmann::json DumpRecord(const HostedDialog& dialog) {
  nlohmann::json controls = nlohmann::json::array();
  for (const ControlSnapshot& control : dialog.Snapshot())
    controls.push_back(ControlRecord(control));
  return {{"event", "dump"}, {"template", dialog.TemplateId()}, {"controls", std::move(controls)}};
}

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
  OpenDialogEntry entry(dialog);
  if (SimulatedMachine* machine = CurrentSimulatedMachine()) {
    machine->simulatedUi().SetOwnerResolver(&OpenDialogTemplate);
  }
  const std::uint32_t codePage = CurrentMachine().kernel().AnsiCodePage();
  dialog.Create();

  bool first = true;
  while (dialog.IsOpen()) {
    std::optional<ScriptStatement> statement = user_->Next(dialog);
    if (!statement) break;
    if (statement->kind == ScriptStatement::Kind::Dialog) {
      if (!first) {
        // The script has moved on to the next dialog: this one is done.
        user_->PutBack(std::move(*statement));
        break;
      }
      first = false;
      if (statement->dialogId != dialog.TemplateId()) {
        Record({{"event", "dialog_mismatch"},
                {"expected", statement->dialogId},
                {"template", dialog.TemplateId()}});
        break;
      }
      continue;
    }
    first = false;
    if (statement->action.kind == UserAction::Kind::Dump) {
      Record(DumpRecord(dialog));
      continue;
    }
    if (!dialog.Apply(ToAnsiAction(statement->action, codePage))) {
      Record({{"event", "action_refused"},
              {"template", dialog.TemplateId()},
              {"statement", statement->source}});
    }
  }
  CloseAsByEscape(dialog);
  Record(DialogRecord(dialog));
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
  std::vector<ScriptStatement> statements;
  if (const char* script = std::getenv(kUserVariable)) {
    try {
      statements = ParseUserScript(script);
    } catch (const UserScriptError& error) {
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
