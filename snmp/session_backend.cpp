#include "snmp/session_backend.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/machine.h"
#include "snmp/netsnmp_backend.h"

namespace Snmp_pp {
namespace {

constexpr unsigned short kSnmpPort = 161;
constexpr char kPortVariable[] = "VX5PRCFG_SNMP_PORT";

std::mutex& BackendMutex() {
  static std::mutex mutex;
  return mutex;
}

std::shared_ptr<SessionBackend>& InstalledBackend() {
  static std::shared_ptr<SessionBackend> backend;
  return backend;
}

// Sessions over IPX reach what the current machine says stands for a node.
std::optional<UdpAddress> MachineIpxEndpoint(const IpxAddress& node) {
  platform::IpxSocketAddress address;
  std::copy_n(node.bytes().begin(), address.network.size(), address.network.begin());
  std::copy_n(node.bytes().begin() + address.network.size(), address.node.size(),
              address.node.begin());
  const auto host = platform::CurrentMachine().network().IpxNodeStandIn(address);
  if (!host) return std::nullopt;
  return UdpAddress(host->c_str());  // port 0: the SNMP port
}

bool MachineHasIpx() { return platform::CurrentMachine().network().HasIpx(); }

}  // namespace

std::shared_ptr<SessionBackend> CurrentSessionBackend() {
  const std::lock_guard lock(BackendMutex());
  auto& backend = InstalledBackend();
  if (backend == nullptr) {
    backend = std::make_shared<NetSnmpBackend>(MachineIpxEndpoint, MachineHasIpx);
  }
  return backend;
}

std::shared_ptr<SessionBackend> InstallSessionBackend(std::shared_ptr<SessionBackend> backend) {
  const std::lock_guard lock(BackendMutex());
  auto previous = std::move(InstalledBackend());
  InstalledBackend() = std::move(backend);
  return previous;
}

unsigned short DefaultDestinationPort() {
  const char* text = std::getenv(kPortVariable);
  if (text == nullptr || *text == '\0') {
    return kSnmpPort;
  }
  unsigned short port = 0;
  const char* end = text + std::strlen(text);
  const auto [stop, error] = std::from_chars(text, end, port);
  return error == std::errc() && stop == end && port != 0 ? port : kSnmpPort;
}

}  // namespace Snmp_pp
