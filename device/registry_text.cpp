#include "device/registry_text.h"

#include <cstring>
#include <vector>

#include "platform/machine.h"

namespace device {

std::unique_ptr<platform::RegistryKey> OpenKey(platform::Hive hive, std::string_view path) {
  return platform::CurrentMachine().registry().OpenKey(hive, path);
}

std::optional<std::string> ReadSizedText(const platform::RegistryKey& key, std::string_view name) {
  platform::RegType type = platform::RegType::None;
  std::uint32_t size = 0;
  if (key.QueryValue(name, &type, nullptr, &size) != platform::kErrorSuccess) return std::nullopt;
  std::vector<char> block(size);
  if (size > 0 && key.QueryValue(name, &type, block.data(), &size) != platform::kErrorSuccess) {
    return std::nullopt;
  }
  const std::size_t length = std::min<std::size_t>(size, block.size());
  const void* nul = std::memchr(block.data(), '\0', length);
  return std::string(block.data(),
                     nul != nullptr ? static_cast<const char*>(nul) - block.data() : length);
}

bool ReadTextInto(const platform::RegistryKey& key, std::string_view name, char* out,
                  std::size_t capacity, std::size_t offered) {
  std::memset(out, 0, capacity);
  platform::RegType type = platform::RegType::None;
  auto size = static_cast<std::uint32_t>(offered);
  if (key.QueryValue(name, &type, out, &size) != platform::kErrorSuccess) {
    std::memset(out, 0, capacity);
    return false;
  }
  out[capacity - 1] = '\0';
  return true;
}

}  // namespace device
