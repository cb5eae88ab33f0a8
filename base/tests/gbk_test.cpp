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

// The system's converter differs by platform (iconv, code page 936); what the program sees of it
// must not.
TEST(GbkTest, MalformedGbkIsRefusedAndLenientConversionGoesOnAfterIt) {
  std::string utf8, bad;
  EXPECT_FALSE(GbkToUtf8("ab\x81 c", &utf8, &bad)) << "a space is no trail byte";
  EXPECT_EQ(utf8, "ab");
  EXPECT_FALSE(GbkToUtf8("工\xB9", &utf8)) << "a lead byte cut off at the end";
  EXPECT_EQ(ToUtf8("工\xFF资"), reinterpret_cast<const char*>(u8"工?资"));
  EXPECT_EQ(ToUtf8("x\xB9"), "x?");
  EXPECT_EQ(FromUtf8(std::string("\xE5\xB7") + "a"), "?a") << "a cut UTF-8 sequence";
  // Far longer than any buffer of the converter, with the bad character near the end.
  const Text long_gbk = std::string(5000, 'a') + "工资" + std::string(3000, 'b') + "\xFF";
  EXPECT_FALSE(GbkToUtf8(long_gbk, &utf8));
  EXPECT_EQ(utf8.size(), 5000u + 6 + 3000);
  EXPECT_EQ(FromUtf8(ToUtf8(long_gbk)), long_gbk.substr(0, long_gbk.size() - 1) + "?");
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
