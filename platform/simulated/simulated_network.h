// Name resolution of the simulated machine: the profile's host table first,
// then the system resolver.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/network.h"
#include "platform/simulated/registry_tree.h"
#include "platform/simulated/simulated_ipx.h"

namespace platform::simulated {

// Host names of the profile (HKEY_LOCAL_MACHINE): value name = host name,
// data = its addresses, comma-separated, in the order the resolver returns.
inline constexpr std::u16string_view kHostsKey = u"SOFTWARE\\SimulatedMachine\\Hosts";
// Under the machine's System key: dword 1 sends the names and addresses the
// Hosts key lacks to the system's resolver. Without it the Hosts key answers
// alone, so that no test or demo depends on the network it runs in.
inline constexpr std::u16string_view kSystemResolverValue = u"SystemResolver";

// A numeric IPv4 or IPv6 address ("fe80::1%4" and "fe80::1%eth0" carry a
// scope); null for anything else.
std::optional<SocketAddress> ParseNumericAddress(std::string_view text);
// The numeric text of `address` as Windows writes it (scope as a number).
std::string FormatNumericAddress(const SocketAddress& address);

class SimulatedNameResolver : public NameResolver {
 public:
  SimulatedNameResolver(const RegistryTree& tree, std::uint32_t ansiCodePage);

  int GetAddrInfo(std::string_view node, AddressFamily family,
                  std::vector<SocketAddress>* addresses) override;
  int GetNameInfo(const SocketAddress& address, char* host, std::size_t capacity,
                  bool numericHost) override;

 private:
  struct Host {
    std::u16string name;
    std::vector<SocketAddress> addresses;
  };

  const Host* FindHost(std::string_view name) const;
  const Host* FindHostOf(const SocketAddress& address) const;

  std::uint32_t ansiCodePage_;
  bool systemResolver_ = false;
  std::vector<Host> hosts_;
};

class SimulatedNetwork : public Network {
 public:
  SimulatedNetwork(const RegistryTree& tree, std::uint32_t ansiCodePage)
      : resolver_(tree, ansiCodePage), ipx_(tree) {}
  NameResolver* BindNameResolver() override { return &resolver_; }

  int EnumNameSpaceProviders(std::uint32_t* bufferLength,
                             std::vector<std::string>* identifiers) override {
    return ipx_.EnumNameSpaceProviders(bufferLength, identifiers);
  }
  int LookupServiceBegin(const ServiceQuery& query, std::uint32_t flags,
                         LookupHandle* handle) override {
    return ipx_.LookupServiceBegin(query, flags, handle);
  }
  int LookupServiceNext(LookupHandle handle, std::uint32_t /*flags*/, std::uint32_t* bufferLength,
                        void* /*buffer*/, IpxSocketAddress* address) override {
    return ipx_.LookupServiceNext(handle, bufferLength, address);
  }
  int LookupServiceEnd(LookupHandle handle) override { return ipx_.LookupServiceEnd(handle); }
  std::unique_ptr<IpxDatagramSocket> OpenIpxDatagramSocket(int* error) override {
    return ipx_.OpenDatagramSocket(error);
  }
  bool HasIpx() override { return ipx_.present(); }
  std::optional<std::string> IpxNodeStandIn(const IpxSocketAddress& node) override {
    return ipx_.NodeStandIn(node);
  }

 private:
  SimulatedNameResolver resolver_;
  SimulatedIpx ipx_;
};

}  // namespace platform::simulated
