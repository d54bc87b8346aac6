#include "framework/dialog.h"

#include <cctype>
#include <cstdlib>
#include <limits>

#include "framework/button.h"
#include "framework/combo_box.h"
#include "framework/data_exchange.h"
#include "framework/date_time_picker.h"
#include "framework/edit.h"
#include "framework/list_view.h"
#include "framework/resource_text.h"
#include "framework/scroll_bar.h"
#include "framework/window_constants.h"
#include "platform/decimal_text.h"
#include "platform/machine.h"
#include "platform/window.h"

namespace framework {
namespace {

bool SameClass(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (std::size_t i = 0; i < left.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(left[i])) !=
        std::tolower(static_cast<unsigned char>(right[i]))) {
      return false;
    }
  }
  return true;
}

// Clears the open flag however the modal run ends.
class OpenFlag {
 public:
  explicit OpenFlag(bool& open) : open_(open) { open_ = true; }
  ~OpenFlag() { open_ = false; }
  OpenFlag(const OpenFlag&) = delete;
  OpenFlag& operator=(const OpenFlag&) = delete;

 private:
  bool& open_;
};

const resources::DialogTemplate* TemplateOf(int templateId, const resources::DialogTemplate* own) {
  return own != nullptr ? own : resources::FindDialog(templateId);
}

}  // namespace

Dialog::Dialog(int templateId) : templateId_(templateId) {}

Dialog::Dialog(const resources::DialogTemplate& dialogTemplate)
    : templateId_(dialogTemplate.id), ownTemplate_(&dialogTemplate) {}

Dialog::~Dialog() = default;

int Dialog::DoModal() {
  const resources::DialogTemplate* running = TemplateOf(templateId_, ownTemplate_);
  if (running == nullptr) return kNoTemplate;
  result_ = 0;
  OpenFlag open(open_);
  return platform::CurrentWindowSystem().RunModalDialog(*running, ownTemplate_ == nullptr, *this);
}

bool Dialog::WindowInitDialog(platform::DialogWindow& window) {
  window_ = &window;
  topmost_ = false;
  lastFocus_ = 0;
  AttachControls();
  FillComboBoxes();
  return OnInitDialog();
}

void Dialog::WindowDestroy(platform::DialogWindow& window) {
  lastFocus_ = window.Focus();
  controls_.clear();
  window_ = nullptr;
}

void Dialog::AttachControls() {
  controls_.clear();
  for (platform::ControlWindow* control : window_->Controls()) {
    const std::string windowClass = control->ClassName();
    platform::DialogWindow& dialog = *window_;
    if (SameClass(windowClass, "BUTTON")) {
      controls_.push_back(std::make_unique<Button>(*control, dialog));
    } else if (SameClass(windowClass, "EDIT")) {
      controls_.push_back(std::make_unique<Edit>(*control, dialog));
    } else if (SameClass(windowClass, "COMBOBOX")) {
      controls_.push_back(std::make_unique<ComboBox>(*control, dialog));
    } else if (SameClass(windowClass, "SCROLLBAR")) {
      controls_.push_back(std::make_unique<ScrollBar>(*control, dialog));
    } else if (SameClass(windowClass, "SysListView32")) {
      controls_.push_back(std::make_unique<ListView>(*control, dialog));
    } else if (SameClass(windowClass, "SysDateTimePick32")) {
      controls_.push_back(std::make_unique<DateTimePicker>(*control, dialog));
    } else {
      controls_.push_back(std::make_unique<StaticText>(*control, dialog));
    }
  }
}

void Dialog::FillComboBoxes() {
  // The combo boxes' initial lists come with the templates, as dialog init
  // data the framework adds itself.
  const resources::DialogTemplate* running = TemplateOf(templateId_, ownTemplate_);
  if (running == nullptr) return;
  for (const resources::DialogControl& control : running->controls) {
    if (!SameClass(control.windowClass, "COMBOBOX")) continue;
    auto* combo = Item<ComboBox>(control.id);
    if (combo == nullptr) continue;
    for (std::u16string_view item : resources::FindComboItems(templateId_, control.id)) {
      combo->AddString(ToAnsi(item));
    }
  }
}

void Dialog::EndDialog(int result) {
  result_ = result;
  open_ = false;
  if (window_ != nullptr) window_->End(result);
}

bool Dialog::UpdateData(bool saveAndValidate) {
  DataExchange exchange(*this, saveAndValidate);
  try {
    DoDataExchange(exchange);
  } catch (const DataExchangeFailure&) {
    return false;
  }
  return true;
}

void Dialog::SetWindowText(std::string_view title) {
  if (window_ != nullptr) window_->SetTitle(title);
}

std::string Dialog::GetWindowText() const {
  return window_ != nullptr ? window_->Title() : std::string();
}

bool Dialog::SetWindowPos(int insertAfter, int /*x*/, int /*y*/, int /*cx*/, int /*cy*/,
                          unsigned /*flags*/) {
  if (insertAfter != kHwndTopMost && insertAfter != kHwndNoTopMost) return true;
  topmost_ = insertAfter == kHwndTopMost;
  if (window_ != nullptr) window_->SetTopmost(topmost_);
  return true;
}

int Dialog::GetFocus() const { return window_ != nullptr ? window_->Focus() : lastFocus_; }

Control* Dialog::GetDlgItem(int id) const {
  for (const auto& control : controls_) {
    if (control->id() == id) return control.get();
  }
  return nullptr;
}

bool Dialog::SetDlgItemText(int id, std::string_view text) {
  Control* control = GetDlgItem(id);
  if (control == nullptr) return false;
  control->SetWindowText(text);
  return true;
}

std::string Dialog::GetDlgItemText(int id) const {
  const Control* control = GetDlgItem(id);
  return control != nullptr ? control->GetWindowText() : std::string();
}

int Dialog::GetDlgItemInt(int id, bool* translated, bool isSigned) const {
  if (translated != nullptr) *translated = false;
  const std::string text = GetDlgItemText(id);
  std::string_view rest = text;
  while (rest.starts_with(' ')) rest.remove_prefix(1);
  if (!isSigned && rest.starts_with('-')) return 0;
  const platform::DecimalReading number = platform::ReadDecimalNumber(rest);
  const long long lowest = isSigned ? std::numeric_limits<int>::min() : 0;
  const long long highest =
      isSigned ? std::numeric_limits<int>::max() : std::numeric_limits<unsigned>::max();
  if (number.consumed == 0 || number.value < lowest || number.value > highest) return 0;
  if (translated != nullptr) *translated = true;
  return static_cast<int>(static_cast<unsigned>(number.value));
}

bool Dialog::SetDlgItemInt(int id, int value, bool isSigned) {
  return SetDlgItemText(
      id, isSigned ? std::to_string(value) : std::to_string(static_cast<unsigned>(value)));
}

void Dialog::GotoDlgCtrl(int id) {
  Control* control = GetDlgItem(id);
  if (control == nullptr || window_ == nullptr) return;
  window_->SetFocus(id);
  if (auto* edit = dynamic_cast<Edit*>(control)) edit->SetSel(0, -1);
}

int Dialog::MessageBox(std::string_view text, std::string_view caption, unsigned type) {
  return platform::CurrentMachine().ui().MessageBox(GetSafeHwnd(), text, caption, type);
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(kIdOk);
}

void Dialog::OnCancel() { EndDialog(kIdCancel); }

bool Dialog::OnWindowKey(KeyMessage /*message*/, std::string_view /*character*/) { return true; }

bool Dialog::SendKeyToWindow(std::string_view character) {
  if (!open_ || character.empty()) return false;
  OnWindowKey(KeyMessage::kKeyDown, character);
  const bool processed = OnWindowKey(KeyMessage::kChar, character);
  OnWindowKey(KeyMessage::kKeyUp, character);
  return processed;
}

void Dialog::DoDataExchange(DataExchange& /*exchange*/) {}

bool Dialog::RouteMessage(const Message& message) {
  if (message.kind != MessageKind::Command || message.code != kBnClicked) return false;
  if (message.control == kIdOk) {
    OnOK();
    return true;
  }
  if (message.control == kIdCancel) {
    OnCancel();
    return true;
  }
  return false;
}

void Dialog::WindowCommand(int control, int code) {
  RouteMessage(Message{MessageKind::Command, control, code, 0, nullptr});
}

void Dialog::WindowNotify(const Notification& notification) {
  RouteMessage(
      Message{MessageKind::Notify, notification.control, notification.code, 0, &notification});
}

void Dialog::WindowScroll(int control, bool vertical, int code, int position) {
  RouteMessage(Message{vertical ? MessageKind::VScroll : MessageKind::HScroll, control, code,
                       position, nullptr});
}

bool Dialog::WindowKey(KeyMessage message, std::string_view character) {
  return OnWindowKey(message, character);
}

}  // namespace framework
