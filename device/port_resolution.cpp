#include "device/port_resolution.h"

#include <array>
#include <string>

#include "device/ansi_text.h"
#include "device/device_address.h"
#include "device/model_check.h"
#include "device/name_resolution.h"
#include "device/port_monitors.h"
#include "device/printer_queue.h"
#include "device/registry_text.h"

namespace device {
namespace {

using AddressBuffer = std::array<char, kAddressBufferSize>;

constexpr std::size_t kUncPrefixLength = 2;  // the leading "\\"
constexpr std::size_t kSubKeyNameCapacity = 1024;
constexpr std::string_view kFriendlyNameValue = "FriendlyName";
constexpr std::string_view kLocationValue = "LocationInformation";
constexpr std::string_view kBlanks = " \t";

// What the classifiers and the actions of one port work on.
struct PortContext {
  std::string port;
  char* deviceAddress;
  int variant;
  platform::PrinterHandle queue;
  int verify;
  int* notOurs;
  int trusted;
  std::string server;     // network queues: the print server, "\\server"
  AddressBuffer numeric;  // a test's resolved text (network kind 14)
};

std::string_view Text(const char* buffer) { return TextIn(buffer, kAddressBufferSize); }

void SetAddress(char* deviceAddress, std::string_view text) {
  CopyBounded(deviceAddress, kAddressBufferSize, text);
}

// The numeric text of `host`, or an empty text when it does not resolve.
int ResolveInto(const std::string& host, char* deviceAddress) {
  AddressBuffer numeric{};
  if (!ResolveNumericAddress(host.c_str(), numeric.data())) numeric[0] = '\0';
  SetAddress(deviceAddress, Text(numeric.data()));
  return kAddressFound;
}

// ---- Local queues ----------------------------------------------------------

struct LocalPortTest {
  bool (*matches)(const std::string& port);
  LocalPortKind kind;
};

constexpr LocalPortTest kLocalPortTests[] = {
    {[](const std::string& p) { return Contains(p, "http://"); }, LocalPortKind::kWebUrl},
    {[](const std::string& p) { return Contains(p, "https://"); }, LocalPortKind::kSecureWebUrl},
    {[](const std::string& p) { return Contains(p, "ipp://") || Contains(p, "/ipps/"); },
     LocalPortKind::kIppUrl},
    {[](const std::string& p) { return Contains(p, "IP_"); }, LocalPortKind::kIpPrefixed},
    {[](const std::string& p) { return Contains(p, "WSD-"); }, LocalPortKind::kWsd},
    {[](const std::string& p) { return StandardTcpIpPortExists(p); },
     LocalPortKind::kStandardTcpIp},
    {[](const std::string& p) { return Contains(p, "\\\\"); }, LocalPortKind::kUncPath},
    {[](const std::string& p) { return Contains(p, ":"); }, LocalPortKind::kHostAndPort},
    {[](const std::string& p) {
       AddressBuffer resolved{};
       return IsDottedAddress(p) || CanResolveHost(p.c_str(), resolved.data());
     },
     LocalPortKind::kAddressOrHost},
};

int LocalUncPath(PortContext& c) {
  ResolveUncServer(c.port, c.deviceAddress);
  if (c.trusted == 1) return kAddressFound;
  switch (VerifyDeviceModel(c.queue, c.deviceAddress, c.verify, c.notOurs)) {
    case kModelOurs:
      return kAddressFound;
    case kModelNotOurs:
      return kNoAddressForPort;
    default:
      return kNoUsablePortKind;
  }
}

int LocalIpPort(PortContext& c) {
  switch (ReadStandardTcpIpPort(c.port, c.deviceAddress)) {
    case TcpIpPortSource::kHostNameFound: {
      AddressBuffer numeric{};
      if (!ResolveNumericAddress(std::string(Text(c.deviceAddress)).c_str(), numeric.data())) {
        return kNoAddressForPort;
      }
      SetAddress(c.deviceAddress, Text(numeric.data()));
      return kAddressFound;
    }
    case TcpIpPortSource::kAddressFound:
    case TcpIpPortSource::kNothingFound:
      break;
  }
  const std::string_view address = Text(c.deviceAddress);
  if (IsDottedAddress(address) || IsIpv6Address(address) ||
      ReadDiscoveryValue(c.port, c.deviceAddress, c.variant)) {
    return kAddressFound;
  }
  return kNoAddressForPort;
}

int LocalWebUrl(PortContext& c) { return ResolveUrlHost(c.port, c.deviceAddress); }

int LocalAddressOrHost(PortContext& c) {
  SetAddress(c.deviceAddress, std::string_view(c.port).substr(0, kAddressOfferedBytes));
  return kAddressFound;
}

int LocalHostAndPort(PortContext& c) { return ResolveHostOfHostPort(c.port, c.deviceAddress); }

int LocalIppUrl(PortContext& c) {
  if (c.queue == nullptr) return kNoAddressForPort;
  AddressBuffer value{};
  if (!ReadPrinterDataText(c.queue, kNovellAddressData, value.data())) return kNoAddressForPort;
  const std::string_view text = Text(value.data());
  const std::size_t colon = FindText(text, ":");
  if (text.empty() || colon == kNotFound || colon == 0) return kNoAddressForPort;
  SetAddress(c.deviceAddress, text.substr(0, colon));
  return kAddressFound;
}

int LocalWsd(PortContext& c) { return ResolveWsdPortAddress(c.queue, c.deviceAddress); }

int NoAddressSource(PortContext&) { return kNoUsablePortKind; }

struct LocalPortAction {
  LocalPortKind kind;
  int (*resolve)(PortContext&);
};

constexpr LocalPortAction kLocalPortActions[] = {
    {LocalPortKind::kUncPath, LocalUncPath},
    {LocalPortKind::kIpPrefixed, LocalIpPort},
    {LocalPortKind::kStandardTcpIp, LocalIpPort},
    {LocalPortKind::kWebUrl, LocalWebUrl},
    {LocalPortKind::kSecureWebUrl, LocalWebUrl},
    {LocalPortKind::kAddressOrHost, LocalAddressOrHost},
    {LocalPortKind::kHostAndPort, LocalHostAndPort},
    {LocalPortKind::kIppUrl, LocalIppUrl},
    {LocalPortKind::kWsd, LocalWsd},
    {LocalPortKind::kUnknown, NoAddressSource},
};

// ---- Queues connected from a print server ----------------------------------

struct NetworkPortTest {
  bool (*matches)(PortContext& c);
  NetworkPortKind kind;
};

constexpr NetworkPortTest kNetworkPortTests[] = {
    {[](PortContext& c) { return Contains(c.port, "WSD-"); }, NetworkPortKind::kWsd},
    {[](PortContext& c) { return Contains(c.port, "IP_") || IsDottedQuad(c.port); },
     NetworkPortKind::kIpPort},
    {[](PortContext& c) { return StandardTcpIpPortExists(c.port); },
     NetworkPortKind::kStandardTcpIp},
    {[](PortContext& c) { return Contains(c.port, "\\\\"); }, NetworkPortKind::kUncPath},
    {[](PortContext& c) { return ResolveNumericAddress(c.port.c_str(), c.numeric.data()); },
     NetworkPortKind::kNumericHost},
    {[](PortContext& c) { return Contains(c.port, ":"); }, NetworkPortKind::kHostAndPort},
};

int NetworkIpPort(PortContext& c) { return ReadIpPortAddress(c.port, c.deviceAddress, c.variant); }

int NetworkUncPath(PortContext& c) { return ResolveUncServer(c.port, c.deviceAddress); }

int NetworkNumericHost(PortContext& c) {
  SetAddress(c.deviceAddress, Text(c.numeric.data()));
  return kAddressFound;
}

int NetworkHostAndPort(PortContext& c) { return ResolveHostOfHostPort(c.port, c.deviceAddress); }

int NoAddressForWsd(PortContext&) { return kNoAddressForPort; }

// The port names no device: perhaps the print server is itself one of ours.
int PrintServerCheck(PortContext& c) {
  const std::string serverName =
      c.server.size() >= kUncPrefixLength ? c.server.substr(kUncPrefixLength) : std::string();
  switch (VerifyDeviceModel(c.queue, serverName.c_str(), c.verify, nullptr)) {
    case kModelOurs: {
      AddressBuffer numeric{};
      if (ResolveNumericAddress(serverName.c_str(), numeric.data())) {
        SetAddress(c.deviceAddress, Text(numeric.data()));
      }
      return kAddressFound;
    }
    case kModelNotOurs:
      return ReadDiscoveryValue(c.port, c.deviceAddress, c.variant) ? kAddressFound
                                                                    : kNoAddressForPort;
    default:
      return kNoUsablePortKind;
  }
}

struct NetworkPortAction {
  NetworkPortKind kind;
  int (*resolve)(PortContext&);
};

constexpr NetworkPortAction kNetworkPortActions[] = {
    {NetworkPortKind::kWsd, NoAddressForWsd},
    {NetworkPortKind::kIpPort, NetworkIpPort},
    {NetworkPortKind::kStandardTcpIp, NetworkIpPort},
    {NetworkPortKind::kUncPath, NetworkUncPath},
    {NetworkPortKind::kNumericHost, NetworkNumericHost},
    {NetworkPortKind::kHostAndPort, NetworkHostAndPort},
    {NetworkPortKind::kPrintServer, PrintServerCheck},
};

NetworkPortKind ClassifyNetworkPort(PortContext& c) {
  for (const NetworkPortTest& test : kNetworkPortTests) {
    if (test.matches(c)) return test.kind;
  }
  return NetworkPortKind::kPrintServer;
}

template <typename Actions, typename Kind>
int Act(const Actions& actions, Kind kind, PortContext& c) {
  for (const auto& action : actions) {
    if (action.kind == kind) return action.resolve(c);
  }
  return kNoUsablePortKind;
}

// A Windows IPv6 literal name (hyphens for colons, then the reserved domain)
// becomes the literal itself.
void FoldIpv6Name(char* deviceAddress) {
  std::string text(Text(deviceAddress));
  if (!IsIpv6Address(text)) return;
  const std::size_t dot = FindText(text, ".");
  if (dot != kNotFound) text.resize(dot);
  for (char& c : text) {
    if (c == '-') c = ':';
  }
  SetAddress(deviceAddress, text);
}

}  // namespace

LocalPortKind ClassifyLocalPort(std::string_view port) {
  const std::string name(port);
  for (const LocalPortTest& test : kLocalPortTests) {
    if (test.matches(name)) return test.kind;
  }
  return LocalPortKind::kUnknown;
}

NetworkPortKind ClassifyNetworkPort(std::string_view port, char* numeric) {
  PortContext c{std::string(port), nullptr, 0, nullptr, 0, nullptr, 0, {}, {}};
  const NetworkPortKind kind = ClassifyNetworkPort(c);
  if (numeric != nullptr) CopyBounded(numeric, kAddressBufferSize, Text(c.numeric.data()));
  return kind;
}

int ResolveDeviceAddress(const platform::PrinterInfo2* record, char* deviceAddress, int variant,
                         platform::PrinterHandle queue, int verify, int* notOurs, int trusted) {
  if (record == nullptr) return kNoUsablePortKind;
  if (trusted == 0) {
    AddressBuffer preset{};
    if (ReadPrinterDataText(queue, kSnmpIpAddressData, preset.data()) && preset[0] != '\0') {
      SetAddress(deviceAddress, Text(preset.data()));
      return kAddressFound;
    }
  }
  int result = kNoUsablePortKind;
  if ((record->attributes & platform::kPrinterAttributeLocal) != 0) {
    result = ResolveLocalPortAddress(record->portName, deviceAddress, variant, queue, verify,
                                     notOurs, trusted);
  } else if ((record->attributes & platform::kPrinterAttributeNetwork) != 0) {
    result = ResolveNetworkPortAddress(record->serverName, record->portName, deviceAddress, variant,
                                       queue, verify);
  }
  FoldIpv6Name(deviceAddress);
  return result;
}

int ResolveLocalPortAddress(std::string_view port, char* deviceAddress, int variant,
                            platform::PrinterHandle queue, int verify, int* notOurs, int trusted) {
  AddressBuffer originalPort{};
  if (!ReadPrinterDataText(queue, kOriginalPortData, originalPort.data()) ||
      Text(originalPort.data()) != port) {
    // The cached address belongs to another port: drop it.
    DeletePrinterData(queue, kOriginalPortData);
    DeletePrinterData(queue, kDiscoveredIpData);
  } else {
    AddressBuffer cached{};
    if (ReadPrinterDataText(queue, kDiscoveredIpData, cached.data()) && cached[0] != '\0') {
      SetAddress(deviceAddress, Text(cached.data()));
      return kAddressFound;
    }
  }
  PortContext c{std::string(port), deviceAddress, variant, queue, verify, notOurs, trusted, {}, {}};
  return Act(kLocalPortActions, ClassifyLocalPort(port), c);
}

int ResolveNetworkPortAddress(std::string_view server, std::string_view port, char* deviceAddress,
                              int variant, platform::PrinterHandle queue, int verify) {
  PortContext c{std::string(port),
                deviceAddress,
                variant,
                queue,
                verify,
                nullptr,
                0,
                std::string(server),
                {}};
  return Act(kNetworkPortActions, ClassifyNetworkPort(c), c);
}

int ResolveUncServer(std::string_view port, char* deviceAddress) {
  std::string server(port.substr(0, kAddressOfferedBytes));
  const std::size_t lastBackslash = FindLastChar(server, '\\');
  if (lastBackslash != kNotFound) server.resize(lastBackslash);
  server.erase(0, std::min(kUncPrefixLength, server.size()));
  return ResolveInto(server, deviceAddress);
}

int ResolveHostOfHostPort(std::string_view port, char* deviceAddress) {
  std::string_view host;
  if (Contains(port, "[") && Contains(port, "]")) {
    host = Bracketed(port);
  } else {
    const std::size_t colon = FindLastChar(port, ':');
    host = port.substr(0, colon);
  }
  return ResolveInto(std::string(host), deviceAddress);
}

int ResolveUrlHost(std::string_view url, char* deviceAddress) {
  const std::size_t slash = FindText(url, "/");
  const std::string_view rest =
      slash == kNotFound ? std::string_view() : url.substr(std::min(slash + 2, url.size()));
  std::string host;
  if (IsIpv6Name(rest)) {
    if (Contains(rest, ".")) {
      host = rest.substr(0, FindText(rest, "."));
    } else if (Contains(rest, "[")) {
      host = Bracketed(rest);
    } else {
      host = rest;
    }
    for (char& c : host) {
      if (c == '-') c = ':';
    }
  } else {
    std::string_view name = rest.substr(0, FindText(rest, "/"));
    name = name.substr(0, FindText(name, ":"));
    host = name;
  }
  return ResolveInto(host, deviceAddress);
}

int ResolveWsdPortAddress(platform::PrinterHandle queue, char* deviceAddress) {
  const auto devices = OpenKey(platform::Hive::LocalMachine, kWsdDevicesKey);
  if (devices == nullptr) return kNoUsablePortKind;
  AddressBuffer defName{};
  ReadPrinterDataText(queue, kDefNameData, defName.data());
  std::array<char, kSubKeyNameCapacity> name{};
  for (std::uint32_t index = 0;
       devices->EnumSubKey(index, name.data(), kSubKeyNameCapacity) == platform::kErrorSuccess;
       ++index) {
    const auto device =
        OpenKey(platform::Hive::LocalMachine,
                std::string(kWsdDevicesKey) + "\\" + std::string(TextIn(name.data(), name.size())));
    if (device == nullptr) continue;
    const auto friendly = ReadSizedText(*device, kFriendlyNameValue);
    if (!friendly) continue;
    std::string_view trimmed = *friendly;
    trimmed.remove_prefix(std::min(trimmed.find_first_not_of(kBlanks), trimmed.size()));
    trimmed = trimmed.substr(0, trimmed.find_last_not_of(kBlanks) + 1);
    if (!Contains(Text(defName.data()), trimmed)) continue;
    if (const auto location = ReadSizedText(*device, kLocationValue)) {
      return ResolveUrlHost(*location, deviceAddress);
    }
  }
  return kNoUsablePortKind;
}

}  // namespace device
