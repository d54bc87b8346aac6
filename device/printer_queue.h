// The queue behind a call: its spooler handle (the caller's, or one opened by
// name and closed when the call ends), its printer record and printer data.
#pragma once

#include <memory>
#include <string_view>

#include "platform/spooler.h"

namespace device {

class QueueHandle {
 public:
  // Starts with the caller's handle (null: none), which it never closes.
  explicit QueueHandle(platform::PrinterHandle callerHandle = nullptr) : handle_(callerHandle) {}
  ~QueueHandle() { Close(); }
  QueueHandle(const QueueHandle&) = delete;
  QueueHandle& operator=(const QueueHandle&) = delete;

  platform::PrinterHandle get() const { return handle_; }
  bool openedHere() const { return openedHere_; }
  // OpenPrinter by name; the handle is then owned here.
  bool OpenByName(const char* queueName);
  // Closes a handle opened here; the caller's handle is only forgotten.
  void Close();

 private:
  platform::PrinterHandle handle_;
  bool openedHere_ = false;
};

// The queue's level-2 record, or null. Opens the queue by name when `queue`
// holds no handle; on failure a handle opened here is closed again.
std::unique_ptr<platform::PrinterInfo2> GetPrinterInfo(const char* queueName, QueueHandle& queue);

// Printer data `name` as text into `out` (kAddressBufferSize bytes, zeroed
// first, kAddressOfferedBytes offered). False when it cannot be read.
bool ReadPrinterDataText(platform::PrinterHandle queue, std::string_view name, char* out);
void DeletePrinterData(platform::PrinterHandle queue, std::string_view name);

}  // namespace device
