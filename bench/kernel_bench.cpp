// The simulated kernel's conversions and formatting. The code page tables
// are a two-level direct index; the binary search over sorted pairs is the
// alternative they were measured against.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/simulated/code_pages.h"
#include "platform/simulated/simulated_kernel.h"

namespace {

using platform::simulated::FromAnsi;
using platform::simulated::MultiByteToWide;
using platform::simulated::ToAnsi;
using platform::simulated::WideToMultiByte;

constexpr std::uint32_t kSimplifiedChinese = 936;
constexpr std::uint32_t kWesternEuropean = 1252;
constexpr int kOutputCapacity = 4096;

// A device text of the size the module converts: names and messages.
std::u16string ChineseText() {
  std::u16string text;
  while (text.size() < 256) text += u"无法连接 MFP 设备: 部门代码 12345, ";
  return text;
}

std::u16string WesternText() {
  std::u16string text;
  while (text.size() < 256) text += u"Caf\u00e9 \u20ac 12,50 \u00bfQu\u00e9? Box 7: Scans ";
  return text;
}

void BM_WideToMultiByte(benchmark::State& state, std::uint32_t codePage, std::u16string text) {
  char out[kOutputCapacity];
  for (auto _ : state) {
    benchmark::DoNotOptimize(WideToMultiByte(codePage, text, out, static_cast<int>(sizeof out)));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK_CAPTURE(BM_WideToMultiByte, cp936, kSimplifiedChinese, ChineseText());
BENCHMARK_CAPTURE(BM_WideToMultiByte, cp1252, kWesternEuropean, WesternText());
BENCHMARK_CAPTURE(BM_WideToMultiByte, utf8, 65001, ChineseText());

void BM_MultiByteToWide(benchmark::State& state, std::uint32_t codePage, std::u16string text) {
  const std::string bytes = ToAnsi(codePage, text);
  char16_t out[kOutputCapacity];
  for (auto _ : state) {
    benchmark::DoNotOptimize(MultiByteToWide(codePage, bytes, out, kOutputCapacity));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK_CAPTURE(BM_MultiByteToWide, cp936, kSimplifiedChinese, ChineseText());
BENCHMARK_CAPTURE(BM_MultiByteToWide, cp1252, kWesternEuropean, WesternText());

// The alternative layout: every mapping as a sorted (unit, bytes) pair.
std::vector<std::pair<char16_t, std::string>> SortedPairs(std::uint32_t codePage) {
  std::vector<std::pair<char16_t, std::string>> pairs;
  for (char32_t unit = 1; unit < 0x10000; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    const std::u16string one(1, static_cast<char16_t>(unit));
    std::string bytes = ToAnsi(codePage, one);
    if (bytes != "?" || unit == u'?') pairs.emplace_back(static_cast<char16_t>(unit), bytes);
  }
  return pairs;
}

void BM_WideToMultiByteBinarySearch(benchmark::State& state) {
  const auto pairs = SortedPairs(kSimplifiedChinese);
  const std::u16string text = ChineseText();
  std::string out;
  out.reserve(kOutputCapacity);
  for (auto _ : state) {
    out.clear();
    for (char16_t unit : text) {
      auto found =
          std::lower_bound(pairs.begin(), pairs.end(), unit,
                           [](const auto& pair, char16_t key) { return pair.first < key; });
      if (found != pairs.end() && found->first == unit) {
        out += found->second;
      } else {
        out += '?';
      }
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_WideToMultiByteBinarySearch);

// A kernel whose clock stands still, so each iteration formats the same moment.
platform::simulated::KernelSettings FrozenClockSettings() {
  platform::simulated::KernelSettings settings;
  settings.frozenNow = platform::SystemTime{2012, 5, 0, 17, 9, 5, 7, 0};
  return settings;
}

void BM_GetTimeFormat(benchmark::State& state) {
  platform::simulated::SimulatedKernel kernel(FrozenClockSettings());
  char out[256];
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        kernel.GetTimeFormat(platform::kTimeNoSeconds, nullptr, nullptr, out, sizeof out));
  }
}
BENCHMARK(BM_GetTimeFormat);

void BM_GetDateFormat(benchmark::State& state) {
  platform::simulated::SimulatedKernel kernel(FrozenClockSettings());
  char out[256];
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        kernel.GetDateFormat(0, nullptr, "dddd, MMMM dd, yyyy", out, sizeof out));
  }
}
BENCHMARK(BM_GetDateFormat);

}  // namespace
