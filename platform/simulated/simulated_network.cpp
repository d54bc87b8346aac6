#include "platform/simulated/simulated_network.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/simulated/code_pages.h"
#include "platform/simulated/simulated_machine.h"

namespace platform::simulated {
namespace {

constexpr std::size_t kIpv4Bytes = 4;
constexpr std::size_t kIpv6Bytes = 16;

bool Matches(AddressFamily wanted, AddressFamily family) {
  return wanted == AddressFamily::Unspecified || wanted == family;
}

bool SameAddress(const SocketAddress& a, const SocketAddress& b) {
  const std::size_t length = a.family == AddressFamily::Inet ? kIpv4Bytes : kIpv6Bytes;
  return a.family == b.family &&
         std::equal(a.bytes.begin(), a.bytes.begin() + static_cast<std::ptrdiff_t>(length),
                    b.bytes.begin());
}

int WindowsError(int eaiError) {
  switch (eaiError) {
    case EAI_AGAIN:
      return kWsaTryAgain;
    case EAI_FAMILY:
      return kWsaEafnosupport;
    case EAI_FAIL:
      return kWsaNoRecovery;
    case EAI_OVERFLOW:
      return kWsaEfault;
    default:
      return kWsaHostNotFound;
  }
}

std::optional<SocketAddress> FromSockaddr(const sockaddr* address) {
  SocketAddress result;
  if (address->sa_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
    result.family = AddressFamily::Inet;
    std::memcpy(result.bytes.data(), &v4->sin_addr, kIpv4Bytes);
    return result;
  }
  if (address->sa_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
    result.family = AddressFamily::Inet6;
    std::memcpy(result.bytes.data(), &v6->sin6_addr, kIpv6Bytes);
    result.scopeId = v6->sin6_scope_id;
    return result;
  }
  return std::nullopt;
}

int CopyHost(const std::string& text, char* host, std::size_t capacity) {
  if (text.size() >= capacity) return kWsaEfault;
  std::memcpy(host, text.data(), text.size());
  host[text.size()] = '\0';
  return 0;
}

struct AddrInfoFree {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

}  // namespace

std::optional<SocketAddress> ParseNumericAddress(std::string_view text) {
  const std::string whole(text);
  SocketAddress address;
  if (inet_pton(AF_INET, whole.c_str(), address.bytes.data()) == 1) {
    address.family = AddressFamily::Inet;
    return address;
  }
  const std::size_t percent = whole.find('%');
  const std::string literal = whole.substr(0, percent);
  if (inet_pton(AF_INET6, literal.c_str(), address.bytes.data()) != 1) return std::nullopt;
  address.family = AddressFamily::Inet6;
  if (percent != std::string::npos) {
    const std::string scope = whole.substr(percent + 1);
    if (scope.empty()) return std::nullopt;
    if (std::all_of(scope.begin(), scope.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      if (scope.size() > 9) return std::nullopt;
      address.scopeId = static_cast<std::uint32_t>(std::stoul(scope));
    } else {
      address.scopeId = if_nametoindex(scope.c_str());
      if (address.scopeId == 0) return std::nullopt;
    }
  }
  return address;
}

std::string FormatNumericAddress(const SocketAddress& address) {
  char text[INET6_ADDRSTRLEN] = {};
  const int family = address.family == AddressFamily::Inet ? AF_INET : AF_INET6;
  if (address.family == AddressFamily::Unspecified ||
      inet_ntop(family, address.bytes.data(), text, sizeof text) == nullptr) {
    return {};
  }
  std::string result(text);
  if (address.family == AddressFamily::Inet6 && address.scopeId != 0) {
    result += "%" + std::to_string(address.scopeId);
  }
  return result;
}

SimulatedNameResolver::SimulatedNameResolver(const RegistryTree& tree, std::uint32_t ansiCodePage)
    : ansiCodePage_(ansiCodePage),
      systemResolver_(
          tree.ReadDword(Hive::LocalMachine, kSystemKey, kSystemResolverValue).value_or(0) == 1) {
  const RegistryNode* hosts = tree.Find(Hive::LocalMachine, kHostsKey);
  if (hosts == nullptr) return;
  for (const RegistryValue* value : hosts->Values()) {
    Host host{value->name, {}};
    const std::string list = Utf16ToUtf8(StringFromValueData(value->data));
    std::size_t start = 0;
    while (start <= list.size()) {
      std::size_t end = list.find(',', start);
      if (end == std::string::npos) end = list.size();
      std::string item = list.substr(start, end - start);
      item.erase(0, item.find_first_not_of(" \t"));
      item.erase(item.find_last_not_of(" \t") + 1);
      // Entries that are no address cannot be answered; they are left out.
      if (auto address = ParseNumericAddress(item)) host.addresses.push_back(*address);
      start = end + 1;
    }
    hosts_.push_back(std::move(host));
  }
}

const SimulatedNameResolver::Host* SimulatedNameResolver::FindHost(std::string_view name) const {
  const std::u16string wide = FromAnsi(ansiCodePage_, name);
  for (const Host& host : hosts_) {
    if (EqualsIgnoringCase(host.name, wide)) return &host;
  }
  return nullptr;
}

const SimulatedNameResolver::Host* SimulatedNameResolver::FindHostOf(
    const SocketAddress& address) const {
  for (const Host& host : hosts_) {
    for (const SocketAddress& candidate : host.addresses) {
      if (SameAddress(candidate, address)) return &host;
    }
  }
  return nullptr;
}

int SimulatedNameResolver::GetAddrInfo(std::string_view node, AddressFamily family,
                                       std::vector<SocketAddress>* addresses) {
  if (addresses == nullptr) return kWsaEfault;
  addresses->clear();
  int systemFamily = AF_UNSPEC;
  if (family == AddressFamily::Inet) {
    systemFamily = AF_INET;
  } else if (family == AddressFamily::Inet6) {
    systemFamily = AF_INET6;
  } else if (family != AddressFamily::Unspecified) {
    return kWsaEafnosupport;
  }
  if (node.empty() || node.find('\0') != std::string_view::npos) return kWsaHostNotFound;

  if (auto numeric = ParseNumericAddress(node)) {
    if (!Matches(family, numeric->family)) return kWsaHostNotFound;
    addresses->push_back(*numeric);
    return 0;
  }
  if (const Host* host = FindHost(node)) {
    for (const SocketAddress& address : host->addresses) {
      if (Matches(family, address.family)) addresses->push_back(address);
    }
    return addresses->empty() ? kWsaHostNotFound : 0;
  }
  if (!systemResolver_) return kWsaHostNotFound;

  addrinfo hints{};
  hints.ai_family = systemFamily;
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address, as Windows gives with no hints
  addrinfo* raw = nullptr;
  const std::string name(node);
  const int error = getaddrinfo(name.c_str(), nullptr, &hints, &raw);
  const std::unique_ptr<addrinfo, AddrInfoFree> list(raw);
  if (error != 0) return WindowsError(error);
  for (const addrinfo* entry = list.get(); entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_addr == nullptr) continue;
    if (auto address = FromSockaddr(entry->ai_addr)) addresses->push_back(*address);
  }
  return addresses->empty() ? kWsaHostNotFound : 0;
}

int SimulatedNameResolver::GetNameInfo(const SocketAddress& address, char* host,
                                       std::size_t capacity, bool numericHost) {
  if (host == nullptr || capacity == 0) return kWsaEfault;
  if (address.family != AddressFamily::Inet && address.family != AddressFamily::Inet6) {
    return kWsaEafnosupport;
  }
  if (numericHost) return CopyHost(FormatNumericAddress(address), host, capacity);
  if (const Host* known = FindHostOf(address)) {
    return CopyHost(ToAnsi(ansiCodePage_, known->name), host, capacity);
  }
  // An address without a name answers in numeric form, as the system's does.
  if (!systemResolver_) return CopyHost(FormatNumericAddress(address), host, capacity);

  sockaddr_storage storage{};
  socklen_t length = 0;
  if (address.family == AddressFamily::Inet) {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
    v4->sin_family = AF_INET;
    std::memcpy(&v4->sin_addr, address.bytes.data(), kIpv4Bytes);
    length = sizeof(sockaddr_in);
  } else {
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
    v6->sin6_family = AF_INET6;
    std::memcpy(&v6->sin6_addr, address.bytes.data(), kIpv6Bytes);
    v6->sin6_scope_id = address.scopeId;
    length = sizeof(sockaddr_in6);
  }
  char name[NI_MAXHOST] = {};
  const int error = getnameinfo(reinterpret_cast<const sockaddr*>(&storage), length, name,
                                sizeof name, nullptr, 0, 0);
  if (error != 0) return WindowsError(error);
  return CopyHost(name, host, capacity);
}

}  // namespace platform::simulated
