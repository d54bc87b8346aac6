#include "platform/simulated/simulated_ipx.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/simulated/code_pages.h"
#include "snmp/session_backend.h"

namespace platform::simulated {
namespace {

constexpr std::size_t kNetworkDigits = 8;
constexpr std::size_t kNodeDigits = 12;
// What the Win32 records of a result take before their texts: a WSAQUERYSETA,
// one CSADDR_INFO and its two SOCKADDR_IPX; a WSANAMESPACE_INFOA a provider.
constexpr std::uint32_t kQuerySetBytes = 120;
constexpr std::uint32_t kAddressInfoBytes = 40;
constexpr std::uint32_t kIpxSockaddrBytes = 14;
constexpr std::uint32_t kProviderInfoBytes = 40;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

template <std::size_t N>
bool ParseHex(std::string_view text, std::array<std::uint8_t, N>& out) {
  if (text.size() != 2 * N) return false;
  for (std::size_t i = 0; i < N; ++i) {
    const int high = HexDigit(text[2 * i]);
    const int low = HexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return true;
}

bool SameNode(const IpxSocketAddress& a, const IpxSocketAddress& b) {
  return a.network == b.network && a.node == b.node;
}

std::string Text(const std::u16string& text) { return Utf16ToUtf8(text); }

int LastSocketError() {
  switch (errno) {
    case ETIMEDOUT:
    case EAGAIN:
      return kWsaTimedOut;
    case ENETUNREACH:
      return kWsaEnetunreach;
    default:
      return kWsaEinval;
  }
}

// An IPX datagram socket carried by a UDP socket on loopback.
class LoopbackIpxSocket : public IpxDatagramSocket {
 public:
  LoopbackIpxSocket(const SimulatedIpx& ipx, int descriptor) : ipx_(ipx), fd_(descriptor) {}
  ~LoopbackIpxSocket() override { ::close(fd_); }
  LoopbackIpxSocket(const LoopbackIpxSocket&) = delete;
  LoopbackIpxSocket& operator=(const LoopbackIpxSocket&) = delete;

  int Connect(const IpxSocketAddress& peer) override {
    sockaddr_in address{};
    // An unmapped node is reachable in name only: what is sent there is lost.
    const Route route = ToUdp(peer, &address);
    if (route != Route::kUdp) return route == Route::kLost ? 0 : kWsaEnetunreach;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      return LastSocketError();
    }
    return 0;
  }

  int SendTo(const void* data, std::size_t size, const IpxSocketAddress& peer) override {
    sockaddr_in address{};
    const Route route = ToUdp(peer, &address);
    if (route != Route::kUdp) return route == Route::kLost ? 0 : kWsaEnetunreach;
    const ssize_t sent =
        ::sendto(fd_, data, size, 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return sent < 0 ? LastSocketError() : 0;
  }

  int ReceiveFrom(void* data, std::size_t capacity, std::uint32_t timeoutMilliseconds,
                  std::size_t* received) override {
    *received = 0;
    pollfd ready{fd_, POLLIN, 0};
    const int count = ::poll(&ready, 1, static_cast<int>(timeoutMilliseconds));
    if (count == 0) return kWsaTimedOut;
    if (count < 0) return LastSocketError();
    const ssize_t got = ::recvfrom(fd_, data, capacity, 0, nullptr, nullptr);
    if (got < 0) return LastSocketError();
    *received = static_cast<std::size_t>(got);
    return 0;
  }

 private:
  // A node the profile maps to something that is no IPv4 address is
  // unreachable; an unmapped one swallows what is sent.
  enum class Route { kUdp, kLost, kUnreachable };

  Route ToUdp(const IpxSocketAddress& peer, sockaddr_in* address) const {
    const auto endpoint = ipx_.EndpointOf(peer);
    if (!endpoint) return Route::kLost;
    address->sin_family = AF_INET;
    address->sin_port = htons(endpoint->port);
    return ::inet_pton(AF_INET, endpoint->host.c_str(), &address->sin_addr) == 1
               ? Route::kUdp
               : Route::kUnreachable;
  }

  const SimulatedIpx& ipx_;
  int fd_;
};

}  // namespace

std::optional<IpxSocketAddress> ParseIpxAddressText(std::string_view text) {
  if (text.size() != kNetworkDigits + 1 + kNodeDigits) return std::nullopt;
  const char separator = text[kNetworkDigits];
  if (separator != '-' && separator != ':') return std::nullopt;
  IpxSocketAddress address;
  if (!ParseHex(text.substr(0, kNetworkDigits), address.network) ||
      !ParseHex(text.substr(kNetworkDigits + 1), address.node)) {
    return std::nullopt;
  }
  return address;
}

SimulatedIpx::SimulatedIpx(const RegistryTree& tree) {
  const RegistryNode* ipx = tree.Find(Hive::LocalMachine, kIpxKey);
  if (ipx == nullptr) return;
  present_ = true;
  if (const RegistryValue* providers = ipx->FindValue(kNameSpaceProvidersValue)) {
    const std::string list = Text(StringFromValueData(providers->data));
    std::size_t start = 0;
    while (start < list.size()) {
      const std::size_t end = std::min(list.find(';', start), list.size());
      if (end > start) providers_.push_back(list.substr(start, end - start));
      start = end + 1;
    }
  }
  // Entries that are no IPX address cannot be answered; they are left out.
  if (const RegistryNode* services = ipx->FindSubKey(kIpxServicesSubkey)) {
    for (const RegistryValue* value : services->Values()) {
      if (auto address = ParseIpxAddressText(Text(StringFromValueData(value->data)))) {
        services_.push_back({Text(value->name), *address});
      }
    }
  }
  if (const RegistryNode* nodes = ipx->FindSubKey(kIpxNodesSubkey)) {
    for (const RegistryValue* value : nodes->Values()) {
      if (auto address = ParseIpxAddressText(Text(value->name))) {
        nodes_.emplace_back(*address, Text(StringFromValueData(value->data)));
      }
    }
  }
  if (const RegistryNode* sockets = ipx->FindSubKey(kIpxSocketsSubkey)) {
    for (const RegistryValue* value : sockets->Values()) {
      const std::string name = Text(value->name);
      std::array<std::uint8_t, 2> socket{};
      if (value->type != RegType::Dword || value->data.size() < 4 ||
          !ParseHex(std::string(4 - std::min<std::size_t>(name.size(), 4), '0') + name, socket)) {
        continue;
      }
      const std::uint32_t port = value->data[0] | (value->data[1] << 8);
      socketPorts_[static_cast<std::uint16_t>(socket[0] << 8 | socket[1])] =
          static_cast<std::uint16_t>(port);
    }
  }
}

int SimulatedIpx::EnumNameSpaceProviders(std::uint32_t* bufferLength,
                                         std::vector<std::string>* identifiers) {
  identifiers->clear();
  if (!present_) return kWsaEinval;
  std::uint32_t needed = 0;
  for (const std::string& provider : providers_) {
    needed += kProviderInfoBytes + static_cast<std::uint32_t>(provider.size()) + 1;
  }
  if (*bufferLength < needed) {
    *bufferLength = needed;
    return kWsaEfault;
  }
  *identifiers = providers_;
  return 0;
}

int SimulatedIpx::LookupServiceBegin(const ServiceQuery& query, std::uint32_t /*flags*/,
                                     LookupHandle* handle) {
  *handle = nullptr;
  if (!present_ || query.nameSpace != kNameSpaceSap) return kWsaServiceNotFound;
  const std::uintptr_t id = nextLookup_++;
  lookups_[id] = 0;
  *handle = reinterpret_cast<LookupHandle>(id);
  return 0;
}

int SimulatedIpx::LookupServiceNext(LookupHandle handle, std::uint32_t* bufferLength,
                                    IpxSocketAddress* address) {
  const auto lookup = lookups_.find(reinterpret_cast<std::uintptr_t>(handle));
  if (lookup == lookups_.end()) return kWsaEinval;
  if (lookup->second >= services_.size()) return kWsaENoMore;
  const Service& service = services_[lookup->second];
  const std::uint32_t needed = kQuerySetBytes + kAddressInfoBytes + 2 * kIpxSockaddrBytes +
                               static_cast<std::uint32_t>(service.name.size()) + 1;
  if (*bufferLength < needed) {
    *bufferLength = needed;
    return kWsaEfault;
  }
  *address = service.address;
  ++lookup->second;
  return 0;
}

int SimulatedIpx::LookupServiceEnd(LookupHandle handle) {
  return lookups_.erase(reinterpret_cast<std::uintptr_t>(handle)) > 0 ? 0 : kWsaEinval;
}

std::unique_ptr<IpxDatagramSocket> SimulatedIpx::OpenDatagramSocket(int* error) {
  *error = 0;
  if (!present_) {
    *error = kWsaEafnosupport;
    return nullptr;
  }
  const int descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (descriptor < 0) {
    *error = LastSocketError();
    return nullptr;
  }
  return std::make_unique<LoopbackIpxSocket>(*this, descriptor);
}

std::optional<std::string> SimulatedIpx::NodeStandIn(const IpxSocketAddress& node) const {
  if (!present_) return std::nullopt;
  const auto found =
      std::ranges::find_if(nodes_, [&](const auto& n) { return SameNode(n.first, node); });
  if (found == nodes_.end()) return std::nullopt;
  return found->second;
}

std::optional<SimulatedIpx::UdpEndpoint> SimulatedIpx::EndpointOf(
    const IpxSocketAddress& address) const {
  auto host = NodeStandIn(address);
  if (!host) return std::nullopt;
  std::uint16_t port = address.socket;
  if (const auto mapped = socketPorts_.find(address.socket); mapped != socketPorts_.end()) {
    port = mapped->second;
  } else if (address.socket == kSnmpIpxSocket) {
    port = Snmp_pp::DefaultDestinationPort();
  }
  return UdpEndpoint{std::move(*host), port};
}

}  // namespace platform::simulated
