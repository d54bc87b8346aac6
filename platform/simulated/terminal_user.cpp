#include "platform/simulated/terminal_user.h"

#include <sstream>
#include <string>

#include "platform/machine.h"
#include "platform/simulated/code_pages.h"

namespace platform::simulated {
namespace {

constexpr std::string_view kPrompt = "> ";
constexpr std::string_view kHelpWord = "help";
constexpr std::string_view kHelp =
    "statements (separate several with \";\"):\n"
    "  type CTL TEXT | paste CTL TEXT | clear CTL | click CTL | select CTL INDEX\n"
    "  check CTL 0|1 | scroll CTL lineup|linedown|pageup|pagedown|thumb POS\n"
    "  pick CTL YYYY-MM-DD HH:MM | key CHAR | enter | escape | close | dump\n"
    "  quote a TEXT with blanks or \";\" in double quotes; end of input closes the dialog\n";

std::string Utf8(std::uint32_t codePage, std::string_view ansi) {
  return Utf16ToUtf8(FromAnsi(codePage, ansi));
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted.push_back('\\');
    quoted.push_back(c);
  }
  return quoted + "\"";
}

}  // namespace

std::string DescribeDialog(const HostedDialog& dialog, std::uint32_t codePage) {
  std::ostringstream text;
  text << "[dialog " << dialog.TemplateId() << "] " << Utf8(codePage, dialog.Title()) << '\n';
  for (const ControlSnapshot& control : dialog.Snapshot()) {
    text << "  " << control.id << ' ' << control.kind;
    if (control.kind != "list view" && control.kind != "scroll bar") {
      text << ' ' << Quoted(Utf8(codePage, control.text));
    }
    if (!control.enabled) text << " disabled";
    if (!control.visible) text << " hidden";
    if (control.kind == "check box" || control.kind == "radio button") {
      text << (control.checked != 0 ? " checked" : " unchecked");
    }
    if (control.kind == "edit" && control.selectionStart != control.selectionEnd) {
      text << " selected " << control.selectionStart << '-' << control.selectionEnd;
    }
    if (control.kind == "combo box" || control.kind == "list view") {
      text << " selection " << control.selectionStart << " items";
      for (std::size_t i = 0; i < control.items.size(); ++i) {
        text << ' ' << i << '=' << Quoted(Utf8(codePage, control.items[i]));
      }
    }
    if (control.kind == "scroll bar") {
      text << " position " << control.scrollPosition;
      if (!control.lineUpEnabled) text << " up-arrow-disabled";
      if (!control.lineDownEnabled) text << " down-arrow-disabled";
    }
    text << '\n';
  }
  return text.str();
}

void TerminalUser::Show(const HostedDialog& dialog) {
  out_ << DescribeDialog(dialog, CurrentMachine().kernel().AnsiCodePage()) << kPrompt;
  out_.flush();
}

std::optional<scripted::ScriptStatement> TerminalUser::Next(const HostedDialog& dialog) {
  while (pending_.empty()) {
    Show(dialog);
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    if (line == kHelpWord) {
      out_ << kHelp;
      continue;
    }
    try {
      for (scripted::ScriptStatement& statement : scripted::ParseUserScript(line)) {
        pending_.push_back(std::move(statement));
      }
    } catch (const scripted::UserScriptError& error) {
      out_ << error.what() << '\n';
    }
  }
  scripted::ScriptStatement next = std::move(pending_.front());
  pending_.pop_front();
  return next;
}

void TerminalUser::PutBack(scripted::ScriptStatement statement) {
  pending_.push_front(std::move(statement));
}

}  // namespace platform::simulated
