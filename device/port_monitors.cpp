#include "device/port_monitors.h"

#include <array>
#include <cstring>

#include "device/ansi_text.h"
#include "device/device_address.h"
#include "device/registry_text.h"
#include "platform/machine.h"

namespace device {
namespace {

using platform::Hive;

constexpr std::string_view kIpAddressValue = "IPAddress";
constexpr std::string_view kHostNameValue = "HostName";
constexpr std::string_view kNetworkIpAddressValue = "IP_Address";
// An "IPAddress" shorter than this (NUL included) holds no address.
constexpr std::uint32_t kMinIpAddressValueSize = 7;
constexpr std::size_t kIpPortPrefixLength = 3;  // "IP_"
constexpr std::size_t kSubKeyNameCapacity = 1024;

std::string WithoutTrailingBackslash(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

}  // namespace

// A cluster node keeps the spooler's ports in the configuration of the
// cluster resource of type "Print Spooler". The first such resource (in
// the key's index order) whose ports key exists is taken; without one the
// machine's own monitor key serves.
std::string StandardTcpIpBaseKey() {
  const std::string fallback(kStandardTcpIpPortsKey);
  if (OpenKey(Hive::LocalMachine, kClusterKey) == nullptr) return fallback;
  const auto resources = OpenKey(Hive::LocalMachine, kClusterResourcesKey);
  if (resources == nullptr) return fallback;
  std::array<char, kSubKeyNameCapacity> name{};
  for (std::uint32_t index = 0;
       resources->EnumSubKey(index, name.data(), kSubKeyNameCapacity) == platform::kErrorSuccess;
       ++index) {
    const std::string resourceKey =
        std::string(kClusterResourcesKey) + "\\" + std::string(TextIn(name.data(), name.size()));
    const auto resource = OpenKey(Hive::LocalMachine, resourceKey);
    if (resource == nullptr) continue;
    const auto type = ReadSizedText(*resource, kClusterResourceTypeValue);
    if (!type || *type != kPrintSpoolerResourceType) continue;
    const std::string base = resourceKey + std::string(kClusterPortsSuffix);
    if (OpenKey(Hive::LocalMachine, WithoutTrailingBackslash(base)) != nullptr) return base;
  }
  return fallback;
}

std::string PortKeyPath(std::string_view base, std::string_view port) {
  std::string path(base.substr(0, kKeyPathBufferSize - 1));
  path.append(port.substr(0, kKeyPathBufferSize - 1 - path.size()));
  return path;
}

bool StandardTcpIpPortExists(std::string_view port) {
  return OpenKey(Hive::LocalMachine, PortKeyPath(StandardTcpIpBaseKey(), port)) != nullptr;
}

TcpIpPortSource ReadStandardTcpIpPort(std::string_view port, char* deviceAddress) {
  const auto key = OpenKey(Hive::LocalMachine, PortKeyPath(kStandardTcpIpPortsKey, port));
  if (key == nullptr) return TcpIpPortSource::kNothingFound;

  platform::RegType type = platform::RegType::None;
  std::uint32_t size = 0;
  if (key->QueryValue(kIpAddressValue, &type, nullptr, &size) == platform::kErrorSuccess &&
      size >= kMinIpAddressValueSize) {
    if (const auto address = ReadSizedText(*key, kIpAddressValue)) {
      CopyBounded(deviceAddress, kAddressBufferSize, *address);
      return TcpIpPortSource::kAddressFound;
    }
  }
  const auto hostName = ReadSizedText(*key, kHostNameValue);
  if (!hostName) return TcpIpPortSource::kNothingFound;
  CopyBounded(deviceAddress, kAddressBufferSize, *hostName);
  const std::string_view host = TextIn(deviceAddress, kAddressBufferSize);
  if ((IsDottedQuad(host) || IsIpv6Address(host)) && Contains(host, "[")) {
    const std::string inner(Bracketed(host));
    CopyBounded(deviceAddress, kAddressBufferSize, inner);
  }
  return TcpIpPortSource::kHostNameFound;
}

int ReadIpPortAddress(std::string_view port, char* deviceAddress, int variant) {
  const std::string_view candidate =
      IsDottedQuad(port) ? port : port.substr(std::min(kIpPortPrefixLength, port.size()));
  CopyBounded(deviceAddress, kAddressBufferSize, candidate.substr(0, kAddressOfferedBytes));
  const std::string candidateText(TextIn(deviceAddress, kAddressBufferSize));

  if (const auto key = OpenKey(Hive::LocalMachine, PortKeyPath(StandardTcpIpBaseKey(), port))) {
    std::array<char, kAddressBufferSize> value{};
    if (ReadTextInto(*key, kNetworkIpAddressValue, value.data(), value.size(), value.size())) {
      CopyBounded(deviceAddress, kAddressBufferSize, TextIn(value.data(), value.size()));
    }
  }
  if (IsDottedAddress(TextIn(deviceAddress, kAddressBufferSize))) return kAddressFound;
  if (ReadDiscoveryValue(port, deviceAddress, variant)) return kAddressFound;
  // The text left is then used as a host name.
  return IsDottedAddress(candidateText) ? kNoAddressForPort : kAddressFound;
}

bool ReadDiscoveryValue(std::string_view port, char* out, int variant) {
  const std::string_view discoveryKey =
      variant == kResellerVariant ? kResellerDiscoveryKey : kMakerDiscoveryKey;
  std::array<char, kAddressBufferSize> value{};
  std::unique_ptr<platform::RegistryKey> key;
  if (IsWindowsNt4OrEarlier()) {
    const std::string sid = platform::CurrentMachine().InteractiveUserSid();
    if (sid.empty()) return false;
    key = OpenKey(Hive::Users, sid + "\\" + std::string(discoveryKey));
  } else {
    key = OpenKey(Hive::CurrentUser, discoveryKey);
  }
  if (key == nullptr ||
      !ReadTextInto(*key, port, value.data(), value.size(), kAddressOfferedBytes)) {
    return false;
  }
  CopyBounded(out, kAddressBufferSize, TextIn(value.data(), value.size()));
  return true;
}

}  // namespace device
