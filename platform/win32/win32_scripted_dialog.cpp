#include "platform/win32/win32_scripted_dialog.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include <optional>

#include "platform/user_input.h"
#include "platform/win32/system_time.h"
#include "platform/win32/window_text.h"
#include "platform/window_constants.h"

namespace platform::win32 {
namespace {

constexpr char kButtonClass[] = "Button";
constexpr char kEditClass[] = "Edit";
constexpr char kComboBoxClass[] = "ComboBox";
constexpr char kScrollBarClass[] = "ScrollBar";
constexpr char kBackspace = '\b';

bool IsClass(HWND window, const char* windowClass) {
  return lstrcmpiA(WindowClassOf(window).c_str(), windowClass) == 0;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

bool IsCheckBox(DWORD style) {
  const DWORD type = style & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
         type == BS_AUTO3STATE;
}

bool IsRadioButton(DWORD style) {
  const DWORD type = style & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// A control's kind by the names the dumps of both builds use.
std::string KindOf(HWND control) {
  const std::string windowClass = WindowClassOf(control);
  const auto is = [&windowClass](const char* name) {
    return lstrcmpiA(windowClass.c_str(), name) == 0;
  };
  if (is(kButtonClass)) {
    const DWORD style = StyleOf(control);
    if (IsCheckBox(style)) return "check box";
    if (IsRadioButton(style)) return "radio button";
    if ((style & BS_TYPEMASK) == BS_GROUPBOX) return "group box";
    return "button";
  }
  if (is(kEditClass)) return "edit";
  if (is("Static")) return "static";
  if (is(kComboBoxClass)) return "combo box";
  if (is(kScrollBarClass)) return "scroll bar";
  if (is(WC_LISTVIEWA)) return "list view";
  if (is(DATETIMEPICK_CLASSA)) return "date-time picker";
  return "control";
}

bool TakesInput(HWND control) {
  return control != nullptr && IsWindowEnabled(control) != FALSE &&
         (StyleOf(control) & WS_VISIBLE) != 0;
}

std::string ComboItem(HWND combo, int index) {
  const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

std::string ListItem(HWND list, int index) {
  char text[256] = {};
  LVITEMA item{};
  item.iSubItem = 0;
  item.pszText = text;
  item.cchTextMax = sizeof(text);
  const LRESULT copied =
      SendMessageA(list, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
  return std::string(text, copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

// An edit's text and selection, to tell whether a keystroke changed them.
struct EditState {
  std::string text;
  DWORD start = 0, end = 0;
  bool operator==(const EditState&) const = default;
};

EditState StateOf(HWND edit) {
  EditState state{WindowTextOf(edit)};
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&state.start),
               reinterpret_cast<LPARAM>(&state.end));
  return state;
}

// The edit field of a combo box that has one (CBS_DROPDOWN, CBS_SIMPLE).
HWND ComboEdit(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(combo, &info) == FALSE) return nullptr;
  return info.hwndItem != combo ? info.hwndItem : nullptr;
}

// `text` typed at the end of `before`, with backspaces taking characters back.
std::string TypedText(std::string before, std::string_view text, UINT codePage) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == kBackspace) {
      if (!before.empty()) {
        const char* last = CharPrevExA(static_cast<WORD>(codePage), before.c_str(),
                                       before.c_str() + before.size(), 0);
        before.resize(static_cast<std::size_t>(last - before.c_str()));
      }
    } else {
      before.push_back(text[i]);
    }
  }
  return before;
}

int ScrollArrowsDisabled(HWND bar) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  if (GetScrollBarInfo(bar, OBJID_CLIENT, &info) == FALSE) return 0;
  int disabled = 0;
  if ((info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) != 0) disabled |= ESB_DISABLE_LTUP;
  if ((info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) != 0) disabled |= ESB_DISABLE_RTDN;
  return disabled;
}

}  // namespace

std::string ScriptedDialog::Title() const { return WindowTextOf(window_); }

HWND ScriptedDialog::Control(int id) const {
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == id) return child;
  }
  return nullptr;
}

HWND ScriptedDialog::InputControl(int id, const char* windowClass) const {
  HWND control = Control(id);
  return control != nullptr && IsClass(control, windowClass) && TakesInput(control) ? control
                                                                                    : nullptr;
}

std::vector<ControlSnapshot> ScriptedDialog::Snapshot() const {
  std::vector<ControlSnapshot> snapshots;
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ControlSnapshot snapshot;
    snapshot.id = GetDlgCtrlID(child);
    snapshot.kind = KindOf(child);
    // A picture's text is the name of its resource, which nobody sees.
    const bool picture = snapshot.kind == "static" && window::ShowsPicture(StyleOf(child));
    snapshot.text = picture ? std::string() : WindowTextOf(child);
    snapshot.enabled = IsWindowEnabled(child) != FALSE;
    snapshot.visible = (StyleOf(child) & WS_VISIBLE) != 0;
    if (snapshot.kind == "check box" || snapshot.kind == "radio button") {
      snapshot.checked = static_cast<int>(SendMessageA(child, BM_GETCHECK, 0, 0));
    } else if (snapshot.kind == "edit") {
      const EditState state = StateOf(child);
      snapshot.selectionStart = static_cast<int>(state.start);
      snapshot.selectionEnd = static_cast<int>(state.end);
    } else if (snapshot.kind == "combo box") {
      snapshot.selectionStart = snapshot.selectionEnd =
          static_cast<int>(SendMessageA(child, CB_GETCURSEL, 0, 0));
      const int count = static_cast<int>(SendMessageA(child, CB_GETCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) snapshot.items.push_back(ComboItem(child, i));
    } else if (snapshot.kind == "list view") {
      snapshot.selectionStart = snapshot.selectionEnd =
          static_cast<int>(SendMessageA(child, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
      const int count = static_cast<int>(SendMessageA(child, LVM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) snapshot.items.push_back(ListItem(child, i));
    } else if (snapshot.kind == "scroll bar") {
      snapshot.scrollPosition = static_cast<int>(SendMessageA(child, SBM_GETPOS, 0, 0));
      const int disabled =
          IsWindowEnabled(child) != FALSE ? ScrollArrowsDisabled(child) : ESB_DISABLE_BOTH;
      snapshot.lineUpEnabled = (disabled & ESB_DISABLE_LTUP) == 0;
      snapshot.lineDownEnabled = (disabled & ESB_DISABLE_RTDN) == 0;
    }
    snapshots.push_back(std::move(snapshot));
  }
  return snapshots;
}

void ScriptedDialog::End(int result) {
  if (ended_) return;
  ended_ = true;
  EndDialog(window_, result);
}

bool ScriptedDialog::Settle() {
  if (!settle_) return true;
  const std::function<bool()> settle = std::move(settle_);
  settle_ = nullptr;
  return settle();
}

bool ScriptedDialog::Apply(const UserAction& action) {
  using Kind = UserAction::Kind;
  settle_ = nullptr;
  if (ended_) return false;
  switch (action.kind) {
    case Kind::Type: {
      HWND control = InputControl(action.control, kEditClass);
      if (control == nullptr) control = InputControl(action.control, kComboBoxClass);
      return control != nullptr && TypeText(control, action.text);
    }
    case Kind::Paste: {
      HWND edit = InputControl(action.control, kEditClass);
      return edit != nullptr && Paste(edit, action.text);
    }
    case Kind::Clear: {
      HWND edit = InputControl(action.control, kEditClass);
      return edit != nullptr && Clear(edit);
    }
    case Kind::Click: {
      HWND button = InputControl(action.control, kButtonClass);
      return button != nullptr && Click(button);
    }
    case Kind::Select:
      return Select(action.control, action.index);
    case Kind::Check:
      return Check(action.control, action.index);
    case Kind::Scroll:
      return Scroll(action.control, action.scrollCode, action.index);
    case Kind::Pick:
      return Pick(action.control, action.time);
    case Kind::Key:
      return PressKey(action.text);
    case Kind::Enter:
      return PressEnter();
    case Kind::Escape:
      // Escape cancels even when the Cancel button is disabled.
      PostKey(KeyboardTarget(), VK_ESCAPE);
      return true;
    case Kind::Close: {
      // The close box cancels unless the dialog's Cancel button is disabled.
      HWND cancel = GetDlgItem(window_, IDCANCEL);
      if (cancel != nullptr && IsWindowEnabled(cancel) == FALSE) return false;
      PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    }
    case Kind::Dump:
      return true;
  }
  return false;
}

HWND ScriptedDialog::KeyboardTarget() const {
  HWND focused = GetFocus();
  return focused != nullptr && IsChild(window_, focused) != FALSE ? focused : window_;
}

void ScriptedDialog::ClickInto(HWND control) {
  SetFocus(control);
  HWND edit = IsClass(control, kComboBoxClass) ? ComboEdit(control) : control;
  if (edit != nullptr && IsClass(edit, kEditClass)) {
    const int length = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, length, length);
  }
}

void ScriptedDialog::PostKey(HWND target, unsigned virtualKey) {
  const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  constexpr LPARAM kKeyUpBits = static_cast<LPARAM>(0xC0000000u);
  PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | scanCode);
  PostMessageA(target, WM_KEYUP, virtualKey, 1 | scanCode | kKeyUpBits);
}

void ScriptedDialog::PostCharacters(HWND target, std::string_view text) {
  // A double-byte character arrives as its two bytes, one WM_CHAR each.
  for (char c : text) PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
}

bool ScriptedDialog::TypeText(HWND control, std::string_view text) {
  ClickInto(control);
  HWND edit = IsClass(control, kComboBoxClass) ? ComboEdit(control) : control;
  if (edit == nullptr) {
    // A drop-down list picks the next item starting with the character.
    const LRESULT before = SendMessageA(control, CB_GETCURSEL, 0, 0);
    PostCharacters(control, text);
    settle_ = [control, before] { return SendMessageA(control, CB_GETCURSEL, 0, 0) != before; };
    return true;
  }
  if ((StyleOf(edit) & ES_READONLY) != 0) return false;
  // Every key was taken when the field holds exactly what was typed.
  const std::string expected = TypedText(WindowTextOf(edit), text, GetACP());
  PostCharacters(edit, text);
  settle_ = [edit, expected] { return WindowTextOf(edit) == expected; };
  return true;
}

bool ScriptedDialog::Paste(HWND edit, std::string_view text) {
  if ((StyleOf(edit) & ES_READONLY) != 0) return false;
  ClickInto(edit);
  // A single-line edit takes the clipboard's first line only. A message
  // carrying a text cannot be posted: it is sent, from the loop's own tick.
  const std::string pasted(text.substr(0, text.find_first_of("\r\n")));
  const EditState before = StateOf(edit);
  SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
  return StateOf(edit) != before;
}

bool ScriptedDialog::Clear(HWND edit) {
  if ((StyleOf(edit) & ES_READONLY) != 0) return false;
  ClickInto(edit);
  const bool hasText = GetWindowTextLengthA(edit) > 0;
  SendMessageA(edit, EM_SETSEL, 0, -1);
  PostMessageA(edit, WM_CLEAR, 0, 0);
  return hasText;
}

bool ScriptedDialog::Click(HWND button) {
  if ((StyleOf(button) & BS_TYPEMASK) == BS_GROUPBOX) return false;
  PostMessageA(button, BM_CLICK, 0, 0);
  return true;
}

bool ScriptedDialog::Select(int id, int index) {
  if (HWND combo = InputControl(id, kComboBoxClass)) {
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count) return false;
    SetFocus(combo);
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    // Choosing an item from the list tells the dialog; CB_SETCURSEL alone does not.
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    return true;
  }
  if (HWND list = InputControl(id, WC_LISTVIEWA)) {
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    if (index < 0 || index >= count) return false;
    SetFocus(list);
    // A click on an item drops the old selection; the list view itself
    // tells the dialog of each change (LVN_ITEMCHANGED).
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    for (int i = 0; i < count; ++i) {
      if (i == index) continue;
      state.state = 0;
      SendMessageA(list, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&state));
    }
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
    return true;
  }
  return false;
}

bool ScriptedDialog::Check(int id, int state) {
  HWND button = InputControl(id, kButtonClass);
  if (button == nullptr) return false;
  const DWORD style = StyleOf(button);
  if (!IsCheckBox(style) && !IsRadioButton(style)) return false;
  if (SendMessageA(button, BM_GETCHECK, 0, 0) == state) return true;
  return Click(button);
}

bool ScriptedDialog::Scroll(int id, int code, int position) {
  HWND bar = InputControl(id, kScrollBarClass);
  if (bar == nullptr) return false;
  const int disabled = ScrollArrowsDisabled(bar);
  int minimum = 0, maximum = 0;
  SendMessageA(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&minimum),
               reinterpret_cast<LPARAM>(&maximum));
  const auto sent = UserScroll(code, position, (disabled & ESB_DISABLE_LTUP) == 0,
                               (disabled & ESB_DISABLE_RTDN) == 0, minimum, maximum);
  if (!sent) return false;
  const UINT message = (StyleOf(bar) & SBS_VERT) != 0 ? WM_VSCROLL : WM_HSCROLL;
  for (const ScrollNotification& notification : *sent) {
    PostMessageA(window_, message, MAKEWPARAM(notification.code, notification.position),
                 reinterpret_cast<LPARAM>(bar));
  }
  return true;
}

bool ScriptedDialog::Pick(int id, const SystemTime& time) {
  HWND picker = InputControl(id, DATETIMEPICK_CLASSA);
  if (picker == nullptr) return false;
  SYSTEMTIME current{};
  SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&current));
  const bool timePicker = (StyleOf(picker) & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
  const SystemTime picked = PickedMoment(FromSystemTime(current), time, timePicker);
  SYSTEMTIME range[2] = {};
  const DWORD limits =
      static_cast<DWORD>(SendMessageA(picker, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
  std::optional<SystemTime> minimum, maximum;
  if ((limits & GDTR_MIN) != 0) minimum = FromSystemTime(range[0]);
  if ((limits & GDTR_MAX) != 0) maximum = FromSystemTime(range[1]);
  if (!InPickerRange(picked, minimum, maximum, timePicker)) return false;
  SetFocus(picker);
  const SYSTEMTIME next = ToSystemTime(picked);
  if (SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&next)) == 0)
    return false;
  NMDATETIMECHANGE change{};
  change.nmhdr.hwndFrom = picker;
  change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
  change.nmhdr.code = DTN_DATETIMECHANGE;
  change.dwFlags = GDT_VALID;
  change.st = next;
  SendMessageA(window_, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
  return true;
}

bool ScriptedDialog::PressKey(std::string_view character) {
  if (character.empty()) return false;
  HWND target = KeyboardTarget();
  // With no control focused the keyboard talks to the dialog window.
  if (target == window_) {
    PostCharacters(target, character);
    return true;
  }
  if (!TakesInput(target)) return false;
  if (IsClass(target, kEditClass) || ComboEdit(GetParent(target)) == target) {
    if ((StyleOf(target) & ES_READONLY) != 0) return false;
    const EditState before = StateOf(target);
    PostCharacters(target, character);
    settle_ = [target, before] { return StateOf(target) != before; };
    return true;
  }
  if (IsClass(target, kComboBoxClass)) {
    const LRESULT before = SendMessageA(target, CB_GETCURSEL, 0, 0);
    PostCharacters(target, character);
    settle_ = [target, before] { return SendMessageA(target, CB_GETCURSEL, 0, 0) != before; };
    return true;
  }
  // The space bar presses the focused button.
  if (IsClass(target, kButtonClass) && character == " ") {
    PostKey(target, VK_SPACE);
    return true;
  }
  return false;
}

bool ScriptedDialog::PressEnter() {
  // Enter on a push button presses that button; elsewhere the default one,
  // and nothing when the default button is disabled.
  HWND target = KeyboardTarget();
  const bool onPushButton = target != window_ && (SendMessageA(target, WM_GETDLGCODE, 0, 0) &
                                                  (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
  if (!onPushButton) {
    const LRESULT defaultId = SendMessageA(window_, DM_GETDEFID, 0, 0);
    if (HIWORD(defaultId) == DC_HASDEFID) {
      HWND button = GetDlgItem(window_, LOWORD(defaultId));
      if (button != nullptr && !TakesInput(button)) return false;
    }
  } else if (!TakesInput(target)) {
    return false;
  }
  PostKey(target, VK_RETURN);
  return true;
}

}  // namespace platform::win32
