// The printer queues of a machine profile, as the tour walks them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace prcfg {

inline constexpr char kPrintersKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";

struct QueueInfo {
  std::string name;  // ANSI bytes, as the module takes them
  std::string port;  // ANSI bytes; empty when the queue has none
};

struct MachineQueues {
  std::uint32_t ansiCodePage = 0;
  std::vector<QueueInfo> queues;  // in the registry's order
};

// Reads the profile at `path` on a machine of the CLI's own, apart from the
// library's. Throws std::runtime_error when the profile is refused.
MachineQueues ListQueues(const std::string& path);

// Why the library would refuse the profile at `path`, or nothing when it
// takes it: a refused profile runs no export.
std::optional<std::string> ProfileError(const std::string& path);

// The ANSI code page the profile at `path` gives its machine; the default
// (1252) when the profile is refused, which the library then reports.
std::uint32_t ProfileAnsiCodePage(const std::string& path) noexcept;

}  // namespace prcfg
