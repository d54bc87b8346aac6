#include "resources/resources.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "resources/resource_tables.h"

namespace resources {
namespace {

// The entry of a table sorted by `key` whose key equals `wanted`, or null.
template <typename Entry, typename Key, typename Projection>
const Entry* FindSorted(std::span<const Entry> table, const Key& wanted, Projection key) {
  auto it = std::ranges::lower_bound(table, wanted, {}, key);
  return it != table.end() && std::invoke(key, *it) == wanted ? &*it : nullptr;
}

}  // namespace

const DialogTemplate* FindDialog(int id) {
  return FindSorted(tables::kDialogs, id, &DialogTemplate::id);
}

std::optional<std::u16string_view> FindString(int id) {
  const auto* entry = FindSorted(tables::kStrings, id, &tables::StringEntry::id);
  if (entry == nullptr) return std::nullopt;
  return entry->text;
}

std::span<const std::uint16_t> FindStringBlock(int blockNumber) {
  const auto* block = FindSorted(tables::kStringBlocks, blockNumber, &tables::StringBlock::number);
  return block != nullptr ? block->units : std::span<const std::uint16_t>{};
}

std::span<const std::u16string_view> FindComboItems(int dialogId, int controlId) {
  const auto* list =
      FindSorted(tables::kComboLists, std::pair(dialogId, controlId),
                 [](const tables::ComboList& l) { return std::pair(l.dialogId, l.controlId); });
  return list != nullptr ? list->items : std::span<const std::u16string_view>{};
}

std::span<const std::uint8_t> FindBitmap(int id) {
  const auto* bitmap = FindSorted(tables::kBitmaps, id, &tables::Bitmap::id);
  return bitmap != nullptr ? bitmap->bytes : std::span<const std::uint8_t>{};
}

std::optional<int> TextOrdinal(std::u16string_view text) {
  if (text.size() != kOrdinalTextLength || text[0] != kOrdinalMarker) return std::nullopt;
  return static_cast<int>(text[1]);
}

}  // namespace resources
