// The headless controls of the simulated machine: text, style, enabled and
// visible state, and the notifications a control sends its dialog. Each kind
// of control derives from Control and keeps the behaviour Win32 gives it;
// the framework reaches it through the window interface (Send).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dialog_host.h"
#include "platform/window.h"

namespace platform::simulated {

using Notification = ControlNotification;

// What a control reports to the window that holds it (the dialog).
class ControlOwner {
 public:
  virtual ~ControlOwner() = default;
  virtual void OnControlCommand(int control, int notification) = 0;    // WM_COMMAND
  virtual void OnControlNotify(const Notification& notification) = 0;  // WM_NOTIFY
  // WM_VSCROLL / WM_HSCROLL from a scroll bar control.
  virtual void OnControlScroll(int control, bool vertical, int code, int position) = 0;
  virtual void OnControlFocus(int control) = 0;  // the control took the focus
  virtual std::uint32_t AnsiCodePage() const = 0;
};

class Control : public ControlWindow {
 public:
  Control(ControlOwner& owner, int id, std::uint32_t style, std::string text);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  int id() const { return id_; }
  std::uint32_t style() const { return style_; }
  // The kind a user sees: "edit", "button", "check box", ...
  virtual std::string_view kind() const = 0;

  // ControlWindow
  int Id() const override { return id_; }
  std::uint32_t Style() const override { return style_; }
  void ModifyStyle(std::uint32_t remove, std::uint32_t add) override;
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override { SetWindowText(text); }
  bool IsEnabled() const override { return enabled_; }
  void Enable(bool enable) override { EnableWindow(enable); }
  bool IsVisible() const override { return visible_; }
  void Show(bool show) override { ShowWindow(show); }
  // Messages a kind of control does not know answer 0.
  std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

  // GetWindowTextA / SetWindowTextA.
  const std::string& GetWindowText() const { return text_; }
  virtual void SetWindowText(std::string_view text);

  bool IsWindowEnabled() const { return enabled_; }
  virtual void EnableWindow(bool enable) { enabled_ = enable; }
  bool IsWindowVisible() const { return visible_; }
  void ShowWindow(bool show) { visible_ = show; }
  // A disabled or hidden control takes no user input.
  bool TakesInput() const { return enabled_ && visible_; }
  bool IsTabStop() const;

  // SetFocus.
  void SetFocus() { owner_.OnControlFocus(id_); }

  // The state a user sees (and `dump` records).
  virtual ControlSnapshot Snapshot() const;

 protected:
  void NotifyCommand(int notification) { owner_.OnControlCommand(id_, notification); }
  void NotifyOwner(Notification notification);
  ControlOwner& owner() const { return owner_; }
  void set_text(std::string text) { text_ = std::move(text); }

 private:
  ControlOwner& owner_;
  int id_;
  std::uint32_t style_;
  std::string text_;
  bool enabled_;
  bool visible_;
};

// A static text, picture or frame: shows a text, takes no input.
class StaticText : public Control {
 public:
  using Control::Control;
  std::string_view kind() const override { return "static"; }
  std::string ClassName() const override { return "STATIC"; }
  // STM_SETIMAGE / STM_GETIMAGE: keeps the image handle it is given.
  std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  // A picture's text is the name of its resource, which nobody sees: none.
  ControlSnapshot Snapshot() const override;

 private:
  std::intptr_t image_ = 0;
};

// A control of a class without a headless kind of its own: shown, never acted on.
class OtherControl : public Control {
 public:
  OtherControl(ControlOwner& owner, int id, std::uint32_t style, std::string text,
               std::string className)
      : Control(owner, id, style, std::move(text)), className_(std::move(className)) {}
  std::string_view kind() const override { return "control"; }
  std::string ClassName() const override { return className_; }

 private:
  std::string className_;
};

// Case-insensitive (ASCII) comparison of ANSI texts, as the list controls
// compare their items.
int CompareNoCase(std::string_view left, std::string_view right);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace platform::simulated
