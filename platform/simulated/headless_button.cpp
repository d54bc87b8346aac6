#include "platform/simulated/headless_button.h"

#include "platform/window_constants.h"

namespace platform::simulated {

using namespace window;

std::uint32_t Button::type() const { return style() & kBsTypeMask; }

bool Button::IsPushButton() const { return type() == kBsPushButton || type() == kBsDefPushButton; }

bool Button::IsDefault() const { return type() == kBsDefPushButton; }

bool Button::IsCheckBox() const {
  const std::uint32_t t = type();
  return t == kBsCheckBox || t == kBsAutoCheckBox || t == kBs3State || t == kBsAuto3State;
}

bool Button::IsRadioButton() const {
  return type() == kBsRadioButton || type() == kBsAutoRadioButton;
}

bool Button::IsAutomatic() const {
  const std::uint32_t t = type();
  return t == kBsAutoCheckBox || t == kBsAuto3State || t == kBsAutoRadioButton;
}

std::string_view Button::kind() const {
  if (IsCheckBox()) return "check box";
  if (IsRadioButton()) return "radio button";
  if (type() == kBsGroupBox) return "group box";
  return "button";
}

std::intptr_t Button::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (message == kBmGetCheck) return check_;
  if (message == kBmSetCheck) {
    SetCheck(static_cast<int>(wParam));
    return 0;
  }
  return Control::Send(message, wParam, lParam);
}

bool Button::Click() {
  if (!TakesInput() || type() == kBsGroupBox) return false;
  if (IsAutomatic()) {
    if (IsRadioButton()) {
      check_ = kChecked;
    } else if (type() == kBsAuto3State) {
      check_ = (check_ + 1) % 3;
    } else {
      check_ = check_ == kChecked ? kUnchecked : kChecked;
    }
  }
  NotifyCommand(kBnClicked);
  return true;
}

ControlSnapshot Button::Snapshot() const {
  ControlSnapshot snapshot = Control::Snapshot();
  snapshot.checked = check_;
  return snapshot;
}

}  // namespace platform::simulated
