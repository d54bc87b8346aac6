// The print spooler, cut to what the module asks of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// An open queue. Opaque; null means "no handle".
using PrinterHandle = void*;

// Printer attribute bits (PRINTER_ATTRIBUTE_*).
inline constexpr std::uint32_t kPrinterAttributeNetwork = 0x10;
inline constexpr std::uint32_t kPrinterAttributeLocal = 0x40;

// EnumPrintersA flags (PRINTER_ENUM_*).
inline constexpr std::uint32_t kPrinterEnumLocal = 0x2;
inline constexpr std::uint32_t kPrinterEnumConnections = 0x4;
inline constexpr std::uint32_t kPrinterEnumName = 0x8;
inline constexpr std::uint32_t kPrinterEnumNetwork = 0x40;

// The level-2 printer record (PRINTER_INFO_2A), texts in the ANSI code page.
struct PrinterInfo2 {
  std::string serverName;
  std::string printerName;
  std::string shareName;
  std::string portName;
  std::string driverName;
  std::string comment;
  std::string location;
  std::string printProcessor;
  std::string datatype;
  std::string parameters;
  std::uint32_t attributes = 0;
  std::uint32_t status = 0;
};

// The level-3 driver record (DRIVER_INFO_3A), the fields the module reads.
struct DriverInfo3 {
  std::string name;
  std::string environment;
  std::string driverPath;
  std::string dataFile;
  std::string configFile;
  std::string helpFile;
  std::vector<std::string> dependentFiles;
};

class Spooler {
 public:
  virtual ~Spooler() = default;

  // OpenPrinterA: a handle for the queue, or null when it is unknown.
  virtual PrinterHandle OpenPrinter(std::string_view queueName) = 0;
  // ClosePrinter: false for a handle that is not open.
  virtual bool ClosePrinter(PrinterHandle handle) = 0;
  // GetPrinterA level 2.
  virtual std::optional<PrinterInfo2> GetPrinter(PrinterHandle handle) = 0;
  // GetPrinterDataA: returns a Win32 error; `needed` receives the value's size.
  // A value larger than `capacity` gives kErrorMoreData and copies nothing.
  virtual std::uint32_t GetPrinterData(PrinterHandle handle, std::string_view valueName,
                                       std::uint32_t* type, void* data, std::uint32_t capacity,
                                       std::uint32_t* needed) = 0;
  // DeletePrinterDataA: the value stays deleted for the life of the process.
  virtual std::uint32_t DeletePrinterData(PrinterHandle handle, std::string_view valueName) = 0;
  // EnumPrintersA with level-2 records; `name` is the server or domain asked
  // with kPrinterEnumName, empty otherwise.
  virtual std::vector<PrinterInfo2> EnumPrinters(std::uint32_t flags, std::string_view name) = 0;
  // GetPrinterDriverA level 3 for the queue's driver.
  virtual std::optional<DriverInfo3> GetPrinterDriver(PrinterHandle handle) = 0;
};

}  // namespace platform
