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

// The number at the start of a text before it is cut to a type's range.
struct DecimalReading {
  // The value; beyond ±2^32 it stays at ±(2^32 + 1), so that the readers of
  // both 32-bit int and 32-bit unsigned can tell it is out of their range.
  std::int64_t value = 0;
  std::size_t consumed = 0;  // 0 when the text holds no number
};

// Leading white space (" \t\n\v\f\r"), an optional sign, then decimal digits
// up to the first other character. No digits reads as 0 with nothing consumed.
constexpr DecimalReading ReadDecimalNumber(std::string_view text) {
  constexpr std::int64_t kBeyond = std::int64_t{std::numeric_limits<std::uint32_t>::max()} + 2;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digitsStart = i;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    // Beyond the limit the value stays put; further digits are still consumed.
    if (magnitude < kBeyond) magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kBeyond) magnitude = kBeyond;
  }
  if (i == digitsStart) return {};
  return {negative ? -magnitude : magnitude, i};
}

// ReadDecimalNumber saturated at the 32-bit limits, as strtol and atoi give it.
// `consumed` (optional) receives how many characters were read.
constexpr std::int32_t ReadDecimal(std::string_view text, std::size_t* consumed = nullptr) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  const DecimalReading reading = ReadDecimalNumber(text);
  if (consumed != nullptr) *consumed = reading.consumed;
  return static_cast<std::int32_t>(reading.value > kMax   ? kMax
                                   : reading.value < kMin ? kMin
                                                          : reading.value);
}

// The same for a NUL-terminated text; a null text reads as 0.
inline std::int32_t ReadDecimal(const char* text) {
  return text != nullptr ? ReadDecimal(std::string_view(text)) : 0;
}

}  // namespace platform
