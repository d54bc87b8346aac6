// ConvertDeviceText under every code page it tells apart (and one it does
// not): any units, any capacity. It writes only inside the capacity, never
// past the count it gives, answers as the code page's own converter does,
// and a conversion cut short by the capacity is the start of the whole one.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/simulated/simulated_machine.h"
#include "queries/device_text.h"

namespace {

constexpr std::uint32_t kCodePages[] = {1252, 936, 950, 932, 949, 1250, 1251};
constexpr char kUntouched = '\x5a';

platform::simulated::ScopedMachine& MachineFor(std::size_t index) {
  static std::array<std::unique_ptr<platform::simulated::ScopedMachine>, std::size(kCodePages)>
      machines;
  if (!machines[index]) {
    char lines[128];
    std::snprintf(lines, sizeof lines,
                  "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:%08x\n",
                  static_cast<unsigned>(kCodePages[index]));
    // One machine current at a time.
    for (auto& other : machines) other.reset();
    machines[index] = std::make_unique<platform::simulated::ScopedMachine>(
        platform::simulated::SimulatedMachine::FromRegistryLines(lines));
  }
  return *machines[index];
}

int Direct(std::uint32_t codePage, const char16_t* input, unsigned inputBytes, char* output,
           unsigned capacity, unsigned* written) {
  switch (codePage) {
    case queries::kCodePageSimplifiedChinese:
      return queries::ConvertToCp936(inputBytes, input, capacity, written, output);
    case queries::kCodePageTraditionalChinese:
      return queries::ConvertToCp950(inputBytes, input, capacity, written, output);
    case queries::kCodePageJapanese:
      return queries::ConvertToShiftJis(inputBytes, input, capacity, written, output);
    case queries::kCodePageKorean:
      return queries::ConvertToCp949(inputBytes, input, capacity, written, output);
    default: {
      int count = 0;
      const int converted = queries::ConvertToIso8859(queries::kDefaultIso8859Part, inputBytes,
                                                      input, capacity, &count, output);
      if (converted != 0) *written = static_cast<unsigned>(count);
      return converted;
    }
  }
}

void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "device_text_fuzzer: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::size_t page = in.ConsumeIntegralInRange<std::size_t>(0, std::size(kCodePages) - 1);
  const unsigned capacity = in.ConsumeIntegralInRange<unsigned>(0, 600);
  // The units on the heap at their exact length (odd byte counts included).
  const std::vector<std::uint8_t> bytes = in.ConsumeRemainingBytes<std::uint8_t>();
  const unsigned inputBytes = static_cast<unsigned>(bytes.size());
  std::vector<char16_t> units(inputBytes / 2 + 1);
  if (!bytes.empty()) std::memcpy(units.data(), bytes.data(), bytes.size());

  MachineFor(page);
  std::vector<char> output(capacity, kUntouched);
  unsigned written = 0;
  const int converted =
      queries::ConvertDeviceText(units.data(), inputBytes, output.data(), capacity, &written);
  Check(converted == 0 || converted == 1, "an answer other than 0 or 1");
  Check(written <= capacity, "a count beyond the capacity");
  for (unsigned i = written; i < capacity; ++i) {
    Check(output[i] == kUntouched, "a byte written past the count");
  }

  std::vector<char> direct(capacity, kUntouched);
  unsigned directWritten = 0;
  const int directConverted =
      Direct(kCodePages[page], units.data(), inputBytes, direct.data(), capacity, &directWritten);
  Check(directConverted == converted && directWritten == written && direct == output,
        "an answer unlike the code page's converter");

  // With room for everything, the cut conversion is its start.
  std::vector<char> whole(inputBytes + 1, kUntouched);
  unsigned wholeWritten = 0;
  const int wholeConverted = queries::ConvertDeviceText(
      units.data(), inputBytes, whole.data(), static_cast<unsigned>(whole.size()), &wholeWritten);
  Check(wholeConverted == 1, "no room in twice the units");
  if (converted == 1) {
    Check(written == wholeWritten, "a count unlike the whole conversion's");
  }
  if (written > 0) {
    Check(std::memcmp(output.data(), whole.data(), written) == 0,
          "bytes unlike the whole conversion's");
  }
  return 0;
}
