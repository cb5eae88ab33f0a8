// The wrappers over our own spreadsheet application: what the export leaves in the workbook.
#include <gtest/gtest.h>

#include <string>

#include "platform/sheet/sheet_automation.h"
#include "platform/sheet/tests/stub_spreadsheet.h"
#include "runtime/automation/excel.h"

namespace sr {
namespace {

namespace stub = sheet::testing;

TEST(ExcelOverSheetTest, CellByCellExportKeepsApostropheColumnsAsText) {
  std::string python = stub::PythonWithOpenpyxl();
  if (python.empty()) GTEST_SKIP() << "no python3 with openpyxl to read the workbook back";
  stub::StubSpreadsheet program;
  sheet::SheetAutomation seam;
  ExcelApp app(&seam);
  ExcelWorkbooks books;
  ASSERT_TRUE(app.Create());
  ASSERT_TRUE(books.Attach(app));
  books.Activate();
  books.SetSheetNumber(1);
  const char* rows[3][3] = {{"姓名", "身份证号", "工资"},
                            {"张三", "'110101199001011234", "3500.5"},
                            {"李四", "'0012", "abc"}};
  automation::DispatchRef held;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      Text ref = Text(1, static_cast<char>('a' + c)) + std::to_string(r + 1);
      books.SetFirstCell(ref);
      books.SetSecondCell(ref);
      books.SetValue(rows[r][c]);
      held = books.GetRange();
    }
  }
  app.SetVisible(true);
  books.Release();
  app.Release();
  held.Reset();

  ASSERT_FALSE(program.WaitForOpened().empty());
  std::string cells;
  ASSERT_TRUE(stub::ListCells(python, program.copy(), &cells));
  EXPECT_EQ(cells, reinterpret_cast<const char*>(u8"A1 str 姓名\nB1 str 身份证号\nC1 str 工资\n"
                                                 u8"A2 str 张三\nB2 str 110101199001011234\n"
                                                 u8"C2 float 3500.5\n"
                                                 u8"A3 str 李四\nB3 str 0012\nC3 str abc\n"));
}

TEST(ExcelOverSheetTest, CreateFailsWithTheInstallHintWithoutASpreadsheetProgram) {
  stub::StubSpreadsheet program;
  stub::ScopedEnv no_command("SR_SPREADSHEET_COMMAND", "");
  stub::ScopedEnv no_path("PATH", program.dir().string());
  sheet::SheetAutomation seam;
  ExcelApp app(&seam);
  Text error;
  EXPECT_FALSE(app.Create(&error));
  EXPECT_EQ(error,
            "无效的类字符串(可能没有正确安装Office/Excel，无法创建对象\"Excel.Application\")");
}

}  // namespace
}  // namespace sr
