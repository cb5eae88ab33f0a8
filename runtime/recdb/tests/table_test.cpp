#include <algorithm>

#include "runtime/convert/fatal_error.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

class Table : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    DbImage image;
    image.fields = {{"A", 3, 0}};
    image.record_count = 1;
    image.next_serial = 2;
    image.records = {Le32(1) + Le32(11)};
    Write("one.dat", image.Bytes());
    image.records = {Le32(1) + Le32(22)};
    Write("two.dat", image.Bytes());
    Write("ZhongZhuan.rgq", image.Bytes());
  }
};

TEST_F(Table, SameFileCannotBeOpenedTwice) {
  ASSERT_EQ(Open("one.dat", "first"), 0);
  EXPECT_EQ(Open("one.dat", "second"), -38);
  // Another spelling of the same path is the same file.
  table_.OpenDatabase(dir_ + "/./one.dat", "third");
  EXPECT_EQ(LastDatabaseError(), -38);
  EXPECT_EQ(table_.open_count(), 1u);
  table_.CloseDatabase("first");
  EXPECT_EQ(Open("one.dat", "second"), 0);
}

TEST_F(Table, NewerDatabaseWinsASharedAlias) {
  ASSERT_EQ(Open("one.dat", "data"), 0);
  ASSERT_EQ(Open("two.dat", "data"), 0);
  ASSERT_TRUE(table_.SelectDatabase("DATA"));
  EXPECT_EQ(table_.ReadField(1), Value::Int(22));
  ASSERT_TRUE(table_.SelectDatabase("one"));  // by file title
  EXPECT_EQ(table_.ReadField(1), Value::Int(11));
}

TEST_F(Table, SelectByTitleOrFullPath) {
  ASSERT_EQ(Open("ZhongZhuan.rgq"), 0);
  ASSERT_EQ(Open("one.dat", "x"), 0);
  EXPECT_TRUE(table_.SelectDatabase("zhongzhuan"));
  EXPECT_EQ(table_.current()->title(), "ZhongZhuan");
  EXPECT_TRUE(table_.SelectDatabase("x"));
  EXPECT_TRUE(table_.SelectDatabase(Path("ZhongZhuan.rgq")));
  EXPECT_EQ(table_.current()->full_path(), Path("ZhongZhuan.rgq"));
  ASSERT_TRUE(table_.SelectDatabase("x"));
  Text backslashes = Path("ZhongZhuan.rgq");
  std::replace(backslashes.begin(), backslashes.end(), '/', '\\');
  EXPECT_TRUE(table_.SelectDatabase(backslashes)) << "the full path as Windows writes it";
  EXPECT_EQ(table_.current()->title(), "ZhongZhuan");
  EXPECT_FALSE(table_.SelectDatabase("unknown"));
  EXPECT_EQ(LastDatabaseError(), -66);
  EXPECT_EQ(table_.current()->title(), "ZhongZhuan");
  EXPECT_FALSE(table_.SelectDatabase(""));
  EXPECT_EQ(LastDatabaseError(), -66);
}

TEST_F(Table, ClosingUnknownNameDoesNothing) {
  ASSERT_EQ(Open("one.dat", "a"), 0);
  table_.CloseDatabase("nothing");
  EXPECT_EQ(LastDatabaseError(), 0);
  EXPECT_EQ(table_.open_count(), 1u);
}

TEST_F(Table, ClosingTheCurrentLeavesNone) {
  ASSERT_EQ(Open("one.dat", "a"), 0);
  table_.CloseDatabase();
  EXPECT_EQ(table_.current(), nullptr);
  EXPECT_EQ(table_.GetRecordCount(), 0);
  EXPECT_EQ(LastDatabaseError(), -67);
  EXPECT_EQ(table_.GetFieldName(1), "");
  EXPECT_EQ(LastDatabaseError(), -67);
  EXPECT_FALSE(table_.WriteField(1, Value::Int(1)));
  EXPECT_EQ(LastDatabaseError(), -66);
  EXPECT_FALSE(table_.Skip());
  EXPECT_EQ(LastDatabaseError(), -67);
  table_.GoFirst();
  EXPECT_EQ(LastDatabaseError(), -67);
  EXPECT_FALSE(table_.AppendBlankRecord());
  EXPECT_EQ(LastDatabaseError(), -67);
  EXPECT_THROW(table_.ReadField(1), FatalRuntimeError);
}

TEST_F(Table, ClosingAnEarlierEntryKeepsTheCurrentOne) {
  ASSERT_EQ(Open("one.dat", "a"), 0);
  ASSERT_EQ(Open("two.dat", "b"), 0);
  table_.CloseDatabase("a");
  ASSERT_NE(table_.current(), nullptr);
  EXPECT_EQ(table_.current()->alias(), "b");
  table_.CloseAllDatabases();
  EXPECT_EQ(table_.open_count(), 0u);
  EXPECT_EQ(table_.current(), nullptr);
}

TEST_F(Table, FailedOpenKeepsTheCurrentDatabase) {
  ASSERT_EQ(Open("one.dat", "a"), 0);
  EXPECT_EQ(Open("missing.dat", "b"), -3);
  EXPECT_EQ(table_.current()->alias(), "a");
}

TEST_F(Table, AliasCharacters) {
  EXPECT_EQ(Open("one.dat", "打开的数据"), 0);
  EXPECT_EQ(Open("two.dat", "_a1"), 0);
  table_.CloseAllDatabases();
  const char* bad[] = {"1abc", "a b", "a.b", "a-b", "１ab", "a\xA1\xA1"};
  for (const char* alias : bad) EXPECT_EQ(Open("one.dat", alias), -24) << alias;
  EXPECT_EQ(Open("one.dat", "ａ１"), 0);  // full-width letter, then full-width digit
}

TEST_F(Table, DefaultExtensionIsKdb) {
  Write("plain.KDB", Read("one.dat"));
  EXPECT_EQ(Open("plain"), 0);
  EXPECT_EQ(table_.current()->full_path(), Path("plain.KDB"));
}

TEST_F(Table, IndexFilesAreNotSupported) {
  EXPECT_EQ(Open("one.dat", "", {.index_files = {"", ""}}), 0);
  table_.CloseAllDatabases();
  EXPECT_EQ(Open("one.dat", "", {.index_files = {"x.KNX"}}), -30);
}

TEST_F(Table, ErrorMessages) {
  EXPECT_EQ(DatabaseErrorMessage(-1), "未知错误");
  EXPECT_EQ(DatabaseErrorMessage(-38), "指定数据库已经被打开");
  EXPECT_EQ(DatabaseErrorMessage(-74), "数据库的共享打开方式不是“#禁止读写”");
  EXPECT_EQ(DatabaseErrorMessage(-78), "未提供数据库访问密码或提供了错误的密码");
  EXPECT_EQ(DatabaseErrorMessage(-80), "无效的密码文本");
  EXPECT_EQ(DatabaseErrorMessage(-77), "");
  EXPECT_EQ(DatabaseErrorMessage(0), "");
  EXPECT_EQ(DatabaseErrorMessage(-81), "");
}

}  // namespace
}  // namespace sr::test
