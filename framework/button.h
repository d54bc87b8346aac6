// Push buttons, check boxes, radio buttons and group boxes: one Win32 class,
// told apart by the type bits of the style.
#pragma once

#include "framework/control.h"
#include "platform/window_constants.h"

namespace framework {

class Button : public Control {
 public:
  static constexpr int kUnchecked = 0;
  static constexpr int kChecked = 1;
  static constexpr int kIndeterminate = 2;

  using Control::Control;

  // BM_GETCHECK / BM_SETCHECK (no notification).
  int GetCheck() const { return static_cast<int>(Send(platform::window::kBmGetCheck)); }
  void SetCheck(int state) {
    Send(platform::window::kBmSetCheck, static_cast<std::uintptr_t>(state));
  }
};

}  // namespace framework
