#include "tabprint/tab_printing.h"

#include <array>
#include <cstring>

#include "device/device_address.h"
#include "device/name_resolution.h"
#include "device/printer_host.h"
#include "framework/window_constants.h"
#include "tabprint/job_record.h"
#include "tabprint/primary_tab_dialog.h"
#include "tabprint/tab_print_dialog.h"
#include "tabprint/tab_stock_query.h"

namespace tabprint {
namespace {

// Required by the interface, but a driver's null must not crash the call:
// it reads as 0 and receives nothing.
int ValueAt(const int* pointer) { return pointer != nullptr ? *pointer : 0; }
void Store(int* pointer, int value) {
  if (pointer != nullptr) *pointer = value;
}

// TabPrinting once the device's address is known: numeric text, or null
// when the printer has none.
int RunTabPrinting(const char* address, unsigned mode, char* tabListOut, int* manufacturerIndex,
                   int* cassetteIndex, char* imageShift, const char* tabListIn) {
  CTabPrint job;
  TabStockTable stock = QueryTabStock(address);
  job.m_stock = std::move(stock.records);
  job.m_bDeviceListValid = stock.deviceListValid;

  if (RunsPrimaryTabDialog(mode)) {
    CPrimaryTab primary;
    primary.SetStartValues(mode, ValueAt(manufacturerIndex), ValueAt(cassetteIndex), job.m_stock,
                           imageShift);
    primary.DoModal();
    // OK or Cancel, the dialog's values are the job's.
    job.m_nManufacturerIndex = primary.m_nManufacturerIndex;
    job.m_nCassetteIndex = primary.m_nCassetteIndex;
    job.m_nUnit = primary.m_nUnit;
    job.m_fShift = primary.m_fShift;
  } else {
    job.SetJobValues(tabListIn, ValueAt(manufacturerIndex), ValueAt(cassetteIndex), imageShift);
    const std::size_t capacity = TabListCapacity(tabListIn);
    if (job.DoModal() == framework::kIdOk) {
      if (!job.m_strTabListOut.empty()) CopyTabList(job.m_strTabListOut, tabListOut, capacity);
    } else if (tabListIn != nullptr && tabListOut != nullptr) {
      std::memcpy(tabListOut, tabListIn, std::strlen(tabListIn) + 1);
    }
  }

  if (imageShift != nullptr) {
    FormatImageShift(job.m_fShift, job.m_nUnit == kInches ? kInches : kMillimetres, imageShift);
  }
  Store(cassetteIndex, job.m_nCassetteIndex);
  Store(manufacturerIndex, job.m_nManufacturerIndex);
  return 1;
}

}  // namespace

int TabPrinting(unsigned mode, char* tabListOut, int* manufacturerIndex, int* cassetteIndex,
                char* imageShift, const char* tabListIn, const char* printerName) {
  std::array<char, device::kPrinterHostSize> host{};
  // A name that does not resolve leaves this empty: the query then fails with its message.
  std::array<char, device::kAddressBufferSize> resolved{};
  const char* address = nullptr;
  switch (device::FindPrinterHost(printerName, host.data(), nullptr)) {
    case device::kPrinterHostName:
      device::CanResolveHost(host.data(), resolved.data());
      address = resolved.data();
      break;
    case device::kPrinterHostNumeric:
      address = host.data();
      break;
    default:
      break;
  }
  return RunTabPrinting(address, mode, tabListOut, manufacturerIndex, cassetteIndex, imageShift,
                        tabListIn);
}

}  // namespace tabprint
