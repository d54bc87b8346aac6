// A scroll bar control: a range, a position and two arrows that can be
// disabled. It does not move itself: the user's scrolling goes to the dialog
// as WM_VSCROLL / WM_HSCROLL, and the dialog sets the position.
#pragma once

#include "platform/simulated/headless_control.h"

namespace platform::simulated {

class ScrollBar : public Control {
 public:
  using Control::Control;
  std::string_view kind() const override { return "scroll bar"; }
  std::string ClassName() const override { return "SCROLLBAR"; }
  std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool IsVertical() const;

  // SetScrollRange / GetScrollRange; the position is kept inside the range.
  void SetScrollRange(int minimum, int maximum);
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  // SetScrollPos: returns the previous position. GetScrollPos.
  int SetScrollPos(int position);
  int GetScrollPos() const { return position_; }

  // EnableScrollBar with ESB_* flags; ESB_ENABLE_BOTH and ESB_DISABLE_BOTH
  // also enable or disable the control itself.
  bool EnableScrollBar(unsigned arrows);
  bool IsLineUpEnabled() const;
  bool IsLineDownEnabled() const;

  // The user: SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, or a thumb
  // drag to `position`. Each move ends with SB_ENDSCROLL, as in Win32. A
  // disabled arrow refuses its line move.
  bool Scroll(int code, int position = 0);

  ControlSnapshot Snapshot() const override;

 private:
  void Send(int code, int position);

  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  unsigned disabledArrows_ = 0;
};

}  // namespace platform::simulated
