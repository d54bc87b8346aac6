// The window side of a dialog's controls: text, style, enabled and visible
// state, and the notifications a control sends its dialog. Each kind of
// control derives from Control and keeps the behaviour Win32 gives it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dialog_host.h"

namespace framework {

// WM_NOTIFY's details, cut to what the prompts read.
struct Notification {
  int control = 0;
  int code = 0;
  int item = -1;  // list views: the item concerned
  unsigned oldState = 0;
  unsigned newState = 0;
};

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

class Control {
 public:
  Control(ControlOwner& owner, int id, std::uint32_t style, std::string text);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  int id() const { return id_; }
  std::uint32_t style() const { return style_; }
  // The kind a user sees: "edit", "button", "check box", ...
  virtual std::string_view kind() const = 0;

  // ModifyStyle: removes then adds style bits.
  void ModifyStyle(std::uint32_t remove, std::uint32_t add);

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
  virtual platform::ControlSnapshot Snapshot() const;

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
};

// Case-insensitive (ASCII) comparison of ANSI texts, as the list controls
// compare their items.
int CompareNoCase(std::string_view left, std::string_view right);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace framework
