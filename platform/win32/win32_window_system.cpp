// The window interface over user32 and comctl32: a modal dialog made with
// DialogBoxIndirectParamA from the module's own template (or, for a template
// the module does not hold, one built in memory from the same table), its
// controls reached with SendMessageA, and its WM_COMMAND, WM_NOTIFY and
// scroll messages handed to the code behind it.
#include "platform/win32/win32_window_system.h"

#include "platform/win32/gdi_handles.h"
#include "platform/win32/system_time.h"
#include "platform/win32/win32_script_session.h"
#include "platform/win32/win32_scripted_dialog.h"
#include "platform/win32/window_picture.h"
#include "platform/win32/window_text.h"
#include "platform/win32/windows_api.h"
// clang-format off
#include <commctrl.h>
// clang-format on

#include <cstdint>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/kernel.h"
#include "platform/machine.h"
#include "platform/scripted/script_player.h"
#include "platform/window.h"
#include "platform/window_constants.h"
#include "resources/resources.h"

namespace platform::win32 {
namespace {

constexpr int kDialogNotCreated = -1;

// The module holding this code: the DLL, or a test program linked with it.
HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

void InitCommonControlsOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
  });
}

LVITEMA ToListItem(const ListViewItem& item) {
  LVITEMA converted{};
  converted.mask = item.mask;
  converted.iItem = item.item;
  converted.iSubItem = item.subItem;
  converted.state = item.state;
  converted.stateMask = item.stateMask;
  converted.pszText = item.text;
  converted.cchTextMax = item.textCapacity;
  converted.iImage = item.image;
  converted.lParam = item.param;
  return converted;
}

// A bitmap of a .bmp file's bytes, or null when they are not one.
GdiBitmap BitmapOfFile(std::span<const std::uint8_t> file) {
  BITMAPFILEHEADER header{};
  BITMAPINFOHEADER info{};
  if (file.size() < sizeof(header) + sizeof(info)) return nullptr;
  std::memcpy(&header, file.data(), sizeof(header));
  std::memcpy(&info, file.data() + sizeof(header), sizeof(info));
  if (header.bfType != 0x4D42 || header.bfOffBits >= file.size() || info.biWidth <= 0 ||
      info.biHeight == 0) {
    return nullptr;
  }
  // The pixels must lie inside the file, rows padded to four bytes.
  const std::uint64_t rowBytes =
      ((static_cast<std::uint64_t>(info.biWidth) * info.biBitCount + 31) / 32) * 4;
  const std::uint64_t rows = static_cast<std::uint64_t>(
      info.biHeight < 0 ? -static_cast<std::int64_t>(info.biHeight) : info.biHeight);
  if (header.bfOffBits + rowBytes * rows > file.size()) return nullptr;
  const auto* bitmapInfo = reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof(header));
  const ScreenDc screen = GetScreenDc();
  return GdiBitmap(CreateDIBitmap(screen.get(), &bitmapInfo->bmiHeader, CBM_INIT,
                                  file.data() + header.bfOffBits, bitmapInfo, DIB_RGB_COLORS));
}

// A real image list of the framework's pictures, for the list view to draw.
HIMAGELIST MakeImageList(const ImageListPictures& pictures) {
  HIMAGELIST list = ImageList_Create(pictures.imageWidth, pictures.imageHeight,
                                     ILC_COLOR24 | (pictures.masked ? ILC_MASK : 0),
                                     static_cast<int>(pictures.strips.size()), 1);
  if (list == nullptr) return nullptr;
  for (const ImageStrip& strip : pictures.strips) {
    const GdiBitmap bitmap = BitmapOfFile(strip.bmpFile);
    if (bitmap != nullptr) ImageList_AddMasked(list, bitmap.get(), strip.maskColour);
  }
  return list;
}

// One control of a real dialog.
class Win32Control : public ControlWindow {
 public:
  explicit Win32Control(HWND window) : window_(window), kind_(KindOf(ClassName())) {}

  int Id() const override { return GetDlgCtrlID(window_); }
  std::string ClassName() const override { return WindowClassOf(window_); }
  std::uint32_t Style() const override {
    return static_cast<std::uint32_t>(GetWindowLongA(window_, GWL_STYLE));
  }
  void ModifyStyle(std::uint32_t remove, std::uint32_t add) override {
    const std::uint32_t style = (Style() & ~remove) | add;
    SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(style));
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  std::string Text() const override { return WindowTextOf(window_); }
  void SetText(std::string_view text) override {
    const std::string terminated(text);
    SetWindowTextA(window_, terminated.c_str());
  }
  bool IsEnabled() const override { return IsWindowEnabled(window_) != FALSE; }
  void Enable(bool enable) override { EnableWindow(window_, enable ? TRUE : FALSE); }
  bool IsVisible() const override { return (Style() & WS_VISIBLE) != 0; }
  void Show(bool show) override { ShowWindow(window_, show ? SW_SHOW : SW_HIDE); }
  std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  LRESULT Raw(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window_, message, wParam, lParam);
  }
  std::intptr_t SendListItem(unsigned message, std::uintptr_t wParam, ListViewItem& item);
  std::intptr_t SendTimes(unsigned message, std::uintptr_t wParam, SystemTime* times);

  enum class Kind { kOther, kListView, kDateTimePicker, kScrollBar };
  static Kind KindOf(const std::string& windowClass) {
    if (lstrcmpiA(windowClass.c_str(), WC_LISTVIEWA) == 0) return Kind::kListView;
    if (lstrcmpiA(windowClass.c_str(), DATETIMEPICK_CLASSA) == 0) return Kind::kDateTimePicker;
    if (lstrcmpiA(windowClass.c_str(), "ScrollBar") == 0) return Kind::kScrollBar;
    return Kind::kOther;
  }

  HWND window_;
  Kind kind_;
  // The framework's image lists, kept as they were given: no icon is drawn.
  std::map<int, std::intptr_t> imageLists_;
};

std::intptr_t Win32Control::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  using namespace window;
  // The common controls' messages share their numbers: the class tells them apart.
  if (kind_ == Kind::kListView) {
    switch (message) {
      case kLvmInsertItem:
      case kLvmSetItem:
      case kLvmGetItem:
      case kLvmSetItemState:
      case kLvmGetItemText:
      case kLvmSetItemText:
        if (lParam == 0) return 0;
        return SendListItem(message, wParam, *reinterpret_cast<ListViewItem*>(lParam));
      case kLvmInsertColumn: {
        const auto* column = reinterpret_cast<const ListViewColumn*>(lParam);
        if (column == nullptr) return -1;
        std::string heading(column->heading != nullptr ? column->heading : "");
        LVCOLUMNA converted{};
        converted.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        converted.cx = column->width;
        converted.pszText = heading.data();
        converted.iSubItem = static_cast<int>(wParam);
        return Raw(LVM_INSERTCOLUMNA, wParam, reinterpret_cast<LPARAM>(&converted));
      }
      case kLvmSetImageList: {
        std::intptr_t& slot = imageLists_[static_cast<int>(wParam)];
        const std::intptr_t previous = slot;
        slot = lParam;
        const auto* pictures = reinterpret_cast<const ImageListPictures*>(lParam);
        HIMAGELIST drawn = pictures != nullptr ? MakeImageList(*pictures) : nullptr;
        // The list view destroys the list it holds when it goes; one it no
        // longer holds is ours to destroy.
        auto replaced = reinterpret_cast<HIMAGELIST>(
            Raw(LVM_SETIMAGELIST, wParam, reinterpret_cast<LPARAM>(drawn)));
        if (replaced != nullptr && replaced != drawn) ImageList_Destroy(replaced);
        return previous;
      }
      case kLvmGetImageList: {
        const auto found = imageLists_.find(static_cast<int>(wParam));
        return found != imageLists_.end() ? found->second : 0;
      }
      default:
        break;
    }
  }
  if (kind_ == Kind::kDateTimePicker) {
    switch (message) {
      case kDtmGetSystemTime:
      case kDtmSetSystemTime:
      case kDtmGetRange:
      case kDtmSetRange:
        return SendTimes(message, wParam, reinterpret_cast<SystemTime*>(lParam));
      default:
        break;
    }
  }
  if (kind_ == Kind::kScrollBar && message == kSbmEnableArrows) {
    // EnableScrollBar also enables or disables the control with both arrows.
    return EnableScrollBar(window_, SB_CTL, static_cast<UINT>(wParam)) != FALSE ? 1 : 0;
  }
  return Raw(message, wParam, lParam);
}

std::intptr_t Win32Control::SendListItem(unsigned message, std::uintptr_t wParam,
                                         ListViewItem& item) {
  using namespace window;
  LVITEMA converted = ToListItem(item);
  if (message == kLvmGetItemText) {
    converted.mask = LVIF_TEXT;
    converted.iItem = static_cast<int>(wParam);
  }
  const LRESULT result = Raw(message, wParam, reinterpret_cast<LPARAM>(&converted));
  if (message == kLvmGetItem) {
    item.image = converted.iImage;
    item.state = converted.state;
    item.param = converted.lParam;
  }
  return result;
}

std::intptr_t Win32Control::SendTimes(unsigned message, std::uintptr_t wParam, SystemTime* times) {
  using namespace window;
  if (times == nullptr) return 0;
  const bool range = message == kDtmGetRange || message == kDtmSetRange;
  SYSTEMTIME converted[2] = {ToSystemTime(times[0]), range ? ToSystemTime(times[1]) : SYSTEMTIME{}};
  const LRESULT result = Raw(message, wParam, reinterpret_cast<LPARAM>(converted));
  if (message == kDtmGetSystemTime || message == kDtmGetRange) {
    times[0] = FromSystemTime(converted[0]);
    if (range) times[1] = FromSystemTime(converted[1]);
  }
  return result;
}

// The dialog's own window, while it exists.
class Win32Dialog : public DialogWindow {
 public:
  void Attach(HWND window) {
    window_ = window;
    controls_.clear();
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      controls_.push_back(std::make_unique<Win32Control>(child));
    }
  }
  void Detach() {
    controls_.clear();
    window_ = nullptr;
  }
  HWND window() const { return window_; }

  std::vector<ControlWindow*> Controls() override {
    std::vector<ControlWindow*> controls;
    controls.reserve(controls_.size());
    for (const auto& control : controls_) controls.push_back(control.get());
    return controls;
  }
  ControlWindow* Control(int id) override {
    for (const auto& control : controls_) {
      if (control->Id() == id) return control.get();
    }
    return nullptr;
  }
  std::string Title() const override { return WindowTextOf(window_); }
  void SetTitle(std::string_view title) override {
    const std::string terminated(title);
    SetWindowTextA(window_, terminated.c_str());
  }
  void SetTopmost(bool topmost) override {
    SetWindowPos(window_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
  }
  int Focus() const override {
    // A combo box's edit field has the focus for its combo box.
    HWND focused = GetFocus();
    while (focused != nullptr && GetParent(focused) != window_) focused = GetParent(focused);
    return focused != nullptr ? GetDlgCtrlID(focused) : 0;
  }
  void SetFocus(int id) override {
    HWND control = GetDlgItem(window_, id);
    if (control != nullptr)
      SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  }
  void End(int result) override {
    ended_ = true;
    EndDialog(window_, result);
  }
  WindowHandle Handle() override { return window_; }
  bool ended() const { return ended_; }

 private:
  HWND window_ = nullptr;
  bool ended_ = false;
  std::vector<std::unique_ptr<Win32Control>> controls_;
};

// A dialog a user script plays. The statements reach it one timer tick at a
// time: a timer fires only when the loop has nothing else to do, so the input
// one statement posted has been handled, and the dialog shown and painted, as
// for a person, before the next one is played.
class ScriptedRun {
 public:
  ScriptedRun(ScriptSession& session, int templateId)
      : session_(session), templateId_(templateId) {}

  // WM_INITDIALOG: the window and its controls exist.
  void Start(HWND window) {
    dialog_.emplace(window, templateId_);
    entry_.emplace(window, templateId_);
    player_.emplace(
        session_.user(), [this](const nlohmann::json& record) { session_.Record(record); },
        CurrentMachine().kernel().AnsiCodePage());
    SetTimer(window, kTimer, kTickMilliseconds, nullptr);
  }

  void Tick(HWND window, bool ended) {
    if (!dialog_ || phase_ == Phase::kDone) return;
    // A dialog opened from this one has the user's attention until it closes.
    if (scripted::InnermostOpenDialog() != window) return;
    if (ended) dialog_->MarkEnded();
    if (phase_ == Phase::kPlaying) {
      if (player_->PlayNext(*dialog_)) return;
      TakePicture(window);
      // The user is done with it: it closes as by Escape.
      UserAction escape;
      escape.kind = UserAction::Kind::Escape;
      dialog_->Apply(escape);
      phase_ = Phase::kClosing;
      return;
    }
    // A dialog that will not close on Escape would hold the caller for ever.
    dialog_->End(IDCANCEL);
    phase_ = Phase::kDone;
  }

  // WM_DESTROY.
  void Stop(HWND window) {
    if (!dialog_) return;
    KillTimer(window, kTimer);
    title_ = dialog_->Title();
    entry_.reset();
  }

  // The modal loop is over: what the dialog ended with goes to the trace.
  void Finish(const resources::DialogTemplate& dialogTemplate, int result) {
    if (!dialog_) title_ = TitleOf(dialogTemplate);
    session_.Record(scripted::DialogRecord(templateId_, title_, result));
  }

  static constexpr UINT_PTR kTimer = 0x5C21;

 private:
  enum class Phase { kPlaying, kClosing, kDone };
  static constexpr UINT kTickMilliseconds = USER_TIMER_MINIMUM;

  // The dialog as the user leaves it, when pictures are asked for.
  void TakePicture(HWND window) const {
    const std::string& folder = session_.picturesFolder();
    if (folder.empty() || !dialog_->IsOpen()) return;
    SaveWindowPicture(window, folder + "\\" + std::to_string(templateId_) + ".bmp");
  }

  static std::string TitleOf(const resources::DialogTemplate& dialogTemplate) {
    Kernel& kernel = CurrentMachine().kernel();
    const int bytes = kernel.WideToAnsi(CP_ACP, dialogTemplate.title, nullptr, 0);
    std::string title(bytes > 0 ? static_cast<std::size_t>(bytes) : 0, '\0');
    if (bytes > 0) kernel.WideToAnsi(CP_ACP, dialogTemplate.title, title.data(), bytes);
    return title;
  }

  ScriptSession& session_;
  int templateId_;
  std::optional<ScriptedDialog> dialog_;
  std::optional<scripted::OpenDialogEntry> entry_;
  std::optional<scripted::ScriptPlayer> player_;
  Phase phase_ = Phase::kPlaying;
  std::string title_;
};

// One modal run: the window, the code behind it, the script that plays it if
// any, and what a handler threw (an exception must not cross the system's
// modal loop).
struct ModalRun {
  DialogEvents& events;
  Win32Dialog window;
  ScriptedRun* scripted = nullptr;
  std::exception_ptr failure;

  template <class F>
  INT_PTR Guard(HWND dialog, F handler) {
    if (failure) return FALSE;
    try {
      return handler();
    } catch (...) {
      failure = std::current_exception();
      EndDialog(dialog, kDialogNotCreated);
      return FALSE;
    }
  }
};

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<ModalRun*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    run->window.Attach(dialog);
    return run->Guard(dialog, [run, dialog] {
      const bool focusFirst = run->events.WindowInitDialog(run->window);
      if (run->scripted != nullptr) run->scripted->Start(dialog);
      return focusFirst ? TRUE : FALSE;
    });
  }
  auto* run = reinterpret_cast<ModalRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (run == nullptr || run->window.window() != dialog) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return run->Guard(dialog, [&] {
        run->events.WindowCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      });
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header == nullptr) return FALSE;
      ControlNotification notification;
      notification.control = static_cast<int>(header->idFrom);
      notification.code = static_cast<int>(header->code);
      if (header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        notification.item = change->iItem;
        notification.oldState = change->uOldState;
        notification.newState = change->uNewState;
      }
      // The default answer (0) stands for every notification.
      return run->Guard(dialog, [&] {
        run->events.WindowNotify(notification);
        return FALSE;
      });
    }
    case WM_VSCROLL:
    case WM_HSCROLL: {
      // Only scroll bar controls: a dialog's own bars have no control.
      HWND bar = reinterpret_cast<HWND>(lParam);
      if (bar == nullptr) return FALSE;
      return run->Guard(dialog, [&] {
        run->events.WindowScroll(GetDlgCtrlID(bar), message == WM_VSCROLL, LOWORD(wParam),
                                 static_cast<short>(HIWORD(wParam)));
        return TRUE;
      });
    }
    case WM_CHAR: {
      const char character[2] = {static_cast<char>(wParam), '\0'};
      return run->Guard(dialog, [&] {
        return run->events.WindowKey(DialogEvents::KeyMessage::kChar, character) ? FALSE : TRUE;
      });
    }
    case WM_TIMER:
      if (wParam != ScriptedRun::kTimer || run->scripted == nullptr) return FALSE;
      return run->Guard(dialog, [&] {
        run->scripted->Tick(dialog, run->window.ended());
        return TRUE;
      });
    case WM_DESTROY:
      if (run->scripted != nullptr) run->scripted->Stop(dialog);
      // Always told, even after a failure: the code behind drops its controls.
      try {
        run->events.WindowDestroy(run->window);
      } catch (...) {
        if (!run->failure) run->failure = std::current_exception();
      }
      run->window.Detach();
      return FALSE;
    default:
      return FALSE;
  }
}

// DLGTEMPLATEEX in memory, built from a template table.
class TemplateWriter {
 public:
  explicit TemplateWriter(const resources::DialogTemplate& dialog) {
    const bool hasFont = !dialog.fontName.empty();
    DWORD style = dialog.style != 0 ? dialog.style : kDefaultDialogStyle;
    if (hasFont) style |= DS_SETFONT;
    Word(1);       // dlgVer
    Word(0xFFFF);  // signature
    Dword(0);      // helpID
    Dword(dialog.exStyle);
    Dword(style);
    Word(static_cast<WORD>(dialog.controls.size()));
    Word(static_cast<WORD>(dialog.x));
    Word(static_cast<WORD>(dialog.y));
    Word(static_cast<WORD>(dialog.width));
    Word(static_cast<WORD>(dialog.height));
    Word(0);  // no menu
    Word(0);  // the dialog class
    Text(dialog.title);
    if (hasFont) {
      Word(static_cast<WORD>(dialog.pointSize));
      Word(FW_NORMAL);
      Byte(0);  // not italic
      Byte(DEFAULT_CHARSET);
      Text(dialog.fontName);
    }
    for (const resources::DialogControl& control : dialog.controls) {
      Align();
      Dword(0);  // helpID
      Dword(control.exStyle);
      Dword(control.style | WS_CHILD);
      Word(static_cast<WORD>(control.x));
      Word(static_cast<WORD>(control.y));
      Word(static_cast<WORD>(control.width));
      Word(static_cast<WORD>(control.height));
      Dword(static_cast<DWORD>(control.id));
      Text(control.windowClass);
      Text(control.text);
      Word(0);  // no creation data
    }
    // The template must be DWORD-aligned in memory.
    words_.assign((bytes_.size() + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    std::memcpy(words_.data(), bytes_.data(), bytes_.size());
  }
  const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  static constexpr DWORD kDefaultDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

  void Byte(BYTE value) { bytes_.push_back(value); }
  void Word(WORD value) {
    Byte(static_cast<BYTE>(value & 0xFF));
    Byte(static_cast<BYTE>(value >> 8));
  }
  void Dword(DWORD value) {
    Word(static_cast<WORD>(value & 0xFFFF));
    Word(static_cast<WORD>(value >> 16));
  }
  void Text(std::u16string_view text) {
    for (char16_t unit : text) Word(unit);
    Word(0);
  }
  void Text(std::string_view text) {
    for (char c : text) Word(static_cast<unsigned char>(c));
    Word(0);
  }
  void Align() {
    while (bytes_.size() % sizeof(DWORD) != 0) Byte(0);
  }

  std::vector<BYTE> bytes_;
  std::vector<DWORD> words_;
};

const DLGTEMPLATE* ModuleTemplate(HMODULE module, int id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  return loaded != nullptr ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
}

}  // namespace

int Win32WindowSystem::RunModalDialog(const resources::DialogTemplate& dialogTemplate,
                                      bool fromModule, DialogEvents& events) {
  InitCommonControlsOnce();
  HMODULE module = ThisModule();
  const DLGTEMPLATE* resource = fromModule ? ModuleTemplate(module, dialogTemplate.id) : nullptr;
  std::unique_ptr<TemplateWriter> built;
  if (resource == nullptr) {
    built = std::make_unique<TemplateWriter>(dialogTemplate);
    resource = built->data();
  }
  std::optional<ScriptedRun> scripted;
  if (ScriptSession* session = ScriptSession::Current())
    scripted.emplace(*session, dialogTemplate.id);
  ModalRun run{events, {}, scripted ? &*scripted : nullptr, nullptr};
  const INT_PTR result = DialogBoxIndirectParamA(module, resource, GetActiveWindow(),
                                                 &DialogProcedure, reinterpret_cast<LPARAM>(&run));
  if (scripted) scripted->Finish(dialogTemplate, static_cast<int>(result));
  if (run.failure) std::rethrow_exception(run.failure);
  return static_cast<int>(result);
}

}  // namespace platform::win32

namespace platform {

WindowSystem& CurrentWindowSystem() {
  static win32::Win32WindowSystem system;
  return system;
}

}  // namespace platform
