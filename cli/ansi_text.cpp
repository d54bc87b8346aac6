#include "cli/ansi_text.h"

#include "platform/scripted/trace.h"
#include "platform/simulated/code_pages.h"

namespace prcfg {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string HexOf(std::string_view bytes) { return platform::scripted::HexBytes(bytes); }

std::optional<std::string> BytesFromHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]);
    const int low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

std::string AnsiToUtf8(std::uint32_t codePage, std::string_view bytes) {
  namespace cp = platform::simulated;
  if (!cp::IsKnownCodePage(codePage)) codePage = kDefaultAnsiCodePage;
  return cp::Utf16ToUtf8(cp::FromAnsi(codePage, bytes));
}

std::string Utf8ToAnsi(std::uint32_t codePage, std::string_view text) {
  namespace cp = platform::simulated;
  if (!cp::IsKnownCodePage(codePage)) codePage = kDefaultAnsiCodePage;
  return cp::ToAnsi(codePage, cp::Utf8ToUtf16(text));
}

void PutText(nlohmann::ordered_json& object, std::string_view name, std::string_view bytes,
             std::uint32_t codePage) {
  object[std::string(name)] = AnsiToUtf8(codePage, bytes);
  object[std::string(name) + std::string(kHexSuffix)] = HexOf(bytes);
}

nlohmann::ordered_json WithDecodedTexts(const nlohmann::ordered_json& value,
                                        std::uint32_t codePage) {
  if (value.is_array()) {
    nlohmann::ordered_json result = nlohmann::ordered_json::array();
    for (const auto& element : value) result.push_back(WithDecodedTexts(element, codePage));
    return result;
  }
  if (!value.is_object()) return value;
  nlohmann::ordered_json result = nlohmann::ordered_json::object();
  for (const auto& [key, field] : value.items()) {
    const std::string_view name(key);
    if (field.is_string() && name.size() > kHexSuffix.size() && name.ends_with(kHexSuffix)) {
      const std::string plain(name.substr(0, name.size() - kHexSuffix.size()));
      if (auto bytes = BytesFromHex(field.get_ref<const std::string&>());
          bytes && !value.contains(plain)) {
        result[plain] = AnsiToUtf8(codePage, *bytes);
      }
    }
    result[key] = WithDecodedTexts(field, codePage);
  }
  return result;
}

}  // namespace prcfg
