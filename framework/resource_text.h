// Texts of the module's string table as the A-functions give them: in the
// machine's ANSI code page, characters it lacks as "?".
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace framework {

// The framework's own messages, kept in the module's string table.
inline constexpr int kIdpParseInt = 61712;         // "Enter an integer."
inline constexpr int kIdpParseReal = 61713;        // "Enter a number."
inline constexpr int kIdpParseIntRange = 61714;    // "Enter an integer between %1 and %2."
inline constexpr int kIdpParseStringSize = 61716;  // "Enter no more than %1 characters."

// LoadStringA: string `id` into `buffer`, cut to `capacity` - 1 bytes
// without splitting a character, always NUL-terminated. Returns the bytes
// written without the NUL; 0 (an empty text) when the id is absent.
int LoadString(int id, char* buffer, int capacity);

// The whole of string `id`; empty when absent.
std::string LoadString(int id);

// AfxFormatStrings: replaces %1 .. %9 of `pattern` with `arguments`.
std::string FormatString(std::string_view pattern,
                         std::initializer_list<std::string_view> arguments);

// The machine's ANSI code page and conversion of UTF-16 text into it.
std::string ToAnsi(std::u16string_view text);

}  // namespace framework
