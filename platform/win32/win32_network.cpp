#include "platform/win32/win32_network.h"

#include <cstring>
#include <string>

#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

constexpr std::size_t kIpv4Bytes = 4;
constexpr std::size_t kIpv6Bytes = 16;
constexpr WORD kWinsockVersion = MAKEWORD(2, 2);

using GetAddrInfoFunction = INT(WSAAPI*)(PCSTR, PCSTR, const ADDRINFOA*, PADDRINFOA*);
using FreeAddrInfoFunction = VOID(WSAAPI*)(PADDRINFOA);
using GetNameInfoFunction = INT(WSAAPI*)(const SOCKADDR*, socklen_t, PCHAR, DWORD, PCHAR, DWORD,
                                         INT);

template <class Function>
Function Bound(HMODULE module, const char* name) {
  // Through void*: FARPROC and the entry points' types are unrelated.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Windows Sockets started for the length of one call: the module resolves
// names before it opens a session, and a resolver that outlived the call
// would clean up only when the DLL unloads, where WSACleanup must not run.
class SocketsStarted {
 public:
  SocketsStarted() {
    WSADATA data{};
    error_ = WSAStartup(kWinsockVersion, &data);
  }
  ~SocketsStarted() {
    if (error_ == 0) WSACleanup();
  }
  SocketsStarted(const SocketsStarted&) = delete;
  SocketsStarted& operator=(const SocketsStarted&) = delete;

  int error() const { return error_; }

 private:
  int error_;
};

}  // namespace

struct Win32NameResolver::EntryPoints {
  HMODULE module = nullptr;
  GetAddrInfoFunction getaddrinfo = nullptr;
  FreeAddrInfoFunction freeaddrinfo = nullptr;
  GetNameInfoFunction getnameinfo = nullptr;

  EntryPoints() = default;
  EntryPoints(const EntryPoints&) = delete;
  EntryPoints& operator=(const EntryPoints&) = delete;
  ~EntryPoints() {
    if (module != nullptr) ::FreeLibrary(module);
  }
};

std::unique_ptr<Win32NameResolver> Win32NameResolver::Bind() {
  auto entryPoints = std::make_unique<EntryPoints>();
  entryPoints->module = ::LoadLibraryA("ws2_32.dll");
  if (entryPoints->module == nullptr) return nullptr;
  entryPoints->getaddrinfo = Bound<GetAddrInfoFunction>(entryPoints->module, "getaddrinfo");
  entryPoints->freeaddrinfo = Bound<FreeAddrInfoFunction>(entryPoints->module, "freeaddrinfo");
  entryPoints->getnameinfo = Bound<GetNameInfoFunction>(entryPoints->module, "getnameinfo");
  if (entryPoints->getaddrinfo == nullptr || entryPoints->freeaddrinfo == nullptr ||
      entryPoints->getnameinfo == nullptr) {
    return nullptr;
  }
  return std::unique_ptr<Win32NameResolver>(new Win32NameResolver(std::move(entryPoints)));
}

Win32NameResolver::Win32NameResolver(std::unique_ptr<EntryPoints> entryPoints)
    : entryPoints_(std::move(entryPoints)) {}

Win32NameResolver::~Win32NameResolver() = default;

int Win32NameResolver::GetAddrInfo(std::string_view node, AddressFamily family,
                                   std::vector<SocketAddress>* addresses) {
  if (addresses == nullptr) return kWsaEfault;
  addresses->clear();
  ADDRINFOA hints{};
  switch (family) {
    case AddressFamily::Unspecified:
      hints.ai_family = AF_UNSPEC;
      break;
    case AddressFamily::Inet:
      hints.ai_family = AF_INET;
      break;
    case AddressFamily::Inet6:
      hints.ai_family = AF_INET6;
      break;
    default:
      return kWsaEafnosupport;
  }
  if (node.empty() || node.find('\0') != std::string_view::npos) return kWsaHostNotFound;

  const SocketsStarted sockets;
  if (sockets.error() != 0) return sockets.error();
  const std::string name(node);
  ADDRINFOA* list = nullptr;
  const int error = entryPoints_->getaddrinfo(name.c_str(), nullptr, &hints, &list);
  if (error != 0) return error;  // Windows' EAI_* codes are its WSA errors
  for (const ADDRINFOA* entry = list; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_addr == nullptr) continue;
    SocketAddress address;
    if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
      const auto* v4 = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
      address.family = AddressFamily::Inet;
      std::memcpy(address.bytes.data(), &v4->sin_addr, kIpv4Bytes);
    } else if (entry->ai_family == AF_INET6 && entry->ai_addrlen >= sizeof(sockaddr_in6)) {
      const auto* v6 = reinterpret_cast<const sockaddr_in6*>(entry->ai_addr);
      address.family = AddressFamily::Inet6;
      std::memcpy(address.bytes.data(), &v6->sin6_addr, kIpv6Bytes);
      address.scopeId = v6->sin6_scope_id;
    } else {
      continue;
    }
    addresses->push_back(address);
  }
  entryPoints_->freeaddrinfo(list);
  return addresses->empty() ? kWsaHostNotFound : 0;
}

int Win32NameResolver::GetNameInfo(const SocketAddress& address, char* host, std::size_t capacity,
                                   bool numericHost) {
  if (host == nullptr || capacity == 0) return kWsaEfault;
  sockaddr_storage storage{};
  socklen_t length = 0;
  if (address.family == AddressFamily::Inet) {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
    v4->sin_family = AF_INET;
    std::memcpy(&v4->sin_addr, address.bytes.data(), kIpv4Bytes);
    length = sizeof(sockaddr_in);
  } else if (address.family == AddressFamily::Inet6) {
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
    v6->sin6_family = AF_INET6;
    std::memcpy(&v6->sin6_addr, address.bytes.data(), kIpv6Bytes);
    v6->sin6_scope_id = address.scopeId;
    length = sizeof(sockaddr_in6);
  } else {
    return kWsaEafnosupport;
  }
  const auto hostCapacity = static_cast<DWORD>(capacity > MAXDWORD ? MAXDWORD : capacity);
  const SocketsStarted sockets;
  if (sockets.error() != 0) return sockets.error();
  return entryPoints_->getnameinfo(reinterpret_cast<const SOCKADDR*>(&storage), length, host,
                                   hostCapacity, nullptr, 0, numericHost ? NI_NUMERICHOST : 0);
}

NameResolver* Win32Network::BindNameResolver() {
  if (!bound_) {
    resolver_ = Win32NameResolver::Bind();
    bound_ = true;
  }
  return resolver_.get();
}

}  // namespace platform::win32
