#include "runtime/automation/cell_reference.h"

#include <gtest/gtest.h>

namespace sr {
namespace {

TEST(ColumnLetterTest, FollowsTheTableOfSeventyFourColumns) {
  EXPECT_EQ(ColumnLetter(1), "a");
  EXPECT_EQ(ColumnLetter(2), "b");
  EXPECT_EQ(ColumnLetter(22), "v");
  EXPECT_EQ(ColumnLetter(26), "z");
  EXPECT_EQ(ColumnLetter(27), "aa");
  EXPECT_EQ(ColumnLetter(52), "az");
  EXPECT_EQ(ColumnLetter(53), "ba");
  EXPECT_EQ(ColumnLetter(74), "bv");
  EXPECT_EQ(ColumnLetter(75), "");
  EXPECT_EQ(ColumnLetter(0), "");
  EXPECT_EQ(ColumnLetter(-1), "");
  EXPECT_EQ(CellReference(2, 12), "b12");
  EXPECT_EQ(CellReference(22, 5001), "v5001");
  EXPECT_EQ(CellReference(75, 1), "1");
}

}  // namespace
}  // namespace sr
