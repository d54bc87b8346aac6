// The fax tools' local discovery: a routine that lives in one of the queue's
// own driver files, handed the path of a driver file, the queue's port and
// the queue handle.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/spooler.h"

namespace device {

// The routine a driver file may export, and its call: 0 means success.
inline constexpr const char* kFaxDiscoveryRoutine = "DoNetworkDiscoveryFaxEx";
using FaxDiscoveryRoutine = int (*)(const char* driverFile, const char* portName, void* queue);

// Sizes of the driver file paths the discovery looks up.
inline constexpr std::size_t kDiscoveryLibraryPathSize = 260;
inline constexpr std::size_t kDiscoveryArgumentPathSize = 1024;

// PnpFaxLocalDiscovery: 1 when the routine of the queue's driver reported
// success, 0 otherwise (no record, no loadable file, no routine, a failure).
int PnpFaxLocalDiscovery(const char* queueName, platform::PrinterHandle queue);

// The first of the queue's driver files whose path contains `search`
// (ignoring case): the dependent files, then the data, help and
// configuration files. Into `out` (`outSize` bytes, cut to fit, as recorded);
// false and an empty text when none does.
bool FindDriverFile(platform::PrinterHandle queue, std::string_view search, char* out,
                    std::size_t outSize);

}  // namespace device
