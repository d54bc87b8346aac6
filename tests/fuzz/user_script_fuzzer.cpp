// A user script comes from the command line, the environment or a terminal.
// Any text is read or refused with UserScriptError, its texts convert into
// every ANSI code page, and a script that reads is acted out on one of the
// prompts: whatever it does to the dialog's controls, the export ends
// normally and writes only inside the caller's buffers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "exports/vx5prcfg.h"
#include "platform/dialog_host.h"
#include "platform/scripted/user_script.h"
#include "platform/simulated/headless_dialog_host.h"
#include "platform/simulated/simulated_machine.h"
#include "snmp/scripted_backend.h"
#include "snmp/snmp_pp.h"

namespace {

using platform::scripted::ScriptStatement;

constexpr std::uint32_t kCodePages[] = {1252, 932, 936, 949, 950, 1250, 1251, 65001};

constexpr char kMachine[] = R"([HKLM\SOFTWARE\SimulatedMachine\System]
"Now"="2024-05-31 09:30:45"
[HKCU\Control Panel\International]
"sShortDate"="M/d/yyyy"
"sTimeFormat"="h:mm:ss tt"
"sDecimal"=","
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\Tab Copier]
"Port"="TabPort"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port\Ports\TabPort]
"IPAddress"="10.0.0.9"
)";

// The host acting the script out for the length of one export.
class ActedOut {
 public:
  explicit ActedOut(std::vector<ScriptStatement> statements)
      : previous_(
            platform::InstallDialogHost(std::make_unique<platform::simulated::HeadlessDialogHost>(
                std::make_unique<platform::simulated::ScriptUser>(std::move(statements))))) {}
  ~ActedOut() { platform::InstallDialogHost(std::move(previous_)); }
  ActedOut(const ActedOut&) = delete;
  ActedOut& operator=(const ActedOut&) = delete;

 private:
  std::unique_ptr<platform::DialogHost> previous_;
};

void CallPrompt(int which) {
  switch (which) {
    case 0: {
      std::vector<char> code{'1', '2', '3', '4', '5', '\0'};
      ValidateDepartmentCode(code.data());
      break;
    }
    case 1: {
      std::vector<char> text(VX5PRCFG_SCHEDULE_TEXT_SIZE);
      std::vector<char> seconds(VX5PRCFG_SCHEDULE_SECONDS_SIZE);
      ScheduleDateTime(text.data(), seconds.data(), 1);
      break;
    }
    case 2: {
      std::vector<char> text(VX5PRCFG_SCHEDULE_TEXT_SIZE);
      std::vector<char> stamp(VX5PRCFG_SCHEDULE_STAMP_SIZE);
      ScheduleDateTime16(text.data(), stamp.data());
      break;
    }
    case 3: {
      std::vector<char> din(VX5PRCFG_DIN_SIZE);
      ValidateDIN(din.data());
      break;
    }
    case 4: {
      int paper = 0;
      int inverted = 0;
      GetInserterPaperSelected(&paper, &inverted, 6);
      break;
    }
    default: {
      std::vector<char> tabList(VX5PRCFG_TAB_LIST_SIZE);
      std::vector<char> shift{'1', '3', 'm', 'm', '\0'};
      shift.resize(VX5PRCFG_IMAGE_SHIFT_SIZE);
      int manufacturer = 1;
      int cassette = 0;
      TabPrinting(which == 5 ? 0 : 2, tabList.data(), &manufacturer, &cassette, shift.data(),
                  "1,2I,3,,9", "Tab Copier");
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int which = in.ConsumeIntegralInRange(0, 6);
  const std::string script = in.ConsumeRemainingBytesAsString();
  std::vector<ScriptStatement> statements;
  try {
    statements = platform::scripted::ParseUserScript(script);
  } catch (const platform::scripted::UserScriptError&) {
    return 0;
  }
  for (const ScriptStatement& statement : statements) {
    for (std::uint32_t codePage : kCodePages) {
      platform::scripted::ToAnsiAction(statement.action, codePage);
    }
  }
  const Snmp_pp::ScopedSessionBackend scoped(std::make_shared<Snmp_pp::ScriptedBackend>());
  const platform::simulated::ScopedMachine machine(
      platform::simulated::SimulatedMachine::FromRegistryLines(kMachine));
  const ActedOut user(std::move(statements));
  CallPrompt(which);
  return 0;
}
