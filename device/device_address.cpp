#include "device/device_address.h"

#include <algorithm>
#include <cstring>

#include "device/ansi_text.h"
#include "platform/machine.h"

namespace device {
namespace {

// How much of a text the shape tests look at.
constexpr std::size_t kDottedQuadScanLength = 254;
constexpr std::size_t kDottedAddressScanLength = 259;
constexpr std::size_t kDottedQuadMinLength = 7;
constexpr std::size_t kDottedQuadMaxLength = 15;
constexpr std::size_t kDottedQuadDots = 3;
constexpr std::size_t kMaxGroupDigits = 3;
constexpr std::size_t kMaxAddressGroups = 4;
constexpr int kMaxGroupValue = 255;
constexpr std::size_t kIpv6MinSeparators = 2;

// OSVERSIONINFO platform ids and the Windows 9x releases (95, 98, Me).
constexpr std::uint32_t kPlatformWindows9x = 1;
constexpr std::uint32_t kPlatformNt = 2;
constexpr std::uint32_t kWindows9xMajor = 4;
constexpr std::uint32_t kWindows9xMinors[] = {0, 10, 90};
constexpr std::uint32_t kNt4Major = 4;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void CopyBounded(char* out, std::size_t capacity, std::string_view text) {
  if (out == nullptr || capacity == 0) return;
  const std::size_t length = std::min(text.size(), capacity - 1);
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
}

std::string_view TextIn(const char* buffer, std::size_t capacity) {
  if (buffer == nullptr) return {};
  const void* end = std::memchr(buffer, '\0', capacity);
  return {buffer, end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer)
                                 : capacity};
}

bool IsIpv6Address(std::string_view text) {
  return CountChar(text, ':') >= kIpv6MinSeparators || CountChar(text, '-') >= kIpv6MinSeparators;
}

bool IsIpv6Name(std::string_view text) {
  return CountChar(text, ':') >= kIpv6MinSeparators || Contains(text, kIpv6LiteralDomain);
}

bool IsDottedQuad(std::string_view text) {
  text = text.substr(0, kDottedQuadScanLength);
  if (text.size() < kDottedQuadMinLength || text.size() > kDottedQuadMaxLength) return false;
  std::size_t dots = 0;
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      if (++run > kMaxGroupDigits) return false;
    } else if (text[i] == '.') {
      if (i == 0 || !IsDigit(text[i - 1])) return false;
      ++dots;
      run = 0;
    } else {
      return false;
    }
  }
  return dots == kDottedQuadDots;
}

bool IsDottedAddress(std::string_view text) {
  text = text.substr(0, kDottedAddressScanLength);
  std::size_t groups = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('.', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view group = text.substr(start, end - start);
    start = end + 1;
    if (group.empty()) continue;
    if (++groups > kMaxAddressGroups || group.size() > kMaxGroupDigits) return false;
    int value = 0;
    for (char c : group) {
      if (!IsDigit(c)) return false;
      value = value * 10 + (c - '0');
    }
    if (value > kMaxGroupValue) return false;
  }
  return groups > 0;
}

bool IsWindows9x() {
  const platform::VersionInfo version = platform::CurrentMachine().kernel().GetVersion();
  return version.platformId == kPlatformWindows9x && version.majorVersion == kWindows9xMajor &&
         std::ranges::find(kWindows9xMinors, version.minorVersion) != std::end(kWindows9xMinors);
}

bool IsWindowsNt4OrEarlier() {
  const platform::VersionInfo version = platform::CurrentMachine().kernel().GetVersion();
  return version.platformId == kPlatformNt && version.majorVersion <= kNt4Major;
}

}  // namespace device
