// The framework's control objects: each stands for one control window of a
// running dialog and speaks to it through the window interface, with the
// control's own messages. They keep no state of their own; the window does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window.h"

namespace framework {

// WM_NOTIFY's details, cut to what the prompts read.
using Notification = platform::ControlNotification;

class Control {
 public:
  Control(platform::ControlWindow& window, platform::DialogWindow& dialog)
      : window_(window), dialog_(dialog) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  int id() const { return window_.Id(); }
  std::uint32_t style() const { return window_.Style(); }

  // ModifyStyle: removes then adds style bits.
  void ModifyStyle(std::uint32_t remove, std::uint32_t add) { window_.ModifyStyle(remove, add); }

  // GetWindowTextA / SetWindowTextA.
  std::string GetWindowText() const { return window_.Text(); }
  void SetWindowText(std::string_view text) { window_.SetText(text); }

  bool IsWindowEnabled() const { return window_.IsEnabled(); }
  void EnableWindow(bool enable) { window_.Enable(enable); }
  bool IsWindowVisible() const { return window_.IsVisible(); }
  void ShowWindow(bool show) { window_.Show(show); }

  // SetFocus.
  void SetFocus() { dialog_.SetFocus(id()); }

 protected:
  // SendMessageA to the control.
  std::intptr_t Send(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) const {
    return window_.Send(message, wParam, lParam);
  }
  template <class T>
  static std::intptr_t Pointer(T* pointer) {
    return reinterpret_cast<std::intptr_t>(pointer);
  }

 private:
  platform::ControlWindow& window_;
  platform::DialogWindow& dialog_;
};

// A static text, picture or frame, or a control of a class the framework
// has no object for.
class StaticText : public Control {
 public:
  using Control::Control;
};

}  // namespace framework
