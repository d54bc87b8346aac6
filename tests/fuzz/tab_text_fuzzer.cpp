// The tab list and the image shift come from the driver's job, as the user
// or an older job left them. ReadTabList and ReadImageShiftText take any
// text; the texts written back fit their buffers, terminated; and TabPrinting
// given them (its user pressing OK) writes only inside the caller's buffers.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "exports/vx5prcfg.h"
#include "platform/simulated/simulated_machine.h"
#include "snmp/scripted_backend.h"
#include "snmp/snmp_pp.h"
#include "tabprint/job_record.h"
#include "tests/framework/scripted_session.h"

namespace {

using namespace tabprint;

constexpr char kMachine[] = R"([HKCU\Control Panel\International]
"sDecimal"=","
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\Tab Copier]
"Port"="TabPort"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port\Ports\TabPort]
"IPAddress"="10.0.0.9"
)";

void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "tab_text_fuzzer: %s\n", what);
    std::abort();
  }
}

bool Terminated(const std::vector<char>& buffer) {
  return std::find(buffer.begin(), buffer.end(), '\0') != buffer.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const unsigned mode = in.ConsumeIntegralInRange<unsigned>(0, 3);
  const bool runDialog = in.ConsumeBool();
  const std::string list = in.ConsumeRandomLengthString(4000);
  // The image shift buffer as the caller holds it: 19 bytes, maybe without
  // a terminator.
  std::vector<char> shift = in.ConsumeBytes<char>(kImageShiftSize);
  shift.resize(kImageShiftSize, '\0');

  const std::vector<TabEntry> entries = ReadTabList(list);
  Check(entries.size() <= static_cast<std::size_t>(kMaxTabRows), "more rows than the store has");
  std::string rebuilt;
  for (const TabEntry& entry : entries) AppendTabEntry(rebuilt, entry.page, entry.insertBefore);
  const std::size_t capacity = TabListCapacity(list.c_str());
  std::vector<char> out(capacity, '#');
  CopyTabList(rebuilt, out.data(), capacity);
  Check(Terminated(out), "an unterminated tab list");
  const std::string copied(out.data());
  Check(copied.empty() || copied.back() == kTabListSeparator, "an entry cut short");

  const std::string shiftText = ImageShiftTextIn(shift.data());
  Check(shiftText.size() < kImageShiftSize + 1, "an image shift longer than its buffer");
  const ImageShift read = ReadImageShiftText(shiftText);
  std::vector<char> formatted(kImageShiftSize, '#');
  FormatImageShift(read.value, read.unit, formatted.data());
  Check(Terminated(formatted), "an unterminated image shift");

  if (runDialog) {
    const Snmp_pp::ScopedSessionBackend scoped(std::make_shared<Snmp_pp::ScriptedBackend>());
    framework::testing::ScriptedSession session("dump; click 1", kMachine);
    int manufacturer = 1;
    int cassette = 0;
    TabPrinting(mode, out.data(), &manufacturer, &cassette, shift.data(), list.c_str(),
                "Tab Copier");
    Check(Terminated(out), "TabPrinting left the tab list unterminated");
  }
  return 0;
}
