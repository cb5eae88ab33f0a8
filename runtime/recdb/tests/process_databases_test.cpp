#include "runtime/recdb/process_databases.h"

#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

// The disks outlive the process's table, which lives until the program ends.
fs::MemoryFileSystem first, second;

// A one-field database with one record holding `value`.
void WriteDatabase(fs::MemoryFileSystem& disk, int32_t value) {
  ASSERT_EQ(
      disk.WriteContents("/a.dat", DbImage::Of({{"A", 3, 0}}, {Le32(1) + Le32(value)}).Bytes()),
      fs::kOk);
}

// Death tests run before every other test of the program, so the table is not made yet.
TEST(ProcessDatabasesDeathTest, UsingTheTableBeforeItIsStartedEndsTheProcess) {
  EXPECT_DEATH(sr::GetRecordCount(), "before StartProcessDatabases");
}

TEST(ProcessDatabasesTest, FreeFunctionsActOnTheTableOverTheFileSystemItWasStartedWith) {
  WriteDatabase(first, 11);
  WriteDatabase(second, 22);
  sr::StartProcessDatabases(first);
  ASSERT_TRUE(sr::OpenDatabase("/a.dat", "a"));
  EXPECT_EQ(sr::ReadField(1), Value::Int(11));

  // Starting again closes what the first table held and works on the other disk.
  DatabaseTable& table = sr::StartProcessDatabases(second);
  EXPECT_EQ(&sr::ProcessDatabases(), &table);
  EXPECT_EQ(&table.file_system(), &second);
  std::unique_ptr<fs::File> exclusive;
  EXPECT_EQ(first.Open("/a.dat", fs::Access::kReadWrite, fs::Share::kExclusive,
                       fs::Disposition::kOpenExisting, &exclusive),
            fs::kOk);
  ASSERT_TRUE(sr::OpenDatabase("/a.dat", "a"));
  EXPECT_EQ(sr::ReadField("a"), Value::Int(22));
  ASSERT_TRUE(sr::AppendBlankRecord());
  ASSERT_TRUE(sr::WriteField(1, Value::Int(33)));
  EXPECT_EQ(sr::GetRecordCount(), 2);
  sr::CloseAllDatabases();
  std::string bytes;
  ASSERT_EQ(second.ReadContents("/a.dat", &bytes), fs::kOk);
  EXPECT_EQ(At32(bytes, 16), 2);
}

}  // namespace
}  // namespace sr::test
