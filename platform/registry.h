// Registry access, cut to what the module reads: open a key under a hive,
// query a value, enumerate subkeys. Names compare case-insensitively.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/win_types.h"

namespace platform {

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  // RegQueryValueExA: texts come back in the ANSI code page with their NUL.
  // `size` is in/out: the capacity of `data` on entry, the value's size on
  // return. A null `data` asks for the size only. Returns a Win32 error
  // (kErrorMoreData when the capacity is too small, with `size` set).
  virtual std::uint32_t QueryValue(std::string_view name, RegType* type, void* data,
                                   std::uint32_t* size) const = 0;

  // RegEnumKeyExA: the name of subkey `index` into `name` (capacity bytes,
  // NUL included). kErrorNoMoreItems past the last one.
  virtual std::uint32_t EnumSubKey(std::uint32_t index, char* name,
                                   std::uint32_t capacity) const = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExA with read access. `path` uses backslashes; an empty path
  // opens the hive itself. Null when the key does not exist (`error`, when
  // given, receives the Win32 error).
  virtual std::unique_ptr<RegistryKey> OpenKey(Hive hive, std::string_view path,
                                               std::uint32_t* error = nullptr) = 0;
};

}  // namespace platform
