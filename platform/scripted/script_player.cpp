#include "platform/scripted/script_player.h"

#include <algorithm>
#include <utility>

#include "platform/scripted/trace.h"

namespace platform::scripted {
namespace {

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

struct OpenDialog {
  WindowHandle window;
  int templateId;
};

// The dialogs running on this thread, innermost last.
thread_local std::vector<OpenDialog> openDialogs;

}  // namespace

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

ScriptPlayer::ScriptPlayer(User& user, Recorder recorder, std::uint32_t codePage)
    : user_(user), record_(std::move(recorder)), codePage_(codePage) {}

void ScriptPlayer::Refused(const HostedDialog& dialog, const std::string& statement) {
  record_(
      {{"event", "action_refused"}, {"template", dialog.TemplateId()}, {"statement", statement}});
}

bool ScriptPlayer::PlayNext(HostedDialog& dialog) {
  if (unsettled_) {
    const std::string statement = std::move(*unsettled_);
    unsettled_.reset();
    if (!dialog.Settle()) Refused(dialog, statement);
  }
  for (;;) {
    if (!dialog.IsOpen()) return false;
    std::optional<ScriptStatement> statement = user_.Next(dialog);
    if (!statement) return false;
    if (statement->kind == ScriptStatement::Kind::Dialog) {
      if (!first_) {
        // The script has moved on to the next dialog: this one is done.
        user_.PutBack(std::move(*statement));
        return false;
      }
      first_ = false;
      if (statement->dialogId != dialog.TemplateId()) {
        record_({{"event", "dialog_mismatch"},
                 {"expected", statement->dialogId},
                 {"template", dialog.TemplateId()}});
        return false;
      }
      continue;
    }
    first_ = false;
    if (statement->action.kind == UserAction::Kind::Dump) {
      record_(DumpRecord(dialog));
      return true;
    }
    if (!dialog.Apply(ToAnsiAction(statement->action, codePage_))) {
      Refused(dialog, statement->source);
    } else {
      unsettled_ = std::move(statement->source);
    }
    return true;
  }
}

nlohmann::json DialogRecord(int templateId, const std::string& title, int result) {
  return {{"event", "dialog"},
          {"template", templateId},
          {"title_hex", HexBytes(title)},
          {"result", result}};
}

nlohmann::json DialogRecord(const HostedDialog& dialog) {
  return DialogRecord(dialog.TemplateId(), dialog.Title(), dialog.Result());
}

nlohmann::json DumpRecord(const HostedDialog& dialog) {
  nlohmann::json controls = nlohmann::json::array();
  for (const ControlSnapshot& control : dialog.Snapshot())
    controls.push_back(ControlRecord(control));
  return {{"event", "dump"}, {"template", dialog.TemplateId()}, {"controls", std::move(controls)}};
}

nlohmann::json MessageBoxRecord(std::optional<int> ownerTemplate, std::string_view text,
                                std::string_view caption, unsigned type, int result) {
  nlohmann::json event = {
      {"event", "message_box"},     {"owner", nullptr}, {"caption_hex", HexBytes(caption)},
      {"text_hex", HexBytes(text)}, {"type", type},     {"result", result}};
  if (ownerTemplate) event["owner"] = *ownerTemplate;
  return event;
}

OpenDialogEntry::OpenDialogEntry(WindowHandle window, int templateId) : window_(window) {
  openDialogs.push_back({window, templateId});
}

OpenDialogEntry::~OpenDialogEntry() {
  const auto found =
      std::find_if(openDialogs.rbegin(), openDialogs.rend(),
                   [this](const OpenDialog& open) { return open.window == window_; });
  if (found != openDialogs.rend()) openDialogs.erase(std::next(found).base());
}

std::optional<int> OpenDialogTemplate(WindowHandle window) {
  for (const OpenDialog& open : openDialogs) {
    if (open.window == window) return open.templateId;
  }
  return std::nullopt;
}

WindowHandle InnermostOpenDialog() {
  return openDialogs.empty() ? nullptr : openDialogs.back().window;
}

}  // namespace platform::scripted
