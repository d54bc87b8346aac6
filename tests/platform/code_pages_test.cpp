#include "platform/simulated/code_pages.h"

#include <gtest/gtest.h>

#include <string>

namespace platform::simulated {
namespace {

constexpr std::uint32_t kWesternEuropean = 1252;
constexpr std::uint32_t kCentralEuropean = 1250;
constexpr std::uint32_t kCyrillic = 1251;
constexpr std::uint32_t kGreek = 1253;
constexpr std::uint32_t kThai = 874;
constexpr std::uint32_t kJapanese = 932;
constexpr std::uint32_t kSimplifiedChinese = 936;
constexpr std::uint32_t kKorean = 949;
constexpr std::uint32_t kTraditionalChinese = 950;
constexpr std::uint32_t kUtf8 = 65001;

const std::u16string kChinese = u"无法连接";  // "cannot connect"

TEST(CodePagesTest, KnowsTheWindowsAnsiCodePagesAndUtf8) {
  for (std::uint32_t cp :
       {874u, 932u, 936u, 949u, 950u, 1250u, 1251u, 1252u, 1253u, 1254u, 1257u, 65001u}) {
    EXPECT_TRUE(IsKnownCodePage(cp)) << cp;
  }
  EXPECT_FALSE(IsKnownCodePage(12345));
  char out[8];
  EXPECT_EQ(WideToMultiByte(12345, u"abc", out, sizeof out), 0);
}

TEST(CodePagesTest, CharactersACodePageLacksBecomeQuestionMarks) {
  EXPECT_EQ(ToAnsi(kWesternEuropean, kChinese), "????");
  EXPECT_EQ(ToAnsi(kWesternEuropean, u"Caf\u00e9 \u20ac5 \u0416"),
            "Caf\xe9 \x80"
            "5 ?");
  EXPECT_EQ(ToAnsi(kCyrillic, u"\u0416\u00e9"), "\xc6?");
  // A surrogate pair is two units the table lacks.
  EXPECT_EQ(ToAnsi(kWesternEuropean, u"a\U0001F600b"), "a??b");
}

TEST(CodePagesTest, DoubleByteCodePagesEncodeTheirCharacters) {
  EXPECT_EQ(ToAnsi(kSimplifiedChinese, kChinese), "\xce\xde\xb7\xa8\xc1\xac\xbd\xd3");
  EXPECT_EQ(ToAnsi(kSimplifiedChinese, u"MFP \u8bbe\u5907"), "MFP \xc9\xe8\xb1\xb8");
  EXPECT_EQ(ToAnsi(kSimplifiedChinese, u"\u20ac"), "\x80");
  EXPECT_EQ(ToAnsi(kJapanese, u"\u65e5\u672c\uff71"), "\x93\xfa\x96\x7b\xb1");
  EXPECT_EQ(ToAnsi(kKorean, u"\ud55c"), "\xc7\xd1");
  EXPECT_EQ(ToAnsi(kTraditionalChinese, u"\u4e2d"), "\xa4\xa4");
  // Hangul is not in the Chinese code page.
  EXPECT_EQ(ToAnsi(kSimplifiedChinese, u"\ud55c!"), "?!");
}

TEST(CodePagesTest, EveryMappedCharacterRoundTrips) {
  for (std::uint32_t cp : {kWesternEuropean, kCentralEuropean, kCyrillic, kGreek, kThai}) {
    for (int byte = 1; byte < 256; ++byte) {
      const std::string one(1, static_cast<char>(byte));
      const std::u16string wide = FromAnsi(cp, one);
      ASSERT_EQ(wide.size(), 1u) << cp << " byte " << byte;
      if (wide[0] != u'?') {
        EXPECT_EQ(ToAnsi(cp, wide), one) << cp << " byte " << byte;
      }
    }
  }
  const std::u16string mixed = u"Abc \u3042\u30a2\u6f22\u5b57 \uff8a\u00a7";
  EXPECT_EQ(FromAnsi(kJapanese, ToAnsi(kJapanese, mixed)), mixed);
  EXPECT_EQ(FromAnsi(kSimplifiedChinese, ToAnsi(kSimplifiedChinese, kChinese)), kChinese);
}

TEST(CodePagesTest, UndecodableBytesBecomeQuestionMarks) {
  // C1 bytes 1252 leaves undefined pass through, as Windows' table has them.
  EXPECT_EQ(FromAnsi(kWesternEuropean, "\x81\x80"), u"\u0081\u20ac");
  // 874 has holes outside the C1 range.
  EXPECT_EQ(FromAnsi(kThai, "\xdb"), u"?");
  // A lead byte at the end, and a lead byte followed by a byte no pair takes.
  EXPECT_EQ(FromAnsi(kSimplifiedChinese, "a\xce"), u"a?");
  EXPECT_EQ(FromAnsi(kSimplifiedChinese, std::string("\xce\x00z", 3)), std::u16string(u"?\0z", 3));
  EXPECT_EQ(FromAnsi(kJapanese,
                     "\x81\x7f"
                     "A"),
            u"?A");
}

TEST(CodePagesTest, FollowsTheWin32BufferConvention) {
  char out[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(WideToMultiByte(kSimplifiedChinese, kChinese, nullptr, 0), 8);
  EXPECT_EQ(WideToMultiByte(kSimplifiedChinese, kChinese, out, sizeof out), 0);
  EXPECT_EQ(WideToMultiByte(kWesternEuropean, u"abcd", out, sizeof out), 4);
  EXPECT_EQ(std::string(out, 4), "abcd");
  EXPECT_EQ(WideToMultiByte(kWesternEuropean, u"abc", nullptr, 3), 0);
  EXPECT_EQ(WideToMultiByte(kWesternEuropean, u"abc", out, -1), 0);
  EXPECT_EQ(WideToMultiByte(kWesternEuropean, u"", out, sizeof out), 0);

  char16_t wide[2];
  EXPECT_EQ(MultiByteToWide(kSimplifiedChinese, "\xce\xde\xb7\xa8", nullptr, 0), 2);
  EXPECT_EQ(MultiByteToWide(kSimplifiedChinese, "\xce\xde\xb7\xa8", wide, 2), 2);
  EXPECT_EQ(std::u16string(wide, 2), u"无法");
  EXPECT_EQ(MultiByteToWide(kWesternEuropean, "abc", wide, 2), 0);
}

TEST(CodePagesTest, Utf8CoversAllOfUnicodeAndReplacesInvalidSequences) {
  const std::u16string text = u"a\u00e9\u20ac\U0001F600";
  EXPECT_EQ(Utf16ToUtf8(text), "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(u"\xd800x"), "\xef\xbf\xbdx");
  // One replacement per maximal ill-formed subpart.
  EXPECT_EQ(Utf8ToUtf16("\xe2\x82x"), u"\ufffdx");
  EXPECT_EQ(Utf8ToUtf16("\xc0\xaf"), u"\ufffd\ufffd");
  EXPECT_EQ(Utf8ToUtf16("\xed\xa0\x80"), u"\ufffd\ufffd\ufffd");
  EXPECT_EQ(Utf8ToUtf16("\xf4\x90\x80\x80"), u"\ufffd\ufffd\ufffd\ufffd");
  EXPECT_EQ(ToAnsi(kUtf8, kChinese), "\xe6\x97\xa0\xe6\xb3\x95\xe8\xbf\x9e\xe6\x8e\xa5");
}

}  // namespace
}  // namespace platform::simulated
