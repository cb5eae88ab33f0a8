// 文件 → 导入 in the program on the headless backend: workbooks written by openpyxl and by
// LibreOffice, CSV files in UTF-8 and GBK, the preview, append and replace, each refusal shown
// with its row and column and nothing imported, and the import one step for undo.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/tests/register_test_files.h"
#include "app/tests/scenario_support.h"

namespace sr::app {
namespace {

class ImportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = testing::MakeTempFolder("import_command"); }

  // Writes book.xlsx into the program directory with openpyxl; `rows` is a Python list of rows.
  void WriteWorkbook(const std::u8string& rows) {
    const std::filesystem::path script = std::filesystem::path(folder_) / "make.py";
    std::ofstream(script) << "import sys, openpyxl\nwb = openpyxl.Workbook()\nws = wb.active\n"
                          << "for row in " << std::string(rows.begin(), rows.end())
                          << ":\n    ws.append(row)\nwb.save(sys.argv[1])\n";
    const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + folder_ +
                                "/book.xlsx'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }

  void Expect(const std::u8string& script) {
    std::string transcript;
    EXPECT_EQ(testing::RunScript(folder_, u8"make-relay\nmenu 文件 新建\n" + script, &transcript),
              0)
        << transcript;
  }

  std::string folder_;
};

TEST_F(ImportCommandTest, AnOpenpyxlWorkbookIsAppendedAsOneUndoStep) {
  WriteWorkbook(u8R"s([['编号', '姓名', '基本工资', '养老 保险'],
                      ['0012', '张三', 1234.5, 300],
                      [1001, '李四', '8000.50', None]])s");
  Expect(u8R"s(
enter 1 0 001
enter 1 1 甲
choose-file book.xlsx
modal
  expect title 导入预览
  expect text 标签1 "文件 book.xlsx：2 行。追加：接在表内已有的行之后；替换：换掉表内所有的行。"
  expect cell 1 3 "→ 养老保险(免税)"
  expect cell 2 0 0012
  expect cell 3 2 8000.50
  press 追加
end
menu 文件 导入
expect cell 1 1 甲
expect cell 2 0 0012
expect cell 2 1 张三
expect cell 2 2 1234.5
expect cell 2 11 300
expect cell 3 0 1001
expect cell 3 2 8000.50
expect rows 5001
expect text 标签1 "表内人数: 3 人"
key Ctrl+Z
expect cell 2 0 ""
expect cell 1 1 甲
key Ctrl+Y
expect cell 3 1 李四
answer no
menu 文件 新建
expect message " 是否要保存所作的修改? " 保存文件提示
)s");
}

TEST_F(ImportCommandTest, ReplaceTakesTheRowsOfAUtf8CsvAndCancelChangesNothing) {
  std::ofstream(std::filesystem::path(folder_) / "pay.csv")
      << reinterpret_cast<const char*>(u8"\xEF\xBB\xBF编号,姓名,应发工资\r\n7,\"王,五\",\r\n");
  Expect(u8R"s(
enter 1 0 001
enter 1 1 甲
choose-file pay.csv
modal
  press 取消
end
menu 文件 导入
expect cell 1 1 甲
choose-file pay.csv
modal
  press 替换
end
key Ctrl+I
expect cell 1 0 7
expect cell 1 1 王,五
expect cell 2 1 ""
expect text 标签1 "表内人数: 1 人"
)s");
}

TEST_F(ImportCommandTest, GbkCsvAndTheLibreOfficeWorkbookImport) {
  std::filesystem::copy_file(std::filesystem::path(SR_XLSX_FIXTURES) / "libreoffice.xlsx",
                             std::filesystem::path(folder_) / "lo.xlsx");
  Expect(u8R"s(
write-file gbk.csv "编号,姓名\n3,赵六\n"
choose-file gbk.csv
modal
  press 追加
end
menu 文件 导入
expect cell 1 1 赵六
choose-file lo.xlsx
modal
  press 追加
end
menu 文件 导入
expect cell 2 0 0012
expect cell 2 2 1234.5
expect cell 3 2 0.3
expect cell 3 21 "两边 空格"
)s");
}

TEST_F(ImportCommandTest, ARefusedFileIsNamedWithRowAndColumnAndNothingIsImported) {
  WriteWorkbook(u8R"s([['编号', '姓名', '基本工资'], ['1', '甲', '1,500']])s");
  std::ofstream(std::filesystem::path(folder_) / "bad.xlsx") << "PK\x03\x04 not really a workbook";
  Expect(u8R"s(
choose-file book.xlsx
modal
  expect enabled 按钮追加 no
  expect enabled 按钮替换 no
  expect text 标签1 "不能导入：第 2 行第 3 列（基本工资）的金额“1,500”不是数字。请在文件中改正再导入。"
  press 追加
end
menu 文件 导入
expect message "无法导入 book.xlsx：第 2 行第 3 列（基本工资）的金额“1,500”不是数字。请在文件中改正再导入。" 导入 ok warning
expect cell 1 0 ""
expect enabled menu 编辑 撤销 no
choose-file bad.xlsx
menu 文件 导入
expect message "无法导入 bad.xlsx：这不是能读取的 Excel 工作簿（.xlsx），或文件已损坏。" 导入
expect no-window 导入预览
expect cell 1 0 ""
expect no-message
)s");
}

}  // namespace
}  // namespace sr::app
