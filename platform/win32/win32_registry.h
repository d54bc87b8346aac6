// The registry over ADVAPI32: keys opened for reading in the process's own
// (64-bit) view, texts in the ANSI code page as the "A" calls give them.
#pragma once

#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(Hive hive, std::string_view path,
                                       std::uint32_t* error = nullptr) override;
};

}  // namespace platform::win32
