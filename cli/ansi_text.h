// Texts the module hands back are bytes in the machine's ANSI code page; the
// CLI shows them as UTF-8 and keeps their exact bytes as hex beside them.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace prcfg {

inline constexpr std::uint32_t kDefaultAnsiCodePage = 1252;
inline constexpr std::string_view kHexSuffix = "_hex";

// Lowercase hex pairs, no separators.
std::string HexOf(std::string_view bytes);
// Nothing for an odd length or a non-hex digit.
std::optional<std::string> BytesFromHex(std::string_view hex);

std::string AnsiToUtf8(std::uint32_t codePage, std::string_view bytes);
// Characters the code page lacks become "?", as WideCharToMultiByte makes them.
std::string Utf8ToAnsi(std::uint32_t codePage, std::string_view text);

// Adds `name: text` (UTF-8) and `name_hex: bytes` to `object`.
void PutText(nlohmann::ordered_json& object, std::string_view name, std::string_view bytes,
             std::uint32_t codePage);

// For every `<name>_hex` string in `value` (objects and arrays, at any
// depth) adds `<name>` with its text in UTF-8, keeping the hex.
nlohmann::ordered_json WithDecodedTexts(const nlohmann::ordered_json& value,
                                        std::uint32_t codePage);

}  // namespace prcfg
