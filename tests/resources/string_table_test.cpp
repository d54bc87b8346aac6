// The string table: every text the module loads, exactly, and the RT_STRING
// blocks that LoadModuleText's block-walking form reads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"
#include "resources/resources.h"

namespace {

using resources::FindString;
using resources::FindStringBlock;
using ::testing::Optional;

constexpr int kStringsPerBlock = 16;

struct ExpectedString {
  int id;
  std::u16string_view text;
};

// The module frame's table, with its texts as quoted there.
constexpr ExpectedString kModuleTexts[] = {
    {5004, u"Scheduled time has already elapsed."},
    {5005, u"Invalid DIN.Please ensure that the DIN comprises of 5 digits (0-9)"},
    {5006, u"Invalid character"},
    {5007, u"Error"},
    {5008, u"Please enter a valid username."},
    {5009, u"Unable to start communication with the RV4410 device"},
    {5010, u"Please log in as an 'Administrator' to access this folder."},
    {5011, u"Username / Password does not exist."},
    {5012, u"The RV4410 device is not responding."},
    {5013, u"Could not get printer name."},
    {5014, u"Could not connect to the RV4410 device."},
    {5016, u"Letter (8\u00bd x 11 in)"},
    {5017, u"A4 (210 x 297 mm)"},
    {5018, u"Legal (8\u00bd x 14 in)"},
    {5020, u"Ledger (11 x 17 in)"},
    {5021, u"Folio (210 x 330 mm)"},
    {5022, u"A3 (297 x 420 mm)"},
    {5023, u"无法连接 MFP 设备"},
    {5024, u"B4 (257 x 364 mm)"},
    {5025, u"B5 (182 x 257 mm)"},
    {5026, u"Computer (10 1/8 x 14 in)"},
    {5027, u"Letter"},
    {5028, u"A4"},
    {5029, u"Legal"},
    {5030, u"Ledger"},
    {5031, u"Folio"},
    {5032, u"A3"},
    {5033, u"B4"},
    {5034, u"B5"},
    {5035, u"Computer"},
    {12007, u"&Size:"},
    {12008, u"Please select the Size of Paper in the Paper Inserter Unit."},
    {12009, u"Face inserted paper against the printed page"},
    {12011, u"Bitmap addition  into Image List Failure."},
    {12012, u"Failure"},
    {12022, u"Welcome..."},
    {12023, u"Please Wait..."},
    {12024, u"HubSquareComposer Login"},
    {12025, u"无效的部门代码"},
    {12026,
     u"您没有输入一个正确的五位数字的部门代码。请现在输入。\n\n按\"继续\"打印，或者按\"中止\"取消作"
     u"业。"},
    {12027, u"部门代码(&D):"},
    {12028, u"继续(&C)"},
    {12029, u"中止(&A)"},
    {12030, u"无效的密码"},
    {12031, u"请输入正确的密码!"},
    {12032, u"密码:"},
    {12033, u"确定"},
    {12034, u"取消"},
};

// The tab printing texts, and the framework's data exchange messages.
constexpr ExpectedString kTabAndFrameworkTexts[] = {
    {11050, u"Insert Before"},
    {11051, u"Use For"},
    {12001, u"Bypass Feeder"},
    {12003, u"mm"},
    {12004, u"inches"},
    {12010, u"Lower Drawer"},
    {12013, u"Page numbers sorted"},
    {12014, u"Page numbers left blank"},
    {12015, u"Warning"},
    {12016, u"Invalid value"},
    {12017, u"Tab"},
    {12018, u"Bank"},
    {61712, u"Enter an integer."},
    {61713, u"Enter a number."},
    {61714, u"Enter an integer between %1 and %2."},
    {61715, u"Enter a number between %1 and %2."},
    {61716, u"Enter no more than %1 characters."},
};

// Reads entry `id & 15` out of a stored block as LoadModuleText does.
std::optional<std::u16string> StringFromBlock(std::span<const std::uint16_t> block, int id) {
  std::size_t pos = 0;
  for (int index = 0; index < kStringsPerBlock; ++index) {
    if (pos >= block.size()) return std::nullopt;
    const std::size_t length = block[pos++];
    if (pos + length > block.size()) return std::nullopt;
    if (index == (id & 15))
      return std::u16string(block.begin() + pos, block.begin() + pos + length);
    pos += length;
  }
  return std::nullopt;
}

TEST(StringTable, HoldsEveryTextOfTheModuleFrameExactly) {
  for (const auto& [id, text] : kModuleTexts) {
    EXPECT_THAT(FindString(id), Optional(text)) << "string " << id;
  }
}

TEST(StringTable, HoldsTheTabPrintingTextsAndFrameworkMessages) {
  for (const auto& [id, text] : kTabAndFrameworkTexts) {
    EXPECT_THAT(FindString(id), Optional(text)) << "string " << id;
  }
}

TEST(StringTable, NamedIdsMatchTheirNumbers) {
  EXPECT_EQ(IDS_STR_TAB_INSERTBEFORE, 11050);
  EXPECT_EQ(IDS_STR_TAB_USEFOR, 11051);
  EXPECT_EQ(IDS_STR_ERROR, 5007);
  EXPECT_EQ(IDS_STR_NO_DEVICE_CONNECTION, 5023);
  EXPECT_EQ(IDS_STR_DEPT_CODE_TITLE, 12025);
  EXPECT_EQ(IDS_STR_DDX_TEXT_LIMIT, 61716);
}

TEST(StringTable, ReservedIdsAreEmptyAndUnlistedIdsAbsent) {
  EXPECT_THAT(FindString(12035), Optional(std::u16string_view{}));
  EXPECT_THAT(FindString(12037), Optional(std::u16string_view{}));
  for (int absent : {0, 5000, 5015, 5019, 12002, 12036, 61440, 61717}) {
    EXPECT_EQ(FindString(absent), std::nullopt) << "string " << absent;
  }
}

TEST(StringBlocks, EachBlockHoldsSixteenCountedEntries) {
  for (int blockNumber : {(5004 >> 4) + 1, (12026 >> 4) + 1, (61712 >> 4) + 1}) {
    const auto block = FindStringBlock(blockNumber);
    ASSERT_FALSE(block.empty()) << "block " << blockNumber;
    std::size_t pos = 0;
    for (int index = 0; index < kStringsPerBlock; ++index) {
      ASSERT_LT(pos, block.size());
      pos += 1 + block[pos];
    }
    EXPECT_EQ(pos, block.size()) << "block " << blockNumber << " has trailing units";
  }
}

TEST(StringBlocks, GiveTheSameTextAsTheTableForEveryId) {
  std::vector<ExpectedString> all(std::begin(kModuleTexts), std::end(kModuleTexts));
  all.insert(all.end(), std::begin(kTabAndFrameworkTexts), std::end(kTabAndFrameworkTexts));
  for (const auto& [id, text] : all) {
    EXPECT_THAT(StringFromBlock(FindStringBlock((id >> 4) + 1), id), Optional(std::u16string(text)))
        << "string " << id;
  }
}

TEST(StringBlocks, StoreTextsAsUtf16UnitsWithTheirLength) {
  // 5023 is entry 15 of block 314 (ids 5008-5023): "无法连接 MFP 设备" is 11 units.
  const auto block = FindStringBlock(314);
  const auto text = StringFromBlock(block, 5023);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->size(), 11u);
  EXPECT_EQ((*text)[0], 0x65E0);
}

TEST(StringBlocks, GapsInABlockAreZeroLengthEntries) {
  // Block 314 has no 5015 and 5019.
  const auto block = FindStringBlock(314);
  EXPECT_THAT(StringFromBlock(block, 5015), Optional(std::u16string{}));
  EXPECT_THAT(StringFromBlock(block, 5019), Optional(std::u16string{}));
}

TEST(StringBlocks, BlocksWithoutStringsAreAbsent) {
  EXPECT_TRUE(FindStringBlock(1).empty());
  EXPECT_TRUE(FindStringBlock((5004 >> 4)).empty());
  EXPECT_TRUE(FindStringBlock((61712 >> 4) + 2).empty());
}

}  // namespace
