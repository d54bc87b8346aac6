// Whether the device at an address is one of the family's, asked over SNMP:
// how a UNC port's server or a print server is recognised as a device.
#pragma once

#include "platform/spooler.h"

namespace device {

// Answers of VerifyDeviceModel.
inline constexpr int kModelOurs = 3;       // one of ours, or no request asked for
inline constexpr int kModelNotOurs = 4;    // not ours, a failed request, or no address
inline constexpr int kModelTimedOut = -5;  // the library's time-out status
inline constexpr int kModelNoSession = -2;

// `verify` 1 asks the device's sysObjectID; any other value answers
// kModelOurs once the sessions open. A non-zero `*notOurs` answers
// kModelNotOurs without a request; a device shown not to be ours sets it.
int VerifyDeviceModel(platform::PrinterHandle queue, const char* address, int verify, int* notOurs);

}  // namespace device
