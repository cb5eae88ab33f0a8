#include "platform/posix/native_path.h"

#include <gtest/gtest.h>

namespace sr::posix {
namespace {

using fs::kBadPath;
using fs::kOk;

const char* U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(NativePathTest, BackslashSeparatesButTrailByte5CDoesNot) {
  std::string native;
  // "\x95\x5c" is one GBK character (U+661E) whose trail byte is a backslash.
  ASSERT_EQ(ToNativePath("dir\\sub/\x95\x5c"
                         "a.dat",
                         &native),
            kOk);
  EXPECT_EQ(native, std::string("dir/sub/") + U8(u8"昞") + "a.dat");
  ASSERT_EQ(ToNativePath("工资\\2013.dat", &native), kOk);
  EXPECT_EQ(native, std::string(U8(u8"工资")) + "/2013.dat");
}

TEST(NativePathTest, RefusesNamesThatAreNotPaths) {
  std::string native = "untouched";
  EXPECT_EQ(ToNativePath("", &native), kBadPath);
  EXPECT_EQ(ToNativePath(std::string("a\0b", 3), &native), kBadPath);  // would open "a"
  EXPECT_EQ(ToNativePath("name\x95", &native), kBadPath);  // a lead byte without its trail
  EXPECT_EQ(native, "untouched");
}

TEST(NativePathTest, ConvertsNativeNamesBackOnlyWhenGbkHoldsThem) {
  fs::Path gbk;
  ASSERT_EQ(FromNativePath(std::string("/tmp/") + U8(u8"昞") + ".dat", &gbk), kOk);
  EXPECT_EQ(gbk, "/tmp/\x95\x5c.dat");
  EXPECT_EQ(FromNativePath("/tmp/\xF0\x9F\x98\x80", &gbk), kBadPath);  // an emoji
  EXPECT_EQ(FromNativePath("/tmp/\xff", &gbk), kBadPath);              // not UTF-8
}

TEST(NativePathTest, AbsolutePathIsWorkedOutFromTheTextAlone) {
  EXPECT_EQ(AbsoluteNativePath("a/b.dat", "/home/u"), "/home/u/a/b.dat");
  EXPECT_EQ(AbsoluteNativePath("./a//./b.dat", "/home/u"), "/home/u/a/b.dat");
  EXPECT_EQ(AbsoluteNativePath("../x/../y.dat", "/home/u"), "/home/y.dat");
  EXPECT_EQ(AbsoluteNativePath("/a/b/", "/ignored"), "/a/b");
  EXPECT_EQ(AbsoluteNativePath("../../../..", "/home/u"), "/");
  EXPECT_EQ(NativeParent("a/b.dat"), "a");
  EXPECT_EQ(NativeParent("/b.dat"), "/");
  EXPECT_EQ(NativeParent("b.dat"), ".");
}

}  // namespace
}  // namespace sr::posix
