#include "platform/simulated/headless_scroll_bar.h"

#include <algorithm>

#include "platform/user_input.h"
#include "platform/window_constants.h"

namespace platform::simulated {

using namespace window;

std::intptr_t ScrollBar::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  switch (message) {
    case kSbmSetPos:
      return SetScrollPos(static_cast<int>(wParam));
    case kSbmGetPos:
      return position_;
    case kSbmSetRange:
      SetScrollRange(static_cast<int>(wParam), static_cast<int>(lParam));
      return 1;
    case kSbmGetRange:
      if (wParam != 0) *reinterpret_cast<int*>(wParam) = minimum_;
      if (lParam != 0) *reinterpret_cast<int*>(lParam) = maximum_;
      return 1;
    case kSbmEnableArrows:
      return EnableScrollBar(static_cast<unsigned>(wParam)) ? 1 : 0;
    default:
      return Control::Send(message, wParam, lParam);
  }
}

bool ScrollBar::IsVertical() const { return (style() & kSbsVert) != 0; }

void ScrollBar::SetScrollRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  position_ = std::clamp(position_, minimum_, maximum_);
}

int ScrollBar::SetScrollPos(int position) {
  const int previous = position_;
  position_ = std::clamp(position, minimum_, maximum_);
  return previous;
}

bool ScrollBar::EnableScrollBar(unsigned arrows) {
  const unsigned disabled = arrows & kEsbDisableBoth;
  // A scroll bar control is enabled or disabled as a window with both its
  // arrows, whether or not the arrows change.
  if (disabled == kEsbEnableBoth || disabled == kEsbDisableBoth) {
    EnableWindow(disabled == kEsbEnableBoth);
  }
  if (disabled == disabledArrows_) return false;
  disabledArrows_ = disabled;
  return true;
}

bool ScrollBar::IsLineUpEnabled() const { return (disabledArrows_ & kEsbDisableUp) == 0; }

bool ScrollBar::IsLineDownEnabled() const { return (disabledArrows_ & kEsbDisableDown) == 0; }

bool ScrollBar::Scroll(int code, int position) {
  if (!TakesInput()) return false;
  const auto sent =
      UserScroll(code, position, IsLineUpEnabled(), IsLineDownEnabled(), minimum_, maximum_);
  if (!sent) return false;
  for (const ScrollNotification& notification : *sent)
    Send(notification.code, notification.position);
  return true;
}

void ScrollBar::Send(int code, int position) {
  owner().OnControlScroll(id(), IsVertical(), code, position);
}

ControlSnapshot ScrollBar::Snapshot() const {
  ControlSnapshot snapshot = Control::Snapshot();
  snapshot.scrollPosition = position_;
  // A disabled scroll bar shows both its arrows disabled, whatever their own state.
  snapshot.lineUpEnabled = IsWindowEnabled() && IsLineUpEnabled();
  snapshot.lineDownEnabled = IsWindowEnabled() && IsLineDownEnabled();
  return snapshot;
}

}  // namespace platform::simulated
