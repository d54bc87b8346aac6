// Windows Sockets, cut to what the module uses: the name-resolution entry
// points, which the module binds at run time as it does with ws2_32, the
// name-space look-up of IPX services and IPX datagram sockets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Windows Sockets errors of the resolver (the EAI_* codes are these on Windows).
inline constexpr int kWsaEfault = 10014;
inline constexpr int kWsaEafnosupport = 10047;
inline constexpr int kWsaEinval = 10022;
inline constexpr int kWsaEnetunreach = 10051;
inline constexpr int kWsaTimedOut = 10060;
inline constexpr int kWsaENoMore = 10110;  // WSA_E_NO_MORE: a look-up has no more results
inline constexpr int kWsaServiceNotFound = 10108;
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

// An IPX socket address (SOCKADDR_IPX without its family): network number,
// node number and socket number, the socket in host order.
struct IpxSocketAddress {
  std::array<std::uint8_t, 4> network{};
  std::array<std::uint8_t, 6> node{};
  std::uint16_t socket = 0;
};

// Name spaces and look-up flags of the service look-up (NS_*, LUP_*).
inline constexpr std::uint32_t kNameSpaceSap = 1;
inline constexpr std::uint32_t kLookupReturnAll = 0x0FF0;

// The fields of a WSAQUERYSETA the module sets for a service look-up.
struct ServiceQuery {
  std::uint32_t size = 0;                       // dwSize
  const char* serviceInstanceName = nullptr;    // null: none
  std::array<std::uint8_t, 16> serviceClass{};  // GUID, in its text's byte order
  std::uint32_t nameSpace = 0;
};

using LookupHandle = void*;

// A datagram socket of the IPX protocol (AF_IPX, SOCK_DGRAM, NSPROTO_IPX);
// destroying it closes it.
class IpxDatagramSocket {
 public:
  virtual ~IpxDatagramSocket() = default;
  // connect, sendto: 0 or a Windows Sockets error.
  virtual int Connect(const IpxSocketAddress& peer) = 0;
  virtual int SendTo(const void* data, std::size_t size, const IpxSocketAddress& peer) = 0;
  // recvfrom of one datagram, waiting at most `timeoutMilliseconds`:
  // 0 with `*received` bytes, kWsaTimedOut when nothing came, or an error.
  virtual int ReceiveFrom(void* data, std::size_t capacity, std::uint32_t timeoutMilliseconds,
                          std::size_t* received) = 0;
};

class Network {
 public:
  virtual ~Network() = default;
  // The name-resolution entry points, or null on a system without them.
  virtual NameResolver* BindNameResolver() = 0;

  // A system without IPX answers every call below with a failure.

  // WSAEnumNameSpaceProvidersA: the providers' identifiers, in order. When
  // `*bufferLength` bytes cannot hold them, kWsaEfault with the size needed
  // there; else 0.
  virtual int EnumNameSpaceProviders(std::uint32_t* bufferLength,
                                     std::vector<std::string>* identifiers) {
    (void)bufferLength;
    identifiers->clear();
    return kWsaEinval;
  }
  // WSALookupServiceBeginA / NextA / End. Next gives one result's first
  // remote address; kWsaEfault with the size needed in `*bufferLength` when
  // the caller's buffer is too small, kWsaENoMore after the last result.
  virtual int LookupServiceBegin(const ServiceQuery& query, std::uint32_t flags,
                                 LookupHandle* handle) {
    (void)query;
    (void)flags;
    *handle = nullptr;
    return kWsaServiceNotFound;
  }
  virtual int LookupServiceNext(LookupHandle handle, std::uint32_t flags,
                                std::uint32_t* bufferLength, void* buffer,
                                IpxSocketAddress* address) {
    (void)handle;
    (void)flags;
    (void)bufferLength;
    (void)buffer;
    (void)address;
    return kWsaENoMore;
  }
  virtual int LookupServiceEnd(LookupHandle handle) {
    (void)handle;
    return 0;
  }
  // socket(AF_IPX, SOCK_DGRAM, NSPROTO_IPX): null with `*error` on failure.
  virtual std::unique_ptr<IpxDatagramSocket> OpenIpxDatagramSocket(int* error) {
    *error = kWsaEafnosupport;
    return nullptr;
  }
  // Whether the SNMP layer's sessions over IPX can open here.
  virtual bool HasIpx() { return false; }
  // Where the SNMP layer sends a datagram for IPX node `node` when the
  // system has no IPX of its own: the numeric IPv4 text of the host that
  // stands for the node, none when nothing stands for it.
  virtual std::optional<std::string> IpxNodeStandIn(const IpxSocketAddress& node) {
    (void)node;
    return std::nullopt;
  }
};

}  // namespace platform
