// Image lists cut their icons from the module's bitmaps.
#include "framework/image_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace framework {
namespace {

TEST(ImageListTest, MaskedBitmapIsCutIntoImagesOfTheListsWidth) {
  // A 288 x 32 BMP header: nine 32-pixel icons.
  std::vector<std::uint8_t> file(54, 0);
  file[0] = 'B';
  file[1] = 'M';
  file[14] = 40;
  file[18] = 288 & 0xFF;
  file[19] = 288 >> 8;
  file[22] = 32;
  file[28] = 4;
  const auto bitmap = Bitmap::FromFile(file);
  ASSERT_TRUE(bitmap.has_value());

  ImageList list;
  EXPECT_EQ(list.AddMasked(*bitmap, Rgb(0, 128, 0)), -1);  // not created yet
  ASSERT_TRUE(list.Create(32, 32, ImageList::kMask, 4, 4));
  EXPECT_EQ(list.AddMasked(*bitmap, Rgb(0, 128, 0)), 0);
  EXPECT_EQ(list.GetImageCount(), 9);
  EXPECT_EQ(list.maskColour(), Rgb(0, 128, 0));

  ImageList wide;
  wide.Create(300, 32, ImageList::kMask, 4, 4);
  EXPECT_EQ(wide.AddMasked(*bitmap, 0), -1);
  file[1] = 'X';
  EXPECT_FALSE(Bitmap::FromFile(file).has_value());
}

}  // namespace
}  // namespace framework
