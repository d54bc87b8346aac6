// The simulated machine's IPX network. Linux has no IPX: the profile says
// whether the machine has the protocol, which name-space providers and SAP
// services it sees, and which loopback IPv4 address stands for each IPX node.
// A datagram to IPX socket N of a mapped node goes to UDP port N of that
// address (or the port the profile gives for N); SNMP's socket goes to the
// SNMP port. A datagram to an unmapped node is lost.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/network.h"
#include "platform/simulated/registry_tree.h"

namespace platform::simulated {

// HKEY_LOCAL_MACHINE. Without this key the machine has no IPX protocol.
inline constexpr std::u16string_view kIpxKey = u"SOFTWARE\\SimulatedMachine\\Ipx";
// ";"-separated provider identifiers, in order.
inline constexpr std::u16string_view kNameSpaceProvidersValue = u"NameSpaceProviders";
// Subkeys: Services (value data = the service's IPX address, in the order
// listed), Nodes (value name = IPX address, data = loopback IPv4 text) and,
// optional, Sockets (value name = IPX socket number in hexadecimal, dword
// data = the UDP port that stands for it, so that tests choose free ports).
inline constexpr std::u16string_view kIpxServicesSubkey = u"Services";
inline constexpr std::u16string_view kIpxNodesSubkey = u"Nodes";
inline constexpr std::u16string_view kIpxSocketsSubkey = u"Sockets";

// SNMP over IPX.
inline constexpr std::uint16_t kSnmpIpxSocket = 0x900F;

// An IPX address text: network number, "-" or ":", node number, each in
// hexadecimal of any case (8 and 12 digits). Null for anything else.
std::optional<IpxSocketAddress> ParseIpxAddressText(std::string_view text);

class SimulatedIpx {
 public:
  explicit SimulatedIpx(const RegistryTree& tree);

  bool present() const { return present_; }

  int EnumNameSpaceProviders(std::uint32_t* bufferLength, std::vector<std::string>* identifiers);
  int LookupServiceBegin(const ServiceQuery& query, std::uint32_t flags, LookupHandle* handle);
  int LookupServiceNext(LookupHandle handle, std::uint32_t* bufferLength,
                        IpxSocketAddress* address);
  int LookupServiceEnd(LookupHandle handle);
  std::unique_ptr<IpxDatagramSocket> OpenDatagramSocket(int* error);
  std::optional<std::string> NodeStandIn(const IpxSocketAddress& node) const;

  // The UDP endpoint of IPX socket `address`: the node's stand-in and the
  // port; none for an unmapped node.
  struct UdpEndpoint {
    std::string host;
    std::uint16_t port = 0;
  };
  std::optional<UdpEndpoint> EndpointOf(const IpxSocketAddress& address) const;

 private:
  struct Service {
    std::string name;
    IpxSocketAddress address;
  };

  bool present_ = false;
  std::vector<std::string> providers_;
  std::vector<Service> services_;
  std::vector<std::pair<IpxSocketAddress, std::string>> nodes_;
  std::map<std::uint16_t, std::uint16_t> socketPorts_;
  std::map<std::uintptr_t, std::size_t> lookups_;  // open look-up -> next service
  std::uintptr_t nextLookup_ = 1;
};

}  // namespace platform::simulated
