#include "device/printer_queue.h"

#include <cstring>

#include "device/device_address.h"
#include "platform/machine.h"
#include "platform/win_types.h"

namespace device {

bool QueueHandle::OpenByName(const char* queueName) {
  Close();
  if (queueName == nullptr) return false;
  handle_ = platform::CurrentMachine().spooler().OpenPrinter(queueName);
  openedHere_ = handle_ != nullptr;
  return openedHere_;
}

void QueueHandle::Close() {
  if (openedHere_) platform::CurrentMachine().spooler().ClosePrinter(handle_);
  handle_ = nullptr;
  openedHere_ = false;
}

std::unique_ptr<platform::PrinterInfo2> GetPrinterInfo(const char* queueName, QueueHandle& queue) {
  if (queue.get() == nullptr && !queue.OpenByName(queueName)) return nullptr;
  auto record = platform::CurrentMachine().spooler().GetPrinter(queue.get());
  if (!record) {
    if (queue.openedHere()) queue.Close();
    return nullptr;
  }
  return std::make_unique<platform::PrinterInfo2>(std::move(*record));
}

bool ReadPrinterDataText(platform::PrinterHandle queue, std::string_view name, char* out) {
  std::memset(out, 0, kAddressBufferSize);
  std::uint32_t type = 0;
  std::uint32_t needed = 0;
  const std::uint32_t error = platform::CurrentMachine().spooler().GetPrinterData(
      queue, name, &type, out, kAddressOfferedBytes, &needed);
  if (error != platform::kErrorSuccess) {
    std::memset(out, 0, kAddressBufferSize);
    return false;
  }
  return true;
}

void DeletePrinterData(platform::PrinterHandle queue, std::string_view name) {
  platform::CurrentMachine().spooler().DeletePrinterData(queue, name);
}

}  // namespace device
