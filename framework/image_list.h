// Bitmaps from the module's resources and image lists of equal-sized icons
// cut from them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/window.h"

namespace framework {

// A device-independent bitmap as stored in a .bmp resource (LoadBitmapA).
class Bitmap {
 public:
  // Bitmap `id` of the module, or nothing when absent or unreadable.
  static std::optional<Bitmap> Load(int id);
  // The bitmap of a .bmp file's bytes (BITMAPFILEHEADER included).
  static std::optional<Bitmap> FromFile(std::span<const std::uint8_t> file);

  int width() const { return width_; }
  // The .bmp file's bytes.
  std::span<const std::uint8_t> file() const { return file_; }
  int height() const { return height_; }
  int bitsPerPixel() const { return bitsPerPixel_; }

 private:
  Bitmap(std::span<const std::uint8_t> file, int width, int height, int bitsPerPixel)
      : file_(file), width_(width), height_(height), bitsPerPixel_(bitsPerPixel) {}
  std::span<const std::uint8_t> file_;
  int width_;
  int height_;
  int bitsPerPixel_;
};

// RGB(r, g, b) as COLORREF.
constexpr std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return r | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

class ImageList {
 public:
  static constexpr unsigned kMask = 0x0001;  // ILC_MASK

  // ImageList_Create: false for a zero or negative image size.
  bool Create(int imageWidth, int imageHeight, unsigned flags, int initial, int grow);
  bool IsCreated() const { return imageWidth_ > 0; }
  // ImageList_AddMasked: cuts `bitmap` into images of the list's width, left
  // to right, with `maskColour` transparent. Returns the index of the first
  // image added, or -1 (no list, or a bitmap too small for one image).
  int AddMasked(const Bitmap& bitmap, std::uint32_t maskColour);
  int GetImageCount() const { return count_; }
  int imageWidth() const { return imageWidth_; }
  int imageHeight() const { return imageHeight_; }
  std::optional<std::uint32_t> maskColour() const { return maskColour_; }

  // What LVM_SETIMAGELIST hands the list view (a window system that draws
  // makes its own list of these pictures), and the list they are of.
  const platform::ImageListPictures* pictures() const {
    pictures_.owner = this;
    return &pictures_;
  }
  static const ImageList* FromPictures(const platform::ImageListPictures* pictures) {
    return pictures != nullptr ? static_cast<const ImageList*>(pictures->owner) : nullptr;
  }

 private:
  int imageWidth_ = 0;
  int imageHeight_ = 0;
  unsigned flags_ = 0;
  int count_ = 0;
  std::optional<std::uint32_t> maskColour_;
  mutable platform::ImageListPictures pictures_;
};

}  // namespace framework
