// 文件 → 导入 on a build that reads no workbooks (the Windows build has no workbook library): an
// .xlsx file is refused with a message that says so and points to CSV, nothing is imported, and
// a CSV file still imports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/tests/register_test_files.h"
#include "app/tests/scenario_support.h"
#include "platform/xlsx/workbook_reader.h"

namespace sr::app {
namespace {

// Would hand back a row if the import ever asked it to read: the import must not ask.
class ReaderThatReadsNothing : public xlsx::WorkbookReader {
 public:
  bool ReadFirstSheet(std::string_view, xlsx::SheetRows* rows, xlsx::ReadFailure*) override {
    rows->assign(1, {{xlsx::SheetCell::Kind::kText, "编号"}});
    return true;
  }
  bool CanRead() const override { return false; }
};

const char8_t kScript[] = u8R"s(make-relay
menu 文件 新建
enter 1 0 001
enter 1 1 甲
choose-file book.xlsx
menu 文件 导入
expect message "无法导入 book.xlsx：此版本的程序不能导入 Excel 工作簿（.xlsx）。请在 Excel 中把工作簿另存为 CSV 文件再导入。" 导入 ok warning
expect cell 1 1 甲
expect cell 2 0 ""
write-file pay.csv "编号,姓名\n3,赵六\n"
choose-file pay.csv
modal
  press 追加
end
key Ctrl+I
expect cell 2 1 赵六
)s";

class ImportWithoutWorkbookReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::MakeTempFolder("import_no_reader");
    // A real zip package's first bytes: the import tells it from CSV by them.
    std::ofstream(std::filesystem::path(folder_) / "book.xlsx") << "PK\x03\x04 a workbook";
  }
  std::string folder_;
};

TEST_F(ImportWithoutWorkbookReaderTest, AWorkbookIsRefusedSayingSoAndCsvStillImports) {
  ReaderThatReadsNothing reader;
  std::string transcript;
  EXPECT_EQ(testing::RunScript(folder_, kScript, &transcript,
                               [&](scenario::Runner& runner) { runner.set_workbooks(reader); }),
            0)
      << transcript;
}

#ifdef _WIN32
// The reader that salary-register.exe is built with.
TEST_F(ImportWithoutWorkbookReaderTest, TheWindowsProgramsReaderReadsNoWorkbook) {
  EXPECT_FALSE(xlsx::RealWorkbookReader().CanRead());
  std::string transcript;
  EXPECT_EQ(testing::RunScript(folder_, kScript, &transcript), 0) << transcript;
}
#endif

}  // namespace
}  // namespace sr::app
