// Box names from the device into the ANSI code page: the module's table
// lookup against iconv on the same names, bytes of UTF-16 input per second.
// The box directory converts every name into a 260-byte buffer, so each name
// is taken as the device's 260-byte value.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/simulated/simulated_machine.h"
#include "queries/device_text.h"

namespace {

constexpr unsigned kNameBytes = 260;
constexpr std::size_t kNameUnits = kNameBytes / 2;

struct CodePageCase {
  const char* machineLines;
  const char* iconvName;
};

const CodePageCase kChinese{
    "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:000003a8\n", "GBK"};
const CodePageCase kJapanese{
    "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:000003a4\n", "CP932"};
const CodePageCase kWestern{
    "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:000004e4\n", "ISO-8859-1"};

const CodePageCase kAscii{
    "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:000004e4\n", "ISO-8859-1"};

using Name = std::array<char16_t, kNameUnits>;

std::vector<Name> BoxNames(const std::vector<std::u16string>& texts) {
  std::vector<Name> names;
  for (const std::u16string& text : texts) {
    Name name{};
    for (std::size_t i = 0; i < text.size() && i < name.size(); ++i) name[i] = text[i];
    names.push_back(name);
  }
  return names;
}

std::vector<Name> NamesFor(const CodePageCase& which) {
  if (&which == &kChinese) {
    return BoxNames({u"设计部", u"销售部 2026 年度报告", u"财务部门共享文件夹", u"System box"});
  }
  if (&which == &kJapanese) {
    return BoxNames({u"営業部", u"経理部の共有ボックス", u"ｽｷｬﾝ 2026", u"System box"});
  }
  if (&which == &kAscii) {
    return BoxNames({u"Accounting", u"Sales and marketing", u"Reception 2nd floor", u"System box"});
  }
  return BoxNames({u"Comptabilit\u00e9", u"Sales and marketing", u"R\u00e9ception", u"System box"});
}

void BM_ConvertDeviceText(benchmark::State& state, const CodePageCase& which) {
  const platform::simulated::ScopedMachine machine(
      platform::simulated::SimulatedMachine::FromRegistryLines(which.machineLines));
  const std::vector<Name> names = NamesFor(which);
  std::array<char, kNameBytes> out{};
  for (auto _ : state) {
    for (const Name& name : names) {
      unsigned count = 0;
      benchmark::DoNotOptimize(
          queries::ConvertDeviceText(name.data(), kNameBytes, out.data(), kNameBytes, &count));
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations() * names.size() * kNameBytes));
}

struct IconvCloser {
  void operator()(iconv_t* descriptor) const {
    iconv_close(*descriptor);
    delete descriptor;
  }
};

// Unmapped characters are skipped ("//IGNORE") so iconv converts the whole
// name as the table lookup does.
void BM_Iconv(benchmark::State& state, const CodePageCase& which) {
  const std::string target = std::string(which.iconvName) + "//IGNORE";
  const iconv_t opened = iconv_open(target.c_str(), "UTF-16LE");
  if (opened == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv cannot convert to this code page");
    return;
  }
  const std::unique_ptr<iconv_t, IconvCloser> descriptor(new iconv_t(opened));
  const std::vector<Name> names = NamesFor(which);
  std::array<char, kNameBytes> out{};
  for (auto _ : state) {
    for (const Name& name : names) {
      char* in = reinterpret_cast<char*>(const_cast<char16_t*>(name.data()));
      std::size_t inLeft = kNameBytes;
      char* outAt = out.data();
      std::size_t outLeft = out.size();
      iconv(*descriptor, nullptr, nullptr, nullptr, nullptr);
      benchmark::DoNotOptimize(iconv(*descriptor, &in, &inLeft, &outAt, &outLeft));
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations() * names.size() * kNameBytes));
}

BENCHMARK_CAPTURE(BM_ConvertDeviceText, cp936, kChinese);
BENCHMARK_CAPTURE(BM_Iconv, cp936, kChinese);
BENCHMARK_CAPTURE(BM_ConvertDeviceText, cp932, kJapanese);
BENCHMARK_CAPTURE(BM_Iconv, cp932, kJapanese);
BENCHMARK_CAPTURE(BM_ConvertDeviceText, ascii, kAscii);
BENCHMARK_CAPTURE(BM_Iconv, ascii, kAscii);
BENCHMARK_CAPTURE(BM_ConvertDeviceText, cp1252, kWestern);
BENCHMARK_CAPTURE(BM_Iconv, cp1252, kWestern);

}  // namespace
