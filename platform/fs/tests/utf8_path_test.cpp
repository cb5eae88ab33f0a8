#include "platform/fs/utf8_path.h"

#include <gtest/gtest.h>

namespace sr::fs {
namespace {

const char* U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(Utf8PathTest, BackslashSeparatesButTrailByte5CDoesNot) {
  std::string utf8;
  // "\x95\x5c" is one GBK character (U+661E) whose trail byte is a backslash.
  ASSERT_EQ(ToUtf8Path("dir\\sub/\x95\x5c"
                       "a.dat",
                       &utf8),
            kOk);
  EXPECT_EQ(utf8, std::string("dir/sub/") + U8(u8"昞") + "a.dat");
  ASSERT_EQ(ToUtf8Path("工资\\2013.dat", &utf8), kOk);
  EXPECT_EQ(utf8, std::string(U8(u8"工资")) + "/2013.dat");
}

TEST(Utf8PathTest, RefusesNamesThatAreNotPaths) {
  std::string utf8 = "untouched";
  EXPECT_EQ(ToUtf8Path("", &utf8), kBadPath);
  EXPECT_EQ(ToUtf8Path(std::string("a\0b", 3), &utf8), kBadPath);  // would open "a"
  EXPECT_EQ(ToUtf8Path("name\x95", &utf8), kBadPath);              // a lead byte without its trail
  EXPECT_EQ(utf8, "untouched");
}

TEST(Utf8PathTest, ConvertsNativeNamesBackOnlyWhenGbkHoldsThem) {
  Path gbk;
  ASSERT_EQ(FromUtf8Path(std::string("/tmp/") + U8(u8"昞") + ".dat", &gbk), kOk);
  EXPECT_EQ(gbk, "/tmp/\x95\x5c.dat");
  EXPECT_EQ(FromUtf8Path("/tmp/\xF0\x9F\x98\x80", &gbk), kBadPath);  // an emoji
  EXPECT_EQ(FromUtf8Path("/tmp/\xff", &gbk), kBadPath);              // not UTF-8
}

TEST(Utf8PathTest, AbsolutePathIsWorkedOutFromTheTextAlone) {
  EXPECT_EQ(AbsoluteUtf8Path("a/b.dat", "/home/u"), "/home/u/a/b.dat");
  EXPECT_EQ(AbsoluteUtf8Path("./a//./b.dat", "/home/u"), "/home/u/a/b.dat");
  EXPECT_EQ(AbsoluteUtf8Path("../x/../y.dat", "/home/u"), "/home/y.dat");
  EXPECT_EQ(AbsoluteUtf8Path("/a/b/", "/ignored"), "/a/b");
  EXPECT_EQ(AbsoluteUtf8Path("../../../..", "/home/u"), "/");
  EXPECT_EQ(Utf8PathParent("a/b.dat"), "a");
  EXPECT_EQ(Utf8PathParent("/b.dat"), "/");
  EXPECT_EQ(Utf8PathParent("b.dat"), ".");
}

}  // namespace
}  // namespace sr::fs
