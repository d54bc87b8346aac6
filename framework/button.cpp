#include "framework/button.h"

#include "framework/window_constants.h"

namespace framework {

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

platform::ControlSnapshot Button::Snapshot() const {
  platform::ControlSnapshot snapshot = Control::Snapshot();
  snapshot.checked = check_;
  return snapshot;
}

}  // namespace framework
