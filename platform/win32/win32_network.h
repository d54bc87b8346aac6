// Windows Sockets over WS2_32: the name-resolution entry points are bound at
// run time from ws2_32.dll, as the module expects of a system that may lack
// them.
#pragma once

#include <memory>

#include "platform/network.h"

namespace platform::win32 {

class Win32NameResolver : public NameResolver {
 public:
  // The resolver of ws2_32.dll; null when the DLL or an entry point is
  // missing.
  static std::unique_ptr<Win32NameResolver> Bind();
  ~Win32NameResolver() override;
  Win32NameResolver(const Win32NameResolver&) = delete;
  Win32NameResolver& operator=(const Win32NameResolver&) = delete;

  int GetAddrInfo(std::string_view node, AddressFamily family,
                  std::vector<SocketAddress>* addresses) override;
  int GetNameInfo(const SocketAddress& address, char* host, std::size_t capacity,
                  bool numericHost) override;

 private:
  struct EntryPoints;
  explicit Win32NameResolver(std::unique_ptr<EntryPoints> entryPoints);

  std::unique_ptr<EntryPoints> entryPoints_;
};

class Win32Network : public Network {
 public:
  // Bound at the first call; the same resolver (or null) afterwards.
  NameResolver* BindNameResolver() override;

  // The name space and IPX calls of ws2_32 (NWLink where installed).
  int EnumNameSpaceProviders(std::uint32_t* bufferLength,
                             std::vector<std::string>* identifiers) override;
  int LookupServiceBegin(const ServiceQuery& query, std::uint32_t flags,
                         LookupHandle* handle) override;
  int LookupServiceNext(LookupHandle handle, std::uint32_t flags, std::uint32_t* bufferLength,
                        void* buffer, IpxSocketAddress* address) override;
  int LookupServiceEnd(LookupHandle handle) override;
  std::unique_ptr<IpxDatagramSocket> OpenIpxDatagramSocket(int* error) override;

 private:
  bool bound_ = false;
  std::unique_ptr<Win32NameResolver> resolver_;
};

}  // namespace platform::win32
