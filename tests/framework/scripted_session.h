// Test surroundings for dialogs: a simulated machine whose trace is kept in
// memory and a headless dialog host acting out a user script.
#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_host.h"
#include "platform/scripted/user_script.h"
#include "platform/simulated/headless_control.h"
#include "platform/simulated/headless_dialog.h"
#include "platform/simulated/headless_dialog_host.h"
#include "platform/simulated/simulated_machine.h"
#include "platform/user_interface.h"

namespace framework::testing {

// A user acting out `script` on the dialogs shown while it lives.
class ScriptedUser {
 public:
  explicit ScriptedUser(std::string_view script)
      : previousHost_(
            platform::InstallDialogHost(std::make_unique<platform::simulated::HeadlessDialogHost>(
                std::make_unique<platform::simulated::ScriptUser>(
                    platform::scripted::ParseUserScript(script))))) {}
  ~ScriptedUser() { platform::InstallDialogHost(std::move(previousHost_)); }
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

 private:
  std::unique_ptr<platform::DialogHost> previousHost_;
};

class ScriptedSession {
 public:
  explicit ScriptedSession(std::string_view script, std::string_view machineLines = "")
      : machine_(platform::simulated::SimulatedMachine::FromRegistryLines(machineLines)),
        user_(script) {}

  platform::simulated::SimulatedMachine& machine() { return *machine_; }

  // The trace records of one event kind, in order.
  std::vector<nlohmann::json> Events(std::string_view event) {
    std::vector<nlohmann::json> found;
    for (const nlohmann::json& record : machine_->trace().records()) {
      if (record.value("event", "") == event) found.push_back(record);
    }
    return found;
  }
  const std::vector<platform::simulated::MessageBoxRecord>& messageBoxes() {
    return machine_->simulatedUi().messageBoxes();
  }

 private:
  platform::simulated::ScopedMachine machine_;
  ScriptedUser user_;
};

// Control `id`'s part of a dump record (null when the dump has no such control).
inline nlohmann::json ControlOf(const nlohmann::json& dump, int id) {
  for (const nlohmann::json& control : dump["controls"]) {
    if (control["id"] == id) return control;
  }
  return {};
}

// A host that builds the dialog, hands it to the test, and closes it as
// cancelled if the test left it open.
class CallbackHost : public platform::DialogHost {
 public:
  explicit CallbackHost(std::function<void(platform::HostedDialog&)> act) : act_(std::move(act)) {}
  void RunModal(platform::HostedDialog& dialog) override {
    dialog.Create();
    act_(dialog);
    if (dialog.IsOpen()) dialog.End(platform::kIdCancel);
  }

 private:
  std::function<void(platform::HostedDialog&)> act_;
};

// The dialog class behind a dialog window the host is running.
template <class D>
D& DialogOf(platform::HostedDialog& hosted) {
  return dynamic_cast<D&>(dynamic_cast<platform::simulated::HeadlessDialog&>(hosted).events());
}

// A window that records what its controls tell it.
class RecordingOwner : public platform::simulated::ControlOwner {
 public:
  struct Event {
    int control;
    int code;
    bool operator==(const Event&) const = default;
  };
  void OnControlCommand(int control, int notification) override {
    commands.push_back({control, notification});
  }
  void OnControlNotify(const platform::ControlNotification& notification) override {
    notifications.push_back(notification);
  }
  void OnControlScroll(int control, bool, int code, int position) override {
    scrolls.push_back({control, code});
    positions.push_back(position);
  }
  void OnControlFocus(int control) override { focus = control; }
  std::uint32_t AnsiCodePage() const override { return 1252; }

  std::vector<Event> commands;
  std::vector<platform::ControlNotification> notifications;
  std::vector<Event> scrolls;
  std::vector<int> positions;
  int focus = 0;
};

// "0a" -> the bytes of a hex text, for reading trace records.
inline std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

}  // namespace framework::testing
