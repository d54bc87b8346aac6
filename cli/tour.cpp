#include "cli/tour.h"

#include <ostream>

#include "cli/ansi_text.h"
#include "cli/exit_codes.h"
#include "cli/machine_queues.h"
#include "cli/module_session.h"
#include "cli/report_output.h"

namespace prcfg {
namespace {

std::string DefaultArgument(const Param& param) {
  if (param.optional) return "-";
  switch (param.kind) {
    case ParamKind::kInInteger:
      return "0";
    case ParamKind::kInOutInteger:
      return param.initial.empty() ? "0" : std::string(param.initial);
    case ParamKind::kQueueHandle:
    case ParamKind::kOpaque:
      return "-";
    default:
      return std::string(param.initial);
  }
}

}  // namespace

std::vector<std::string> TourArguments(const ExportRow& row,
                                       const std::optional<std::string>& queueName) {
  std::vector<std::string> args;
  for (const Param& param : row.Params()) {
    if (!TakesArgument(param.kind)) continue;
    if (param.kind == ParamKind::kQueueName && queueName) {
      args.push_back(*queueName);
    } else if (!param.example.empty()) {
      args.emplace_back(param.example);
    } else {
      args.push_back(DefaultArgument(param));
    }
  }
  return args;
}

int RunTour(const std::string& libraryPath, const std::string& machinePath, bool json,
            std::ostream& out, std::ostream& err) {
  const MachineQueues machine = ListQueues(machinePath);
  const std::uint32_t codePage = machine.ansiCodePage;

  ModuleSession session(libraryPath, codePage);
  bool overrun = false;
  nlohmann::ordered_json calls = nlohmann::ordered_json::array();
  auto call = [&](const ExportRow& row, const std::optional<std::string>& queue) {
    const std::vector<std::string> args = TourArguments(row, queue);
    CallArguments arguments(row.Params(), args);
    const CallReport report = session.Call(row, arguments);
    overrun = PrintFaults(err, report) || overrun;
    if (json) {
      auto entry = ReportJson(report);
      if (queue) entry["queue"] = AnsiToUtf8(codePage, *queue);
      calls.push_back(std::move(entry));
    } else {
      PrintReport(out, report, queue ? "    " : "  ");
    }
  };

  if (!json) out << "Machine " << machinePath << "\n\nExports that take no queue:\n";
  for (const ExportRow& row : Exports()) {
    if (!row.TakesQueueName() && session.Defines(row)) call(row, std::nullopt);
  }
  if (!json) out << "\nQueues:\n";
  nlohmann::ordered_json queueList = nlohmann::ordered_json::array();
  for (const QueueInfo& queue : machine.queues) {
    const std::string name = AnsiToUtf8(codePage, queue.name);
    const std::string port = AnsiToUtf8(codePage, queue.port);
    queueList.push_back({{"name", name}, {"port", port}});
    if (!json) out << "  " << name << "  (port " << (port.empty() ? "none" : port) << ")\n";
    for (const ExportRow& row : Exports()) {
      if (row.TakesQueueName() && session.Defines(row)) call(row, queue.name);
    }
  }
  if (json) {
    out << nlohmann::ordered_json{{"machine", machinePath}, {"queues", queueList}, {"calls", calls}}
               .dump(2)
        << '\n';
  }
  return overrun ? kExitOverrun : kExitDone;
}

}  // namespace prcfg
