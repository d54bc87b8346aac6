// The bitmaps as stored: .bmp files whose headers give the sizes and depth
// the image list and the bank markers are built for.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <span>

#include "resources/resource_ids.h"
#include "resources/resources.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPaletteColours = 16;

struct BitmapInfo {
  std::uint32_t fileSize, bitsOffset, headerSize;
  std::int32_t width, height;
  std::uint16_t planes, bitsPerPixel;
  std::uint32_t compression, coloursUsed;
};

template <typename T>
T Read(std::span<const std::uint8_t> bytes, std::size_t offset) {
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);  // little-endian host
  return value;
}

BitmapInfo Info(std::span<const std::uint8_t> bytes) {
  return {Read<std::uint32_t>(bytes, 2),  Read<std::uint32_t>(bytes, 10),
          Read<std::uint32_t>(bytes, 14), Read<std::int32_t>(bytes, 18),
          Read<std::int32_t>(bytes, 22),  Read<std::uint16_t>(bytes, 26),
          Read<std::uint16_t>(bytes, 28), Read<std::uint32_t>(bytes, 30),
          Read<std::uint32_t>(bytes, 46)};
}

// Palette index of pixel (x, y), y counted from the top, of a 4 bpp bitmap.
int PixelIndex(std::span<const std::uint8_t> bytes, const BitmapInfo& info, int x, int y) {
  const std::size_t rowBytes = ((info.width * 4 + 31) / 32) * 4;
  const std::size_t row = info.height > 0 ? info.height - 1 - y : y;
  const std::uint8_t pair = bytes[info.bitsOffset + row * rowBytes + x / 2];
  return x % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

// The RGB of palette entry `index` (stored blue, green, red, 0).
std::uint32_t PaletteRgb(std::span<const std::uint8_t> bytes, int index) {
  const std::size_t at = kFileHeaderSize + kInfoHeaderSize + 4 * index;
  return (bytes[at + 2] << 16) | (bytes[at + 1] << 8) | bytes[at];
}

void ExpectFourBitBitmap(int id, int width, int height) {
  SCOPED_TRACE("bitmap " + std::to_string(id));
  const auto bytes = resources::FindBitmap(id);
  ASSERT_GE(bytes.size(), kFileHeaderSize + kInfoHeaderSize);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  const BitmapInfo info = Info(bytes);
  EXPECT_EQ(info.fileSize, bytes.size());
  EXPECT_EQ(info.headerSize, kInfoHeaderSize);
  EXPECT_EQ(info.width, width);
  EXPECT_EQ(info.height, height);
  EXPECT_EQ(info.planes, 1);
  EXPECT_EQ(info.bitsPerPixel, 4);
  EXPECT_EQ(info.compression, 0u);
  EXPECT_LE(info.coloursUsed, kPaletteColours);
  const std::size_t rowBytes = ((width * 4 + 31) / 32) * 4;
  EXPECT_EQ(info.bitsOffset + rowBytes * height, bytes.size());
}

TEST(Bitmaps, PaperSizeStripIsNineSixteenColourIcons) {
  ExpectFourBitBitmap(IDB_PAPER_SIZES, 9 * 32, 32);
}

TEST(Bitmaps, PaperSizeIconsStandOnTheTransparentGreen) {
  const auto bytes = resources::FindBitmap(4041);
  const BitmapInfo info = Info(bytes);
  constexpr std::uint32_t kTransparent = 0x008000;  // RGB(0, 128, 0)
  for (int icon = 0; icon < 9; ++icon) {
    SCOPED_TRACE("icon " + std::to_string(icon));
    const int left = icon * 32;
    // Each icon's top corners are background; its centre is the sheet.
    EXPECT_EQ(PaletteRgb(bytes, PixelIndex(bytes, info, left, 0)), kTransparent);
    EXPECT_EQ(PaletteRgb(bytes, PixelIndex(bytes, info, left + 31, 0)), kTransparent);
    EXPECT_NE(PaletteRgb(bytes, PixelIndex(bytes, info, left + 15, 24)), kTransparent);
  }
}

TEST(Bitmaps, BankMarkerIsFourteenBySeventeen) { ExpectFourBitBitmap(IDB_BANK_MARKER, 14, 17); }

TEST(Bitmaps, TabSheetPictureIsPresent) { ExpectFourBitBitmap(IDB_TAB_SHEET, 32, 32); }

TEST(Bitmaps, UnknownIdsAreEmpty) {
  EXPECT_TRUE(resources::FindBitmap(4000).empty());
  EXPECT_TRUE(resources::FindBitmap(0).empty());
}

}  // namespace
