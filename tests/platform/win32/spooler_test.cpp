#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/win32/win32_spooler.h"
#include "platform/win_types.h"
#include "tests/platform/win32/scratch_key.h"

namespace platform::win32 {
namespace {

constexpr char kPrintersKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
constexpr char kDriversKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3";
constexpr char kPrinterData[] = "PrinterDriverData";

// A queue and its driver as Windows records them; the spooler reads both.
class Win32SpoolerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    driver_.SetText("", "Driver", "vx5pcl.dll");
    driver_.SetText("", "Configuration File", "vx5ui.dll");
    driver_.SetText("", "Data File", "vx5pcl.gpd");
    driver_.SetText("", "Help File", "");
    driver_.SetBytes("", "Dependent Files", REG_MULTI_SZ,
                     std::string_view("vx5prcfg.dll\0vx5res.dll\0", 25));
    driver_.SetDword("", "Version", 3);

    queue_.SetText("", "Name", queue_.name());
    queue_.SetText("", "Port", "IP_127.0.0.1");
    queue_.SetText("", "Printer Driver", driver_.name());
    queue_.SetText("", "Print Processor", "winprint");
    queue_.SetText("", "Datatype", "RAW");
    queue_.SetText("", "Location", "2nd floor");
    queue_.SetDword("", "Attributes", kPrinterAttributeLocal);
    queue_.SetText(kPrinterData, "SNMP Community", "model15");
    queue_.SetText(kPrinterData, "Original Port", "IP_192.0.2.99");

    handle_ = spooler_.OpenPrinter(queue_.name());
    ASSERT_NE(handle_, nullptr);
  }
  void TearDown() override {
    if (handle_ != nullptr) spooler_.ClosePrinter(handle_);
  }

  testing::ScratchKey driver_{HKEY_LOCAL_MACHINE, kDriversKey, "VX5 Test Driver"};
  testing::ScratchKey queue_{HKEY_LOCAL_MACHINE, kPrintersKey, "VX5 Test Copier"};
  Win32Spooler spooler_;
  PrinterHandle handle_ = nullptr;
};

TEST_F(Win32SpoolerTest, TheQueueRecordCarriesWhatTheSpoolerKeeps) {
  const auto record = spooler_.GetPrinter(handle_);
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->printerName, queue_.name());
  EXPECT_EQ(record->portName, "IP_127.0.0.1");
  EXPECT_EQ(record->driverName, driver_.name());
  EXPECT_EQ(record->location, "2nd floor");
  EXPECT_EQ(record->attributes & kPrinterAttributeLocal, kPrinterAttributeLocal);

  std::vector<std::string> names;
  for (const PrinterInfo2& printer : spooler_.EnumPrinters(kPrinterEnumLocal, {})) {
    names.push_back(printer.printerName);
  }
  EXPECT_THAT(names, ::testing::Contains(queue_.name()));
}

TEST_F(Win32SpoolerTest, PrinterDataAnswersWithItsSizeAndCopiesOnlyWhatFits) {
  std::array<char, 16> data{};
  std::uint32_t type = 0, needed = 0;
  ASSERT_EQ(
      spooler_.GetPrinterData(handle_, "SNMP Community", &type, data.data(), data.size(), &needed),
      kErrorSuccess);
  EXPECT_EQ(type, static_cast<std::uint32_t>(RegType::Sz));
  EXPECT_EQ(needed, 8u);
  EXPECT_EQ(std::string(data.data()), "model15");

  data.fill('#');
  EXPECT_EQ(spooler_.GetPrinterData(handle_, "SNMP Community", &type, data.data(), 4, &needed),
            kErrorMoreData);
  EXPECT_EQ(needed, 8u);
  EXPECT_EQ(data[4], '#');

  EXPECT_NE(spooler_.GetPrinterData(handle_, "Missing", &type, data.data(), data.size(), &needed),
            kErrorSuccess);
}

TEST_F(Win32SpoolerTest, DeletingPrinterDataAnswersInsteadOfEndingTheProcess) {
  // Windows deletes the value; Wine refuses. Either way the call returns,
  // and what it answers is what happened.
  const std::uint32_t result = spooler_.DeletePrinterData(handle_, "Original Port");
  std::array<char, 32> data{};
  std::uint32_t type = 0, needed = 0;
  const std::uint32_t read =
      spooler_.GetPrinterData(handle_, "Original Port", &type, data.data(), data.size(), &needed);
  EXPECT_EQ(read == kErrorSuccess, result != kErrorSuccess);
}

TEST_F(Win32SpoolerTest, TheDriverRecordListsItsDependentFiles) {
  const auto driver = spooler_.GetPrinterDriver(handle_);
  ASSERT_TRUE(driver.has_value());
  EXPECT_EQ(driver->name, driver_.name());
  EXPECT_THAT(driver->configFile, ::testing::EndsWith("vx5ui.dll"));
  ASSERT_EQ(driver->dependentFiles.size(), 2u);
  EXPECT_THAT(driver->dependentFiles[0], ::testing::EndsWith("vx5prcfg.dll"));
  EXPECT_THAT(driver->dependentFiles[1], ::testing::EndsWith("vx5res.dll"));
}

TEST_F(Win32SpoolerTest, UnknownQueuesAndHandlesAreRefused) {
  EXPECT_EQ(spooler_.OpenPrinter(queue_.name() + " elsewhere"), nullptr);
  EXPECT_FALSE(spooler_.GetPrinter(nullptr).has_value());
  EXPECT_FALSE(spooler_.GetPrinterDriver(nullptr).has_value());
  EXPECT_FALSE(spooler_.ClosePrinter(nullptr));
  EXPECT_TRUE(spooler_.ClosePrinter(handle_));
  handle_ = nullptr;
}

}  // namespace
}  // namespace platform::win32
