#include "framework/dialog.h"

#include <algorithm>
#include <array>
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

namespace framework {
namespace {

// A control of a class the framework has no object for: shown, never acted on.
class OtherControl : public Control {
 public:
  using Control::Control;
  std::string_view kind() const override { return "control"; }
};

bool SameClass(std::string_view left, std::string_view right) {
  return CompareNoCase(left, right) == 0;
}

// Enough for any one character in any ANSI code page.
constexpr int kCharacterCapacity = 8;

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

// Splits ANSI text into its characters (one or two bytes each in the
// machine's code page), as the keyboard delivers them one at a time.
std::vector<std::string> SplitCharacters(std::string_view text, std::uint32_t codePage) {
  platform::Kernel& kernel = platform::CurrentMachine().kernel();
  const int units = kernel.AnsiToWide(codePage, text, nullptr, 0);
  if (units <= 0) return {};
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  kernel.AnsiToWide(codePage, text, wide.data(), units);
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < wide.size();) {
    const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size();
    const std::size_t length = pair ? 2 : 1;
    std::array<char, kCharacterCapacity> bytes{};
    const int written = kernel.WideToAnsi(codePage, std::u16string_view(wide).substr(i, length),
                                          bytes.data(), kCharacterCapacity);
    if (written > 0) characters.emplace_back(bytes.data(), static_cast<std::size_t>(written));
    i += length;
  }
  return characters;
}

}  // namespace

Dialog::Dialog(int templateId) : templateId_(templateId) {}

Dialog::Dialog(const resources::DialogTemplate& dialogTemplate)
    : templateId_(dialogTemplate.id), ownTemplate_(&dialogTemplate) {}

Dialog::~Dialog() = default;

int Dialog::DoModal() {
  running_ = ownTemplate_ != nullptr ? ownTemplate_ : resources::FindDialog(templateId_);
  if (running_ == nullptr) return kNoTemplate;
  result_ = 0;
  OpenFlag open(open_);
  platform::CurrentDialogHost().RunModal(*this);
  return result_;
}

void Dialog::Create() {
  if (running_ == nullptr) return;
  CreateControls(*running_);
  title_ = ToAnsi(running_->title);
  topmost_ = false;
  focus_ = 0;
  if (OnInitDialog()) SetInitialFocus();
}

void Dialog::CreateControls(const resources::DialogTemplate& dialogTemplate) {
  controls_.clear();
  for (const resources::DialogControl& control : dialogTemplate.controls) {
    controls_.push_back(CreateControl(control));
  }
}

std::unique_ptr<Control> Dialog::CreateControl(const resources::DialogControl& control) {
  ControlOwner& owner = *this;
  std::string text = ToAnsi(control.text);
  const std::string_view windowClass = control.windowClass;
  if (SameClass(windowClass, "BUTTON")) {
    return std::make_unique<Button>(owner, control.id, control.style, std::move(text));
  }
  if (SameClass(windowClass, "EDIT")) {
    return std::make_unique<Edit>(owner, control.id, control.style, std::move(text));
  }
  if (SameClass(windowClass, "STATIC")) {
    return std::make_unique<StaticText>(owner, control.id, control.style, std::move(text));
  }
  if (SameClass(windowClass, "COMBOBOX")) {
    auto combo = std::make_unique<ComboBox>(owner, control.id, control.style, std::move(text));
    for (std::u16string_view item : resources::FindComboItems(templateId_, control.id)) {
      combo->AddString(ToAnsi(item));
    }
    return combo;
  }
  if (SameClass(windowClass, "SCROLLBAR")) {
    return std::make_unique<ScrollBar>(owner, control.id, control.style, std::move(text));
  }
  if (SameClass(windowClass, "SysListView32")) {
    return std::make_unique<ListView>(owner, control.id, control.style, std::move(text));
  }
  if (SameClass(windowClass, "SysDateTimePick32")) {
    return std::make_unique<DateTimePicker>(owner, control.id, control.style, std::move(text));
  }
  return std::make_unique<OtherControl>(owner, control.id, control.style, std::move(text));
}

void Dialog::SetInitialFocus() {
  for (const auto& control : controls_) {
    if (control->IsTabStop() && control->TakesInput()) {
      GotoDlgCtrl(control->id());
      return;
    }
  }
}

std::vector<platform::ControlSnapshot> Dialog::Snapshot() const {
  std::vector<platform::ControlSnapshot> snapshots;
  snapshots.reserve(controls_.size());
  for (const auto& control : controls_) snapshots.push_back(control->Snapshot());
  return snapshots;
}

void Dialog::EndDialog(int result) {
  result_ = result;
  open_ = false;
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

bool Dialog::SetWindowPos(int insertAfter, int /*x*/, int /*y*/, int /*cx*/, int /*cy*/,
                          unsigned /*flags*/) {
  if (insertAfter == kHwndTopMost) topmost_ = true;
  if (insertAfter == kHwndNoTopMost) topmost_ = false;
  return true;
}

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
  if (control == nullptr) return;
  focus_ = id;
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

void Dialog::OnControlCommand(int control, int notification) {
  RouteMessage(Message{MessageKind::Command, control, notification, 0, nullptr});
}

void Dialog::OnControlNotify(const Notification& notification) {
  RouteMessage(
      Message{MessageKind::Notify, notification.control, notification.code, 0, &notification});
}

void Dialog::OnControlScroll(int control, bool vertical, int code, int position) {
  RouteMessage(Message{vertical ? MessageKind::VScroll : MessageKind::HScroll, control, code,
                       position, nullptr});
}

std::uint32_t Dialog::AnsiCodePage() const {
  return platform::CurrentMachine().kernel().AnsiCodePage();
}

template <class T>
T* Dialog::InputTarget(int id) const {
  T* control = Item<T>(id);
  return control != nullptr && control->TakesInput() ? control : nullptr;
}

bool Dialog::Apply(const platform::UserAction& action) {
  using Kind = platform::UserAction::Kind;
  if (!open_) return false;
  switch (action.kind) {
    case Kind::Type:
      return TypeText(action.control, action.text);
    case Kind::Paste:
      if (auto* edit = InputTarget<Edit>(action.control)) {
        focus_ = action.control;
        edit->PlaceCaretAtEnd();
        return edit->Paste(action.text);
      }
      return false;
    case Kind::Clear:
      if (auto* edit = InputTarget<Edit>(action.control)) {
        focus_ = action.control;
        return edit->Clear();
      }
      return false;
    case Kind::Click:
      return ClickButton(action.control);
    case Kind::Select:
      if (auto* combo = InputTarget<ComboBox>(action.control)) {
        focus_ = action.control;
        return combo->Select(action.index);
      }
      if (auto* list = InputTarget<ListView>(action.control)) {
        focus_ = action.control;
        return list->Select(action.index);
      }
      return false;
    case Kind::Check: {
      auto* button = InputTarget<Button>(action.control);
      if (button == nullptr || !(button->IsCheckBox() || button->IsRadioButton())) return false;
      if (button->GetCheck() == action.index) return true;
      return ClickButton(action.control);
    }
    case Kind::Scroll:
      if (auto* bar = InputTarget<ScrollBar>(action.control)) {
        return bar->Scroll(action.scrollCode, action.index);
      }
      return false;
    case Kind::Pick:
      if (auto* picker = InputTarget<DateTimePicker>(action.control)) {
        focus_ = action.control;
        return picker->Pick(action.time);
      }
      return false;
    case Kind::Key:
      return PressKey(action.text);
    case Kind::Enter:
      return PressEnter();
    case Kind::Escape:
      // Escape cancels even when the Cancel button is disabled, as in Win32.
      OnControlCommand(kIdCancel, kBnClicked);
      return true;
    case Kind::Close: {
      // WM_CLOSE cancels unless the dialog's Cancel button is disabled.
      const Control* cancel = GetDlgItem(kIdCancel);
      if (cancel != nullptr && !cancel->IsWindowEnabled()) return false;
      OnControlCommand(kIdCancel, kBnClicked);
      return true;
    }
    case Kind::Dump:
      return true;
  }
  return false;
}

bool Dialog::ClickButton(int id) {
  auto* button = InputTarget<Button>(id);
  if (button == nullptr) return false;
  focus_ = id;
  if (button->IsRadioButton() && button->IsAutomatic()) ClearRadioGroup(*button);
  return button->Click();
}

void Dialog::ClearRadioGroup(const Control& chosen) {
  // The group runs from the control with WS_GROUP at or before the chosen one
  // up to the next control with WS_GROUP.
  const auto at = std::find_if(controls_.begin(), controls_.end(),
                               [&chosen](const auto& control) { return control.get() == &chosen; });
  if (at == controls_.end()) return;
  auto first = at;
  while (first != controls_.begin() && ((*first)->style() & kWsGroup) == 0) --first;
  for (auto it = first; it != controls_.end(); ++it) {
    if (it != first && ((*it)->style() & kWsGroup) != 0) break;
    auto* button = dynamic_cast<Button*>(it->get());
    if (button != nullptr && button != &chosen && button->IsRadioButton() &&
        button->IsAutomatic()) {
      button->SetCheck(Button::kUnchecked);
    }
  }
}

bool Dialog::TypeText(int id, std::string_view text) {
  auto* edit = InputTarget<Edit>(id);
  auto* combo = edit == nullptr ? InputTarget<ComboBox>(id) : nullptr;
  if (edit == nullptr && combo == nullptr) return false;
  focus_ = id;
  if (edit != nullptr) edit->PlaceCaretAtEnd();
  bool everyKeyTaken = true;
  for (const std::string& character : SplitCharacters(text, AnsiCodePage())) {
    // A handler may close the dialog or disable the field between keys.
    if (!open_) return false;
    const bool taken =
        edit != nullptr ? edit->TypeCharacter(character) : combo->TypeCharacter(character);
    everyKeyTaken = everyKeyTaken && taken;
  }
  return everyKeyTaken;
}

bool Dialog::PressKey(std::string_view character) {
  Control* focused = GetDlgItem(focus_);
  // With no control focused the keyboard talks to the dialog window.
  if (focused == nullptr) return SendKeyToWindow(character);
  if (!focused->TakesInput()) return false;
  if (auto* edit = dynamic_cast<Edit*>(focused)) return edit->TypeCharacter(character);
  if (auto* combo = dynamic_cast<ComboBox*>(focused)) return combo->TypeCharacter(character);
  if (dynamic_cast<Button*>(focused) != nullptr && character == " ") return ClickButton(focus_);
  return false;
}

const Button* Dialog::DefaultButton() const {
  for (const auto& control : controls_) {
    const auto* button = dynamic_cast<const Button*>(control.get());
    if (button != nullptr && button->IsDefault()) return button;
  }
  return nullptr;
}

int Dialog::DefaultButtonId() const {
  const Button* button = DefaultButton();
  return button != nullptr ? button->id() : kIdOk;
}

bool Dialog::PressEnter() {
  // Enter on a push button presses that button; elsewhere the default one,
  // and nothing when the default button is disabled. A dialog without a
  // default button gets IDOK whatever state its button is in, as in Win32.
  const auto* focused = Item<Button>(focus_);
  const bool onPushButton = focused != nullptr && focused->IsPushButton();
  const bool hasDefault = DefaultButton() != nullptr;
  const int id = onPushButton ? focus_ : DefaultButtonId();
  const Control* target = GetDlgItem(id);
  if (target != nullptr && !target->TakesInput() && (onPushButton || hasDefault)) return false;
  OnControlCommand(id, kBnClicked);
  return true;
}

}  // namespace framework
