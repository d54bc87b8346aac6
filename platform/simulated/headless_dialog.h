// A dialog window of the simulated machine: its headless controls, built from
// the template, and the user's actions on them (keystrokes, clicks, Enter,
// Escape, ...) as Win32's dialog manager handles them. The dialog host runs
// it; the code behind it hears of it through DialogEvents.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_host.h"
#include "platform/simulated/headless_control.h"
#include "platform/window.h"
#include "resources/resources.h"

namespace platform::simulated {

class Button;

class HeadlessDialog : public HostedDialog, public DialogWindow, private ControlOwner {
 public:
  HeadlessDialog(const resources::DialogTemplate& dialogTemplate, DialogEvents& events);
  ~HeadlessDialog() override;
  HeadlessDialog(const HeadlessDialog&) = delete;
  HeadlessDialog& operator=(const HeadlessDialog&) = delete;

  // The code behind the window (tests reach the dialog class through it).
  DialogEvents& events() const { return events_; }
  bool IsTopmost() const { return topmost_; }

  // HostedDialog
  void Create() override;
  int TemplateId() const override { return template_.id; }
  std::string Title() const override { return title_; }
  std::vector<ControlSnapshot> Snapshot() const override;
  bool Apply(const UserAction& action) override;
  bool IsOpen() const override { return open_; }
  int Result() const override { return result_; }
  void End(int result) override;

  // DialogWindow
  std::vector<ControlWindow*> Controls() override;
  ControlWindow* Control(int id) override { return Find(id); }
  void SetTitle(std::string_view title) override { title_.assign(title); }
  void SetTopmost(bool topmost) override { topmost_ = topmost; }
  int Focus() const override { return focus_; }
  void SetFocus(int id) override;
  WindowHandle Handle() override { return WindowOf(*this); }

  // The window is gone: its controls with it, once the host is done.
  void Destroy();

 private:
  // ControlOwner
  void OnControlCommand(int control, int notification) override;
  void OnControlNotify(const Notification& notification) override;
  void OnControlScroll(int control, bool vertical, int code, int position) override;
  void OnControlFocus(int control) override { focus_ = control; }
  std::uint32_t AnsiCodePage() const override;

  std::unique_ptr<simulated::Control> CreateControl(const resources::DialogControl& control);
  simulated::Control* Find(int id) const;
  template <class T>
  T* Item(int id) const {
    return dynamic_cast<T*>(Find(id));
  }
  // The control `id` when it is a T that takes user input.
  template <class T>
  T* InputTarget(int id) const;
  void SetInitialFocus();
  bool ClickButton(int id);
  void ClearRadioGroup(const simulated::Control& chosen);
  bool TypeText(int id, std::string_view text);
  bool PressKey(std::string_view character);
  bool SendKeyToWindow(std::string_view character);
  bool PressEnter();
  const Button* DefaultButton() const;
  int DefaultButtonId() const;

  const resources::DialogTemplate& template_;
  DialogEvents& events_;
  std::vector<std::unique_ptr<simulated::Control>> controls_;
  std::string title_;
  bool topmost_ = false;
  bool open_ = true;
  bool destroyed_ = false;
  int result_ = 0;
  int focus_ = 0;
};

}  // namespace platform::simulated
