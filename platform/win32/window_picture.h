// A picture of a window as the screen shows it, for the pictures of the
// module's dialogs (VX5PRCFG_PICTURES).
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Saves what the screen shows of `window` (its frame and caption included) as
// a 24-bit BMP file at `path`, after making it paint everything pending.
// False when the window is no window, is not shown (a dialog is shown once
// its message queue first runs empty), or the file cannot be written.
bool SaveWindowPicture(HWND window, const std::string& path);

}  // namespace platform::win32
