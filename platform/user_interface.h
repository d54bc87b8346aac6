// User interface services: message boxes and the wait cursor. Dialogs run
// through the dialog host of the framework.
#pragma once

#include <string_view>

#include "platform/win_types.h"

namespace platform {

inline constexpr unsigned kMbOk = 0x0;  // MB_OK: one OK button, no icon
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // MessageBoxA: texts in the ANSI code page; returns the button pressed.
  virtual int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption,
                         unsigned type) = 0;
  // The hourglass while the module waits on the device.
  virtual void SetWaitCursor(bool waiting) = 0;
};

}  // namespace platform
