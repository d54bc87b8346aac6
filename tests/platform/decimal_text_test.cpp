// Decimal text as the 32-bit C runtime of the Windows target reads it.
#include "platform/decimal_text.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(DecimalTextTest, ReadsLeadingBlanksSignAndDigitsUpToTheFirstOther) {
  EXPECT_EQ(ReadDecimal(" \t\n42abc"), 42);
  EXPECT_EQ(ReadDecimal("-17"), -17);
  EXPECT_EQ(ReadDecimal("+8I"), 8);
  EXPECT_EQ(ReadDecimal("007"), 7);
  std::size_t consumed = 99;
  EXPECT_EQ(ReadDecimal(std::string_view("  12x"), &consumed), 12);
  EXPECT_EQ(consumed, 4u);
}

TEST(DecimalTextTest, TextWithoutDigitsReadsZeroAndConsumesNothing) {
  std::size_t consumed = 99;
  EXPECT_EQ(ReadDecimal(std::string_view(" -x"), &consumed), 0);
  EXPECT_EQ(consumed, 0u);
  EXPECT_EQ(ReadDecimal(""), 0);
  EXPECT_EQ(ReadDecimal(static_cast<const char*>(nullptr)), 0);
  EXPECT_EQ(ReadDecimal("0x10"), 0);  // base 10: the "x" ends the number
}

TEST(DecimalTextTest, SaturatesAtBothThirtyTwoBitLimitsInsteadOfWrapping) {
  EXPECT_EQ(ReadDecimal("2147483647"), 2147483647);
  EXPECT_EQ(ReadDecimal("2147483648"), 2147483647);
  EXPECT_EQ(ReadDecimal("4294967299"), 2147483647);  // a 64-bit read cast to int gives 3
  EXPECT_EQ(ReadDecimal("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ReadDecimal("-2147483649"), -2147483647 - 1);
  EXPECT_EQ(ReadDecimal("-4294967293"), -2147483647 - 1);
  std::size_t consumed = 0;
  EXPECT_EQ(ReadDecimal(std::string_view("99999999999999999999999999!"), &consumed), 2147483647);
  EXPECT_EQ(consumed, 26u);
}

TEST(DecimalTextTest, TheUncutNumberTellsBothThirtyTwoBitRangesWhereTheyEnd) {
  EXPECT_EQ(ReadDecimalNumber("4294967295").value, 4294967295);
  EXPECT_GT(ReadDecimalNumber("4294967296").value, 4294967295);
  EXPECT_GT(ReadDecimalNumber("18446744073709551619").value, 4294967295);  // wraps to 3 in 64 bits
  EXPECT_LT(ReadDecimalNumber("-18446744073709551619").value, -2147483648LL);
  EXPECT_EQ(ReadDecimalNumber(" -7z").consumed, 3u);
}

}  // namespace
}  // namespace platform
