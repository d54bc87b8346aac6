// From a printer queue to the text of its device's address: printer data
// first, then the port's own configuration, then the client tools'
// discovery results. The first usable source wins.
#pragma once

#include <string_view>

#include "platform/spooler.h"

namespace device {

// Kinds of a local queue's port, with the values the driver's tools know.
enum class LocalPortKind : int {
  kUncPath = 0,
  kIpPrefixed = 1,
  kWebUrl = 2,
  kAddressOrHost = 3,
  kHostAndPort = 8,
  kStandardTcpIp = 9,
  kIppUrl = 10,
  kSecureWebUrl = 11,
  kWsd = 12,
  kUnknown = -2,
};

// Kinds of the port of a queue connected from a print server.
enum class NetworkPortKind : int {
  kUncPath = 4,
  kIpPort = 5,
  kPrintServer = 6,
  kHostAndPort = 8,
  kStandardTcpIp = 9,
  kWsd = 13,
  kNumericHost = 14,
};

// Printer data values the resolvers read.
inline constexpr std::string_view kSnmpIpAddressData = "SNMPIPAddress";
inline constexpr std::string_view kOriginalPortData = "Original Port";
inline constexpr std::string_view kDiscoveredIpData = "Discovered IP";
inline constexpr std::string_view kNovellAddressData = "NovellSNMPAddressAndPort";
inline constexpr std::string_view kDefNameData = "DefName";

inline constexpr std::string_view kWsdDevicesKey =
    "SYSTEM\\CurrentControlSet\\Enum\\IPBusEnumRoot\\UMB";

// The device address of the queue of `record` into `deviceAddress`
// (kAddressBufferSize bytes): kAddressFound, kNoUsablePortKind or
// kNoAddressForPort. `verify` 1 asks a UNC port's server or a print server
// its model; `notOurs` goes to that model check; `trusted` 1 skips the
// "SNMPIPAddress" shortcut and the model check.
int ResolveDeviceAddress(const platform::PrinterInfo2* record, char* deviceAddress, int variant,
                         platform::PrinterHandle queue, int verify, int* notOurs, int trusted);

int ResolveLocalPortAddress(std::string_view port, char* deviceAddress, int variant,
                            platform::PrinterHandle queue, int verify, int* notOurs, int trusted);
int ResolveNetworkPortAddress(std::string_view server, std::string_view port, char* deviceAddress,
                              int variant, platform::PrinterHandle queue, int verify);

// The first matching test in each kind's order decides.
LocalPortKind ClassifyLocalPort(std::string_view port);
// A port name that resolves as a host (kind 14) leaves its numeric text in
// `numeric` (kAddressBufferSize bytes).
NetworkPortKind ClassifyNetworkPort(std::string_view port, char* numeric);

// Each writes the resolved numeric text, or an empty text when the name does
// not resolve, and returns kAddressFound.
int ResolveUncServer(std::string_view port, char* deviceAddress);
int ResolveHostOfHostPort(std::string_view port, char* deviceAddress);
int ResolveUrlHost(std::string_view url, char* deviceAddress);

// The device of a WSD port, found among the WSD device keys by the queue's
// "DefName": kAddressFound or kNoUsablePortKind.
int ResolveWsdPortAddress(platform::PrinterHandle queue, char* deviceAddress);

}  // namespace device
