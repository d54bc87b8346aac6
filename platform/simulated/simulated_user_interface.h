// The user interface of the simulated machine: nobody sits at it, so a
// message box is answered with its only button and recorded.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/scripted/trace.h"
#include "platform/user_interface.h"

namespace platform::simulated {

struct MessageBoxRecord {
  std::optional<int> ownerTemplateId;  // the owning dialog's template, if any
  std::string text;                    // ANSI code page
  std::string caption;                 // ANSI code page
  unsigned type = kMbOk;
  int result = kIdOk;
};

class SimulatedUserInterface : public UserInterface {
 public:
  // Names the dialog template of an owner window; the dialog host sets it.
  using OwnerResolver = std::function<std::optional<int>(WindowHandle)>;

  explicit SimulatedUserInterface(scripted::Trace& trace) : trace_(trace) {}

  int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption,
                 unsigned type) override;
  void SetWaitCursor(bool) override {}

  void SetOwnerResolver(OwnerResolver resolver) { ownerResolver_ = std::move(resolver); }
  const std::vector<MessageBoxRecord>& messageBoxes() const { return messageBoxes_; }

 private:
  scripted::Trace& trace_;
  OwnerResolver ownerResolver_;
  std::vector<MessageBoxRecord> messageBoxes_;
};

}  // namespace platform::simulated
