// A real dialog as a user script sees it: its controls read back as a person
// would see them (a `dump`), and the script's actions turned into the input
// a person's keyboard and mouse would give, posted to the dialog's own
// message loop. Keystrokes reach the dialog only once the loop has handled
// them: whether they were taken is told afterwards (Settle).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/dialog_host.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

class ScriptedDialog : public HostedDialog {
 public:
  ScriptedDialog(HWND window, int templateId) : window_(window), templateId_(templateId) {}

  void Create() override {}  // the window exists already
  int TemplateId() const override { return templateId_; }
  std::string Title() const override;
  std::vector<ControlSnapshot> Snapshot() const override;
  bool Apply(const UserAction& action) override;
  bool Settle() override;
  bool IsOpen() const override { return !ended_; }
  // The modal loop's own answer counts; this one is never asked for.
  int Result() const override { return 0; }
  void End(int result) override;

  // The dialog has ended (EndDialog): nothing more is played on it.
  void MarkEnded() { ended_ = true; }

 private:
  HWND Control(int id) const;
  // The control `id` when it is of `windowClass` and takes input (enabled and
  // shown), as a person could use it.
  HWND InputControl(int id, const char* windowClass) const;
  bool TypeText(HWND control, std::string_view text);
  bool Paste(HWND edit, std::string_view text);
  bool Clear(HWND edit);
  bool Click(HWND button);
  bool Select(int id, int index);
  bool Check(int id, int state);
  bool Scroll(int id, int code, int position);
  bool Pick(int id, const SystemTime& time);
  bool PressKey(std::string_view character);
  bool PressEnter();
  // Where the keyboard's input goes: the focused control, or the dialog.
  HWND KeyboardTarget() const;
  // The control, focused as by a click, with the caret after its text.
  void ClickInto(HWND control);
  void PostKey(HWND target, unsigned virtualKey);
  void PostCharacters(HWND target, std::string_view text);

  HWND window_;
  int templateId_;
  bool ended_ = false;
  // Tells, once the posted input has been handled, whether it was taken.
  std::function<bool()> settle_;
};

}  // namespace platform::win32
