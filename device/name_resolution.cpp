#include "device/name_resolution.h"

#include <cstdint>
#include <vector>

#include "device/device_address.h"
#include "device/socket_layer.h"
#include "platform/machine.h"
#include "snmp/snmp_pp.h"

namespace device {
namespace {

thread_local int lastSocketError = 0;

// Without the resolver entry points only IPv4 numbers can be turned into
// addresses, as the classic host calls of old systems would for a number.
bool ResolveIpv4Only(const char* name, char* out) {
  if (!IsDottedQuad(name) || !IsDottedAddress(name)) {
    lastSocketError = platform::kWsaHostNotFound;
    return false;
  }
  CopyBounded(out, kAddressBufferSize, name);
  return true;
}

// The entry points are bound at first use and kept for the life of the
// module; a machine installed later (tests) has them bound anew.
platform::NameResolver* BoundNameResolver() {
  static std::uint64_t boundGeneration = 0;
  static platform::NameResolver* bound = nullptr;
  const std::uint64_t generation = platform::MachineGeneration();
  if (generation != boundGeneration) {
    bound = platform::CurrentMachine().network().BindNameResolver();
    boundGeneration = generation;
  }
  return bound;
}

}  // namespace

int LastSocketError() { return lastSocketError; }

bool ResolveNumericAddress(const char* name, char* out) {
  if (name == nullptr) return false;
  const SocketLayer sockets;
  platform::NameResolver* resolver = BoundNameResolver();
  if (resolver == nullptr) return ResolveIpv4Only(name, out);

  std::vector<platform::SocketAddress> addresses;
  const int error = resolver->GetAddrInfo(name, platform::AddressFamily::Unspecified, &addresses);
  if (error != 0) {
    lastSocketError = error;
    return false;
  }
  for (const platform::SocketAddress& address : addresses) {
    lastSocketError = resolver->GetNameInfo(address, out, kAddressBufferSize, true);
  }
  return true;
}

bool CanResolveHost(const char* name, char* out) {
  if (name == nullptr) return false;
  const SocketLayer sockets;
  int status = SNMP_CLASS_ERROR;
  const Snmp_pp::Snmp session(status, 0, IsIpv6Address(name));
  if (status != SNMP_CLASS_SUCCESS) return false;
  return ResolveNumericAddress(name, out);
}

}  // namespace device
