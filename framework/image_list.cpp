#include "framework/image_list.h"

#include <cstdlib>

#include "resources/resources.h"

namespace framework {
namespace {

// BITMAPFILEHEADER is 14 bytes; BITMAPINFOHEADER follows with its size,
// width, height (negative: top-down), planes and bit count.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderMinimum = 16;
constexpr std::size_t kWidthOffset = kFileHeaderSize + 4;
constexpr std::size_t kHeightOffset = kFileHeaderSize + 8;
constexpr std::size_t kBitCountOffset = kFileHeaderSize + 14;

std::int32_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t offset, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[offset + i];
  if (size == 2) return static_cast<std::int16_t>(value);
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<Bitmap> Bitmap::Load(int id) { return FromFile(resources::FindBitmap(id)); }

std::optional<Bitmap> Bitmap::FromFile(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderMinimum || file[0] != 'B' || file[1] != 'M') {
    return std::nullopt;
  }
  const int width = ReadLittleEndian(file, kWidthOffset, 4);
  const int height = std::abs(ReadLittleEndian(file, kHeightOffset, 4));
  const int bits = ReadLittleEndian(file, kBitCountOffset, 2);
  if (width <= 0 || height <= 0 || bits <= 0) return std::nullopt;
  return Bitmap(file, width, height, bits);
}

bool ImageList::Create(int imageWidth, int imageHeight, unsigned flags, int /*initial*/,
                       int /*grow*/) {
  if (imageWidth <= 0 || imageHeight <= 0) return false;
  imageWidth_ = imageWidth;
  imageHeight_ = imageHeight;
  flags_ = flags;
  count_ = 0;
  pictures_ = {imageWidth, imageHeight, (flags & kMask) != 0, {}, this};
  return true;
}

int ImageList::AddMasked(const Bitmap& bitmap, std::uint32_t maskColour) {
  if (!IsCreated()) return -1;
  const int images = bitmap.width() / imageWidth_;
  if (images == 0 || bitmap.height() < imageHeight_) return -1;
  const int first = count_;
  count_ += images;
  if ((flags_ & kMask) != 0) maskColour_ = maskColour;
  pictures_.strips.push_back({bitmap.file(), maskColour});
  return first;
}

}  // namespace framework
