// The device address text and the small vocabulary every resolver shares:
// buffer sizes, result codes and the predicates on address shapes.
#pragma once

#include <cstddef>
#include <string_view>

namespace device {

// A device address, and every buffer that holds an address, a registry value
// or a printer-data value (MAX_PATH); the reading calls are offered one less.
inline constexpr std::size_t kAddressBufferSize = 260;
inline constexpr std::size_t kAddressOfferedBytes = kAddressBufferSize - 1;
// Registry paths are assembled in a buffer of this size.
inline constexpr std::size_t kKeyPathBufferSize = 1024;

// Results of the address resolvers.
inline constexpr int kAddressFound = 0;
inline constexpr int kNoUsablePortKind = 10;
inline constexpr int kNoAddressForPort = 50;

// Copies `text` into `out` (capacity bytes), cut so that a NUL always fits.
void CopyBounded(char* out, std::size_t capacity, std::string_view text);
// The NUL-terminated text in a fixed buffer.
std::string_view TextIn(const char* buffer, std::size_t capacity);

// At least two ":" or at least two "-".
bool IsIpv6Address(std::string_view text);
// At least two ":", or the reserved domain of Windows' IPv6 literal names.
bool IsIpv6Name(std::string_view text);
// Four dotted groups of digits, the last one possibly empty ("10.20.30.").
bool IsDottedQuad(std::string_view text);
// One to four groups of decimal 0..255 ("10.1" passes).
bool IsDottedAddress(std::string_view text);
bool IsWindows9x();
bool IsWindowsNt4OrEarlier();

// Windows writes an IPv6 literal as a name by turning ":" into "-" and
// appending this domain.
inline constexpr std::string_view kIpv6LiteralDomain = ".ipv6-literal.net";

}  // namespace device
