#include "prompts/module_utilities.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "exports/vx5prcfg.h"
#include "platform/machine.h"
#include "platform/simulated/simulated_kernel.h"
#include "platform/simulated/simulated_machine.h"
#include "tests/support/time_zone.h"

namespace prompts {
namespace {

using platform::SystemTime;
using platform::simulated::KernelSettings;
using platform::simulated::SimulatedKernel;

// A machine with nothing but a kernel: the utilities must not reach further.
class KernelOnlyMachine : public platform::Machine {
 public:
  explicit KernelOnlyMachine(KernelSettings settings) : kernel_(std::move(settings)) {}
  platform::Spooler& spooler() override { Unexpected("spooler"); }
  platform::Registry& registry() override { Unexpected("registry"); }
  platform::Network& network() override { Unexpected("network"); }
  platform::UserInterface& ui() override { Unexpected("user interface"); }
  platform::Kernel& kernel() override { return kernel_; }

 private:
  [[noreturn]] static void Unexpected(const char* what) {
    ADD_FAILURE() << "the module utilities reached the " << what;
    std::abort();
  }
  SimulatedKernel kernel_;
};

// Installs a machine for one test and the previous one back after it.
class InstalledMachine {
 public:
  explicit InstalledMachine(std::unique_ptr<platform::Machine> machine)
      : previous_(platform::InstallMachine(std::move(machine))) {}
  explicit InstalledMachine(KernelSettings settings)
      : InstalledMachine(std::make_unique<KernelOnlyMachine>(std::move(settings))) {}
  ~InstalledMachine() { platform::InstallMachine(std::move(previous_)); }
  InstalledMachine(const InstalledMachine&) = delete;
  InstalledMachine& operator=(const InstalledMachine&) = delete;

 private:
  std::unique_ptr<platform::Machine> previous_;
};

using test_support::TimeZone;

constexpr SystemTime kSummerMorning{2012, 5, 0, 17, 9, 5, 0, 0};
constexpr SystemTime kSummerMorningWithSeconds{2012, 5, 0, 17, 9, 5, 7, 0};
constexpr SystemTime kWinterNoon{2012, 1, 0, 10, 12, 0, 0, 0};
constexpr SystemTime kNewYear2040{2040, 1, 0, 1, 0, 0, 0, 0};

KernelSettings FrozenAt(const SystemTime& now) {
  KernelSettings settings;
  settings.frozenNow = now;
  return settings;
}

TEST(FormatPjlTimeTest, GivesTheTrueSecondsOfASummerTime) {
  TimeZone zone("Europe/Berlin");
  InstalledMachine machine(FrozenAt(kSummerMorning));
  EXPECT_EQ(FormatPjlTime(kSummerMorning), "T1337238300");
}

TEST(FormatPjlTimeTest, ReadsAnyTimeWithTheDaylightSavingFlagOfNow) {
  TimeZone zone("Europe/Berlin");
  // In winter the summer morning is read as standard time: an hour later.
  InstalledMachine machine(FrozenAt(kWinterNoon));
  EXPECT_EQ(FormatPjlTime(kSummerMorning), "T1337241900");
  EXPECT_EQ(FormatPjlTime(kWinterNoon), "T1326193200");
}

TEST(FormatPjlTimeTest, PrintsTheLow32BitsSignedAfter2038) {
  TimeZone zone("UTC");
  InstalledMachine machine(FrozenAt(kNewYear2040));
  EXPECT_EQ(FormatPjlTime(kNewYear2040), "T-2085978496");
}

TEST(FormatPjlTimeTest, StaysWithinTheBufferItIsGiven) {
  TimeZone zone("UTC");
  InstalledMachine machine(FrozenAt(kNewYear2040));
  char text[6];
  std::memset(text, 'x', sizeof text);
  FormatPjlTime(kNewYear2040, text, 5);
  EXPECT_STREQ(text, "T-20");
  EXPECT_EQ(text[5], 'x');
}

TEST(GetCurrentTimePJLTest, WritesTheCurrentLocalTime) {
  TimeZone zone("Europe/Berlin");
  InstalledMachine machine(FrozenAt(kSummerMorning));
  char text[kPjlTimeTextCapacity] = {};
  EXPECT_EQ(GetCurrentTimePJL(text), 1);
  EXPECT_STREQ(text, "T1337238300");
  EXPECT_EQ(GetCurrentTimePJL(nullptr), 0);
}

TEST(GetCurrentTimeSTest, WritesDateAndTimeWithoutSecondsInTheUsersFormats) {
  InstalledMachine machine(FrozenAt(kSummerMorningWithSeconds));
  char text[kCurrentTimeTextCapacity] = {};
  EXPECT_EQ(GetCurrentTimeS(text), 1);
  EXPECT_STREQ(text, "5/17/2012 9:05 AM");
}

TEST(GetCurrentTimeSTest, FollowsOtherLocales) {
  KernelSettings german = FrozenAt(kSummerMorningWithSeconds);
  german.shortDate = "dd.MM.yyyy";
  german.timeFormat = "HH:mm:ss";
  InstalledMachine machine(german);
  char text[kCurrentTimeTextCapacity] = {};
  EXPECT_EQ(GetCurrentTimeS(text), 1);
  EXPECT_STREQ(text, "17.05.2012 09:05");
}

TEST(GetCurrentTimeSTest, ANullBufferIsRefused) {
  InstalledMachine machine(FrozenAt(kSummerMorningWithSeconds));
  EXPECT_EQ(GetCurrentTimeS(nullptr), 0);
}

TEST(GetCurrentTimeSTest, LongPicturesStayWithinTheCallersBuffer) {
  // Each part fills its 256-byte buffer only when it fits there; a part
  // too long for it is left empty.
  KernelSettings verbose = FrozenAt(kSummerMorningWithSeconds);
  verbose.shortDate = std::string(253, 'x') + "d";
  verbose.timeFormat = std::string(300, 'z');
  InstalledMachine machine(verbose);
  char text[kCurrentTimeTextCapacity + 1];
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(GetCurrentTimeS(text), 1);
  EXPECT_EQ(std::string(text), std::string(253, 'x') + "17 ");
  EXPECT_EQ(text[kCurrentTimeTextCapacity], '#');
}

TEST(GetCurrentTimeSTest, TakesClockAndPicturesFromTheMachineProfile) {
  // A Chinese machine: "yyyy年M月d日" and "tt h:mm:ss" in code page 936.
  InstalledMachine machine(platform::simulated::SimulatedMachine::FromRegistryLines(
      "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n"
      "\"AnsiCodePage\"=dword:000003a8\n"
      "\"Now\"=\"2012-05-17 21:05:07\"\n"
      "[HKCU\\Control Panel\\International]\n"
      "\"sShortDate\"=\"yyyy\xE5\xB9\xB4M\xE6\x9C\x88"
      "d\xE6\x97\xA5\"\n"
      "\"sTimeFormat\"=\"tt h:mm:ss\"\n"));
  char text[kCurrentTimeTextCapacity] = {};
  EXPECT_EQ(GetCurrentTimeS(text), 1);
  EXPECT_STREQ(text,
               "2012\xc4\xea"
               "5\xd4\xc2"
               "17\xc8\xd5 PM 9:05");
}

TEST(GetShortPathNameFromDllTest, PassesTheKernelsAnswerThrough) {
  InstalledMachine machine(KernelSettings{});
  const std::string existing = std::filesystem::temp_directory_path().string();
  char shortPath[kShortPathCapacity] = {};
  EXPECT_EQ(GetShortPathNameFromDll(existing.c_str(), shortPath), existing.size());
  EXPECT_EQ(shortPath, existing);
  EXPECT_EQ(GetShortPathNameFromDll("/no/such/path/at/all", shortPath), 0u);
}

TEST(GetShortPathNameFromDllTest, OffersTheKernel260Bytes) {
  InstalledMachine machine(KernelSettings{});
  // A path of 300 characters that exists: ".////...////."
  const std::string longPath = "." + std::string(298, '/') + ".";
  char shortPath[kShortPathCapacity];
  EXPECT_EQ(GetShortPathNameFromDll(longPath.c_str(), shortPath), longPath.size() + 1);
}

TEST(GetShortPathNameFromDllTest, NullArgumentsFailAndWriteNothing) {
  InstalledMachine machine(KernelSettings{});
  char shortPath[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetShortPathNameFromDll(nullptr, shortPath), 0u);
  EXPECT_EQ(shortPath[0], 'x');
  EXPECT_EQ(GetShortPathNameFromDll(".", nullptr), 0u);
}

}  // namespace
}  // namespace prompts
