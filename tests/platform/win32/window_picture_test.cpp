// Pictures of a real dialog as the screen shows it: its controls' latest
// paint in the file, and no file for what the screen cannot show. They need
// a display: `./run windows` runs them on a virtual one.
#include "platform/win32/window_picture.h"

#include <gtest/gtest.h>
#include <process.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace platform::win32 {
namespace {

constexpr int kSwatch = 101;
constexpr int kLastSwatch = 105;
constexpr UINT kTakePictures = WM_APP + 1;
constexpr UINT kSafetyTimer = 0x7E57;
constexpr COLORREF kFirst = RGB(200, 30, 60);
constexpr COLORREF kSecond = RGB(20, 160, 90);

// A dialog with two static controls, the swatches, painted in a colour of the
// test's, one before and one after a list view, a date-time picker and a button.
std::vector<WORD> SwatchTemplate() {
  std::vector<WORD> words;
  auto dword = [&](DWORD value) {
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
  };
  auto text = [&](const char* value) {
    while (*value != '\0') words.push_back(static_cast<unsigned char>(*value++));
    words.push_back(0);
  };
  auto item = [&](DWORD style, std::initializer_list<WORD> place, const char* windowClass) {
    if (words.size() % 2 != 0) words.push_back(0);  // items start on a DWORD
    dword(style | WS_CHILD | WS_VISIBLE);
    dword(0);
    words.insert(words.end(), place);  // x, y, cx, cy, id
    text(windowClass);
    words.insert(words.end(), {0, 0});  // no text, no creation data
  };
  dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  dword(0);
  words.insert(words.end(), {5, 0, 0, 200, 150, 0, 0});  // five items; no menu, class
  text("Swatches");
  words.push_back(8);
  text("MS Shell Dlg");
  item(SS_LEFT, {10, 10, 80, 20, kSwatch}, "Static");
  item(LVS_REPORT | WS_BORDER, {10, 36, 180, 50, 102}, "SysListView32");
  item(0, {10, 92, 90, 14, 103}, "SysDateTimePick32");
  item(BS_PUSHBUTTON, {110, 92, 50, 14, 104}, "Button");
  item(SS_LEFT, {10, 112, 80, 20, kLastSwatch}, "Static");
  return words;
}

struct SwatchRun {
  std::string first;   // taken once the dialog shows
  std::string second;  // taken after the swatch changed colour, a message waiting
  bool hiddenSaved = true;
  bool unwritableSaved = true;
  bool firstSaved = false;
  bool secondSaved = false;
  RECT swatch{};  // in the window's own coordinates, frame included
  RECT lastSwatch{};
  SIZE window{};
  COLORREF colour = kFirst;
  HBRUSH brush = nullptr;
};

INT_PTR CALLBACK SwatchProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* run = reinterpret_cast<SwatchRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      run = reinterpret_cast<SwatchRun*>(lParam);
      // Not shown yet: the screen has nothing of it.
      run->hiddenSaved = SaveWindowPicture(dialog, run->first);
      SetTimer(dialog, kSafetyTimer, 20000, nullptr);
      return TRUE;
    case WM_SHOWWINDOW:
      // The dialog shows once its queue first runs empty, before any paint.
      if (wParam != FALSE) PostMessageA(dialog, kTakePictures, 0, 0);
      return FALSE;
    case WM_CTLCOLORSTATIC:
      if (run->brush != nullptr) DeleteObject(run->brush);
      run->brush = CreateSolidBrush(run->colour);
      return reinterpret_cast<INT_PTR>(run->brush);
    case kTakePictures: {
      RECT frame{};
      GetWindowRect(dialog, &frame);
      run->window = {frame.right - frame.left, frame.bottom - frame.top};
      GetWindowRect(GetDlgItem(dialog, kSwatch), &run->swatch);
      OffsetRect(&run->swatch, -frame.left, -frame.top);
      GetWindowRect(GetDlgItem(dialog, kLastSwatch), &run->lastSwatch);
      OffsetRect(&run->lastSwatch, -frame.left, -frame.top);
      run->unwritableSaved = SaveWindowPicture(dialog, run->first + ".missing\\picture.bmp");
      run->firstSaved = SaveWindowPicture(dialog, run->first);
      run->colour = kSecond;
      InvalidateRect(GetDlgItem(dialog, kSwatch), nullptr, TRUE);
      InvalidateRect(GetDlgItem(dialog, kLastSwatch), nullptr, TRUE);
      PostMessageA(dialog, WM_NULL, 0, 0);
      run->secondSaved = SaveWindowPicture(dialog, run->second);
      EndDialog(dialog, IDOK);
      return TRUE;
    }
    case WM_TIMER:
      EndDialog(dialog, IDABORT);
      return TRUE;
  }
  return FALSE;
}

struct Bmp {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> bytes;

  explicit Bmp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), {});
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return;
    width = Int(18);
    height = Int(22);
  }
  std::int32_t Int(std::size_t at) const {
    return static_cast<std::int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                     static_cast<std::uint32_t>(bytes[at + 3]) << 24);
  }
  // The pixel at (x, y) from the top left; the rows are stored bottom-up.
  COLORREF At(int x, int y) const {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t at = static_cast<std::size_t>(Int(10)) +
                           stride * static_cast<std::size_t>(height - 1 - y) +
                           static_cast<std::size_t>(x) * 3;
    if (at + 3 > bytes.size()) return CLR_INVALID;
    return RGB(bytes[at + 2], bytes[at + 1], bytes[at]);
  }
};

TEST(WindowPicture, TheScreensLatestPaintOfTheDialogAndItsControls) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("vx5prcfg picture test " + std::to_string(_getpid()));
  std::filesystem::create_directories(folder);
  SwatchRun run;
  run.first = (folder / "first.bmp").string();
  run.second = (folder / "second.bmp").string();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);
  const std::vector<WORD> dialogTemplate = SwatchTemplate();
  const INT_PTR ended = DialogBoxIndirectParamA(
      GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()), nullptr,
      &SwatchProc, reinterpret_cast<LPARAM>(&run));
  if (run.brush != nullptr) DeleteObject(run.brush);
  ASSERT_EQ(ended, IDOK);

  EXPECT_FALSE(run.hiddenSaved);
  EXPECT_FALSE(run.unwritableSaved);
  EXPECT_FALSE(SaveWindowPicture(nullptr, run.first + ".none.bmp"));
  ASSERT_TRUE(run.firstSaved);
  ASSERT_TRUE(run.secondSaved);
  const Bmp first(run.first);
  const Bmp second(run.second);
  EXPECT_EQ(first.width, run.window.cx);
  EXPECT_EQ(first.height, run.window.cy);
  for (const RECT& swatch : {run.swatch, run.lastSwatch}) {
    const int x = (swatch.left + swatch.right) / 2;
    const int y = (swatch.top + swatch.bottom) / 2;
    EXPECT_EQ(first.At(x, y), kFirst);
    // Painted since, while a message waits in the queue as a script's do: on
    // the picture too.
    EXPECT_EQ(second.At(x, y), kSecond);
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace platform::win32
