#include <gtest/gtest.h>
#include <process.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win32/win32_kernel.h"

namespace platform::win32 {
namespace {

constexpr SystemTime kMorning{2024, 3, 2, 5, 9, 30, 15, 0};

TEST(Win32KernelFormats, DatesAndTimesFollowThePictureAndTheCapacity) {
  Win32Kernel kernel;
  std::array<char, 32> text{};
  EXPECT_EQ(kernel.GetDateFormat(0, &kMorning, "yyyy-MM-dd", text.data(), text.size()), 11);
  EXPECT_EQ(std::string(text.data()), "2024-03-05");
  EXPECT_EQ(kernel.GetDateFormat(0, &kMorning, "yyyy-MM-dd", nullptr, 0), 11);

  text.fill('#');
  EXPECT_EQ(kernel.GetDateFormat(0, &kMorning, "yyyy-MM-dd", text.data(), 5), 0);
  for (std::size_t i = 5; i < text.size(); ++i) EXPECT_EQ(text[i], '#') << i;

  EXPECT_EQ(kernel.GetTimeFormat(kTimeNoSeconds, &kMorning, "HH:mm", text.data(), text.size()), 6);
  EXPECT_EQ(std::string(text.data()), "09:30");
  EXPECT_GT(kernel.GetLocaleInfo(kLocaleSShortDate, text.data(), text.size()), 1);
  EXPECT_EQ(kernel.GetDateFormat(0, &kMorning, nullptr, text.data(), -1), 0);
}

// The test setting is read when the kernel is made; it goes again on every path.
class FrozenClockSetting {
 public:
  explicit FrozenClockSetting(const char* text) { _putenv_s(kFrozenClockVariable, text); }
  ~FrozenClockSetting() { _putenv_s(kFrozenClockVariable, ""); }
};

TEST(Win32KernelClock, TheTestSettingFreezesNowForEveryReaderAndABadOneIsIgnored) {
  {
    const FrozenClockSetting setting("1999-12-31 23:59:58");
    Win32Kernel kernel;
    const SystemTime now = kernel.GetLocalTime();
    EXPECT_EQ(now.year, 1999);
    EXPECT_EQ(now.month, 12);
    EXPECT_EQ(now.day, 31);
    EXPECT_EQ(now.dayOfWeek, 5);  // a Friday
    EXPECT_EQ(now.second, 58);
    // A format without a time formats the frozen now, not the system's.
    std::array<char, 32> text{};
    ASSERT_EQ(kernel.GetDateFormat(0, nullptr, "yyyy-MM-dd", text.data(), text.size()), 11);
    EXPECT_EQ(std::string(text.data()), "1999-12-31");
    ASSERT_EQ(kernel.GetTimeFormat(0, nullptr, "HH:mm:ss", text.data(), text.size()), 9);
    EXPECT_EQ(std::string(text.data()), "23:59:58");
    const std::tm broken = kernel.CurrentLocalBreakdown();
    EXPECT_EQ(broken.tm_year, 99);
    EXPECT_EQ(broken.tm_mday, 31);
    EXPECT_EQ(broken.tm_hour, 23);
  }
  const FrozenClockSetting malformed("1999-02-30 10:00:00");
  Win32Kernel kernel;
  EXPECT_GT(kernel.GetLocalTime().year, 2000);
}

TEST(Win32KernelCodePages, CharactersACodePageLacksBecomeQuestionMarks) {
  Win32Kernel kernel;
  std::array<char, 16> bytes{};
  ASSERT_EQ(kernel.WideToAnsi(1252, u"\u00e9\u20ac", bytes.data(), bytes.size()), 2);
  EXPECT_EQ(std::string(bytes.data(), 2), "\xE9\x80");
  ASSERT_EQ(kernel.WideToAnsi(1252, u"\u4e2d", bytes.data(), bytes.size()), 1);
  EXPECT_EQ(bytes[0], '?');
  EXPECT_EQ(kernel.WideToAnsi(936, u"\u4e2d", nullptr, 0), 2);

  std::array<char16_t, 4> wide{};
  ASSERT_EQ(kernel.AnsiToWide(936, "\xD6\xD0", wide.data(), wide.size()), 1);
  EXPECT_EQ(wide[0], u'\u4e2d');
  EXPECT_EQ(kernel.WideToAnsi(1252, u"abc", bytes.data(), 2), 0);  // does not fit
}

TEST(Win32KernelFiles, ShortPathsAnswerAsGetShortPathNameA) {
  Win32Kernel kernel;
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("vx5prcfg kernel test " + std::to_string(_getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / "a rather long file name.text";
  std::ofstream(file) << "x";
  const std::string longPath = file.string();

  std::array<char, 260> shortPath{};
  const std::uint32_t length =
      kernel.GetShortPathName(longPath.c_str(), shortPath.data(), shortPath.size());
  ASSERT_GT(length, 0u);
  EXPECT_EQ(length, std::string(shortPath.data()).size());
  EXPECT_TRUE(std::filesystem::exists(shortPath.data()));
  // Too small a buffer: the size needed, NUL included.
  EXPECT_EQ(kernel.GetShortPathName(longPath.c_str(), shortPath.data(), 3), length + 1);
  EXPECT_EQ(
      kernel.GetShortPathName((longPath + ".missing").c_str(), shortPath.data(), shortPath.size()),
      0u);
  EXPECT_EQ(kernel.GetShortPathName(nullptr, shortPath.data(), shortPath.size()), 0u);
  std::filesystem::remove_all(folder);
}

TEST(Win32KernelModules, LibrariesLoadAndNameTheirEntryPoints) {
  Win32Kernel kernel;
  void* module = kernel.LoadLibrary("kernel32.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_NE(kernel.GetProcAddress(module, "GetACP"), nullptr);
  EXPECT_EQ(kernel.GetProcAddress(module, "NoSuchEntryPoint"), nullptr);
  EXPECT_EQ(kernel.GetProcAddress(nullptr, "GetACP"), nullptr);
  kernel.FreeLibrary(module);
  EXPECT_EQ(kernel.LoadLibrary("no-such-library.dll"), nullptr);
  EXPECT_EQ(kernel.LoadLibrary(nullptr), nullptr);

  void* block = kernel.GlobalAlloc(144);
  ASSERT_NE(block, nullptr);
  static_cast<char*>(block)[143] = 'x';
  kernel.GlobalFree(block);
  EXPECT_EQ(kernel.GetVersion().platformId, 2u);  // NT
}

}  // namespace
}  // namespace platform::win32
