// Text searches on narrow texts in the machine's ANSI code page. In the
// double-byte code pages a trail byte can look like "\", "[", "]" or a letter,
// so a match counts only where it starts on a character boundary.
#pragma once

#include <cstddef>
#include <string_view>

namespace device {

inline constexpr std::size_t kNotFound = std::string_view::npos;

// Offset of the first `needle` that starts on a character boundary.
std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from = 0);
// Offset of the last character `c` (a single-byte character).
std::size_t FindLastChar(std::string_view text, char c);
// How many characters `c` the text holds.
std::size_t CountChar(std::string_view text, char c);

// The text between the first "[" and the next "]" (to the end without a
// "]"); the whole text without a "[".
std::string_view Bracketed(std::string_view text);

// Equal but for the case of ASCII letters, byte by byte as _stricmp compares.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

inline bool Contains(std::string_view text, std::string_view needle) {
  return FindText(text, needle) != kNotFound;
}

}  // namespace device
