// The window interface: what the framework needs of real windows, and no
// more. A modal dialog is created from a template; its controls are found by
// id and told things with their Win32 messages (platform/window_constants.h:
// EM_, BM_, CB_, LVM_, DTM_, SBM_, STM_), texts in the ANSI code page. The
// dialog's notifications come back through DialogEvents. The simulated
// machine implements it headless (platform/simulated/), the Windows build
// over user32 and comctl32 (platform/win32/).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace resources {
struct DialogTemplate;
}

namespace platform {

// WM_NOTIFY's details, cut to what the prompts read.
struct ControlNotification {
  int control = 0;
  int code = 0;
  int item = -1;  // list views: the item concerned
  unsigned oldState = 0;
  unsigned newState = 0;
};

// LVM_INSERTITEM, LVM_SETITEM, LVM_GETITEM, LVM_SETITEMSTATE, LVM_GETITEMTEXT
// and LVM_SETITEMTEXT take one of these (LVITEMA's fields; `mask` says
// which count, kLvif*). A text read is written into `text`, up to
// `textCapacity` bytes with the NUL.
struct ListViewItem {
  unsigned mask = 0;
  int item = 0;
  int subItem = 0;
  unsigned state = 0;
  unsigned stateMask = 0;
  char* text = nullptr;
  int textCapacity = 0;
  int image = -1;
  std::intptr_t param = 0;
};

// LVM_SETIMAGELIST's list: images of one size cut from .bmp files (the
// module's own bitmaps), left to right, `maskColour` transparent where the
// list is masked. A window system that draws makes its own list from them.
struct ImageStrip {
  std::span<const std::uint8_t> bmpFile;  // BITMAPFILEHEADER first; lives as long as the module
  std::uint32_t maskColour = 0;
};
struct ImageListPictures {
  int imageWidth = 0;
  int imageHeight = 0;
  bool masked = false;
  std::vector<ImageStrip> strips;
  const void* owner = nullptr;  // the list these pictures are of, for LVM_GETIMAGELIST
};

// LVM_INSERTCOLUMN's column.
struct ListViewColumn {
  const char* heading = "";
  int width = 0;
};

// One control of a dialog window.
class ControlWindow {
 public:
  virtual ~ControlWindow() = default;
  virtual int Id() const = 0;
  // The window class as the template names it ("EDIT", "SysListView32", ...).
  virtual std::string ClassName() const = 0;
  virtual std::uint32_t Style() const = 0;
  // Removes then adds style bits.
  virtual void ModifyStyle(std::uint32_t remove, std::uint32_t add) = 0;
  // GetWindowTextA / SetWindowTextA (WM_SETTEXT).
  virtual std::string Text() const = 0;
  virtual void SetText(std::string_view text) = 0;
  virtual bool IsEnabled() const = 0;
  virtual void Enable(bool enable) = 0;
  // The control's own WS_VISIBLE, whether or not its dialog is on screen yet.
  virtual bool IsVisible() const = 0;
  virtual void Show(bool show) = 0;
  // SendMessageA with the control messages of window_constants.h.
  virtual std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

// A dialog's own window.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;
  // The controls in template order (tab order).
  virtual std::vector<ControlWindow*> Controls() = 0;
  // GetDlgItem: the first control with `id`, or null.
  virtual ControlWindow* Control(int id) = 0;
  virtual std::string Title() const = 0;
  virtual void SetTitle(std::string_view title) = 0;
  // SetWindowPos with HWND_TOPMOST (true) or HWND_NOTOPMOST (false).
  virtual void SetTopmost(bool topmost) = 0;
  // The control with the keyboard focus (0: none) / SetFocus.
  virtual int Focus() const = 0;
  virtual void SetFocus(int id) = 0;
  // EndDialog: the modal run ends with `result` once the handler returns.
  virtual void End(int result) = 0;
  // The handle message boxes are owned by.
  virtual WindowHandle Handle() = 0;
};

// What a dialog window tells the code behind it.
class DialogEvents {
 public:
  enum class KeyMessage { kKeyDown, kChar, kKeyUp };

  virtual ~DialogEvents() = default;
  // WM_INITDIALOG: the window and its controls exist. True lets the window
  // give the focus to its first tab stop.
  virtual bool WindowInitDialog(DialogWindow& window) = 0;
  virtual void WindowCommand(int control, int code) = 0;                   // WM_COMMAND
  virtual void WindowNotify(const ControlNotification& notification) = 0;  // WM_NOTIFY
  // WM_VSCROLL / WM_HSCROLL from a scroll bar control.
  virtual void WindowScroll(int control, bool vertical, int code, int position) = 0;
  // A keyboard message to the window itself (no control has the focus):
  // true hands it on to the default processing.
  virtual bool WindowKey(KeyMessage message, std::string_view character) = 0;
  // WM_DESTROY: the window and its controls are about to go.
  virtual void WindowDestroy(DialogWindow& window) = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Creates the modal dialog of `dialogTemplate` (the module's own template
  // when `fromModule`), runs it on the calling thread until it ends, and
  // returns what it ended with, or -1 when it could not be created.
  virtual int RunModalDialog(const resources::DialogTemplate& dialogTemplate, bool fromModule,
                             DialogEvents& events) = 0;
};

// The platform's window system (one per process, made on first use).
WindowSystem& CurrentWindowSystem();

}  // namespace platform
