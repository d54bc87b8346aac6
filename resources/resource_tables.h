// The tables tools/rc_to_cpp.py generates from vx5prcfg.rc, each sorted by
// id. resources.cpp looks things up in them; nothing else should.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "resources/resources.h"

namespace resources::tables {

struct StringEntry {
  int id;
  std::u16string_view text;
};

struct StringBlock {
  int number;  // (id >> 4) + 1
  std::span<const std::uint16_t> units;
};

struct ComboList {
  int dialogId;
  int controlId;
  std::span<const std::u16string_view> items;
};

struct Bitmap {
  int id;
  std::span<const std::uint8_t> bytes;
};

extern const std::span<const StringEntry> kStrings;
extern const std::span<const StringBlock> kStringBlocks;
extern const std::span<const DialogTemplate> kDialogs;  // sorted by id
extern const std::span<const ComboList> kComboLists;    // sorted by dialog, then control
extern const std::span<const Bitmap> kBitmaps;

}  // namespace resources::tables
