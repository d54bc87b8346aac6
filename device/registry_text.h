// Registry reads the resolvers share: keys under a hive, text values read
// into fixed buffers or into blocks of the size the value reports.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace device {

std::unique_ptr<platform::RegistryKey> OpenKey(platform::Hive hive, std::string_view path);

// The value's size first, then the value into a block of exactly that size.
// The text ends at the first NUL (or at the end of the block).
std::optional<std::string> ReadSizedText(const platform::RegistryKey& key, std::string_view name);

// The value into `out` (`capacity` bytes, zeroed first; `offered` of them
// handed to the read). False when it cannot be read.
bool ReadTextInto(const platform::RegistryKey& key, std::string_view name, char* out,
                  std::size_t capacity, std::size_t offered);

}  // namespace device
