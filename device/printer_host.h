// A printer's host as plain text, found in the spooler's printer lists and
// the port monitors' keys: the address book, the device login and tab
// printing need a name or a number, not an SNMP session.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/spooler.h"

namespace device {

// The caller's host buffer; every text copied into it is cut to fit.
inline constexpr std::size_t kPrinterHostSize = 256;

// FindPrinterHost's answers.
inline constexpr int kNoPrinterHost = 0;
inline constexpr int kPrinterHostName = 1;     // a host or server name (or a name without address)
inline constexpr int kPrinterHostNumeric = 2;  // digits and dots

// Port monitor and provider keys the search reads (HKEY_LOCAL_MACHINE),
// each followed by the port name.
inline constexpr std::string_view kAippPortsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\AIPP Port\\Ports\\";
inline constexpr std::string_view kLprPortsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\LPR Port\\Ports\\";
inline constexpr std::string_view kInternetPortsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Providers\\Internet Print Provider\\Ports\\";

// The host of printer `printerName` into `host` (kPrinterHostSize bytes):
// the sources are tried in a fixed order and the first that answers ends
// the search. `queue` (may be null) serves the last source, which opens the
// printer; a handle opened there is closed again. A match that names no
// host (a browse-list entry without the network attribute) answers
// kPrinterHostName and leaves `host` as it was. Nothing escapes: an error
// inside answers kNoPrinterHost.
int FindPrinterHost(const char* printerName, char* host, platform::PrinterHandle queue);

// The text after the leading backslashes of `text`, up to the next one.
std::string_view ServerPart(std::string_view text);

}  // namespace device
