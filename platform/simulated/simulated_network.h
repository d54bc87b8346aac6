// Name resolution of the simulated machine: the profile's host table first,
// then the system resolver.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/network.h"
#include "platform/simulated/registry_tree.h"

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
      : resolver_(tree, ansiCodePage) {}
  NameResolver* BindNameResolver() override { return &resolver_; }

 private:
  SimulatedNameResolver resolver_;
};

}  // namespace platform::simulated
