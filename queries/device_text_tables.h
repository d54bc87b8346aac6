// Lookup tables from the device's 16-bit text to the bytes of the ANSI code
// pages the driver runs under. Generated at build time from the codecs'
// mappings (tools/gen_device_text_tables.py); constant and shared.
#pragma once

#include <cstddef>
#include <cstdint>

namespace queries {

// Flat tables: one entry per UTF-16 unit, lead byte in the high half, trail
// byte in the low half; 0 means no mapping.
inline constexpr std::size_t kFlatTableSize = 0x10000;
// Paged tables: a page per high byte of the unit (null: nothing mapped),
// 256 entries per page indexed by the low byte.
inline constexpr std::size_t kPageCount = 256;
inline constexpr std::size_t kPageSize = 256;
// ISO 8859 slots by part number; each covers U+0000 to U+2FFF.
inline constexpr std::size_t kIso8859SlotCount = 6;
inline constexpr std::size_t kIso8859PageCount = 48;

// Characters each table maps (the Japanese ones count row-and-cell codes).
inline constexpr std::size_t kCp936MappingCount = 8025;
inline constexpr std::size_t kCp949MappingCount = 17046;
inline constexpr std::size_t kCp950MappingCount = 13704;
inline constexpr std::size_t kJisX0208MappingCount = 6879;
inline constexpr std::size_t kJisX0212MappingCount = 6067;

// Code page 936 inside A1A1-F7FE, nothing below U+2000.
extern const std::uint16_t kCp936Table[kFlatTableSize];
// Code page 949 without U+20AC and U+00AE.
extern const std::uint16_t kCp949Table[kFlatTableSize];
// Standard Big5, U+FFFD at A15A.
extern const std::uint16_t kCp950Table[kFlatTableSize];
// JIS X 0208 row-and-cell codes (bytes 21-7E), with both code points of the
// characters code page 932 maps elsewhere.
extern const std::uint16_t* const kJisX0208Table[kPageCount];
// JIS X 0212 row-and-cell codes; no character is in both Japanese tables.
extern const std::uint16_t* const kJisX0212Table[kPageCount];
// Single bytes (low half) of ISO 8859 parts 1, 2 and 5; other slots empty.
extern const std::uint16_t* const kIso8859Tables[kIso8859SlotCount][kIso8859PageCount];

}  // namespace queries
