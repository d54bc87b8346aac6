#include "platform/win32/win32_user_interface.h"

#include <string>

#include "platform/scripted/script_player.h"
#include "platform/win32/win32_script_session.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

int Win32UserInterface::MessageBox(WindowHandle owner, std::string_view text,
                                   std::string_view caption, unsigned type) {
  if (ScriptSession* session = ScriptSession::Current()) {
    // A script's user reads the box and presses its only button, as on the
    // simulated machine: nothing is shown that nobody could answer.
    session->Record(scripted::MessageBoxRecord(scripted::OpenDialogTemplate(owner), text, caption,
                                               type, kIdOk));
    return kIdOk;
  }
  HWND window = static_cast<HWND>(owner);
  if (window != nullptr && IsWindow(window) == FALSE) window = nullptr;
  // The views need not end in a NUL; the API's texts must.
  const std::string boxText(text);
  const std::string boxCaption(caption);
  return ::MessageBoxA(window, boxText.c_str(), boxCaption.c_str(), type);
}

void Win32UserInterface::SetWaitCursor(bool waiting) {
  if (waiting == waiting_) return;
  if (waiting) {
    replacedCursor_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  } else {
    SetCursor(static_cast<HCURSOR>(replacedCursor_));
    replacedCursor_ = nullptr;
  }
  waiting_ = waiting;
}

bool Win32UserInterface::MakeTopmost(WindowHandle window) {
  HWND handle = static_cast<HWND>(window);
  if (handle == nullptr || IsWindow(handle) == FALSE) return false;
  return SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0,
                      SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER) != FALSE;
}

}  // namespace platform::win32
