// The user interface over USER32: message boxes, the wait cursor and the
// topmost placement the prompts ask for.
#pragma once

#include "platform/user_interface.h"

namespace platform::win32 {

class Win32UserInterface : public UserInterface {
 public:
  // MessageBoxA. An owner that is no window (a dialog not shown as one)
  // gives the box no owner rather than a handle the system refuses. With a
  // user script the box is recorded and answered instead (ScriptSession).
  int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption,
                 unsigned type) override;
  // The hourglass on; off puts back the cursor it replaced. The module may
  // turn it on more than once before turning it off.
  void SetWaitCursor(bool waiting) override;

  // SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE |
  // SWP_NOOWNERZORDER), as the topmost prompts do when they start; false
  // when `window` is no window.
  static bool MakeTopmost(WindowHandle window);

 private:
  bool waiting_ = false;
  void* replacedCursor_ = nullptr;
};

}  // namespace platform::win32
