#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/simulated/simulated_machine.h"

namespace platform::simulated {
namespace {

constexpr std::string_view kSpoolerProfile =
    "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office Copier]\n"
    "\"Port\"=\"IP_10.0.0.5\"\n"
    "\"Printer Driver\"=\"VX5 Driver\"\n"
    "\"Attributes\"=dword:00000040\n"
    "\"Description\"=\"second floor\"\n"
    "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office "
    "Copier\\PrinterDriverData]\n"
    "\"SNMP Community\"=\"model15\"\n"
    "\"Original Port\"=\"IP_10.0.0.4\"\n"
    "\"Discovered IP\"=\"10.0.0.4\"\n"
    "\"Blob\"=hex:01,02\n"
    "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Plain]\n"
    "\"Port\"=\"LPT1:\"\n"
    "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Shared Copier]\n"
    "\"Port\"=\"\\\\\\\\printsrv\\\\copier\"\n"
    "\"Printer Driver\"=\"VX5 Driver\"\n"
    "\"Server Name\"=\"\\\\\\\\printsrv\"\n"
    "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\"
    "Version-3\\VX5 Driver]\n"
    "\"Driver\"=\"vx5drv.so\"\n"
    "\"Configuration File\"=\"vx5ui.so\"\n"
    "\"Data File\"=\"/opt/vx5/vx5.gpd\"\n"
    "\"Help File\"=\"\"\n"
    "\"Dependent Files\"=hex(7):76,00,78,00,35,00,70,00,72,00,63,00,66,00,67,00,2e,00,73,00,\\\n"
    "  6f,00,00,00,72,00,65,00,73,00,2e,00,64,00,6c,00,6c,00,00,00,00,00\n"
    "[HKLM\\SOFTWARE\\SimulatedMachine\\NetworkPrinters\\Browsed Queue]\n"
    "\"Port\"=\"\\\\\\\\browsed\\\\queue\"\n"
    "\"Server Name\"=\"\\\\\\\\browsed\"\n"
    "[HKLM\\SOFTWARE\\SimulatedMachine\\NetworkPrinters\\Old Queue]\n"
    "\"Port\"=\"LPT2:\"\n"
    "\"Attributes\"=dword:0\n";

std::string Profile() { return std::string(kSpoolerProfile); }

class SpoolerTest : public testing::Test {
 protected:
  std::unique_ptr<SimulatedMachine> machine_ = SimulatedMachine::FromRegistryLines(Profile());
  Spooler& spooler_ = machine_->spooler();
};

std::vector<std::string> Names(const std::vector<PrinterInfo2>& records) {
  std::vector<std::string> names;
  for (const PrinterInfo2& record : records) names.push_back(record.printerName);
  return names;
}

TEST_F(SpoolerTest, HandlesAreRealObjects) {
  PrinterHandle first = spooler_.OpenPrinter("office copier");
  PrinterHandle second = spooler_.OpenPrinter("OFFICE COPIER");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(machine_->simulatedSpooler().OpenHandleCount(), 2u);
  EXPECT_TRUE(spooler_.ClosePrinter(first));
  EXPECT_FALSE(spooler_.ClosePrinter(first)) << "closed twice";
  EXPECT_FALSE(spooler_.GetPrinter(first).has_value());
  EXPECT_TRUE(spooler_.GetPrinter(second).has_value());
  EXPECT_TRUE(spooler_.ClosePrinter(second));
  EXPECT_EQ(machine_->simulatedSpooler().OpenHandleCount(), 0u);

  int local = 0;
  PrinterHandle bogus = &local;
  EXPECT_FALSE(spooler_.ClosePrinter(bogus));
  EXPECT_FALSE(spooler_.ClosePrinter(nullptr));
  EXPECT_FALSE(spooler_.GetPrinter(bogus).has_value());
  EXPECT_FALSE(spooler_.GetPrinterDriver(bogus).has_value());
  std::uint32_t needed = 0;
  EXPECT_EQ(spooler_.GetPrinterData(bogus, "SNMP Community", nullptr, nullptr, 0, &needed),
            kErrorInvalidHandle);
  EXPECT_EQ(spooler_.DeletePrinterData(bogus, "SNMP Community"), kErrorInvalidHandle);
  EXPECT_EQ(spooler_.OpenPrinter("No Such Queue"), nullptr);
  EXPECT_EQ(spooler_.OpenPrinter(""), nullptr);
}

TEST_F(SpoolerTest, LocalQueueRecord) {
  PrinterHandle handle = spooler_.OpenPrinter("Office Copier");
  const auto record = spooler_.GetPrinter(handle);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->printerName, "Office Copier");
  EXPECT_EQ(record->serverName, "");
  EXPECT_EQ(record->portName, "IP_10.0.0.5");
  EXPECT_EQ(record->driverName, "VX5 Driver");
  EXPECT_EQ(record->comment, "second floor");
  EXPECT_EQ(record->attributes, kPrinterAttributeLocal);
  spooler_.ClosePrinter(handle);

  handle = spooler_.OpenPrinter("Plain");
  EXPECT_EQ(spooler_.GetPrinter(handle)->attributes, kPrinterAttributeLocal)
      << "a queue without Attributes and server is local";
  spooler_.ClosePrinter(handle);
}

TEST_F(SpoolerTest, ConnectedQueueIsNamedAfterItsServer) {
  PrinterHandle byKey = spooler_.OpenPrinter("Shared Copier");
  PrinterHandle byFullName = spooler_.OpenPrinter("\\\\PRINTSRV\\shared copier");
  ASSERT_NE(byKey, nullptr);
  ASSERT_NE(byFullName, nullptr);
  EXPECT_EQ(spooler_.OpenPrinter("\\\\otherserver\\Shared Copier"), nullptr);
  EXPECT_EQ(spooler_.OpenPrinter("\\\\printsrv\\Office Copier"), nullptr) << "not a connection";
  const auto record = spooler_.GetPrinter(byFullName);
  EXPECT_EQ(record->printerName, "\\\\printsrv\\Shared Copier");
  EXPECT_EQ(record->serverName, "\\\\printsrv");
  EXPECT_EQ(record->portName, "\\\\printsrv\\copier");
  EXPECT_EQ(record->attributes, kPrinterAttributeNetwork);
  spooler_.ClosePrinter(byKey);
  spooler_.ClosePrinter(byFullName);
}

TEST_F(SpoolerTest, PrinterDataFollowsGetPrinterData) {
  PrinterHandle handle = spooler_.OpenPrinter("Office Copier");
  std::uint32_t type = 0, needed = 0;
  EXPECT_EQ(spooler_.GetPrinterData(handle, "SNMP Community", &type, nullptr, 0, &needed),
            kErrorMoreData);
  EXPECT_EQ(needed, 8u) << "model15 and its NUL";
  char buffer[260];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(spooler_.GetPrinterData(handle, "snmp community", &type, buffer, 7, &needed),
            kErrorMoreData);
  EXPECT_EQ(buffer[0], 'x') << "nothing copied when it does not fit";
  EXPECT_EQ(spooler_.GetPrinterData(handle, "SNMP Community", &type, buffer, 259, &needed),
            kErrorSuccess);
  EXPECT_STREQ(buffer, "model15");
  EXPECT_EQ(type, static_cast<std::uint32_t>(RegType::Sz));
  EXPECT_EQ(spooler_.GetPrinterData(handle, "Blob", &type, buffer, 259, &needed), kErrorSuccess);
  EXPECT_EQ(type, static_cast<std::uint32_t>(RegType::Binary));
  EXPECT_EQ(needed, 2u);
  EXPECT_EQ(spooler_.GetPrinterData(handle, "SNMPIPAddress", &type, buffer, 259, &needed),
            kErrorFileNotFound);
  spooler_.ClosePrinter(handle);

  handle = spooler_.OpenPrinter("Plain");
  EXPECT_EQ(spooler_.GetPrinterData(handle, "SNMP Community", &type, buffer, 259, &needed),
            kErrorFileNotFound)
      << "a queue without printer data";
  spooler_.ClosePrinter(handle);
}

TEST_F(SpoolerTest, DeletedPrinterDataStaysDeleted) {
  PrinterHandle handle = spooler_.OpenPrinter("Office Copier");
  EXPECT_EQ(spooler_.DeletePrinterData(handle, "original port"), kErrorSuccess);
  EXPECT_EQ(spooler_.DeletePrinterData(handle, "Original Port"), kErrorFileNotFound);
  spooler_.ClosePrinter(handle);

  handle = spooler_.OpenPrinter("Office Copier");
  char buffer[260];
  std::uint32_t needed = 0;
  EXPECT_EQ(spooler_.GetPrinterData(handle, "Original Port", nullptr, buffer, 259, &needed),
            kErrorFileNotFound);
  EXPECT_EQ(spooler_.GetPrinterData(handle, "Discovered IP", nullptr, buffer, 259, &needed),
            kErrorSuccess);
  spooler_.ClosePrinter(handle);
  EXPECT_EQ(machine_->registry()
                .OpenKey(Hive::LocalMachine,
                         "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office "
                         "Copier\\PrinterDriverData")
                ->QueryValue("Original Port", nullptr, nullptr, nullptr),
            kErrorFileNotFound)
      << "the registry sees the deletion too";
}

TEST_F(SpoolerTest, EnumerationByKind) {
  using testing::ElementsAre;
  EXPECT_THAT(Names(spooler_.EnumPrinters(kPrinterEnumLocal, "")),
              ElementsAre("Office Copier", "Plain"));
  EXPECT_THAT(Names(spooler_.EnumPrinters(kPrinterEnumName, "")),
              ElementsAre("Office Copier", "Plain"));
  EXPECT_THAT(Names(spooler_.EnumPrinters(kPrinterEnumConnections, "")),
              ElementsAre("\\\\printsrv\\Shared Copier"));
  const auto network = spooler_.EnumPrinters(kPrinterEnumNetwork, "");
  EXPECT_THAT(Names(network), ElementsAre("Browsed Queue", "Old Queue"));
  EXPECT_EQ(network[0].portName, "\\\\browsed\\queue");
  EXPECT_EQ(network[0].attributes, kPrinterAttributeNetwork);
  EXPECT_EQ(network[1].attributes, 0u);
  EXPECT_THAT(Names(spooler_.EnumPrinters(kPrinterEnumName, "\\\\BROWSED")),
              ElementsAre("Browsed Queue"));
  EXPECT_THAT(Names(spooler_.EnumPrinters(kPrinterEnumName, "printsrv")),
              ElementsAre("\\\\printsrv\\Shared Copier"));
  EXPECT_EQ(spooler_.EnumPrinters(0x7E, "").size(), 5u);
  EXPECT_TRUE(spooler_.EnumPrinters(0, "").empty());
}

TEST_F(SpoolerTest, DriverRecord) {
  PrinterHandle handle = spooler_.OpenPrinter("Office Copier");
  const auto driver = spooler_.GetPrinterDriver(handle);
  ASSERT_TRUE(driver);
  EXPECT_EQ(driver->name, "VX5 Driver");
  EXPECT_EQ(driver->environment, "Windows x64");
  EXPECT_EQ(driver->driverPath, "vx5drv.so") << "no profile folder for an in-memory machine";
  EXPECT_EQ(driver->configFile, "vx5ui.so");
  EXPECT_EQ(driver->dataFile, "/opt/vx5/vx5.gpd");
  EXPECT_EQ(driver->helpFile, "");
  EXPECT_THAT(driver->dependentFiles, testing::ElementsAre("vx5prcfg.so", "res.dll"));
  spooler_.ClosePrinter(handle);

  handle = spooler_.OpenPrinter("Plain");
  EXPECT_FALSE(spooler_.GetPrinterDriver(handle).has_value()) << "no driver installed";
  spooler_.ClosePrinter(handle);
}

TEST(SpoolerDriverFiles, BareFileNamesAreFoundBesideTheProfile) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vx5prcfg-spooler-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path profile = folder / "machine.reg";
  std::ofstream(profile) << "Windows Registry Editor Version 5.00\n" << Profile();
  auto machine = SimulatedMachine::FromFile(profile.string());
  PrinterHandle handle = machine->spooler().OpenPrinter("Office Copier");
  const auto driver = machine->spooler().GetPrinterDriver(handle);
  machine->spooler().ClosePrinter(handle);
  std::filesystem::remove_all(folder);

  EXPECT_EQ(driver->driverPath, (folder / "vx5drv.so").string());
  EXPECT_EQ(driver->configFile, (folder / "vx5ui.so").string());
  EXPECT_EQ(driver->dataFile, "/opt/vx5/vx5.gpd") << "a path stays as it is";
  EXPECT_EQ(driver->dependentFiles.front(), (folder / "vx5prcfg.so").string());
}

}  // namespace
}  // namespace platform::simulated
