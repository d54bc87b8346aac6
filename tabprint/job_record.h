// The tab printing job as the driver exchanges it: the tab list text, the
// image shift text, the device's tab stock records, and the module texts the
// tab dialogs share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabprint {

// The caller's buffers: the tab list out (or the tab list in's length plus
// one, when longer) and the image shift in and out.
inline constexpr std::size_t kTabListSize = 480;
inline constexpr std::size_t kImageShiftSize = 19;
inline constexpr int kMaxTabRows = 80;

// A tab list entry ending in this marks a blank tab sheet inserted before the
// page ("Insert Before"); without it the page is printed on the tab sheet.
inline constexpr char kInsertBeforeMark = 'I';
inline constexpr char kTabListSeparator = ',';

struct TabEntry {
  std::int32_t page = 0;  // 0: a blank row
  bool insertBefore = false;
};

// Reads a caller's tab list: entries split at ","; an entry holding "I"
// anywhere is "Insert Before" and loses its last character before its
// number is read; empty or unreadable numbers give 0. At most kMaxTabRows
// entries; the rest of the text is ignored.
std::vector<TabEntry> ReadTabList(std::string_view text);
// One entry as the module writes it, with its trailing ",".
void AppendTabEntry(std::string& list, std::int32_t page, bool insertBefore);

// The room a caller gives the tab list out: kTabListSize, or the tab list
// in's length plus one when that is longer (`tabListIn` may be null).
std::size_t TabListCapacity(const char* tabListIn);
// Copies the whole entries of `list` that fit `capacity` bytes with the
// terminator into `out`.
void CopyTabList(std::string_view list, char* out, std::size_t capacity);

// The image shift: a value in millimetres or inches.
enum ShiftUnit : int { kMillimetres = 0, kInches = 1 };

inline constexpr float kDefaultShiftMillimetres = 13.0f;
inline constexpr float kDefaultShiftInches = 0.507f;
inline constexpr float kMaxShiftMillimetres = 30.0f;
inline constexpr float kMaxShiftInches = 1.19f;
// Inches are compared with a little room, so that 1.19 itself is valid.
inline constexpr float kMaxShiftInchesCompared = 1.1900001f;
inline constexpr float kInchesPerMillimetre = 0.039f;
inline constexpr float kMicronsPerMillimetre = 1000.0f;

struct ImageShift {
  ShiftUnit unit = kMillimetres;
  float value = kDefaultShiftMillimetres;
};

float DefaultShift(ShiftUnit unit);
// Above the unit's range (negative values are not looked at here).
bool ExceedsShiftRange(float value, ShiftUnit unit);
// A caller's image shift text: the number the C library reads from its
// start, inches when what follows holds "in", millimetres otherwise.
ImageShift ReadImageShiftText(std::string_view text);
// The caller's image shift text: up to its terminator, never past the
// kImageShiftSize bytes of its buffer; empty for a null buffer.
std::string ImageShiftTextIn(const char* buffer);
// Inches to millimetres, capped at the millimetre range.
float MillimetresFromInches(float inches);
// "13.000mm,13000.000": the value in its unit, then in micrometres, written
// into `out` (kImageShiftSize bytes), always terminated.
void FormatImageShift(float value, ShiftUnit unit, char* out);

// A device tab stock: one row of the device's tab stock table.
inline constexpr std::size_t kStockNameSize = 100;
struct TabStockRecord {
  std::int32_t kind = 0;  // 3 and 4: the bank size comes from tabsPerBank
  std::int32_t column6Value = 0;
  std::int32_t column7Value = 0;
  std::int32_t imageShiftMicrons = 0;
  std::int32_t tabsPerBank = 0;
  std::int32_t column8Value = 0;
  char name[kStockNameSize] = {};
};

// Text `id` of the module's string table. The location texts name
// themselves in a message when they are missing; the work goes on with an
// empty text.
std::string LoadTabText(int id);

}  // namespace tabprint
