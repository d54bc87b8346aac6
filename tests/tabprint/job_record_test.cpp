// The tab list and image shift texts exchanged with the driver.
#include "tabprint/job_record.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tabprint {
namespace {

std::string Pages(const std::vector<TabEntry>& entries) {
  std::string text;
  for (const TabEntry& entry : entries) {
    text += std::to_string(entry.page) + (entry.insertBefore ? "I " : " ");
  }
  return text;
}

TEST(TabListTextTest, EntriesAreReadAsTheDriverWritesThem) {
  EXPECT_EQ(Pages(ReadTabList("3I,5,12I")), "3I 5 12I ");
  EXPECT_EQ(Pages(ReadTabList("5,,9")), "5 0 9 ");  // an empty entry is a blank row
  // "I" anywhere marks the entry, whose last character then goes.
  EXPECT_EQ(Pages(ReadTabList("I4,45I7,x")), "0I 45I 0 ");
  std::string many;
  for (int page = 1; page <= 90; ++page) many += std::to_string(page) + ",";
  const std::vector<TabEntry> entries = ReadTabList(many);
  ASSERT_EQ(entries.size(), 80u);
  EXPECT_EQ(entries.back().page, 80);
}

TEST(TabListTextTest, AListTooLongForTheCallersBufferEndsOnAWholeEntry) {
  std::array<char, 12> out{};
  out.fill('#');
  CopyTabList("1001,1002I,1003", out.data(), 11);
  EXPECT_STREQ(out.data(), "1001,1002I");
  EXPECT_EQ(out[11], '#');
  CopyTabList("123456789012", out.data(), 11);
  EXPECT_STREQ(out.data(), "");
  EXPECT_EQ(TabListCapacity(nullptr), kTabListSize);
  EXPECT_EQ(TabListCapacity(std::string(600, '1').c_str()), 601u);
}

TEST(ImageShiftTextTest, IsWrittenInItsUnitThenInMicrometresInSinglePrecision) {
  std::array<char, kImageShiftSize + 1> out{};
  out.fill('#');
  FormatImageShift(0.507f, kInches, out.data());
  EXPECT_STREQ(out.data(), "0.507in,13000.001");
  FormatImageShift(0.5f, kInches, out.data());
  EXPECT_STREQ(out.data(), "0.500in,12820.513");
  FormatImageShift(30.0f, kMillimetres, out.data());
  EXPECT_STREQ(out.data(), "30.000mm,30000.000");  // the longest: 18 characters
  FormatImageShift(1.19f, kInches, out.data());
  EXPECT_STREQ(out.data(), "1.190in,30000.000");  // capped at 30 mm
  EXPECT_EQ(out[kImageShiftSize], '#');
}

}  // namespace
}  // namespace tabprint
