// These need a display: `./run windows` runs them on a virtual one.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/win32_user_interface.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

constexpr auto kBoxWait = std::chrono::seconds(20);

struct Window {
  HWND handle = CreateWindowExA(0, "STATIC", "vx5prcfg test window", WS_POPUP, 0, 0, 40, 40,
                                nullptr, nullptr, nullptr, nullptr);
  ~Window() {
    if (handle != nullptr) DestroyWindow(handle);
  }
};

BOOL CALLBACK CollectText(HWND child, LPARAM texts) {
  char text[256] = {};
  GetWindowTextA(child, text, sizeof text);
  reinterpret_cast<std::vector<std::string>*>(texts)->emplace_back(text);
  return TRUE;
}

BOOL CALLBACK FindOwnBox(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char windowClass[16] = {};
  GetClassNameA(window, windowClass, sizeof windowClass);
  if (process != GetCurrentProcessId() || std::string(windowClass) != "#32770") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Waits for this process's message box, reads its caption and texts (the
// caption first) and presses OK, whatever the box says: a test never hangs
// on a box it did not expect.
std::vector<std::string> AnswerBox() {
  std::vector<std::string> texts;
  const auto deadline = std::chrono::steady_clock::now() + kBoxWait;
  while (std::chrono::steady_clock::now() < deadline) {
    HWND box = nullptr;
    EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&box));
    if (box != nullptr) {
      CollectText(box, reinterpret_cast<LPARAM>(&texts));
      EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&texts));
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return texts;
}

TEST(Win32MessageBox, ShowsExactlyTheTextsItWasGiven) {
  Win32UserInterface ui;
  // Views into longer texts: the box must end them where the views end.
  const std::string text = "Please Wait...and more";
  const std::string caption = "vx5prcfg test box, not this";
  auto answered = std::async(std::launch::async, AnswerBox);
  const int result = ui.MessageBox(nullptr, std::string_view(text).substr(0, 14),
                                   std::string_view(caption).substr(0, 17), kMbOk);
  const std::vector<std::string> texts = answered.get();
  EXPECT_EQ(result, kIdOk);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "vx5prcfg test box");
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Please Wait..."), texts.end());
}

TEST(Win32MessageBox, AnOwnerThatIsNoWindowLeavesTheBoxWithoutOwner) {
  Win32UserInterface ui;
  int notAWindow = 0;
  auto answered = std::async(std::launch::async, AnswerBox);
  EXPECT_EQ(ui.MessageBox(&notAWindow, "text", "vx5prcfg ownerless box", kMbOk), kIdOk);
  const std::vector<std::string> texts = answered.get();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "vx5prcfg ownerless box");
}

TEST(Win32WaitCursor, TheHourglassGivesBackTheCursorItReplaced) {
  Win32UserInterface ui;
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  SetCursor(arrow);
  ui.SetWaitCursor(true);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  ui.SetWaitCursor(true);  // again, as the module may
  ui.SetWaitCursor(false);
  EXPECT_EQ(GetCursor(), arrow);
  ui.SetWaitCursor(false);
  EXPECT_EQ(GetCursor(), arrow);
}

TEST(Win32Topmost, AWindowComesToTheTopmostBand) {
  Window window;
  ASSERT_NE(window.handle, nullptr) << "no display";
  EXPECT_EQ(GetWindowLongA(window.handle, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_TRUE(Win32UserInterface::MakeTopmost(window.handle));
  EXPECT_NE(GetWindowLongA(window.handle, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  int notAWindow = 0;
  EXPECT_FALSE(Win32UserInterface::MakeTopmost(&notAWindow));
  EXPECT_FALSE(Win32UserInterface::MakeTopmost(nullptr));
}

}  // namespace
}  // namespace platform::win32
