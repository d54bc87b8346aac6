#include "tabprint/job_record.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "device/device_address.h"
#include "platform/decimal_text.h"
#include "platform/machine.h"
#include "prompts/module_text.h"
#include "resources/resource_ids.h"

namespace tabprint {
namespace {

constexpr std::string_view kInchMark = "in";
constexpr std::string_view kMillimetreSuffix = "mm";
constexpr std::string_view kInchSuffix = "in";
constexpr std::string_view kMissingTextCaption = "TAB PRINTING";

// The location texts the row store compares with, and how a missing one is reported.
struct NamedText {
  int id;
  std::string_view message;
};
constexpr NamedText kNamedTexts[] = {
    {IDS_STR_TAB_USEFOR, "IDS_STR_TAB_USEFOR Failed"},
    {IDS_STR_TAB_INSERTBEFORE, "IDS_STR_TAB_INSERTBEFORE Failed"},
};

// Room for any float printed "%0.3f" with a unit.
constexpr std::size_t kNumberTextSize = 64;

}  // namespace

std::vector<TabEntry> ReadTabList(std::string_view text) {
  std::vector<TabEntry> entries;
  for (;;) {
    if (static_cast<int>(entries.size()) == kMaxTabRows) break;
    const std::size_t comma = text.find(kTabListSeparator);
    std::string_view entry = text.substr(0, comma);
    TabEntry read;
    if (entry.find(kInsertBeforeMark) != std::string_view::npos) {
      read.insertBefore = true;
      entry.remove_suffix(1);
    }
    read.page = platform::ReadDecimal(entry);
    entries.push_back(read);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return entries;
}

void AppendTabEntry(std::string& list, std::int32_t page, bool insertBefore) {
  list += std::to_string(page);
  if (insertBefore) list += kInsertBeforeMark;
  list += kTabListSeparator;
}

std::size_t TabListCapacity(const char* tabListIn) {
  const std::size_t inCapacity = tabListIn != nullptr ? std::strlen(tabListIn) + 1 : 0;
  return std::max(kTabListSize, inCapacity);
}

void CopyTabList(std::string_view list, char* out, std::size_t capacity) {
  if (out == nullptr || capacity == 0) return;
  if (list.size() >= capacity) {
    // An entry cut short would name another page: the last whole entry ends the list.
    const std::size_t lastComma = list.substr(0, capacity).rfind(kTabListSeparator);
    list = list.substr(0, lastComma == std::string_view::npos ? 0 : lastComma);
  }
  device::CopyBounded(out, capacity, list);
}

float DefaultShift(ShiftUnit unit) {
  return unit == kInches ? kDefaultShiftInches : kDefaultShiftMillimetres;
}

bool ExceedsShiftRange(float value, ShiftUnit unit) {
  return unit == kInches ? value > kMaxShiftInchesCompared : value > kMaxShiftMillimetres;
}

ImageShift ReadImageShiftText(std::string_view text) {
  const std::string copy(text);  // strtod needs the terminator
  char* end = nullptr;
  ImageShift shift;
  shift.value = static_cast<float>(std::strtod(copy.c_str(), &end));
  const std::string_view rest(end, static_cast<std::size_t>(copy.c_str() + copy.size() - end));
  shift.unit = rest.find(kInchMark) != std::string_view::npos ? kInches : kMillimetres;
  return shift;
}

std::string ImageShiftTextIn(const char* buffer) {
  return std::string(device::TextIn(buffer, kImageShiftSize));
}

float MillimetresFromInches(float inches) {
  const float millimetres = inches / kInchesPerMillimetre;
  return millimetres > kMaxShiftMillimetres ? kMaxShiftMillimetres : millimetres;
}

void FormatImageShift(float value, ShiftUnit unit, char* out) {
  const float millimetres = unit == kInches ? MillimetresFromInches(value) : value;
  const float microns = millimetres * kMicronsPerMillimetre;
  std::array<char, kNumberTextSize> text{};
  std::snprintf(text.data(), text.size(), "%0.3f%s,%0.3f", static_cast<double>(value),
                unit == kInches ? kInchSuffix.data() : kMillimetreSuffix.data(),
                static_cast<double>(microns));
  device::CopyBounded(out, kImageShiftSize, device::TextIn(text.data(), text.size()));
}

std::string LoadTabText(int id) {
  std::string text;
  if (prompts::LoadModuleText(id, text)) return text;
  for (const NamedText& named : kNamedTexts) {
    if (named.id == id) {
      platform::CurrentMachine().ui().MessageBox(nullptr, named.message, kMissingTextCaption,
                                                 platform::kMbOk);
    }
  }
  return text;
}

}  // namespace tabprint
