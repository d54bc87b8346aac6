// Column walks: what belongs to a column, and that every walk ends.
#include "device/table_walk.h"

#include <gtest/gtest.h>

namespace device {
namespace {

constexpr char kColumn[] = "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3";

Snmp_pp::Vb Answer(const char* oid) { return Snmp_pp::Vb(Snmp_pp::Oid(oid)); }

TEST(TableWalkTest, AColumnHoldsOnlyIdentifiersBelowItsOwnFollowedByADot) {
  EXPECT_TRUE(IsInColumn("1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3.1", kColumn));
  EXPECT_FALSE(IsInColumn("1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.30.1", kColumn));
  EXPECT_FALSE(IsInColumn("1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3", kColumn));
  EXPECT_FALSE(IsInColumn("1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3.", kColumn));
  EXPECT_FALSE(IsInColumn("9.1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3.1", kColumn));
}

TEST(TableWalkTest, RowsAdvanceTheWalkAndTheNextColumnEndsIt) {
  ColumnWalk walk(kColumn);
  EXPECT_STREQ(walk.next(), kColumn);
  EXPECT_EQ(walk.Take(Answer("1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3.1")), WalkStep::kRow);
  EXPECT_EQ(walk.Take(Answer("1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3.7")), WalkStep::kRow);
  EXPECT_STREQ(walk.next(), "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3.7");
  EXPECT_EQ(walk.Take(Answer("1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.30.1")), WalkStep::kEnd);
  EXPECT_EQ(walk.rows(), 2);
}

TEST(TableWalkTest, AnIdentifierThatDoesNotIncreaseFailsTheWalk) {
  ColumnWalk walk(kColumn);
  ASSERT_EQ(walk.Take(Answer("1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3.5")), WalkStep::kRow);
  EXPECT_EQ(walk.Take(Answer("1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3.5")), WalkStep::kFailed);
  EXPECT_EQ(walk.Take(Answer("1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3.2")), WalkStep::kFailed);
  EXPECT_EQ(walk.rows(), 1);
}

TEST(TableWalkTest, AWalkEndsAsAFailureBeyondTheRowLimit) {
  ColumnWalk walk(kColumn);
  const std::string column(kColumn);
  for (int row = 1; row <= kMaxTableRows; ++row) {
    ASSERT_EQ(walk.Take(Answer((column + "." + std::to_string(row)).c_str())), WalkStep::kRow);
  }
  EXPECT_EQ(walk.Take(Answer((column + ".99999999").c_str())), WalkStep::kFailed);
}

}  // namespace
}  // namespace device
