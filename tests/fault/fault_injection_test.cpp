// Every built export against a machine that fails its n-th call, for n = 1,
// 2, ... until a run makes fewer calls than n: each run must answer one of
// the export's documented results, release every queue handle, key, module,
// session and block it took, and balance the socket layer. The devices are
// sim/devices read into scripted agents, so no run waits on the network.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "exports/vx5prcfg.h"
#include "platform/machine.h"
#include "snmp/scripted_backend.h"
#include "snmp/snmp_pp.h"
#include "tests/framework/scripted_session.h"
#include "tests/support/fault_machine.h"
#include "tests/support/login_responder.h"
#include "tests/support/simulated_devices.h"

namespace {

using platform::testing::FaultMachine;
using platform::testing::FaultPlan;
using platform::testing::FaultSessionBackend;

// The addresses the simulated agent serves every device on (sim/start);
// 127.0.0.4 and .5 answer the default community from files of their own.
const std::set<std::string> kAgentAddresses = {"127.0.0.1", "127.0.0.2", "127.0.0.3", "::1"};
const std::map<std::string, std::string> kAddressDevices = {
    {"127.0.0.4", "4c9184f37cff01bcdc32dc486ec36961/1.3.6.1.6.1.1.3.snmprec"},
    {"127.0.0.5", "4c9184f37cff01bcdc32dc486ec36961/1.3.6.1.6.1.1.4.snmprec"},
};

std::string DevicesDir() { return test_support::SourceDir() + "/sim/devices/"; }

// A data file's "OID|type|value" lines as an agent.
Snmp_pp::ScriptedAgent ReadDevice(const std::string& path) {
  Snmp_pp::ScriptedAgent agent;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    const std::size_t first = line.find('|');
    const std::size_t second = line.find('|', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string oid = line.substr(0, first);
    const std::string type = line.substr(first + 1, second - first - 1);
    const std::string value = line.substr(second + 1);
    if (type == "4") {
      agent.Set(oid.c_str(), value.c_str());
    } else if (type == "4x") {
      std::vector<unsigned char> bytes;
      for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
        bytes.push_back(static_cast<unsigned char>(std::stoul(value.substr(i, 2), nullptr, 16)));
      }
      agent.SetOctets(oid.c_str(), bytes);
    } else if (type == "6") {
      agent.SetObjectId(oid.c_str(), value.c_str());
    } else {
      agent.Set(oid.c_str(), std::stol(value));
    }
  }
  return agent;
}

// sim/devices as the agent serves them: by community on its addresses, by
// address for the two with files of their own; elsewhere nothing answers.
class SimulatedDevices {
 public:
  SimulatedDevices() {
    for (const auto& entry : std::filesystem::directory_iterator(DevicesDir())) {
      if (entry.path().extension() == ".snmprec") {
        byCommunity_[entry.path().stem().string()] = ReadDevice(entry.path().string());
      }
    }
    for (const auto& [address, file] : kAddressDevices) {
      byAddress_[address] = ReadDevice(DevicesDir() + file);
    }
  }

  Snmp_pp::ScriptedReply Answer(const Snmp_pp::ScriptedSend& send) const {
    if (const auto device = byAddress_.find(send.address); device != byAddress_.end()) {
      return device->second.Answer(send);
    }
    if (kAgentAddresses.count(send.address) != 0) {
      if (const auto device = byCommunity_.find(send.community); device != byCommunity_.end()) {
        return device->second.Answer(send);
      }
    }
    return Snmp_pp::ScriptedReply::Timeout();
  }

 private:
  std::map<std::string, Snmp_pp::ScriptedAgent> byCommunity_;
  std::map<std::string, Snmp_pp::ScriptedAgent> byAddress_;
};

// A folder of the test's own for the files an export writes.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vx5fault.XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// One export call: the machine profile, the user's script, the results the
// export documents, and the call (which frees what the caller is handed).
struct ExportCall {
  std::string name;
  std::string profile;  // a file of sim/machines, or the profile's lines themselves
  std::string user;
  std::set<int> results;
  std::function<int()> call;
  // The answer when the queue cannot be opened or read (no record: F1).
  std::optional<int> noRecord = std::nullopt;
};

// The caller frees each record of a box list.
void FreeBoxList(Vx5BoxRecord* record) {
  while (record != nullptr) {
    Vx5BoxRecord* next = record->next;
    platform::CurrentMachine().kernel().GlobalFree(record);
    record = next;
  }
}

int AbvAnswer(const char* queue) {
  char answer[VX5PRCFG_ABV_ANSWER_SIZE] = {};
  AbvPrinterCheck(queue, "0", answer, nullptr);
  const std::string text(answer, strnlen(answer, sizeof answer));
  return text == "ftmt" || text == "ftmf" || text == "ffmt" || text == "ffmf" ? 0 : -999;
}

// The caller's handle of `queue`, closed when the call is done.
int WithQueueHandle(const char* queue, const std::function<int(void*)>& call) {
  platform::Spooler& spooler = platform::CurrentMachine().spooler();
  void* handle = spooler.OpenPrinter(queue);
  const int result = call(handle);
  if (handle != nullptr) spooler.ClosePrinter(handle);
  return result;
}

std::vector<ExportCall> BuiltExports(const std::string& scratch, const std::string& login) {
  const std::set<int> yesNo = {0, 1};
  const std::set<int> policy = {-1, 0, 1};
  const std::set<int> boxCount = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  const auto text = [](std::size_t size) { return std::make_shared<std::vector<char>>(size, 0); };
  return {
      {"GetIPAddressForAddrBk",
       "lookups.reg",
       "",
       {1},
       [] {
         char address[VX5PRCFG_ADDRESS_BOOK_SIZE] = {};
         return GetIPAddressForAddrBk("Book UNC Copier", address);
       }},
      {"GetControllerAddress", "lookups.reg", "", yesNo,
       [] {
         return WithQueueHandle("Book TCP Copier", [](void* queue) {
           char address[VX5PRCFG_DEVICE_ADDRESS_SIZE] = {};
           return GetControllerAddress(queue, 0, address);
         });
       }},
      {"GetControllerAddressforFax", "lookups.reg", "", yesNo,
       [] {
         char address[VX5PRCFG_DEVICE_ADDRESS_SIZE] = {};
         return GetControllerAddressforFax(0, address, "Book TCP Copier", nullptr);
       }},
      {"PnpFaxLocalDiscovery", "lookups.reg", "", yesNo,
       [] { return PnpFaxLocalDiscovery("Fax Copier", nullptr); }},
      {"IsVezurOruvaUser", login, "type 4001 alice; type 4004 s3cret; click 4008; escape", yesNo,
       [] {
         char user[256] = {};
         char password[256] = {};
         return IsVezurOruvaUser(user, password, test_support::kLoginQueue, nullptr, 0);
       }},
      {"IsVezurOruvaUser16", login, "type 4001 alice; type 4004 s3cret; click 4008; escape", yesNo,
       [] {
         char user[256] = {};
         char password[256] = {};
         unsigned kind = 2;
         return IsVezurOruvaUser16(user, password, test_support::kLoginQueue, nullptr, &kind);
       }},
      {"GetMFPModel", "office.reg", "", yesNo,
       [] { return GetMFPModel("Server Room Copier", "0", nullptr); }, 0},
      {"AbvPrinterCheck", "office.reg", "", {0}, [] { return AbvAnswer("Finisher Copier"); }},
      {"IsDeptCodeEnforced", "office.reg", "", policy,
       [] { return IsDeptCodeEnforced("Policy Copier", "0", nullptr); }, -1},
      {"IsConfirmDialogEnforced", "office.reg", "", policy,
       [] { return IsConfirmDialogEnforced("Policy Copier", "0", nullptr); }, -1},
      {"IsUserAccountenforced",
       "office.reg",
       "",
       {-5, -1, 0, 1},
       [] { return IsUserAccountenforced("Policy Copier", "0", nullptr); }},
      {"IsBlackFreeModeEnabled", "office.reg", "", policy,
       [] { return IsBlackFreeModeEnabled("Policy Copier", "0", nullptr); }, -1},
      {"IsPrivPasswordEncryptEnabled", "office.reg", "", policy,
       [] { return IsPrivPasswordEncryptEnabled("Policy Copier", "0", nullptr); }, -1},
      {"GetBoxInfo", "office.reg", "", boxCount,
       [] {
         Vx5BoxRecord* boxes = nullptr;
         const int count = GetBoxInfo("Box List Copier", 0, &boxes, nullptr);
         FreeBoxList(boxes);
         return count;
       },
       -1},
      {"GetBoxInfo9x", "office.reg", "", boxCount,
       [scratch] { return GetBoxInfo9x("Box List Copier", "0", (scratch + "/boxes.bin").c_str()); },
       -1},
      {"GetBoxStatus", "queries.reg", "", yesNo,
       [] { return GetBoxStatus("Status Closed", "0", nullptr); }, 1},
      {"GetBoxStatusEx", "queries.reg", "", yesNo,
       [] {
         int notOurs = 0;
         return GetBoxStatusEx("Status Closed", "0", nullptr, &notOurs);
       },
       1},
      {"GetHSPStatus", "queries.reg", "", yesNo,
       [] { return GetHSPStatus("Status Closed", "0", nullptr); }, 1},
      {"GetHSPStatusEx", "queries.reg", "", yesNo,
       [] {
         int notOurs = 0;
         return GetHSPStatusEx("Status Closed", "0", nullptr, &notOurs);
       },
       1},
      {"IsValidDeptCodeMck",
       "office.reg",
       "clear 4003; type 4003 54321; click 1",
       {-1, 0, 1, 2},
       [] {
         char code[VX5PRCFG_DEPT_CODE_SIZE] = "11111";
         return IsValidDeptCodeMck("Dept Code Copier", "0", code, nullptr);
       },
       -1},
      {"GetAdvancedProfileStrings", "office.reg", "", yesNo,
       [text] {
         int settings[VX5PRCFG_PROFILE_SETTINGS] = {};
         const auto strings = text(VX5PRCFG_PROFILE_STRINGS_SIZE);
         return GetAdvancedProfileStrings(settings, strings->data(), "Profile Copier", "0",
                                          nullptr);
       },
       0},
      {"GetShortPathNameFromDll",
       "office.reg",
       "",
       {0, 10},
       [] {
         char path[VX5PRCFG_SHORT_PATH_SIZE] = {};
         return static_cast<int>(GetShortPathNameFromDll("/etc/hosts", path));
       }},
      {"GetCurrentTimeS",
       "prompts.reg",
       "",
       {1},
       [] {
         char time[VX5PRCFG_TIME_TEXT_SIZE] = {};
         return GetCurrentTimeS(time);
       }},
      {"GetCurrentTimePJL",
       "prompts.reg",
       "",
       {1},
       [] {
         char time[VX5PRCFG_PJL_TIME_SIZE] = {};
         return GetCurrentTimePJL(time);
       }},
      {"CheckBoxPassword",
       "office.reg",
       "clear 4116; type 4116 12345; click 1",
       {-1, 10, 11},
       [] {
         char entered[VX5PRCFG_BOX_PASSWORD_SIZE] = {};
         return CheckBoxPassword("Box Copier", "0", "5", "11111", entered, nullptr);
       },
       -1},
      {"ValidateDepartmentCode", "prompts.reg", "paste 4003 12a45; type 4003 6; click 1", yesNo,
       [] {
         char code[VX5PRCFG_DEPT_CODE_SIZE] = "";
         return ValidateDepartmentCode(code);
       }},
      {"ScheduleDateTime", "prompts.reg", "pick 4001 2024-05-31 18:00; click 1", yesNo,
       [] {
         char when[VX5PRCFG_SCHEDULE_TEXT_SIZE] = {};
         char seconds[VX5PRCFG_SCHEDULE_SECONDS_SIZE] = {};
         return ScheduleDateTime(when, seconds, 1);
       }},
      {"ScheduleDateTime16", "prompts.reg", "pick 4001 2024-05-31 18:00; click 1", yesNo,
       [] {
         char when[VX5PRCFG_SCHEDULE_TEXT_SIZE] = {};
         char stamp[VX5PRCFG_SCHEDULE_STAMP_SIZE] = {};
         return ScheduleDateTime16(when, stamp);
       }},
      {"ValidateDIN", "prompts.reg", "type 4001 54321; click 1", yesNo,
       [] {
         char din[VX5PRCFG_DIN_SIZE] = {};
         return ValidateDIN(din);
       }},
      {"ValidateDIN1", "prompts.reg", "type 4001 54321; click 1", yesNo,
       [] {
         char* din = nullptr;
         const int result = ValidateDIN1(&din);
         std::free(din);
         return result;
       }},
      {"GetInserterPaperSelected", "prompts.reg", "select 4098 8; check 1008 1; click 1", yesNo,
       [] {
         int paper = 0;
         int inverted = 0;
         return GetInserterPaperSelected(&paper, &inverted, 6);
       }},
      {"TabPrinting",
       "office.reg",
       "select 1003 2; type 7001 3; click 1",
       {1},
       [] {
         char tabList[VX5PRCFG_TAB_LIST_SIZE] = {};
         char shift[VX5PRCFG_IMAGE_SHIFT_SIZE] = "0.5in";
         int manufacturer = 0;
         int cassette = 0;
         return TabPrinting(0, tabList, &manufacturer, &cassette, shift, nullptr, "Tab Copier");
       }},
  };
}

// One run with call `failAt` failing.
struct FaultRun {
  int result = 0;
  std::string failed;  // empty: the run ended before call `failAt`
  int calls = 0;
  std::vector<std::string> names;
  std::map<std::string, int> held;
  std::size_t blocks = 0;
  int sockets = 0;
};

class FaultInjection : public ::testing::Test {
 protected:
  FaultRun RunWithFault(const ExportCall& call, int failAt) {
    FaultPlan plan(failAt);
    auto simulated =
        call.profile.starts_with("[")
            ? platform::simulated::SimulatedMachine::FromRegistryLines(call.profile)
            : platform::simulated::SimulatedMachine::FromText(ProfileText(call.profile));
    auto machine = std::make_unique<FaultMachine>(std::move(simulated), plan);
    FaultMachine& installed = *machine;
    auto previous = platform::InstallMachine(std::move(machine));
    auto scripted = std::make_shared<Snmp_pp::ScriptedBackend>();
    scripted->SetResponder(
        [this](const Snmp_pp::ScriptedSend& send) { return devices_.Answer(send); });
    FaultRun run;
    {
      const Snmp_pp::ScopedSessionBackend backend(
          std::make_shared<FaultSessionBackend>(scripted, plan));
      const framework::testing::ScriptedUser user(call.user);
      Snmp_pp::SocketLayerStats::reset();
      run.result = call.call();
      run.sockets = Snmp_pp::SocketLayerStats::outstanding();
    }
    run.failed = plan.failed();
    run.calls = plan.calls();
    run.names = plan.names();
    run.held = plan.Held();
    run.blocks = installed.faultKernel().Blocks().size();
    platform::InstallMachine(std::move(previous));
    return run;
  }

  // The profile's text, read once.
  const std::string& ProfileText(const std::string& profile) {
    std::string& text = profiles_[profile];
    if (text.empty()) {
      std::ifstream file(test_support::SourceDir() + "/sim/machines/" + profile, std::ios::binary);
      std::ostringstream content;
      content << file.rdbuf();
      text = content.str();
    }
    return text;
  }

  SimulatedDevices devices_;
  std::map<std::string, std::string> profiles_;
};

std::string Describe(const std::map<std::string, int>& held) {
  std::string text;
  for (const auto& [kind, count] : held) text += kind + " " + std::to_string(count) + "; ";
  return text;
}

TEST_F(FaultInjection, EveryFailurePointOfEveryExportAnswersAndReleasesAll) {
  const ScratchFolder scratch;
  ASSERT_FALSE(scratch.path().empty());
  constexpr int kMostFailurePoints = 5000;
  std::string summary;
  const test_support::LoginResponder loginDevice("<Status>ok</Status><ReturnValue>1</ReturnValue>");
  for (const ExportCall& call : BuiltExports(scratch.path(), loginDevice.MachineLines())) {
    // The clean run first: it must reach the device (or the dialog) to be worth failing.
    const FaultRun clean = RunWithFault(call, 0);
    EXPECT_EQ(call.results.count(clean.result), 1u) << call.name << " answered " << clean.result;
    EXPECT_TRUE(clean.held.empty()) << call.name << ": " << Describe(clean.held);
    // The calls whose failure leaves the query without the queue's record.
    std::set<int> recordCalls;
    const std::vector<std::string> names = clean.names;
    for (const char* name : {"OpenPrinter", "GetPrinter"}) {
      const auto first = std::find(names.begin(), names.end(), name);
      if (first != names.end()) recordCalls.insert(static_cast<int>(first - names.begin()) + 1);
    }
    int failAt = 1;
    for (; failAt <= kMostFailurePoints; ++failAt) {
      const FaultRun run = RunWithFault(call, failAt);
      if (run.failed.empty()) break;
      const std::string where =
          call.name + " with call " + std::to_string(failAt) + " (" + run.failed + ") failing";
      EXPECT_EQ(call.results.count(run.result), 1u) << where << " answered " << run.result;
      if (call.noRecord && recordCalls.count(failAt) != 0) {
        EXPECT_EQ(run.result, *call.noRecord) << where;
      }
      EXPECT_TRUE(run.held.empty()) << where << " kept " << Describe(run.held);
      EXPECT_EQ(run.blocks, 0u) << where << " kept global memory";
      EXPECT_EQ(run.sockets, 0) << where << " left the socket layer started";
      if (HasFailure()) return;
    }
    EXPECT_LT(failAt, kMostFailurePoints) << call.name;
    summary += call.name + " " + std::to_string(failAt - 1) + " clean " +
               std::to_string(clean.result) + " calls " + std::to_string(clean.calls) + "\n";
  }
  std::printf("failure points per export:\n%s", summary.c_str());
}

}  // namespace
