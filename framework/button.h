// Push buttons, check boxes, radio buttons and group boxes: one Win32 class,
// told apart by the type bits of the style.
#pragma once

#include "framework/control.h"

namespace framework {

class Button : public Control {
 public:
  static constexpr int kUnchecked = 0;
  static constexpr int kChecked = 1;
  static constexpr int kIndeterminate = 2;

  using Control::Control;
  std::string_view kind() const override;

  std::uint32_t type() const;
  bool IsPushButton() const;
  bool IsDefault() const;
  bool IsCheckBox() const;
  bool IsRadioButton() const;
  bool IsAutomatic() const;  // checks itself when clicked

  // BM_GETCHECK / BM_SETCHECK (no notification).
  int GetCheck() const { return check_; }
  void SetCheck(int state) { check_ = state; }

  // The user's click: an automatic button changes its own check state first;
  // then BN_CLICKED. False for a disabled or hidden button or a group box.
  // (Automatic radio buttons clear their group through the dialog.)
  bool Click();

  platform::ControlSnapshot Snapshot() const override;

 private:
  int check_ = kUnchecked;
};

}  // namespace framework
