// The user script: what a simulated user does to the module's dialogs, one
// statement after another. One parser serves VX5PRCFG_USER, the CLI's --user,
// the terminal user and the tests.
//
// Statements are separated by ";" or line breaks:
//   dialog ID                  the next dialog must be template ID
//   type CTL TEXT              keystrokes into CTL, one character at a time
//   paste CTL TEXT             TEXT pasted into CTL
//   clear CTL                  CTL's whole text deleted
//   click CTL                  a button clicked
//   select CTL INDEX           item INDEX of a combo box or list view
//   check CTL 0|1              a check box set or cleared
//   scroll CTL lineup|linedown|pageup|pagedown|thumb POS
//   pick CTL YYYY-MM-DD HH:MM  a date-time picker's moment
//   key CHAR                   one keystroke to the focused control
//   enter | escape | close     the Enter key, the Escape key, the close box
//   dump                       every control's state recorded
// TEXT and CHAR are quoted with double quotes when they hold blanks or ";"
// (\" and \\ inside quotes). Texts are UTF-8; a statement's line starting
// with "#" is a comment. `type`, `paste` and `clear` click into the field
// first, which puts the caret after its text; `key` goes to the focused
// control as it is.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_host.h"

namespace platform::scripted {

inline constexpr const char* kUserVariable = "VX5PRCFG_USER";

struct ScriptStatement {
  enum class Kind { Dialog, Action };
  Kind kind = Kind::Action;
  int dialogId = 0;    // Kind::Dialog
  UserAction action;   // Kind::Action; texts in UTF-8
  std::string source;  // the statement as written
};

class UserScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws UserScriptError naming the statement (its number and text) and
// what is wrong with it.
std::vector<ScriptStatement> ParseUserScript(std::string_view script);

// The action with its texts converted from UTF-8 to the ANSI code page.
UserAction ToAnsiAction(const UserAction& action, std::uint32_t codePage);

}  // namespace platform::scripted
