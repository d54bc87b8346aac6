// A person at a terminal: before each statement the dialog is shown (title
// and controls with their ids, kinds, texts and states) and one line of
// user-script statements is read from the keyboard.
#pragma once

#include <deque>
#include <istream>
#include <ostream>

#include "platform/simulated/headless_dialog_host.h"

namespace platform::simulated {

class TerminalUser : public User {
 public:
  TerminalUser(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  std::optional<scripted::ScriptStatement> Next(const HostedDialog& dialog) override;
  void PutBack(scripted::ScriptStatement statement) override;

 private:
  void Show(const HostedDialog& dialog);

  std::istream& in_;
  std::ostream& out_;
  std::deque<scripted::ScriptStatement> pending_;
};

// The dialog as the terminal shows it; texts converted from `codePage` to UTF-8.
std::string DescribeDialog(const HostedDialog& dialog, std::uint32_t codePage);

}  // namespace platform::simulated
