// Conversion between UTF-16 and the Windows ANSI code pages by table lookup;
// the tables are generated at build time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::simulated {

bool IsKnownCodePage(std::uint32_t codePage);

// WideCharToMultiByte with the default character "?": returns the bytes
// written (no NUL added), 0 when they do not fit; capacity 0 asks the size.
int WideToMultiByte(std::uint32_t codePage, std::u16string_view text, char* out, int capacity);

// MultiByteToWideChar: returns UTF-16 units written, same convention. A byte
// or pair the code page does not define becomes U+003F ("?"); in UTF-8
// (65001) an ill-formed sequence becomes U+FFFD.
int MultiByteToWide(std::uint32_t codePage, std::string_view text, char16_t* out, int capacity);

// Conveniences for the simulated machine and the CLI.
std::string ToAnsi(std::uint32_t codePage, std::u16string_view text);
std::u16string FromAnsi(std::uint32_t codePage, std::string_view text);
std::u16string Utf8ToUtf16(std::string_view text);  // invalid sequences become U+FFFD
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace platform::simulated
