// GBK <-> UTF-16 through code page 936: what the Windows seams rely on when they hand texts to
// the system and take them back.
#include "platform/win32/text/wide_text.h"

#include <gtest/gtest.h>

namespace sr::win32 {
namespace {

TEST(WideText, RoundTripsChineseAsciiAndTrailBackslash) {
  // "淺" ends in 0x5C, the byte of a backslash: it must stay one character.
  const std::string gbk = "工资表 A-1 淺.dat";
  const std::optional<std::wstring> wide = GbkToWide(gbk);
  ASSERT_TRUE(wide.has_value());
  EXPECT_EQ(*wide, L"\u5de5\u8d44\u8868 A-1 \u6dfa.dat");
  EXPECT_EQ(WideToGbk(*wide), gbk);
  EXPECT_EQ(GbkToWide(""), std::wstring());
  EXPECT_EQ(WideToGbk(L""), std::string());
}

TEST(WideText, RefusesWhatTheOtherSideCannotHold) {
  EXPECT_FALSE(GbkToWide("\xB9").has_value()) << "a lead byte without its trail";
  EXPECT_FALSE(GbkToWide("ab\x81\x20").has_value()) << "0x20 is no trail byte";
  // No best fit: "ñ" (U+00F1) and a Hangul syllable must not turn into '?' or a look-alike.
  EXPECT_FALSE(WideToGbk(L"ma\u00f1ana").has_value());
  EXPECT_FALSE(WideToGbk(L"\uAC00").has_value());
  EXPECT_FALSE(WideToGbk(L"\U0001F600").has_value());
  // The euro sign is the single byte 0x80 in code page 936; "é" is a pinyin letter of GBK.
  EXPECT_EQ(WideToGbk(L"\u20ac"), std::string("\x80"));
  EXPECT_EQ(WideToGbk(L"\u00e9"), std::string("\xA8\xA6"));
}

TEST(WideText, Utf8SideRefusesMalformedSequencesAndLoneSurrogates) {
  EXPECT_EQ(Utf8ToWide("\xE5\xB7\xA5"), std::wstring(L"\u5de5"));
  EXPECT_EQ(WideToUtf8(L"\U0001F600"), std::string("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(Utf8ToWide("\xE5\xB7").has_value()) << "cut off";
  EXPECT_FALSE(Utf8ToWide("\xC0\xAF").has_value()) << "an overlong '/'";
  EXPECT_FALSE(WideToUtf8(std::wstring(1, wchar_t{0xD800})).has_value());
}

}  // namespace
}  // namespace sr::win32
