// A scroll bar control: a range, a position and two arrows that can be
// disabled. It does not move itself: the user's scrolling goes to the dialog
// as WM_VSCROLL / WM_HSCROLL, and the dialog sets the position.
#pragma once

#include <utility>

#include "framework/control.h"
#include "platform/window_constants.h"

namespace framework {

class ScrollBar : public Control {
 public:
  using Control::Control;
  bool IsVertical() const { return (style() & platform::window::kSbsVert) != 0; }

  // SetScrollRange / GetScrollRange; the position is kept inside the range.
  void SetScrollRange(int minimum, int maximum) {
    Send(platform::window::kSbmSetRange, static_cast<std::uintptr_t>(minimum), maximum);
  }
  int minimum() const { return Range().first; }
  int maximum() const { return Range().second; }
  // SetScrollPos: returns the previous position. GetScrollPos.
  int SetScrollPos(int position) {
    return static_cast<int>(
        Send(platform::window::kSbmSetPos, static_cast<std::uintptr_t>(position), 1));
  }
  int GetScrollPos() const { return static_cast<int>(Send(platform::window::kSbmGetPos)); }

  // EnableScrollBar with ESB_* flags; ESB_ENABLE_BOTH and ESB_DISABLE_BOTH
  // also enable or disable the control itself.
  bool EnableScrollBar(unsigned arrows) {
    return Send(platform::window::kSbmEnableArrows, arrows) != 0;
  }

 private:
  std::pair<int, int> Range() const {
    int low = 0;
    int high = 0;
    Send(platform::window::kSbmGetRange, reinterpret_cast<std::uintptr_t>(&low), Pointer(&high));
    return {low, high};
  }
};

}  // namespace framework
