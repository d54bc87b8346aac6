#include "device/ansi_text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "platform/machine.h"

namespace device {
namespace {

constexpr std::uint32_t kShiftJis = 932;
constexpr std::uint32_t kGbk = 936;
constexpr std::uint32_t kKorean = 949;
constexpr std::uint32_t kBig5 = 950;

bool IsLeadByte(std::uint32_t codePage, unsigned char byte) {
  switch (codePage) {
    case kShiftJis:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case kGbk:
    case kKorean:
    case kBig5:
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

// Calls `visit(offset)` for each character start until it answers true.
template <typename Visit>
std::size_t WalkCharacters(std::string_view text, std::size_t from, Visit visit) {
  const std::uint32_t codePage = platform::CurrentMachine().kernel().AnsiCodePage();
  std::size_t i = 0;
  while (i < text.size()) {
    if (i >= from && visit(i)) return i;
    i += IsLeadByte(codePage, static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  }
  return kNotFound;
}

}  // namespace

std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? from : kNotFound;
  return WalkCharacters(text, from,
                        [&](std::size_t i) { return text.substr(i).starts_with(needle); });
}

std::string_view Bracketed(std::string_view text) {
  const std::size_t open = FindText(text, "[");
  if (open == kNotFound) return text;
  const std::size_t close = FindText(text, "]", open + 1);
  return text.substr(open + 1, close == kNotFound ? kNotFound : close - open - 1);
}

std::size_t FindLastChar(std::string_view text, char c) {
  std::size_t last = kNotFound;
  WalkCharacters(text, 0, [&](std::size_t i) {
    if (text[i] == c) last = i;
    return false;
  });
  return last;
}

std::size_t CountChar(std::string_view text, char c) {
  std::size_t count = 0;
  WalkCharacters(text, 0, [&](std::size_t i) {
    if (text[i] == c) ++count;
    return false;
  });
  return count;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace device
