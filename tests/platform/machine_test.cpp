#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/simulated/reg_file_reader.h"
#include "platform/simulated/simulated_machine.h"

namespace platform::simulated {
namespace {

std::string ProfileError(std::string_view lines) {
  try {
    SimulatedMachine::FromRegistryLines(lines);
  } catch (const RegFileError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(MachineSettings, DefaultsOfAnEmptyProfile) {
  auto machine = SimulatedMachine::FromRegistryLines("");
  Kernel& kernel = machine->kernel();
  EXPECT_EQ(kernel.AnsiCodePage(), 1252u);
  EXPECT_EQ(kernel.GetVersion().platformId, 2u);
  EXPECT_EQ(kernel.GetVersion().majorVersion, 10u);
  EXPECT_EQ(kernel.GetVersion().minorVersion, 0u);
  EXPECT_EQ(machine->InteractiveUserSid(), "");
  char text[32];
  ASSERT_GT(kernel.GetLocaleInfo(kLocaleSShortDate, text, sizeof text), 0);
  EXPECT_STREQ(text, "M/d/yyyy");
  ASSERT_GT(kernel.GetLocaleInfo(kLocaleSTimeFormat, text, sizeof text), 0);
  EXPECT_STREQ(text, "h:mm:ss tt");
  ASSERT_GT(kernel.GetLocaleInfo(kLocaleSDecimal, text, sizeof text), 0);
  EXPECT_STREQ(text, ".");
}

TEST(MachineSettings, TheProfileSetsTheKernel) {
  auto machine = SimulatedMachine::FromRegistryLines(
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\System]\n"
      "\"AnsiCodePage\"=dword:000003a4\n"
      "\"PlatformId\"=dword:1\n\"MajorVersion\"=dword:4\n\"MinorVersion\"=dword:0000000a\n"
      "\"Now\"=\"2024-02-29 13:05:09\"\n"
      "\"InteractiveUserSid\"=\"S-1-5-21-1004336348-1177238915-682003330-1001\"\n"
      "[HKEY_CURRENT_USER\\Control Panel\\International]\n"
      "\"sShortDate\"=\"dd.MM.yyyy\"\n\"sTimeFormat\"=\"HH:mm:ss\"\n\"sDecimal\"=\",\"\n");
  Kernel& kernel = machine->kernel();
  EXPECT_EQ(kernel.AnsiCodePage(), 932u);
  EXPECT_EQ(machine->ansiCodePage(), 932u);
  EXPECT_EQ(kernel.GetVersion().platformId, 1u);
  EXPECT_EQ(kernel.GetVersion().majorVersion, 4u);
  EXPECT_EQ(kernel.GetVersion().minorVersion, 10u);
  EXPECT_EQ(machine->InteractiveUserSid(), "S-1-5-21-1004336348-1177238915-682003330-1001");

  const SystemTime now = kernel.GetLocalTime();
  EXPECT_EQ(now.year, 2024);
  EXPECT_EQ(now.month, 2);
  EXPECT_EQ(now.day, 29);
  EXPECT_EQ(now.dayOfWeek, 4) << "a Thursday";
  EXPECT_EQ(now.hour, 13);
  EXPECT_EQ(now.minute, 5);
  EXPECT_EQ(now.second, 9);
  char text[32];
  ASSERT_GT(kernel.GetLocaleInfo(kLocaleSShortDate, text, sizeof text), 0);
  EXPECT_STREQ(text, "dd.MM.yyyy");
  ASSERT_GT(kernel.GetLocaleInfo(kLocaleSDecimal, text, sizeof text), 0);
  EXPECT_STREQ(text, ",");
}

TEST(MachineSettings, UnusableSettingsRefuseTheProfile) {
  const std::string system = "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n";
  EXPECT_EQ(ProfileError(system + "\"AnsiCodePage\"=dword:4d2\n"),
            "<memory>: AnsiCodePage 1234 is not a known code page");
  for (const char* now : {"2023-02-29 10:00:00", "2024-01-01 24:00:00", "2024-1-01 10:00:00",
                          "2024-01-01T10:00:00", "2024-01-01 10:00:00 "}) {
    EXPECT_EQ(ProfileError(system + "\"Now\"=\"" + now + "\"\n"),
              "<memory>: Now is not a \"YYYY-MM-DD HH:MM:SS\" date and time")
        << now;
  }
}

TEST(MachineInstall, ScopedMachineIsCurrentForItsLifetime) {
  {
    ScopedMachine machine(SimulatedMachine::FromRegistryLines("[HKLM\\Marker]\n"));
    EXPECT_EQ(&CurrentMachine(), &*machine);
    EXPECT_NE(CurrentMachine().registry().OpenKey(Hive::LocalMachine, "Marker"), nullptr);
    {
      ScopedMachine inner(SimulatedMachine::FromRegistryLines(""));
      EXPECT_EQ(CurrentMachine().registry().OpenKey(Hive::LocalMachine, "Marker"), nullptr);
    }
    EXPECT_EQ(&CurrentMachine(), &*machine);
  }
}

// A temporary folder for profiles and traces, removed afterwards.
class TempFolder {
 public:
  TempFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("vx5prcfg-machine-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
    return (path_ / name).string();
  }
  std::string Path(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::vector<nlohmann::json> TraceLines(const std::string& path) {
  std::vector<nlohmann::json> lines;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) lines.push_back(nlohmann::json::parse(line));
  return lines;
}

// The environment variables the default machine reads, restored afterwards.
class DefaultMachine : public testing::Test {
 protected:
  void TearDown() override {
    unsetenv(kMachineVariable);
    unsetenv(scripted::kTraceVariable);
  }
  TempFolder folder_;
};

TEST_F(DefaultMachine, LoadsTheProfileNamedByTheEnvironment) {
  const std::string profile =
      folder_.Write("office.reg",
                    "Windows Registry Editor Version 5.00\r\n"
                    "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Q]\r\n");
  setenv(kMachineVariable, profile.c_str(), 1);
  setenv(scripted::kTraceVariable, folder_.Path("trace.jsonl").c_str(), 1);
  std::unique_ptr<Machine> machine = CreateDefaultMachine();
  PrinterHandle handle = machine->spooler().OpenPrinter("Q");
  EXPECT_NE(handle, nullptr);
  machine->spooler().ClosePrinter(handle);

  const auto trace = TraceLines(folder_.Path("trace.jsonl"));
  ASSERT_EQ(trace.size(), 1u);
  EXPECT_EQ(trace[0],
            (nlohmann::json{{"event", "machine"}, {"profile", profile}, {"ansi_code_page", 1252}}));
}

TEST_F(DefaultMachine, ARefusedProfileLeavesAnEmptyMachineAndSaysWhy) {
  const std::string profile =
      folder_.Write("bad.reg",
                    "Windows Registry Editor Version 5.00\n"
                    "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Q]\n\"Port\"=\n");
  setenv(kMachineVariable, profile.c_str(), 1);
  setenv(scripted::kTraceVariable, folder_.Path("trace.jsonl").c_str(), 1);
  testing::internal::CaptureStderr();
  std::unique_ptr<Machine> machine = CreateDefaultMachine();
  const std::string stderrText = testing::internal::GetCapturedStderr();
  EXPECT_EQ(machine->spooler().OpenPrinter("Q"), nullptr);

  const std::string message = profile +
                              ":3: unknown value kind (expected \"text\", dword:, hex:, hex(N): "
                              "or -)";
  EXPECT_EQ(stderrText, "vx5prcfg: " + message + "\n");
  const auto trace = TraceLines(folder_.Path("trace.jsonl"));
  ASSERT_EQ(trace.size(), 2u);
  EXPECT_EQ(trace[0], (nlohmann::json{{"event", "profile_error"}, {"message", message}}));
  EXPECT_EQ(trace[1]["event"], "machine");
  EXPECT_EQ(trace[1]["profile"], nullptr);
}

TEST_F(DefaultMachine, WithoutAProfileTheMachineIsEmpty) {
  unsetenv(kMachineVariable);
  std::unique_ptr<Machine> machine = CreateDefaultMachine();
  EXPECT_TRUE(machine->spooler().EnumPrinters(kPrinterEnumLocal, "").empty());
  EXPECT_EQ(machine->kernel().AnsiCodePage(), 1252u);
}

// The example machine the CLI and the demo use.
TEST(ExampleMachine, OfficeProfileDescribesEveryQueueCompletely) {
  const char* source = std::getenv("VX5PRCFG_SOURCE_DIR");
  if (source == nullptr) GTEST_SKIP() << "VX5PRCFG_SOURCE_DIR not set";
  auto machine = SimulatedMachine::FromFile(std::string(source) + "/sim/machines/office.reg",
                                            scripted::Trace());
  Spooler& spooler = machine->spooler();
  const auto queues = spooler.EnumPrinters(kPrinterEnumLocal | kPrinterEnumConnections, "");
  EXPECT_GE(queues.size(), 9u);
  for (const PrinterInfo2& queue : queues) {
    PrinterHandle handle = spooler.OpenPrinter(queue.printerName);
    ASSERT_NE(handle, nullptr) << queue.printerName;
    EXPECT_FALSE(queue.portName.empty()) << queue.printerName;
    EXPECT_TRUE(spooler.GetPrinterDriver(handle).has_value()) << queue.printerName;
    spooler.ClosePrinter(handle);
  }
  std::vector<SocketAddress> addresses;
  EXPECT_EQ(machine->network().BindNameResolver()->GetAddrInfo(
                "copier.office.test", AddressFamily::Unspecified, &addresses),
            0);
}

}  // namespace
}  // namespace platform::simulated
