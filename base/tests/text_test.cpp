#include "base/text.h"

#include <gtest/gtest.h>

namespace sr {
namespace {

TEST(ConcatTest, JoinsInOrder) {
  EXPECT_EQ(Concat({"表内", "", "人数", ": 5"}), "表内人数: 5");
  EXPECT_EQ(Concat({}), "");
}

TEST(CompareTextTest, ComparesUnsignedBytes) {
  EXPECT_EQ(CompareText("abc", "abc"), 0);
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_EQ(CompareText("abc", "abd"), -1);
  EXPECT_EQ(CompareText("abd", "abc"), 1);
  EXPECT_EQ(CompareText("ab", "abc"), -1);
  EXPECT_EQ(CompareText("abc", ""), 1);
  EXPECT_EQ(CompareText("z", "工"), -1);  // 0xB9 is above 'z' as an unsigned byte
  EXPECT_EQ(CompareText("工", "z"), 1);
}

}  // namespace
}  // namespace sr
