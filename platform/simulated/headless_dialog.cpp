#include "platform/simulated/headless_dialog.h"

#include <algorithm>
#include <array>

#include "platform/machine.h"
#include "platform/simulated/headless_button.h"
#include "platform/simulated/headless_combo_box.h"
#include "platform/simulated/headless_date_time_picker.h"
#include "platform/simulated/headless_edit.h"
#include "platform/simulated/headless_list_view.h"
#include "platform/simulated/headless_scroll_bar.h"
#include "platform/window_constants.h"

namespace platform::simulated {
namespace {

bool SameClass(std::string_view left, std::string_view right) {
  return CompareNoCase(left, right) == 0;
}

// Enough for any one character in any ANSI code page.
constexpr int kCharacterCapacity = 8;

// Splits ANSI text into its characters (one or two bytes each in the
// machine's code page), as the keyboard delivers them one at a time.
std::vector<std::string> SplitCharacters(std::string_view text, std::uint32_t codePage) {
  Kernel& kernel = CurrentMachine().kernel();
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

HeadlessDialog::HeadlessDialog(const resources::DialogTemplate& dialogTemplate,
                               DialogEvents& events)
    : template_(dialogTemplate), events_(events) {}

HeadlessDialog::~HeadlessDialog() = default;

void HeadlessDialog::Create() {
  controls_.clear();
  for (const resources::DialogControl& control : template_.controls) {
    controls_.push_back(CreateControl(control));
  }
  title_ = ToAnsi(template_.title);
  topmost_ = false;
  focus_ = 0;
  if (events_.WindowInitDialog(*this)) SetInitialFocus();
}

std::unique_ptr<Control> HeadlessDialog::CreateControl(const resources::DialogControl& control) {
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
    return std::make_unique<ComboBox>(owner, control.id, control.style, std::move(text));
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
  return std::make_unique<OtherControl>(owner, control.id, control.style, std::move(text),
                                        std::string(windowClass));
}

void HeadlessDialog::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  events_.WindowDestroy(*this);
  controls_.clear();
}

std::vector<ControlWindow*> HeadlessDialog::Controls() {
  std::vector<ControlWindow*> windows;
  windows.reserve(controls_.size());
  for (const auto& control : controls_) windows.push_back(control.get());
  return windows;
}

Control* HeadlessDialog::Find(int id) const {
  for (const auto& control : controls_) {
    if (control->id() == id) return control.get();
  }
  return nullptr;
}

void HeadlessDialog::SetFocus(int id) {
  if (Find(id) != nullptr) focus_ = id;
}

void HeadlessDialog::SetInitialFocus() {
  for (const auto& control : controls_) {
    if (control->IsTabStop() && control->TakesInput()) {
      // The dialog manager selects an edit's whole text when it takes the focus.
      focus_ = control->id();
      if (auto* edit = dynamic_cast<Edit*>(control.get())) edit->SetSel(0, -1);
      return;
    }
  }
}

std::vector<ControlSnapshot> HeadlessDialog::Snapshot() const {
  std::vector<ControlSnapshot> snapshots;
  snapshots.reserve(controls_.size());
  for (const auto& control : controls_) snapshots.push_back(control->Snapshot());
  return snapshots;
}

void HeadlessDialog::End(int result) {
  result_ = result;
  open_ = false;
}

void HeadlessDialog::OnControlCommand(int control, int notification) {
  events_.WindowCommand(control, notification);
}

void HeadlessDialog::OnControlNotify(const Notification& notification) {
  events_.WindowNotify(notification);
}

void HeadlessDialog::OnControlScroll(int control, bool vertical, int code, int position) {
  events_.WindowScroll(control, vertical, code, position);
}

std::uint32_t HeadlessDialog::AnsiCodePage() const {
  return CurrentMachine().kernel().AnsiCodePage();
}

template <class T>
T* HeadlessDialog::InputTarget(int id) const {
  T* control = Item<T>(id);
  return control != nullptr && control->TakesInput() ? control : nullptr;
}

bool HeadlessDialog::Apply(const UserAction& action) {
  using Kind = UserAction::Kind;
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
      OnControlCommand(window::kIdCancel, window::kBnClicked);
      return true;
    case Kind::Close: {
      // WM_CLOSE cancels unless the dialog's Cancel button is disabled.
      const simulated::Control* cancel = Find(window::kIdCancel);
      if (cancel != nullptr && !cancel->IsWindowEnabled()) return false;
      OnControlCommand(window::kIdCancel, window::kBnClicked);
      return true;
    }
    case Kind::Dump:
      return true;
  }
  return false;
}

bool HeadlessDialog::ClickButton(int id) {
  auto* button = InputTarget<Button>(id);
  if (button == nullptr) return false;
  focus_ = id;
  if (button->IsRadioButton() && button->IsAutomatic()) ClearRadioGroup(*button);
  return button->Click();
}

void HeadlessDialog::ClearRadioGroup(const simulated::Control& chosen) {
  // The group runs from the control with WS_GROUP at or before the chosen one
  // up to the next control with WS_GROUP.
  const auto at = std::find_if(controls_.begin(), controls_.end(),
                               [&chosen](const auto& control) { return control.get() == &chosen; });
  if (at == controls_.end()) return;
  auto first = at;
  while (first != controls_.begin() && ((*first)->style() & window::kWsGroup) == 0) --first;
  for (auto it = first; it != controls_.end(); ++it) {
    if (it != first && ((*it)->style() & window::kWsGroup) != 0) break;
    auto* button = dynamic_cast<Button*>(it->get());
    if (button != nullptr && button != &chosen && button->IsRadioButton() &&
        button->IsAutomatic()) {
      button->SetCheck(Button::kUnchecked);
    }
  }
}

bool HeadlessDialog::TypeText(int id, std::string_view text) {
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

bool HeadlessDialog::SendKeyToWindow(std::string_view character) {
  if (!open_ || character.empty()) return false;
  using Key = DialogEvents::KeyMessage;
  events_.WindowKey(Key::kKeyDown, character);
  const bool processed = events_.WindowKey(Key::kChar, character);
  events_.WindowKey(Key::kKeyUp, character);
  return processed;
}

bool HeadlessDialog::PressKey(std::string_view character) {
  simulated::Control* focused = Find(focus_);
  // With no control focused the keyboard talks to the dialog window.
  if (focused == nullptr) return SendKeyToWindow(character);
  if (!focused->TakesInput()) return false;
  if (auto* edit = dynamic_cast<Edit*>(focused)) return edit->TypeCharacter(character);
  if (auto* combo = dynamic_cast<ComboBox*>(focused)) return combo->TypeCharacter(character);
  if (dynamic_cast<Button*>(focused) != nullptr && character == " ") return ClickButton(focus_);
  return false;
}

const Button* HeadlessDialog::DefaultButton() const {
  for (const auto& control : controls_) {
    const auto* button = dynamic_cast<const Button*>(control.get());
    if (button != nullptr && button->IsDefault()) return button;
  }
  return nullptr;
}

int HeadlessDialog::DefaultButtonId() const {
  const Button* button = DefaultButton();
  return button != nullptr ? button->id() : window::kIdOk;
}

bool HeadlessDialog::PressEnter() {
  // Enter on a push button presses that button; elsewhere the default one
  // (IDOK in a dialog without a default push button, as the dialog manager
  // keeps it), and nothing when that button is disabled or hidden. A default
  // id without a button still reaches the dialog.
  const auto* focused = Item<Button>(focus_);
  const bool onPushButton = focused != nullptr && focused->IsPushButton();
  const int id = onPushButton ? focus_ : DefaultButtonId();
  const simulated::Control* target = Find(id);
  if (target != nullptr && !target->TakesInput()) return false;
  OnControlCommand(id, window::kBnClicked);
  return true;
}

}  // namespace platform::simulated

namespace platform {
namespace {

// Dialogs without windows: each runs in the current dialog host.
class HeadlessWindowSystem : public WindowSystem {
 public:
  int RunModalDialog(const resources::DialogTemplate& dialogTemplate, bool /*fromModule*/,
                     DialogEvents& events) override {
    simulated::HeadlessDialog dialog(dialogTemplate, events);
    CurrentDialogHost().RunModal(dialog);
    dialog.Destroy();
    return dialog.Result();
  }
};

}  // namespace

WindowSystem& CurrentWindowSystem() {
  static HeadlessWindowSystem system;
  return system;
}

}  // namespace platform
