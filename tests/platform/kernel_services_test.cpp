#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/simulated/simulated_kernel.h"

namespace platform::simulated {
namespace {

constexpr std::uint32_t kSimplifiedChinese = 936;
constexpr std::uint32_t kWesternEuropean = 1252;

SimulatedKernel KernelWithCodePage(std::uint32_t codePage) {
  KernelSettings settings;
  settings.ansiCodePage = codePage;
  return SimulatedKernel(settings);
}

TEST(KernelCodePageTest, TheAnsiCodePageIdsMeanTheMachinesCodePage) {
  SimulatedKernel chinese = KernelWithCodePage(kSimplifiedChinese);
  EXPECT_EQ(chinese.AnsiCodePage(), kSimplifiedChinese);
  char out[8] = {};
  EXPECT_EQ(chinese.WideToAnsi(kCodePageAnsi, u"设备", out, sizeof out), 4);
  EXPECT_EQ(std::string(out, 4), "\xc9\xe8\xb1\xb8");
  EXPECT_EQ(chinese.WideToAnsi(kCodePageThreadAnsi, u"设备", out, sizeof out), 4);
  EXPECT_EQ(chinese.WideToAnsi(kWesternEuropean, u"设备", out, sizeof out), 2);
  EXPECT_EQ(std::string(out, 2), "??");

  char16_t wide[4] = {};
  EXPECT_EQ(chinese.AnsiToWide(kCodePageAnsi, "\xc9\xe8\xb1\xb8", wide, 4), 2);
  EXPECT_EQ(std::u16string(wide, 2), u"设备");
  EXPECT_EQ(KernelWithCodePage(kWesternEuropean).AnsiToWide(kCodePageAnsi, "\xe9", wide, 4), 1);
  EXPECT_EQ(wide[0], u'\u00e9');
}

TEST(KernelVersionTest, ReportsTheConfiguredVersion) {
  KernelSettings settings;
  settings.version = {1, 4, 10, 1998};
  const VersionInfo version = SimulatedKernel(settings).GetVersion();
  EXPECT_EQ(version.platformId, 1u);
  EXPECT_EQ(version.majorVersion, 4u);
  EXPECT_EQ(version.minorVersion, 10u);
  EXPECT_EQ(version.buildNumber, 1998u);
  EXPECT_EQ(SimulatedKernel(KernelSettings{}).GetVersion().majorVersion, 10u);
}

class KernelShortPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() /
                 ("kernel short path " + std::to_string(::getpid()));
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::filesystem::path directory_;
  SimulatedKernel kernel_{KernelSettings{}};
};

TEST_F(KernelShortPathTest, AnExistingPathIsItsOwnShortPath) {
  const std::string path = directory_.string();
  char out[260];
  EXPECT_EQ(kernel_.GetShortPathName(path.c_str(), out, sizeof out), path.size());
  EXPECT_EQ(out, path);
}

TEST_F(KernelShortPathTest, TooSmallABufferAsksForTheSizeWithItsNul) {
  const std::string path = directory_.string();
  char out[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(kernel_.GetShortPathName(path.c_str(), out, sizeof out), path.size() + 1);
  EXPECT_EQ(out[0], 'x');
  EXPECT_EQ(kernel_.GetShortPathName(path.c_str(), nullptr, 0), path.size() + 1);
  // Room for the characters but not the NUL is still too small.
  std::string exact(path.size(), 'x');
  EXPECT_EQ(kernel_.GetShortPathName(path.c_str(), exact.data(),
                                     static_cast<std::uint32_t>(exact.size())),
            path.size() + 1);
}

TEST_F(KernelShortPathTest, AMissingPathFails) {
  const std::string missing = (directory_ / "missing").string();
  char out[260] = {};
  EXPECT_EQ(kernel_.GetShortPathName(missing.c_str(), out, sizeof out), 0u);
  EXPECT_EQ(kernel_.GetShortPathName(nullptr, out, sizeof out), 0u);
}

TEST(KernelLibraryTest, LoadsASharedObjectAndFindsItsFunctions) {
  SimulatedKernel kernel{KernelSettings{}};
  void* library = kernel.LoadLibrary("libm.so.6");
  ASSERT_NE(library, nullptr);
  using Cosine = double (*)(double);
  auto cosine = reinterpret_cast<Cosine>(kernel.GetProcAddress(library, "cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(kernel.GetProcAddress(library, "NoSuchFunction"), nullptr);
  kernel.FreeLibrary(library);

  EXPECT_EQ(kernel.LoadLibrary("/nonexistent/library.so"), nullptr);
  EXPECT_EQ(kernel.LoadLibrary(nullptr), nullptr);
  EXPECT_EQ(kernel.GetProcAddress(nullptr, "cos"), nullptr);
  kernel.FreeLibrary(nullptr);
}

TEST(KernelMemoryTest, GlobalMemoryIsTheCHeap) {
  SimulatedKernel kernel{KernelSettings{}};
  void* block = kernel.GlobalAlloc(64);
  ASSERT_NE(block, nullptr);
  std::memset(block, 0xAB, 64);
  std::free(block);  // what a caller of GetBoxInfo does
  kernel.GlobalFree(kernel.GlobalAlloc(16));
  kernel.GlobalFree(nullptr);
}

}  // namespace
}  // namespace platform::simulated
