// prcfg: the driver stand-in. Loads the module the way the driver does and
// calls one export by name with arguments in its own order.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/ansi_text.h"
#include "cli/call_arguments.h"
#include "cli/exit_codes.h"
#include "cli/export_table.h"
#include "cli/host_system.h"
#include "cli/machine_queues.h"
#include "cli/module_session.h"
#include "cli/report_output.h"
#include "cli/tour.h"
#include "platform/scripted/user_script.h"

namespace prcfg {
namespace {

namespace fs = std::filesystem;

constexpr char kMachineVariable[] = "VX5PRCFG_MACHINE";
constexpr char kUserVariable[] = "VX5PRCFG_USER";
constexpr char kDefaultMachine[] = "sim/machines/office.reg";
constexpr char kTourCommand[] = "tour";

constexpr char kUsage[] =
    "usage: prcfg [--machine FILE] [--user SCRIPT] [--json] EXPORT [ARG...]\n"
    "       prcfg [--json] --list\n"
    "       prcfg [--machine FILE] [--user SCRIPT] [--json] tour\n"
    "Arguments follow the export's parameters in order; parameters the export only\n"
    "writes take none. '-' passes a null pointer; parameters left off at the end are\n"
    "null, zero or empty; '@QUEUE' passes the handle of queue QUEUE, opened for the\n"
    "call. Exit codes: 0 done, 1 failure, 2 bad arguments, 3 export not\n"
    "defined by the library, 4 buffer overrun.\n";

struct Options {
  std::optional<std::string> machine;
  std::optional<std::string> user;
  bool json = false;
  bool list = false;
  std::vector<std::string> command;  // EXPORT ARG... or "tour"
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  int index = 1;
  for (; index < argc; ++index) {
    const std::string arg = argv[index];
    if (!arg.starts_with("--")) break;
    if (arg == "--json") {
      options.json = true;
    } else if (arg == "--list") {
      options.list = true;
    } else if (arg == "--machine" || arg == "--user") {
      if (index + 1 >= argc) throw UsageError(arg + " needs a value");
      (arg == "--machine" ? options.machine : options.user) = argv[++index];
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
  options.command.assign(argv + index, argv + argc);
  if (options.list && !options.command.empty()) {
    throw UsageError("--list takes no export");
  }
  if (!options.list && options.command.empty()) throw UsageError("no export named");
  if (options.user) {
    // A script the machine would refuse is a bad argument, caught before any call.
    try {
      platform::scripted::ParseUserScript(*options.user);
    } catch (const platform::scripted::UserScriptError& error) {
      throw UsageError(std::string("--user: ") + error.what());
    }
  }
  return options;
}

// --machine, else the environment's choice, else the example machine beside
// the build folder or in the current folder.
std::string ChooseMachine(const Options& options, const fs::path& executableFolder) {
  if (options.machine) return *options.machine;
  if (const char* named = std::getenv(kMachineVariable); named != nullptr && *named != '\0') {
    return named;
  }
  const fs::path besideBuild = executableFolder.parent_path() / kDefaultMachine;
  if (fs::exists(besideBuild)) return besideBuild.string();
  return (fs::current_path() / kDefaultMachine).string();
}

std::string ParamSummary(const Param& param) {
  std::string text(param.name);
  switch (param.kind) {
    case ParamKind::kInText:
      return text + ":text";
    case ParamKind::kQueueName:
      return text + ":queue-name";
    case ParamKind::kInInteger:
      return text + ":int";
    case ParamKind::kOutText:
      return "out " + text + "[" + std::to_string(param.size) + "]";
    case ParamKind::kInOutText:
      return "inout " + text + "[" + std::to_string(param.size) + "]";
    case ParamKind::kOutIntegers:
      return "out " + text + ":int" +
             (param.size > 1 ? "[" + std::to_string(param.size) + "]" : std::string());
    case ParamKind::kInOutInteger:
      return "inout " + text + ":int";
    case ParamKind::kQueueHandle:
      return text + ":handle";
    case ParamKind::kOpaque:
      return text + ":unused";
    case ParamKind::kOutBoxList:
      return "out " + text + ":box-list";
    case ParamKind::kOutAllocatedText:
      return "out " + text + ":allocated[" + std::to_string(param.size) + "]";
    case ParamKind::kBoxFile:
      return text + ":box-file";
  }
  return text;
}

int ListExports(const std::optional<ModuleSession>& session, const std::string& loadError,
                bool json) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const ExportRow& row : Exports()) {
    const bool defined = session && session->Defines(row);
    if (json) {
      nlohmann::ordered_json params = nlohmann::ordered_json::array();
      for (const Param& param : row.Params()) {
        params.push_back({{"name", param.name},
                          {"summary", ParamSummary(param)},
                          {"takes_argument", TakesArgument(param.kind)}});
      }
      list.push_back({{"export", row.name}, {"defined", defined}, {"params", params}});
      continue;
    }
    std::cout << (defined ? "  " : "- ") << row.name << '(';
    const char* separator = "";
    for (const Param& param : row.Params()) {
      std::cout << separator << ParamSummary(param);
      separator = ", ";
    }
    std::cout << ')' << (defined ? "" : "  [not defined]") << '\n';
  }
  if (json) std::cout << list.dump(2) << '\n';
  if (!session) std::cerr << "prcfg: " << loadError << '\n';
  return session ? kExitDone : kExitFailure;
}

int CallExport(const std::string& library, const std::string& machine, const Options& options) {
  const std::string& name = options.command.front();
  const ExportRow* row = FindExport(name);
  if (row == nullptr) throw UsageError("no export named " + name + " (see prcfg --list)");
  // The module takes the machine's ANSI code page.
  const std::uint32_t codePage = ProfileAnsiCodePage(machine);
  std::vector<std::string> args;
  for (auto arg = options.command.begin() + 1; arg != options.command.end(); ++arg) {
    args.push_back(ArgumentInAnsi(codePage, *arg));
  }
  CallArguments arguments(row->Params(), args);  // bad arguments before anything loads
  // The library would run on an empty machine with the real clock: call nothing.
  if (const std::optional<std::string> error = ProfileError(machine)) {
    std::cerr << "prcfg: " << *error << '\n';
    return kExitFailure;
  }
  void* callerQueue = nullptr;
  if (const auto queue = arguments.CallerQueue()) {
    callerQueue = OpenCallerQueue(*queue);
    arguments.SetCallerQueueHandle(callerQueue);
  }
  const std::unique_ptr<void, void (*)(void*)> closeCallerQueue(callerQueue, CloseCallerQueue);
  ModuleSession session(library, codePage);
  if (!session.Defines(*row)) {
    std::cerr << "prcfg: " << name << " is not defined in " << kLibraryFileName
              << " yet (see prcfg --list)\n";
    return kExitNotDefined;
  }
  const CallReport report = session.Call(*row, arguments);
  if (options.json) {
    std::cout << ReportJson(report).dump(2, ' ', false,
                                         nlohmann::ordered_json::error_handler_t::replace)
              << '\n';
  } else {
    PrintReport(std::cout, report);
  }
  if (PrintFaults(std::cerr, report)) return kExitOverrun;
  return report.profileErrors.empty() ? kExitDone : kExitFailure;
}

int Run(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  const fs::path folder = ExecutableFolder();
  const std::string library = (folder / kLibraryFileName).string();
  const std::string machine = ChooseMachine(options, folder);
  SetVariable(kMachineVariable, machine);
  if (options.user) SetVariable(kUserVariable, *options.user);

  if (options.list) {
    std::optional<ModuleSession> session;
    std::string loadError;
    try {
      session.emplace(library);
    } catch (const std::runtime_error& error) {
      loadError = error.what();
    }
    return ListExports(session, loadError, options.json);
  }
  if (options.command.front() == kTourCommand) {
    if (options.command.size() > 1) throw UsageError("tour takes no arguments");
    // The demo runs unattended: a dialog finds no keyboard to wait for.
    if (!options.user) DetachKeyboard();
    return RunTour(library, machine, options.json, std::cout, std::cerr);
  }
  return CallExport(library, machine, options);
}

}  // namespace
}  // namespace prcfg

int main(int argc, char** argv) {
  try {
    return prcfg::Run(argc, argv);
  } catch (const prcfg::UsageError& error) {
    std::cerr << "prcfg: " << error.what() << '\n' << prcfg::kUsage;
    return prcfg::kExitUsage;
  } catch (const std::exception& error) {
    std::cerr << "prcfg: " << error.what() << '\n';
    return prcfg::kExitFailure;
  }
}
