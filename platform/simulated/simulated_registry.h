// The registry of the simulated machine: read access to the profile's tree,
// texts converted to the machine's ANSI code page as the "A" calls do.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/simulated/registry_tree.h"

namespace platform::simulated {

// A value's data as RegQueryValueExA returns it: text types converted to the
// ANSI code page (their NULs included), everything else as stored.
std::vector<std::uint8_t> AnsiValueData(const RegistryValue& value, std::uint32_t codePage);

// Copies `bytes` into `data` when they fit in `capacity`, else answers
// kErrorMoreData and copies nothing; `needed` receives the size either way.
std::uint32_t CopyValueData(const std::vector<std::uint8_t>& bytes, void* data,
                            std::uint32_t capacity, std::uint32_t* needed);

class SimulatedRegistry : public Registry {
 public:
  SimulatedRegistry(std::shared_ptr<RegistryTree> tree, std::uint32_t ansiCodePage);

  std::unique_ptr<RegistryKey> OpenKey(Hive hive, std::string_view path,
                                       std::uint32_t* error = nullptr) override;

 private:
  std::shared_ptr<RegistryTree> tree_;
  std::uint32_t ansiCodePage_;
};

}  // namespace platform::simulated
