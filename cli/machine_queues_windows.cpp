// On Windows the machine is the system itself: its spooler's queues and its
// ANSI code page, whatever profile was named.
#include "cli/machine_queues.h"
#include "platform/machine.h"

namespace prcfg {

MachineQueues ListQueues(const std::string&) {
  platform::Machine& machine = platform::CurrentMachine();
  MachineQueues result;
  result.ansiCodePage = machine.kernel().AnsiCodePage();
  for (platform::PrinterInfo2& printer : machine.spooler().EnumPrinters(
           platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, {})) {
    result.queues.push_back({std::move(printer.printerName), std::move(printer.portName)});
  }
  return result;
}

std::optional<std::string> ProfileError(const std::string&) { return std::nullopt; }

std::uint32_t ProfileAnsiCodePage(const std::string&) noexcept {
  return platform::CurrentMachine().kernel().AnsiCodePage();
}

}  // namespace prcfg
