#include "tabprint/tab_printing.h"

#include <cstring>

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

}  // namespace

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

}  // namespace tabprint
