#include "framework/resource_text.h"

#include <array>
#include <cstring>
#include <vector>

#include "platform/machine.h"
#include "resources/resources.h"

namespace framework {
namespace {

// Enough for any one character in any ANSI code page.
constexpr int kCharacterCapacity = 8;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

std::string ToAnsi(std::u16string_view text) { return platform::ToAnsi(text); }

int LoadString(int id, char* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return 0;
  buffer[0] = '\0';
  const std::optional<std::u16string_view> text = resources::FindString(id);
  if (!text) return 0;

  platform::Kernel& kernel = platform::CurrentMachine().kernel();
  const std::uint32_t codePage = kernel.AnsiCodePage();
  int length = 0;
  // Character by character, so that a double-byte character is never cut in half.
  for (std::size_t i = 0; i < text->size();) {
    const std::size_t units =
        IsHighSurrogate((*text)[i]) && i + 1 < text->size() ? std::size_t{2} : std::size_t{1};
    std::array<char, kCharacterCapacity> character{};
    const int bytes =
        kernel.WideToAnsi(codePage, text->substr(i, units), character.data(), kCharacterCapacity);
    if (bytes <= 0 || length + bytes > capacity - 1) break;
    std::memcpy(buffer + length, character.data(), static_cast<std::size_t>(bytes));
    length += bytes;
    i += units;
  }
  buffer[length] = '\0';
  return length;
}

std::string LoadString(int id) {
  const std::optional<std::u16string_view> text = resources::FindString(id);
  return text ? ToAnsi(*text) : std::string();
}

std::string FormatString(std::string_view pattern,
                         std::initializer_list<std::string_view> arguments) {
  const std::vector<std::string_view> values(arguments);
  std::string result;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
        pattern[i + 1] <= '9') {
      const std::size_t index = static_cast<std::size_t>(pattern[i + 1] - '1');
      if (index < values.size()) {
        result.append(values[index]);
        ++i;
        continue;
      }
    }
    result.push_back(pattern[i]);
  }
  return result;
}

}  // namespace framework
