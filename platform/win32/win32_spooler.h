// The print spooler over WINSPOOL: the "A" calls, level-2 printer records and
// level-3 driver records copied out of the spooler's buffers.
#pragma once

#include "platform/spooler.h"

namespace platform::win32 {

class Win32Spooler : public Spooler {
 public:
  PrinterHandle OpenPrinter(std::string_view queueName) override;
  bool ClosePrinter(PrinterHandle handle) override;
  std::optional<PrinterInfo2> GetPrinter(PrinterHandle handle) override;
  std::uint32_t GetPrinterData(PrinterHandle handle, std::string_view valueName,
                               std::uint32_t* type, void* data, std::uint32_t capacity,
                               std::uint32_t* needed) override;
  std::uint32_t DeletePrinterData(PrinterHandle handle, std::string_view valueName) override;
  std::vector<PrinterInfo2> EnumPrinters(std::uint32_t flags, std::string_view name) override;
  std::optional<DriverInfo3> GetPrinterDriver(PrinterHandle handle) override;
};

}  // namespace platform::win32
