#include "platform/win32/win32_network.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

// clang-format off
#include <wsipx.h>
// clang-format on

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

SOCKADDR_IPX ToSockaddr(const IpxSocketAddress& address) {
  SOCKADDR_IPX native{};
  native.sa_family = AF_IPX;
  std::memcpy(native.sa_netnum, address.network.data(), address.network.size());
  std::memcpy(native.sa_nodenum, address.node.data(), address.node.size());
  native.sa_socket = htons(address.socket);
  return native;
}

GUID ToGuid(const std::array<std::uint8_t, 16>& bytes) {
  GUID guid{};
  guid.Data1 =
      (static_cast<unsigned long>(bytes[0]) << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
  guid.Data2 = static_cast<unsigned short>((bytes[4] << 8) | bytes[5]);
  guid.Data3 = static_cast<unsigned short>((bytes[6] << 8) | bytes[7]);
  std::copy(bytes.begin() + 8, bytes.end(), guid.Data4);
  return guid;
}

class Win32IpxSocket : public IpxDatagramSocket {
 public:
  explicit Win32IpxSocket(SOCKET socket) : socket_(socket) {}
  ~Win32IpxSocket() override { closesocket(socket_); }
  Win32IpxSocket(const Win32IpxSocket&) = delete;
  Win32IpxSocket& operator=(const Win32IpxSocket&) = delete;

  int Connect(const IpxSocketAddress& peer) override {
    const SOCKADDR_IPX native = ToSockaddr(peer);
    if (connect(socket_, reinterpret_cast<const SOCKADDR*>(&native), sizeof native) != 0) {
      return WSAGetLastError();
    }
    return 0;
  }

  int SendTo(const void* data, std::size_t size, const IpxSocketAddress& peer) override {
    const SOCKADDR_IPX native = ToSockaddr(peer);
    const int length = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
    if (sendto(socket_, static_cast<const char*>(data), length, 0,
               reinterpret_cast<const SOCKADDR*>(&native), sizeof native) == SOCKET_ERROR) {
      return WSAGetLastError();
    }
    return 0;
  }

  int ReceiveFrom(void* data, std::size_t capacity, std::uint32_t timeoutMilliseconds,
                  std::size_t* received) override {
    *received = 0;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_, &readable);
    timeval wait{static_cast<long>(timeoutMilliseconds / 1000),
                 static_cast<long>(timeoutMilliseconds % 1000) * 1000};
    const int ready = select(0, &readable, nullptr, nullptr, &wait);
    if (ready == 0) return WSAETIMEDOUT;
    if (ready == SOCKET_ERROR) return WSAGetLastError();
    SOCKADDR_IPX from{};
    int fromLength = sizeof from;
    const int length = static_cast<int>(std::min<std::size_t>(capacity, INT_MAX));
    const int got = recvfrom(socket_, static_cast<char*>(data), length, 0,
                             reinterpret_cast<SOCKADDR*>(&from), &fromLength);
    if (got == SOCKET_ERROR) return WSAGetLastError();
    *received = static_cast<std::size_t>(got);
    return 0;
  }

 private:
  SOCKET socket_;
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

int Win32Network::EnumNameSpaceProviders(std::uint32_t* bufferLength,
                                         std::vector<std::string>* identifiers) {
  identifiers->clear();
  const SocketsStarted sockets;
  if (sockets.error() != 0) return sockets.error();
  // WSANAMESPACE_INFOA holds pointers: the buffer is kept aligned for them.
  std::vector<WSANAMESPACE_INFOA> buffer(*bufferLength / sizeof(WSANAMESPACE_INFOA) + 1);
  DWORD length = *bufferLength;
  const int count = WSAEnumNameSpaceProvidersA(&length, buffer.data());
  if (count == SOCKET_ERROR) {
    const int error = WSAGetLastError();
    if (error == WSAEFAULT) *bufferLength = length;
    return error;
  }
  for (int i = 0; i < count; ++i) {
    const char* identifier = buffer[static_cast<std::size_t>(i)].lpszIdentifier;
    identifiers->emplace_back(identifier != nullptr ? identifier : "");
  }
  return 0;
}

int Win32Network::LookupServiceBegin(const ServiceQuery& query, std::uint32_t flags,
                                     LookupHandle* handle) {
  *handle = nullptr;
  GUID serviceClass = ToGuid(query.serviceClass);
  WSAQUERYSETA set{};
  set.dwSize = query.size != 0 ? query.size : sizeof set;
  set.lpszServiceInstanceName = const_cast<char*>(query.serviceInstanceName);
  set.lpServiceClassId = &serviceClass;
  set.dwNameSpace = query.nameSpace;
  HANDLE lookup = nullptr;
  if (WSALookupServiceBeginA(&set, flags, &lookup) == SOCKET_ERROR) return WSAGetLastError();
  *handle = lookup;
  return 0;
}

int Win32Network::LookupServiceNext(LookupHandle handle, std::uint32_t flags,
                                    std::uint32_t* bufferLength, void* buffer,
                                    IpxSocketAddress* address) {
  DWORD length = *bufferLength;
  auto* set = static_cast<WSAQUERYSETA*>(buffer);
  if (WSALookupServiceNextA(handle, flags, &length, set) == SOCKET_ERROR) {
    const int error = WSAGetLastError();
    if (error == WSAEFAULT) *bufferLength = length;
    return error;
  }
  *address = IpxSocketAddress{};
  if (set->dwNumberOfCsAddrs == 0 || set->lpcsaBuffer == nullptr) return 0;
  const SOCKET_ADDRESS& remote = set->lpcsaBuffer[0].RemoteAddr;
  if (remote.lpSockaddr == nullptr || remote.lpSockaddr->sa_family != AF_IPX ||
      remote.iSockaddrLength < static_cast<INT>(sizeof(SOCKADDR_IPX))) {
    return 0;
  }
  const auto* native = reinterpret_cast<const SOCKADDR_IPX*>(remote.lpSockaddr);
  std::memcpy(address->network.data(), native->sa_netnum, address->network.size());
  std::memcpy(address->node.data(), native->sa_nodenum, address->node.size());
  address->socket = ntohs(native->sa_socket);
  return 0;
}

int Win32Network::LookupServiceEnd(LookupHandle handle) {
  return WSALookupServiceEnd(handle) == SOCKET_ERROR ? WSAGetLastError() : 0;
}

std::unique_ptr<IpxDatagramSocket> Win32Network::OpenIpxDatagramSocket(int* error) {
  *error = 0;
  const SOCKET socket = ::socket(AF_IPX, SOCK_DGRAM, NSPROTO_IPX);
  if (socket == INVALID_SOCKET) {
    *error = WSAGetLastError();
    return nullptr;
  }
  return std::make_unique<Win32IpxSocket>(socket);
}

}  // namespace platform::win32
