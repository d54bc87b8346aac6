// A device may answer anything: any status, any error-status, any number of
// bindings of any type and length, under the asked object or elsewhere. The
// input picks a device query export and then, send by send, what the scripted
// device answers (a send after the input runs out times out). Every export
// must end normally, write only inside the caller's buffers and release what
// it took; a crash, a sanitizer report or a leak is a fault.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "exports/vx5prcfg.h"
#include "platform/simulated/simulated_machine.h"
#include "snmp/scripted_backend.h"
#include "snmp/snmp_pp.h"
#include "tests/framework/scripted_session.h"

namespace {

using Snmp_pp::Oid;
using Snmp_pp::ScriptedReply;
using Snmp_pp::ScriptedSend;
using Snmp_pp::SmiUINT32;
using Snmp_pp::Vb;

// Queue "Q" reaches its device through printer data; "Tab Copier" through its
// Standard TCP/IP port, as the tab stock query finds it.
constexpr char kMachine[] = R"([HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\Q]
"Port"="USB001"
"Attributes"=dword:00000040
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\Q\PrinterDriverData]
"SNMPIPAddress"="10.0.0.5"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\Tab Copier]
"Port"="TabPort"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port\Ports\TabPort]
"IPAddress"="10.0.0.9"
)";

constexpr std::size_t kMaxOctets = 1200;
constexpr std::size_t kMaxSubids = 40;

Oid AnyOid(FuzzedDataProvider& in) {
  std::vector<unsigned long> subids(in.ConsumeIntegralInRange<std::size_t>(0, kMaxSubids));
  for (unsigned long& subid : subids) subid = in.ConsumeIntegral<std::uint32_t>();
  return Oid(subids.data(), subids.size());
}

// The object a binding answers for: the asked one (left empty), one below it
// (a walk's next row), the next sibling (a walk's end) or any.
void ChooseOid(FuzzedDataProvider& in, const ScriptedSend& send, std::size_t index, Vb& vb) {
  const Oid asked = index < send.oids.size() ? send.oids[index] : Oid();
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      break;
    case 1: {
      Oid below = asked;
      below += in.ConsumeIntegralInRange<unsigned long>(0, 300);
      vb.set_oid(below);
      break;
    }
    case 2: {
      Oid sibling = asked;
      if (sibling.len() > 0) {
        const unsigned long last = sibling[sibling.len() - 1];
        sibling.trim();
        sibling += last + 1;
      }
      vb.set_oid(sibling);
      break;
    }
    default:
      vb.set_oid(AnyOid(in));
      break;
  }
}

void ChooseValue(FuzzedDataProvider& in, Vb& vb) {
  switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:
      vb.set_value(static_cast<long>(in.ConsumeIntegral<std::int32_t>()));
      break;
    case 1:
    case 2: {
      const std::vector<unsigned char> bytes =
          in.ConsumeBytes<unsigned char>(in.ConsumeIntegralInRange<std::size_t>(0, kMaxOctets));
      vb.set_octets(sNMP_SYNTAX_OCTETS, bytes.data(), bytes.size());
      break;
    }
    case 3:
      vb.set_value(AnyOid(in));
      break;
    case 4:
      vb.set_null();
      break;
    case 5: {
      constexpr SmiUINT32 kUnsigned[] = {sNMP_SYNTAX_CNTR32, sNMP_SYNTAX_GAUGE32,
                                         sNMP_SYNTAX_TIMETICKS, sNMP_SYNTAX_CNTR64};
      vb.set_unsigned(in.PickValueInArray(kUnsigned), in.ConsumeIntegral<std::uint32_t>());
      break;
    }
    case 6: {
      constexpr SmiUINT32 kOctetLike[] = {sNMP_SYNTAX_IPADDR, sNMP_SYNTAX_OPAQUE, sNMP_SYNTAX_BITS};
      const std::vector<unsigned char> bytes =
          in.ConsumeBytes<unsigned char>(in.ConsumeIntegralInRange<std::size_t>(0, 16));
      vb.set_octets(in.PickValueInArray(kOctetLike), bytes.data(), bytes.size());
      break;
    }
    default: {
      constexpr SmiUINT32 kExceptions[] = {sNMP_SYNTAX_NOSUCHOBJECT, sNMP_SYNTAX_NOSUCHINSTANCE,
                                           sNMP_SYNTAX_ENDOFMIBVIEW};
      vb.set_exception(in.PickValueInArray(kExceptions));
      break;
    }
  }
}

ScriptedReply Answer(FuzzedDataProvider& in, const ScriptedSend& send) {
  if (in.remaining_bytes() == 0) return ScriptedReply::Timeout();
  switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:
      return ScriptedReply::Status(in.ConsumeIntegralInRange(-52, 0));
    case 1:
      return ScriptedReply::ErrorStatus(in.ConsumeIntegralInRange(0, 18),
                                        in.ConsumeIntegralInRange(-1, 3));
    default: {
      ScriptedReply reply;
      // Mostly one binding per object asked; sometimes fewer or more.
      std::size_t count = send.oids.size();
      if (in.ConsumeBool()) count = in.ConsumeIntegralInRange<std::size_t>(0, 4);
      for (std::size_t i = 0; i < count; ++i) {
        Vb vb;
        ChooseOid(in, send, i, vb);
        ChooseValue(in, vb);
        reply.vbs.push_back(vb);
      }
      return reply;
    }
  }
}

std::string BoxFilePath() {
  static const std::string path = [] {
    std::string folder = (std::filesystem::temp_directory_path() / "snmp_answer_fuzzer.XXXXXX");
    if (mkdtemp(folder.data()) == nullptr) std::abort();
    return folder + "/boxes.dat";
  }();
  return path;
}

// The exports' buffers are exactly the sizes they promise, on the heap, so
// that a byte written past one is reported.
void CallExport(int which) {
  using framework::testing::ScriptedUser;
  switch (which) {
    case 0:
      GetMFPModel("Q", "0", nullptr);
      break;
    case 1: {
      std::vector<char> answer(VX5PRCFG_ABV_ANSWER_SIZE);
      AbvPrinterCheck("Q", "0", answer.data(), nullptr);
      break;
    }
    case 2:
      IsDeptCodeEnforced("Q", "0", nullptr);
      break;
    case 3:
      IsConfirmDialogEnforced("Q", "0", nullptr);
      break;
    case 4:
      IsUserAccountenforced("Q", "0", nullptr);
      break;
    case 5:
      IsBlackFreeModeEnabled("Q", "0", nullptr);
      break;
    case 6:
      IsPrivPasswordEncryptEnabled("Q", "0", nullptr);
      break;
    case 7: {
      Vx5BoxRecord* boxes = nullptr;
      GetBoxInfo("Q", 0, &boxes, nullptr);
      while (boxes != nullptr) {
        Vx5BoxRecord* next = boxes->next;
        std::free(boxes);
        boxes = next;
      }
      break;
    }
    case 8:
      GetBoxInfo9x("Q", "0", BoxFilePath().c_str());
      break;
    case 9:
      GetBoxStatus("Q", "0", nullptr);
      break;
    case 10: {
      int notOurs = 0;
      GetBoxStatusEx("Q", "0", nullptr, &notOurs);
      break;
    }
    case 11:
      GetHSPStatus("Q", "0", nullptr);
      break;
    case 12: {
      int notOurs = 0;
      GetHSPStatusEx("Q", "0", nullptr, &notOurs);
      break;
    }
    case 13: {
      ScriptedUser user("clear 4003; type 4003 54321; click 1");
      std::vector<char> code(VX5PRCFG_DEPT_CODE_SIZE);
      code.assign({'1', '2', '3', '4', '5', '\0'});
      IsValidDeptCodeMck("Q", "0", code.data(), nullptr);
      break;
    }
    case 14: {
      std::vector<int> settings(VX5PRCFG_PROFILE_SETTINGS);
      std::vector<char> strings(VX5PRCFG_PROFILE_STRINGS_SIZE);
      GetAdvancedProfileStrings(settings.data(), strings.data(), "Q", "0", nullptr);
      break;
    }
    case 15: {
      ScriptedUser user("clear 4116; type 4116 12345; click 1");
      std::vector<char> entered(VX5PRCFG_BOX_PASSWORD_SIZE);
      CheckBoxPassword("Q", "0", "1", "", entered.data(), nullptr);
      break;
    }
    default: {
      ScriptedUser user("dump; click 1");
      std::vector<char> tabList(VX5PRCFG_TAB_LIST_SIZE);
      std::vector<char> shift(VX5PRCFG_IMAGE_SHIFT_SIZE);
      int manufacturer = 0;
      int cassette = 0;
      TabPrinting(which == 16 ? 0 : 1, tabList.data(), &manufacturer, &cassette, shift.data(),
                  "1,2I,3", "Tab Copier");
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int which = in.ConsumeIntegralInRange(0, 17);
  auto backend = std::make_shared<Snmp_pp::ScriptedBackend>();
  // Some exports send from several threads at once; the fuzzer's bytes are
  // handed out one answer at a time.
  std::mutex answering;
  backend->SetResponder([&in, &answering](const ScriptedSend& send) {
    const std::lock_guard lock(answering);
    return Answer(in, send);
  });
  const Snmp_pp::ScopedSessionBackend scoped(backend);
  const platform::simulated::ScopedMachine machine(
      platform::simulated::SimulatedMachine::FromRegistryLines(kMachine));
  CallExport(which);
  return 0;
}
