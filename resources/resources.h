// The module's resources, compiled from resources/vx5prcfg.rc at build time:
// string table, dialog templates, combo boxes' initial lists and bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace resources {

struct DialogControl {
  int id = 0;
  std::string_view windowClass;  // "BUTTON", "EDIT", "STATIC", "COMBOBOX", "SysListView32", ...
  std::u16string_view text;
  int x = 0, y = 0, width = 0, height = 0;  // dialog units
  std::uint32_t style = 0;                  // WS_*, BS_*, ES_*, ... as the script gives them
  std::uint32_t exStyle = 0;
};

struct DialogTemplate {
  int id = 0;
  std::u16string_view title;  // empty when the template has none
  std::u16string_view fontName;
  int pointSize = 0;
  int x = 0, y = 0, width = 0, height = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::span<const DialogControl> controls;
};

// The dialog template `id`, or null.
const DialogTemplate* FindDialog(int id);

// String `id` of the table (language 0x409), or nothing when absent.
std::optional<std::u16string_view> FindString(int id);

// The RT_STRING block `blockNumber` ((id >> 4) + 1) as stored in a module:
// 16 entries, each a 16-bit length followed by that many UTF-16 units.
// Empty when the module has no such block.
std::span<const std::uint16_t> FindStringBlock(int blockNumber);

// The initial items of combo box `controlId` in dialog `dialogId`.
std::span<const std::u16string_view> FindComboItems(int dialogId, int controlId);

// Bitmap `id` as the bytes of its .bmp file (BITMAPFILEHEADER included), or
// empty.
std::span<const std::uint8_t> FindBitmap(int id);

// A control's text may name a resource instead (a picture static's bitmap):
// then, as in a compiled template, it is 0xFFFF followed by the resource id.
inline constexpr char16_t kOrdinalMarker = 0xFFFF;
inline constexpr std::size_t kOrdinalTextLength = 2;

// The resource id a control's text names, or nothing for a plain text.
std::optional<int> TextOrdinal(std::u16string_view text);

}  // namespace resources
