// The socket calls the SNMP layer makes itself (address texts, a probe of
// an address family): Winsock on Windows, BSD sockets elsewhere. Windows
// Sockets must be started (Snmp::socket_startup) before a socket opens.
#pragma once

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include <arpa/inet.h>
#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace Snmp_pp {

// Whether a datagram socket of `family` (AF_INET, AF_INET6) opens; it is
// closed again at once.
inline bool DatagramSocketOpens(int family) {
#ifdef _WIN32
  const SOCKET probe = socket(family, SOCK_DGRAM, 0);
  if (probe == INVALID_SOCKET) return false;
  closesocket(probe);
#else
  const int probe = socket(family, SOCK_DGRAM, 0);
  if (probe < 0) return false;
  close(probe);
#endif
  return true;
}

}  // namespace Snmp_pp
