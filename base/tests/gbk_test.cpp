#include "base/gbk.h"

#include <gtest/gtest.h>

namespace sr {
namespace {

TEST(GbkTest, RoundTripsChineseTextThroughUtf8) {
  const Text gbk = "表内人数: 5 人";  // compiled as GBK bytes
  std::string utf8;
  ASSERT_TRUE(GbkToUtf8(gbk, &utf8));
  // u8 literals stay UTF-8 whatever the execution charset is.
  EXPECT_EQ(utf8, reinterpret_cast<const char*>(u8"表内人数: 5 人"));
  Text back;
  ASSERT_TRUE(Utf8ToGbk(utf8, &back));
  EXPECT_EQ(back, gbk);
}

TEST(GbkTest, RefusesCharactersGbkCannotHoldAndNamesThem) {
  // U+1F600 (an emoji) has no GBK form.
  std::string utf8 = "ab\xF0\x9F\x98\x80" "c";
  Text gbk;
  std::string bad;
  EXPECT_FALSE(Utf8ToGbk(utf8, &gbk, &bad));
  EXPECT_EQ(bad, "\xF0\x9F\x98\x80");
  EXPECT_EQ(FromUtf8(utf8), "ab?c");
}

TEST(GbkTest, TrailByte5CIsNotASeparator) {
  // 0x955C is a GBK character whose trail byte is a backslash.
  const Text path = "a\\b\x95\x5c" "c";
  EXPECT_EQ(LastSeparator(path), 1u);
  EXPECT_EQ(LastSeparator("x/y\\z"), 3u);
  EXPECT_EQ(LastSeparator("plain"), std::string::npos);
}

TEST(GbkTest, PrefixNeverEndsInsideADoubleByteCharacter) {
  const Text text = "ab工资";  // 2 + 4 bytes
  EXPECT_EQ(CharSafePrefixLength(text, 3), 2u);
  EXPECT_EQ(CharSafePrefixLength(text, 4), 4u);
  EXPECT_EQ(CharSafePrefixLength(text, 5), 4u);
  EXPECT_EQ(CharSafePrefixLength(text, 10), 6u);
}

}  // namespace
}  // namespace sr
