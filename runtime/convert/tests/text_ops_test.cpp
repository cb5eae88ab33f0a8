#include <gtest/gtest.h>

#include "runtime/convert/conversions.h"

namespace sr {
namespace {

TEST(FindTextTest, ReturnsOneBasedBytePositions) {
  EXPECT_EQ(FindText("工资(免税)", "(免税)"), 5);
  EXPECT_EQ(FindText("abcabc", "c"), 3);
  EXPECT_EQ(FindText("abcabc", "c", 4), 6);
  EXPECT_EQ(FindText("abcabc", "c", -3), 3);  // below 1 counts as 1
  EXPECT_EQ(FindText("abcabc", "x"), -1);
  EXPECT_EQ(FindText("abc", "c", 4), -1);  // start past the end
  EXPECT_EQ(FindText("", ""), -1);
  EXPECT_EQ(FindText("abc", "abcd"), -1);
}

TEST(FindTextTest, NeverMatchesInsideADoubleByteCharacter) {
  // 工资 is B9 A4 D7 CA; A4 D7 lies across the boundary of the two characters.
  EXPECT_EQ(FindText("工资", "\xA4\xD7"), -1);
  // 0x955C and 0x8161 have ASCII trail bytes ('\' and 'a').
  EXPECT_EQ(FindText("\x95\x5C"
                     "x\\",
                     "\\"),
            4);
  EXPECT_EQ(FindText("\x81\x61"
                     "A",
                     "a", 1, true),
            3);
  // A start on a trail byte moves on to the next character.
  EXPECT_EQ(FindText("\x81\x61"
                     "a",
                     "a", 2),
            3);
  EXPECT_EQ(FindText("工资工资", "资", 2), 3);
}

TEST(FindTextTest, IgnoresCaseOfAsciiLettersOnly) {
  EXPECT_EQ(FindText("Total SUM", "sum", 1, true), 7);
  EXPECT_EQ(FindText("Total SUM", "sum"), -1);
  // 0x8141 and 0x8161 differ only in a trail byte that looks like a letter: different characters.
  EXPECT_EQ(FindText("\x81\x41", "\x81\x61", 1, true), -1);
}

TEST(ReplaceTextTest, ReplacesEveryOccurrence) {
  EXPECT_EQ(ReplaceText("A(免税)B(免税)", "(免税)"), "AB");
  EXPECT_EQ(ReplaceText("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceText("x-y-z", "-", "--"), "x--y--z");
  EXPECT_EQ(ReplaceText("abc", "abcd", "q"), "abc");
}

TEST(ReplaceTextTest, HonoursStartCountAndCase) {
  EXPECT_EQ(ReplaceText("a-b-c-d", "-", "+", 1, 2), "a+b+c-d");
  EXPECT_EQ(ReplaceText("a-b-c-d", "-", "+", 3), "a-b+c+d");
  EXPECT_EQ(ReplaceText("a-b", "-", "+", 1, 0), "a-b");
  EXPECT_EQ(ReplaceText("a-b", "-", "+", 9), "a-b");
  EXPECT_EQ(ReplaceText("Tax tax TAX", "tax", "x", 1, -1, false), "x x x");
  EXPECT_EQ(ReplaceText("Tax tax TAX", "tax", "x"), "Tax x TAX");
  EXPECT_EQ(ReplaceText("", "a", "b"), "");
  EXPECT_EQ(ReplaceText("abc", "", "b"), "abc");
}

TEST(ReplaceTextTest, StepsOverWholeCharacters) {
  EXPECT_EQ(ReplaceText("工资", "\xA4\xD7", "-"), "工资");
  EXPECT_EQ(ReplaceText("\x95\x5C\\", "\\", "/"), "\x95\x5C/");
  // A start on a trail byte leaves that character whole.
  EXPECT_EQ(ReplaceText("\x95\x5C\\", "\\", "/", 2), "\x95\x5C/");
  // A lead byte at the very end is copied as it is.
  EXPECT_EQ(ReplaceText("a-\xB9", "-", ""), "a\xB9");
}

}  // namespace
}  // namespace sr
