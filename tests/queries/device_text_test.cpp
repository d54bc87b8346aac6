// Device text conversion: the tables' contents and counts, each converter's
// sample characters and its capacity rules, and the choice by code page.
#include "queries/device_text.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/simulated/simulated_machine.h"
#include "queries/device_text_tables.h"

namespace queries {
namespace {

using Bytes = std::vector<unsigned char>;
using Converter = int (*)(unsigned, const char16_t*, unsigned, unsigned*, char*);

constexpr unsigned kNameBytes = 260;
constexpr unsigned char kUntouched = 0xCC;

struct Output {
  int result = -1;
  unsigned count = 0;
  Bytes bytes;  // the whole buffer, beyond the count too
};

Output RunConverter(Converter convert, std::u16string_view text, unsigned capacity) {
  Output out;
  out.bytes.assign(capacity + 4, kUntouched);
  out.count = 12345;
  out.result = convert(static_cast<unsigned>(text.size() * 2), text.data(), capacity, &out.count,
                       reinterpret_cast<char*>(out.bytes.data()));
  return out;
}

Bytes Converted(Converter convert, std::u16string_view text) {
  const Output out = RunConverter(convert, text, kNameBytes);
  EXPECT_EQ(out.result, 1);
  return Bytes(out.bytes.begin(), out.bytes.begin() + out.count);
}

Bytes Iso(unsigned part, std::u16string_view text) {
  std::array<char, kNameBytes> buffer{};
  int count = -1;
  EXPECT_EQ(ConvertToIso8859(part, static_cast<unsigned>(text.size() * 2), text.data(), kNameBytes,
                             &count, buffer.data()),
            1);
  return Bytes(buffer.begin(), buffer.begin() + count);
}

std::size_t FlatCount(const std::uint16_t* table) {
  std::size_t count = 0;
  for (std::size_t unit = 0; unit < kFlatTableSize; ++unit) count += table[unit] != 0 ? 1 : 0;
  return count;
}

std::uint16_t Paged(const std::uint16_t* const* pages, char16_t unit) {
  return pages[unit >> 8] != nullptr ? pages[unit >> 8][unit & 0xFF] : 0;
}

// Row-and-cell codes (both bytes 21-7E) that the table gives some unit.
std::size_t JisCodeCount(const std::uint16_t* const* pages) {
  std::array<bool, 0x10000> seen{};
  std::size_t count = 0;
  for (unsigned unit = 0; unit < kFlatTableSize; ++unit) {
    const std::uint16_t code = Paged(pages, static_cast<char16_t>(unit));
    if (code >= 0x2121 && !seen[code]) {
      seen[code] = true;
      ++count;
    }
  }
  return count;
}

TEST(DeviceTextTables, HoldTheExpectedNumberOfMappings) {
  EXPECT_EQ(FlatCount(kCp936Table), kCp936MappingCount);
  EXPECT_EQ(FlatCount(kCp949Table), kCp949MappingCount);
  EXPECT_EQ(FlatCount(kCp950Table), kCp950MappingCount);
  EXPECT_EQ(JisCodeCount(kJisX0208Table), kJisX0208MappingCount);
  EXPECT_EQ(JisCodeCount(kJisX0212Table), kJisX0212MappingCount);
}

TEST(DeviceTextTables, FollowTheCodePagesRules) {
  // 936: inside A1A1-F7FE, nothing below U+2000, the two punctuation marks.
  for (std::size_t unit = 0; unit < kFlatTableSize; ++unit) {
    const std::uint16_t code = kCp936Table[unit];
    if (code == 0) continue;
    ASSERT_GE(unit, 0x2000u);
    ASSERT_TRUE(code >> 8 >= 0xA1 && code >> 8 <= 0xF7 && (code & 0xFF) >= 0xA1) << unit;
  }
  EXPECT_EQ(kCp936Table[0x2015], 0xA1AA);
  EXPECT_EQ(kCp936Table[0x30FB], 0xA1A4);
  EXPECT_EQ(kCp936Table[0x2170], 0xA2A1);
  EXPECT_EQ(kCp936Table[0xE000], 0xAAA1);
  EXPECT_EQ(kCp936Table[0xE766], 0xA2AB);
  EXPECT_EQ(kCp936Table[0xE814], 0xD7FE);
  // 949 leaves out the euro and registered signs; 950 the code page's own
  // additions, and has U+FFFD at A15A.
  EXPECT_EQ(kCp949Table[0x20AC], 0);
  EXPECT_EQ(kCp949Table[0x00AE], 0);
  EXPECT_EQ(kCp950Table[0x20AC], 0);
  EXPECT_EQ(kCp950Table[0x2554], 0);  // F9F9 in code page 950 only
  EXPECT_EQ(kCp950Table[0xFFFD], 0xA15A);
  // Both code points of the characters 932 maps elsewhere.
  const std::array<std::array<char16_t, 2>, 8> twins{{{0x005C, 0xFF3C},
                                                      {0x00A2, 0xFFE0},
                                                      {0x00A3, 0xFFE1},
                                                      {0x00AC, 0xFFE2},
                                                      {0x2014, 0x2015},
                                                      {0x2016, 0x2225},
                                                      {0x2212, 0xFF0D},
                                                      {0x301C, 0xFF5E}}};
  for (const auto& [standard, windows] : twins) {
    EXPECT_NE(Paged(kJisX0208Table, standard), 0) << static_cast<int>(standard);
    EXPECT_EQ(Paged(kJisX0208Table, standard), Paged(kJisX0208Table, windows))
        << static_cast<int>(standard);
  }
  EXPECT_EQ(Paged(kJisX0208Table, 0xFF61), 0x21);
  EXPECT_EQ(Paged(kJisX0208Table, 0xFF9F), 0x5F);
  for (unsigned unit = 0x80; unit < kFlatTableSize; ++unit) {
    ASSERT_FALSE(Paged(kJisX0208Table, static_cast<char16_t>(unit)) != 0 &&
                 Paged(kJisX0212Table, static_cast<char16_t>(unit)) != 0)
        << unit;
  }
  // Slots 0, 3 and 4 are empty.
  for (unsigned slot : {0u, 3u, 4u}) {
    for (std::size_t page = 0; page < kIso8859PageCount; ++page) {
      EXPECT_EQ(kIso8859Tables[slot][page], nullptr);
    }
  }
}

TEST(DeviceTextConverters, FlatTablesGiveTheirDoubleByteCodes) {
  EXPECT_EQ(Converted(ConvertToCp936, u"\u554A"), (Bytes{0xB0, 0xA1}));
  EXPECT_EQ(Converted(ConvertToCp936, u"\u00E9"), (Bytes{0x00, 0x00}));  // unmapped: two zeros
  EXPECT_EQ(Converted(ConvertToCp949, u"\uAC00"), (Bytes{0xB0, 0xA1}));
  EXPECT_EQ(Converted(ConvertToCp949, u"\uAC02"), (Bytes{0x81, 0x41}));
  EXPECT_EQ(Converted(ConvertToCp950, u"\u4E00"), (Bytes{0xA4, 0x40}));
  EXPECT_EQ(Converted(ConvertToCp936, std::u16string_view(u"A\u554A\0B", 4)),
            (Bytes{0x41, 0xB0, 0xA1, 0x00, 0x42}));
}

TEST(DeviceTextConverters, ShiftJisTransformsBothJapaneseTables) {
  EXPECT_EQ(Converted(ConvertToShiftJis, u"\u3042"), (Bytes{0x82, 0xA0}));
  EXPECT_EQ(Converted(ConvertToShiftJis, u"\u4E00"), (Bytes{0x88, 0xEA}));
  EXPECT_EQ(Converted(ConvertToShiftJis, u"\uFF76"), (Bytes{0xB6}));
  EXPECT_EQ(Converted(ConvertToShiftJis, u"\uFF61\uFF9F\uFF60"), (Bytes{0xA1, 0xDF, 0xA0}));
  EXPECT_EQ(Converted(ConvertToShiftJis, u"A"), (Bytes{0x41}));
  // Both code points of a twin give the same bytes (the wave dash: 81 60).
  EXPECT_EQ(Converted(ConvertToShiftJis, u"\u301C\uFF5E"), (Bytes{0x81, 0x60, 0x81, 0x60}));
  // A JIS X 0212 character (U+4E02 is 3021) takes the same row and cell.
  EXPECT_EQ(Converted(ConvertToShiftJis, u"\u4E02"), (Bytes{0x88, 0x9F}));
  // In neither table (Hangul): the substitute's bytes.
  EXPECT_EQ(Converted(ConvertToShiftJis, u"\uAC00"), (Bytes{0x01, 0x2C}));
}

TEST(DeviceTextConverters, StopWhenTheNextCharacterDoesNotFit) {
  for (Converter convert : {ConvertToCp936, ConvertToCp949, ConvertToCp950, ConvertToShiftJis}) {
    const Output out = RunConverter(convert, u"\u554A", 1);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.count, 0u);
    EXPECT_EQ(out.bytes[0], kUntouched);
  }
  // The count keeps what was written; nothing beyond the capacity.
  const Output partial = RunConverter(ConvertToCp936, u"AB\u554A", 3);
  EXPECT_EQ(partial.result, 0);
  EXPECT_EQ(partial.count, 2u);
  EXPECT_EQ(partial.bytes[2], kUntouched);
  const Output exact = RunConverter(ConvertToShiftJis, u"A\u3042\uFF76", 4);
  EXPECT_EQ(exact.result, 1);
  EXPECT_EQ(exact.count, 4u);
  EXPECT_EQ(exact.bytes[4], kUntouched);
}

TEST(DeviceTextConverters, Iso8859DropsWhatThePartLacks) {
  EXPECT_EQ(Iso(1, u"\u00E9"), (Bytes{0xE9}));
  EXPECT_EQ(Iso(1, u"\u0104"), Bytes{});
  EXPECT_EQ(Iso(2, u"\u0104"), (Bytes{0xA1}));
  EXPECT_EQ(Iso(5, u"\u0410"), (Bytes{0xB0}));
  EXPECT_EQ(Iso(5, u"\u2116"), (Bytes{0xF0}));  // a page beyond Latin
  for (unsigned part : {1u, 2u, 5u}) EXPECT_EQ(Iso(part, u"\u3042"), Bytes{}) << part;
  EXPECT_EQ(Iso(1, u"a\u0085\u0104b"), (Bytes{'a', 0x85, 'b'}));
}

TEST(DeviceTextConverters, Iso8859RefusesEmptySlotsAndShortCapacity) {
  const std::u16string_view text = u"abcd";
  std::array<char, 8> out{};
  for (unsigned part : {0u, 3u, 4u, 6u, 100u}) {
    int count = 77;
    EXPECT_EQ(ConvertToIso8859(part, 8, text.data(), 8, &count, out.data()), 0) << part;
    EXPECT_EQ(count, 77);  // refused before the count is set
  }
  int count = 77;
  EXPECT_EQ(ConvertToIso8859(1, 8, text.data(), 3, &count, out.data()), 0);
  EXPECT_EQ(ConvertToIso8859(1, 8, text.data(), 4, &count, out.data()), 1);
  EXPECT_EQ(count, 4);
}

class DeviceTextByCodePage : public ::testing::Test {
 protected:
  void UseCodePage(unsigned codePage) {
    machine_.reset();
    char value[16];
    std::snprintf(value, sizeof value, "%08x", codePage);
    machine_ = std::make_unique<platform::simulated::ScopedMachine>(
        platform::simulated::SimulatedMachine::FromRegistryLines(
            std::string("[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:") +
            value + "\n"));
  }

  Bytes Convert(std::u16string_view text) {
    std::array<char, kNameBytes> out{};
    unsigned count = 0;
    EXPECT_EQ(ConvertDeviceText(text.data(), static_cast<unsigned>(text.size() * 2), out.data(),
                                kNameBytes, &count),
              1);
    return Bytes(out.begin(), out.begin() + count);
  }

  std::unique_ptr<platform::simulated::ScopedMachine> machine_;
};

TEST_F(DeviceTextByCodePage, PicksTheConverterOfTheAnsiCodePage) {
  const std::u16string_view text = u"\u554A\u3042";
  UseCodePage(936);
  EXPECT_EQ(Convert(text), (Bytes{0xB0, 0xA1, 0xA4, 0xA2}));
  UseCodePage(950);
  EXPECT_EQ(Convert(u"\u4E00"), (Bytes{0xA4, 0x40}));
  UseCodePage(932);
  EXPECT_EQ(Convert(text), (Bytes{0x8B, 0x78, 0x82, 0xA0}));  // U+554A from JIS X 0212
  UseCodePage(949);
  EXPECT_EQ(Convert(u"\uAC02"), (Bytes{0x81, 0x41}));
  UseCodePage(1251);  // every other code page: ISO 8859-1
  EXPECT_EQ(Convert(u"\u00E9\u0410"), (Bytes{0xE9}));
}

TEST_F(DeviceTextByCodePage, AWholeNameBufferAlwaysFits) {
  UseCodePage(1252);
  std::array<char16_t, kNameBytes / 2> name{};
  name[0] = u'A';
  name[1] = u'B';
  std::array<char, kNameBytes> out{};
  out.fill('x');
  unsigned count = 0;
  EXPECT_EQ(ConvertDeviceText(name.data(), kNameBytes, out.data(), kNameBytes, &count), 1);
  EXPECT_EQ(count, kNameBytes / 2);
  EXPECT_EQ(out[0], 'A');
  EXPECT_EQ(out[1], 'B');
  EXPECT_EQ(out[2], '\0');
  EXPECT_EQ(out[count], 'x');
  UseCodePage(936);
  name.fill(u'\u554A');
  EXPECT_EQ(ConvertDeviceText(name.data(), kNameBytes, out.data(), kNameBytes, &count), 1);
  EXPECT_EQ(count, kNameBytes);
}

// ASCII runs are copied in blocks: whatever the mix and the room, every code
// page's output matches converting the same text one unit at a time.
TEST_F(DeviceTextByCodePage, RunsOfAsciiConvertAsUnitByUnit) {
  std::mt19937 random(1234);
  const auto pick = [&](unsigned below) {
    return std::uniform_int_distribution<unsigned>(0, below - 1)(random);
  };
  for (const unsigned codePage : {936u, 950u, 932u, 949u, 1252u}) {
    UseCodePage(codePage);
    for (int trial = 0; trial < 400; ++trial) {
      std::u16string text;
      while (text.size() < pick(140)) {
        if (pick(3) == 0) {
          text += static_cast<char16_t>(0x80 + pick(0x10000 - 0x80));
        } else {
          for (unsigned run = pick(24); run > 0; --run) text += static_cast<char16_t>(pick(0x80));
        }
      }
      const unsigned units = static_cast<unsigned>(text.size());
      const unsigned capacity = pick(3) == 0 ? pick(2 * units + 1) : 2 * units;

      Bytes expected(capacity + 4, kUntouched);
      unsigned expectedCount = 0;
      int expectedResult = 1;
      const bool refused = codePage == 1252 && capacity < units;
      for (unsigned i = 0; i < units && !refused; ++i) {
        unsigned written = 0;
        if (!ConvertDeviceText(&text[i], 2, reinterpret_cast<char*>(&expected[expectedCount]),
                               capacity - expectedCount, &written)) {
          expectedResult = 0;
          expectedCount += written;
          break;
        }
        expectedCount += written;
      }
      if (refused) expectedResult = 0;

      Bytes actual(capacity + 4, kUntouched);
      unsigned count = refused ? expectedCount : 99999;
      const int result = ConvertDeviceText(
          text.data(), units * 2, reinterpret_cast<char*>(actual.data()), capacity, &count);
      ASSERT_EQ(result, expectedResult) << codePage << " trial " << trial;
      ASSERT_EQ(count, expectedCount) << codePage << " trial " << trial;
      ASSERT_EQ(actual, expected) << codePage << " trial " << trial;
    }
  }
}

}  // namespace
}  // namespace queries
