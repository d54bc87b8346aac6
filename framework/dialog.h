// The modal dialog base: has the platform make its window from a dialog
// template, attaches control objects to the window's controls, runs data
// exchange and the class's initialisation, and routes the window's
// notifications through the class's message map.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "framework/control.h"
#include "framework/message_map.h"
#include "platform/window.h"
#include "resources/resources.h"

namespace framework {

class Button;
class DataExchange;

class Dialog : public platform::DialogEvents {
 public:
  // DoModal's answer when the template cannot be found or the window not made.
  static constexpr int kNoTemplate = -1;

  // The module's template `templateId`, looked up when the dialog runs.
  explicit Dialog(int templateId);
  // A template of the caller's (tests, generated dialogs); it must outlive the dialog.
  explicit Dialog(const resources::DialogTemplate& dialogTemplate);
  ~Dialog() override;

  // Runs the dialog on the calling thread; returns what EndDialog was given,
  // or kNoTemplate.
  int DoModal();

  int TemplateId() const { return templateId_; }

  // The window as the platform knows it (message box owner).
  platform::WindowHandle GetSafeHwnd() { return window_ != nullptr ? window_->Handle() : nullptr; }

  void EndDialog(int result);
  // Exchanges every bound field: into the members (true, validating) or into
  // the controls (false). A refused field leaves the dialog open: false.
  bool UpdateData(bool saveAndValidate = true);

  void SetWindowText(std::string_view title);
  std::string GetWindowText() const;
  // SetWindowPos: records the z-order asked for (HWND_TOPMOST and friends).
  bool SetWindowPos(int insertAfter, int x, int y, int cx, int cy, unsigned flags);
  bool IsTopmost() const { return topmost_; }

  // GetDlgItem: the control `id` (the first one, for repeated ids), or null.
  Control* GetDlgItem(int id) const;
  template <class T>
  T* Item(int id) const {
    return dynamic_cast<T*>(GetDlgItem(id));
  }
  bool SetDlgItemText(int id, std::string_view text);
  std::string GetDlgItemText(int id) const;
  // GetDlgItemInt: the leading number of the control's text (blanks before
  // it skipped, a sign when `isSigned`); 0 with `translated` false when the
  // text starts with no number or it overflows.
  int GetDlgItemInt(int id, bool* translated, bool isSigned) const;
  bool SetDlgItemInt(int id, int value, bool isSigned);

  // The control with the keyboard focus (0: none); once the window is gone,
  // the one that had it last.
  int GetFocus() const;
  // GotoDlgCtrl: the focus to `id`, an edit's text selected as a whole.
  void GotoDlgCtrl(int id);

  // MessageBoxA owned by this dialog.
  int MessageBox(std::string_view text, std::string_view caption, unsigned type);

  // One keystroke sent to the dialog window itself (WM_KEYDOWN, WM_CHAR,
  // WM_KEYUP), as when no control has the focus. True when the character
  // reached the window's default processing.
  bool SendKeyToWindow(std::string_view character);

 protected:
  using KeyMessage = platform::DialogEvents::KeyMessage;
  // The window's own keyboard messages: true hands `message` on to the
  // default processing, false drops it.
  virtual bool OnWindowKey(KeyMessage message, std::string_view character);

  // The framework's part: data exchange into the controls. Classes call it
  // first. True lets the dialog give the focus to its first tab stop.
  virtual bool OnInitDialog();
  // The framework's OK: reads and validates the fields, then closes with IDOK.
  virtual void OnOK();
  virtual void OnCancel();
  // The class's bound fields, one line each.
  virtual void DoDataExchange(DataExchange& exchange);
  // The class's message map first, then this: IDOK and IDCANCEL.
  virtual bool RouteMessage(const Message& message);

 private:
  friend class DataExchange;

  // platform::DialogEvents
  bool WindowInitDialog(platform::DialogWindow& window) override;
  void WindowCommand(int control, int code) override;
  void WindowNotify(const Notification& notification) override;
  void WindowScroll(int control, bool vertical, int code, int position) override;
  bool WindowKey(KeyMessage message, std::string_view character) override;
  void WindowDestroy(platform::DialogWindow& window) override;

  void AttachControls();
  void FillComboBoxes();

  int templateId_;
  const resources::DialogTemplate* ownTemplate_ = nullptr;
  platform::DialogWindow* window_ = nullptr;  // while the window exists
  std::vector<std::unique_ptr<Control>> controls_;
  bool topmost_ = false;
  bool open_ = false;
  int result_ = 0;
  int lastFocus_ = 0;
};

// A member bound to one of the dialog's controls (DDX_Control): a handle
// that finds the control each time, so it never outlives the window.
template <class T>
class ControlRef {
 public:
  // Null while not attached or when the dialog has no such control.
  T* get() const { return dialog_ != nullptr ? dialog_->Item<T>(id_) : nullptr; }
  T* operator->() const {
    T* control = get();
    if (control == nullptr) throw std::logic_error("control object not attached");
    return control;
  }
  T& operator*() const { return *operator->(); }
  explicit operator bool() const { return get() != nullptr; }
  void Attach(Dialog& dialog, int id) {
    dialog_ = &dialog;
    id_ = id;
  }

 private:
  Dialog* dialog_ = nullptr;
  int id_ = 0;
};

}  // namespace framework
