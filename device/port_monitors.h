// What the port monitors and the client tools recorded about a port: the
// Standard TCP/IP port monitor's keys (on a cluster node, the spooler
// resource's copy of them) and the per-user discovery results.
#pragma once

#include <string>
#include <string_view>

namespace device {

inline constexpr std::string_view kStandardTcpIpPortsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";
inline constexpr std::string_view kClusterKey = "Cluster";
inline constexpr std::string_view kClusterResourcesKey = "Cluster\\Resources";
inline constexpr std::string_view kClusterPortsSuffix =
    "\\Parameters\\Monitors\\Standard TCP/IP Port\\Ports\\";
// The cluster resource type that carries the print spooler (and its ports).
inline constexpr std::string_view kClusterResourceTypeValue = "Type";
inline constexpr std::string_view kPrintSpoolerResourceType = "Print Spooler";

// Discovery results of the maker's client (any variant but 3) and of the
// reseller's client (variant 3), per user; value name = port name.
inline constexpr std::string_view kMakerDiscoveryKey =
    "Software\\MERLO\\Norvane MERLO Client\\LM-JobVue\\PrinterDiscovery";
inline constexpr std::string_view kResellerDiscoveryKey =
    "Software\\Pellandine-nvtc\\Pellandine-nvtc Client\\LM-JobVue\\PrinterDiscovery";
inline constexpr int kResellerVariant = 3;

// The key under which Standard TCP/IP ports are found, ending in "\"; on a
// cluster node the print spooler resource's.
std::string StandardTcpIpBaseKey();
// `base` followed by `port`, bounded as a 1024-byte path buffer is.
std::string PortKeyPath(std::string_view base, std::string_view port);

bool StandardTcpIpPortExists(std::string_view port);

// Outcome of reading a local Standard TCP/IP port's own key.
enum class TcpIpPortSource { kNothingFound, kAddressFound, kHostNameFound };
TcpIpPortSource ReadStandardTcpIpPort(std::string_view port, char* deviceAddress);

// The address of a network queue's IP port (kinds 5 and 9): 0 or 50.
int ReadIpPortAddress(std::string_view port, char* deviceAddress, int variant);

// The client's discovery value named `port` into `out` (kAddressBufferSize
// bytes). On NT 4 and earlier the module may run outside the user's logon,
// so the interactive user's hive is opened by its SID.
bool ReadDiscoveryValue(std::string_view port, char* out, int variant);

}  // namespace device
