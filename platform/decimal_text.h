// Decimal text read the way the module's C runtime reads it on its Windows
// target, where `long` has 32 bits: strtol(text, end, 10) and atoi agree there
// and saturate at the 32-bit limits. Reading with a 64-bit long and casting
// would wrap instead ("4294967299" would become 3), so every decimal text the
// module takes from outside goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace platform {

// Leading white space (" \t\n\v\f\r"), an optional sign, then decimal digits
// up to the first other character. No digits reads as 0 with nothing
// consumed. `consumed` (optional) receives how many characters were read.
constexpr std::int32_t ReadDecimal(std::string_view text, std::size_t* consumed = nullptr) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digitsStart = i;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    // Beyond the limit the value stays saturated; further digits are still consumed.
    if (magnitude <= kMax + 1) magnitude = magnitude * 10 + (text[i] - '0');
  }
  if (i == digitsStart) {
    if (consumed != nullptr) *consumed = 0;
    return 0;
  }
  if (consumed != nullptr) *consumed = i;
  const std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<std::int32_t>(value > kMax ? kMax : value < kMin ? kMin : value);
}

// The same for a NUL-terminated text; a null text reads as 0.
inline std::int32_t ReadDecimal(const char* text) {
  return text != nullptr ? ReadDecimal(std::string_view(text)) : 0;
}

}  // namespace platform
