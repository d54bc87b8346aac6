// Push buttons, check boxes, radio buttons and group boxes: one Win32 class,
// told apart by the type bits of the style.
#pragma once

#include "platform/simulated/headless_control.h"

namespace platform::simulated {

class Button : public Control {
 public:
  static constexpr int kUnchecked = 0;
  static constexpr int kChecked = 1;
  static constexpr int kIndeterminate = 2;

  using Control::Control;
  std::string_view kind() const override;
  std::string ClassName() const override { return "BUTTON"; }
  // BM_GETCHECK / BM_SETCHECK.
  std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

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

  ControlSnapshot Snapshot() const override;

 private:
  int check_ = kUnchecked;
};

}  // namespace platform::simulated
