// Windows Sockets, cut to what the module uses: the name-resolution entry
// points, which the module binds at run time as it does with ws2_32.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

// Windows Sockets errors of the resolver (the EAI_* codes are these on Windows).
inline constexpr int kWsaEfault = 10014;
inline constexpr int kWsaEafnosupport = 10047;
inline constexpr int kWsaHostNotFound = 11001;  // EAI_NONAME
inline constexpr int kWsaTryAgain = 11002;      // EAI_AGAIN
inline constexpr int kWsaNoRecovery = 11003;    // EAI_FAIL

enum class AddressFamily : int { Unspecified = 0, Inet = 2, Inet6 = 23 };

struct SocketAddress {
  AddressFamily family = AddressFamily::Unspecified;
  std::array<std::uint8_t, 16> bytes{};  // 4 used for Inet, 16 for Inet6
  std::uint32_t scopeId = 0;             // Inet6 only
};

// getaddrinfo, getnameinfo and freeaddrinfo: the resolver's lists are plain
// vectors here, so nothing needs freeing.
class NameResolver {
 public:
  virtual ~NameResolver() = default;
  // Every address of `node` in the resolver's order; 0 or a non-zero error.
  virtual int GetAddrInfo(std::string_view node, AddressFamily family,
                          std::vector<SocketAddress>* addresses) = 0;
  // The host of `address`, numeric (NI_NUMERICHOST) or looked up, into `host`
  // (capacity bytes, NUL included); 0 or a non-zero error.
  virtual int GetNameInfo(const SocketAddress& address, char* host, std::size_t capacity,
                          bool numericHost) = 0;
};

class Network {
 public:
  virtual ~Network() = default;
  // The name-resolution entry points, or null on a system without them.
  virtual NameResolver* BindNameResolver() = 0;
};

}  // namespace platform
