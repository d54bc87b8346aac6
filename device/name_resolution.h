// Host names to the numeric text of an address, through the resolver entry
// points of the platform's sockets library.
#pragma once

namespace device {

// The numeric text of `name`'s address into `out` (kAddressBufferSize
// bytes). A name with several addresses gives the last one the resolver
// lists. False for a null name or one that does not resolve.
bool ResolveNumericAddress(const char* name, char* out);

// True when a UDP session opens (IPv6 for an IPv6-shaped name) and the name
// resolves into `out`.
bool CanResolveHost(const char* name, char* out);

// The code of the last resolver call on this thread (the sockets library's
// last error).
int LastSocketError();

}  // namespace device
