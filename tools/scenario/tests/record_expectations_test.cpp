// Scenario checks of register files, read through the record database.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/recdb.h"
#include "tools/scenario/runner.h"
#include "tools/scenario/script.h"

namespace sr::scenario {
namespace {

Text G(const char8_t* utf8) { return FromUtf8(reinterpret_cast<const char*>(utf8)); }

class RecordExpectationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ::testing::TempDir() + "scenario_records_" +
            std::to_string(reinterpret_cast<uintptr_t>(this)) + ".dat";
    std::vector<recdb::FieldDescriptor> fields = {{G(u8"姓名"), recdb::FieldType::kText, 0, 10},
                                                  {G(u8"工资"), recdb::FieldType::kDouble}};
    ASSERT_EQ(recdb::CreateDatabaseFile(fs::RealFileSystem(), path_, fields, nullptr, 0), 0);
    DatabaseTable table(fs::RealFileSystem());
    ASSERT_TRUE(table.OpenDatabase(path_, "t"));
    ASSERT_TRUE(table.AppendBlankRecord());
    table.WriteField(1, Value::FromText(G(u8"张三")));
    table.WriteField(2, Value::Double(1234.5));
    ASSERT_TRUE(table.AppendBlankRecord());
    table.CloseAllDatabases();
  }
  void TearDown() override { std::remove(path_.c_str()); }

  int Run(const std::string& utf8_script, std::string* transcript = nullptr) {
    std::vector<Line> lines;
    std::string error;
    EXPECT_TRUE(ParseScript(utf8_script, &lines, &error)) << error;
    std::ostringstream out;
    Runner runner(fs::RealFileSystem(), out);
    int code = runner.Run(lines);
    if (transcript != nullptr) *transcript = out.str();
    return code;
  }

  std::string path_;
};

TEST_F(RecordExpectationsTest, CountsRecordsFieldsAndNames) {
  std::string transcript;
  EXPECT_EQ(
      Run("expect records " + path_ + " 2\n" + reinterpret_cast<const char*>(u8"expect record ") +
              path_ + reinterpret_cast<const char*>(u8" 1 张三 1234.5\n") + "expect record " +
              path_ + " 2 \"\" 0\n" + reinterpret_cast<const char*>(u8"expect fields ") + path_ +
              reinterpret_cast<const char*>(u8" 姓名 工资\n"),
          &transcript),
      0)
      << transcript;
}

TEST_F(RecordExpectationsTest, UnmetRecordChecksFail) {
  std::string transcript;
  EXPECT_EQ(Run("expect records " + path_ + " 3\n", &transcript), 1);
  EXPECT_NE(transcript.find("record count: expected \"3\", got \"2\""), std::string::npos)
      << transcript;
  EXPECT_EQ(Run("expect record " + path_ + " 1 x\n"), 1);
  EXPECT_EQ(Run("expect record " + path_ + " 3 x\n"), 1);            // no such record
  EXPECT_EQ(Run("expect record " + path_ + " 1 a b c\n"), 1);        // no field 3
  EXPECT_EQ(Run("expect records " + path_ + " password=x 2\n"), 1);  // no password set
  EXPECT_EQ(Run("expect records " + path_ + ".missing 0\n", &transcript), 1);
  EXPECT_NE(transcript.find("cannot open"), std::string::npos) << transcript;
}

}  // namespace
}  // namespace sr::scenario
