#include "platform/simulated/simulated_machine.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "platform/frozen_clock.h"
#include "platform/simulated/code_pages.h"
#include "platform/simulated/reg_file_reader.h"

namespace platform::simulated {
namespace {

constexpr std::string_view kMemorySource = "<memory>";

[[noreturn]] void Refuse(std::string_view source, std::string_view what) {
  throw RegFileError(std::string(source) + ": " + std::string(what));
}

std::string WithHeader(std::string_view lines) {
  std::string text(kRegHeaderVersion5);
  text += "\n";
  text += lines;
  return text;
}

}  // namespace

KernelSettings ReadKernelSettings(const RegistryTree& tree, std::string_view source) {
  KernelSettings settings;
  if (auto codePage = tree.ReadDword(Hive::LocalMachine, kSystemKey, u"AnsiCodePage")) {
    if (!IsKnownCodePage(*codePage)) {
      Refuse(source, "AnsiCodePage " + std::to_string(*codePage) + " is not a known code page");
    }
    settings.ansiCodePage = *codePage;
  }
  const auto dword = [&](std::u16string_view name, std::uint32_t& field) {
    if (auto value = tree.ReadDword(Hive::LocalMachine, kSystemKey, name)) field = *value;
  };
  dword(u"PlatformId", settings.version.platformId);
  dword(u"MajorVersion", settings.version.majorVersion);
  dword(u"MinorVersion", settings.version.minorVersion);
  dword(u"BuildNumber", settings.version.buildNumber);

  if (auto now = tree.ReadString(Hive::LocalMachine, kSystemKey, u"Now")) {
    settings.frozenNow = ParseFrozenClock(Utf16ToUtf8(*now));
    if (!settings.frozenNow) Refuse(source, "Now is not a \"YYYY-MM-DD HH:MM:SS\" date and time");
  }
  const auto locale = [&](std::u16string_view name, std::string& field) {
    if (auto value = tree.ReadString(Hive::CurrentUser, kInternationalKey, name)) {
      field = ToAnsi(settings.ansiCodePage, *value);
    }
  };
  locale(u"sShortDate", settings.shortDate);
  locale(u"sTimeFormat", settings.timeFormat);
  locale(u"sDecimal", settings.decimal);
  return settings;
}

std::unique_ptr<SimulatedMachine> SimulatedMachine::FromFile(const std::string& path,
                                                             scripted::Trace trace) {
  auto tree = std::make_shared<RegistryTree>(ReadRegFile(path));
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  const std::string directory = error ? std::string() : absolute.parent_path().string();
  return std::make_unique<SimulatedMachine>(std::move(tree), path, directory, std::move(trace));
}

std::unique_ptr<SimulatedMachine> SimulatedMachine::FromText(std::string_view text,
                                                             scripted::Trace trace) {
  auto tree = std::make_shared<RegistryTree>();
  ApplyRegFile(*tree, text, kMemorySource);
  return std::make_unique<SimulatedMachine>(std::move(tree), std::string(kMemorySource),
                                            std::string(), std::move(trace));
}

std::unique_ptr<SimulatedMachine> SimulatedMachine::FromRegistryLines(std::string_view lines,
                                                                      scripted::Trace trace) {
  return FromText(WithHeader(lines), std::move(trace));
}

SimulatedMachine::SimulatedMachine(std::shared_ptr<RegistryTree> tree, std::string profile,
                                   std::string driverDirectory, scripted::Trace trace)
    // Copies, not moves: the order in which arguments are evaluated is open.
    : SimulatedMachine(tree, ReadKernelSettings(*tree, profile.empty() ? kMemorySource : profile),
                       profile, driverDirectory, std::move(trace)) {}

SimulatedMachine::SimulatedMachine(std::shared_ptr<RegistryTree> tree,
                                   const KernelSettings& settings, std::string profile,
                                   std::string driverDirectory, scripted::Trace trace)
    : tree_(std::move(tree)),
      trace_(std::move(trace)),
      ansiCodePage_(settings.ansiCodePage),
      interactiveUserSid_(Utf16ToUtf8(
          tree_->ReadString(Hive::LocalMachine, kSystemKey, u"InteractiveUserSid").value_or(u""))),
      registry_(tree_, ansiCodePage_),
      spooler_(tree_, ansiCodePage_, std::move(driverDirectory)),
      network_(*tree_, ansiCodePage_),
      ui_(trace_),
      kernel_(settings) {
  nlohmann::json event = {
      {"event", "machine"}, {"profile", nullptr}, {"ansi_code_page", ansiCodePage_}};
  if (!profile.empty()) event["profile"] = profile;
  trace_.Write(event);
}

ScopedMachine::ScopedMachine(std::unique_ptr<SimulatedMachine> machine)
    : machine_(machine.get()), previous_(InstallMachine(std::move(machine))) {}

ScopedMachine::~ScopedMachine() { InstallMachine(std::move(previous_)); }

}  // namespace platform::simulated

namespace platform {

std::unique_ptr<Machine> CreateDefaultMachine() {
  using scripted::Trace;
  using simulated::SimulatedMachine;
  const char* path = std::getenv(simulated::kMachineVariable);
  if (path == nullptr || *path == '\0') {
    return std::make_unique<SimulatedMachine>(std::make_shared<simulated::RegistryTree>(),
                                              std::string(), std::string(),
                                              scripted::Trace::FromEnvironment());
  }
  try {
    auto machine = SimulatedMachine::FromFile(path);
    if (const char* callerQueue = std::getenv(simulated::kCallerQueueVariable)) {
      machine->simulatedSpooler().AdoptCallerQueue(callerQueue);
    }
    return machine;
  } catch (const simulated::RegFileError& error) {
    // A refused profile leaves the process an empty machine, and says why.
    std::fprintf(stderr, "vx5prcfg: %s\n", error.what());
    scripted::Trace trace = scripted::Trace::FromEnvironment();
    trace.Write({{"event", "profile_error"}, {"message", error.what()}});
    return std::make_unique<SimulatedMachine>(std::make_shared<simulated::RegistryTree>(),
                                              std::string(), std::string(), std::move(trace));
  }
}

}  // namespace platform
