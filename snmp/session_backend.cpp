#include "snmp/session_backend.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <mutex>

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

}  // namespace

std::shared_ptr<SessionBackend> CurrentSessionBackend() {
  const std::lock_guard lock(BackendMutex());
  auto& backend = InstalledBackend();
  if (backend == nullptr) {
    backend = std::make_shared<NetSnmpBackend>();
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
