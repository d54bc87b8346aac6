#include "device/name_resolution.h"

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

}  // namespace

int LastSocketError() { return lastSocketError; }

bool ResolveNumericAddress(const char* name, char* out) {
  if (name == nullptr) return false;
  const SocketLayer sockets;
  // The simulated machine can be replaced within a process (tests), so the
  // entry points are taken from the machine current at each call.
  platform::NameResolver* resolver = platform::CurrentMachine().network().BindNameResolver();
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
