#include "cli/machine_queues.h"

#include <array>
#include <cstring>

#include "cli/ansi_text.h"
#include "platform/simulated/reg_file_reader.h"
#include "platform/simulated/simulated_machine.h"

namespace prcfg {
namespace {

// Registry key names are at most 255 characters.
constexpr std::uint32_t kKeyNameCapacity = 256;
// A port name, as the spooler reads it, fits MAX_PATH.
constexpr std::uint32_t kPortCapacity = 260;
constexpr char kPortValue[] = "Port";

std::string ReadText(const platform::RegistryKey& key, const char* name) {
  std::array<char, kPortCapacity> data{};
  std::uint32_t size = kPortCapacity - 1;
  platform::RegType type = platform::RegType::None;
  if (key.QueryValue(name, &type, data.data(), &size) != platform::kErrorSuccess ||
      (type != platform::RegType::Sz && type != platform::RegType::ExpandSz)) {
    return {};
  }
  return std::string(data.data(), strnlen(data.data(), data.size()));
}

}  // namespace

MachineQueues ListQueues(const std::string& path) {
  // No trace: only the library's events belong in the CLI's trace file.
  auto machine = platform::simulated::SimulatedMachine::FromFile(path, platform::scripted::Trace());
  MachineQueues result;
  result.ansiCodePage = machine->ansiCodePage();
  platform::Registry& registry = machine->registry();
  auto printers = registry.OpenKey(platform::Hive::LocalMachine, kPrintersKey);
  if (!printers) return result;
  std::array<char, kKeyNameCapacity> name{};
  for (std::uint32_t index = 0;
       printers->EnumSubKey(index, name.data(), kKeyNameCapacity) == platform::kErrorSuccess;
       ++index) {
    QueueInfo queue;
    queue.name.assign(name.data(), strnlen(name.data(), name.size()));
    if (auto key = registry.OpenKey(platform::Hive::LocalMachine,
                                    std::string(kPrintersKey) + "\\" + queue.name)) {
      queue.port = ReadText(*key, kPortValue);
    }
    result.queues.push_back(std::move(queue));
  }
  return result;
}

std::optional<std::string> ProfileError(const std::string& path) {
  try {
    platform::simulated::SimulatedMachine::FromFile(path, platform::scripted::Trace());
    return std::nullopt;
  } catch (const platform::simulated::RegFileError& error) {
    return error.what();
  }
}

std::uint32_t ProfileAnsiCodePage(const std::string& path) noexcept {
  try {
    return platform::simulated::SimulatedMachine::FromFile(path, platform::scripted::Trace())
        ->ansiCodePage();
  } catch (...) {
    return kDefaultAnsiCodePage;
  }
}

}  // namespace prcfg
