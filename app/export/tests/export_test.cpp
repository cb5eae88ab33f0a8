#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/export/export_command.h"
#include "runtime/automation/cell_reference.h"
#include "app/tests/app_harness.h"
#include "platform/automation/excel_dispids.h"
#include "platform/fs/real_file_system.h"
#include "platform/sheet/sheet_automation.h"
#include "platform/sheet/spreadsheet_program.h"
#include "platform/sheet/tests/stub_spreadsheet.h"
#include "runtime/recdb/create_file.h"

namespace sr::app {
namespace {

using testing::AppHarness;
using testing::Gbk;

class ExportTest : public ::testing::Test {
 protected:
  ExportTest() : command_(harness_.context()) {}

  const std::vector<std::string>& Calls() { return harness_.automation().calls(); }

  AppHarness harness_;
  ExportCommand command_;
};

TEST_F(ExportTest, SmallRegisterMakesExactlyTheseCalls) {
  harness_.salary_register().SetRowCount(2);
  harness_.SetCell(0, 0, Gbk(u8"工号"));
  harness_.SetCell(0, 1, Gbk(u8"姓名"));
  harness_.SetCell(1, 0, "007");
  harness_.SetCell(1, 1, "0012");
  harness_.SetCell(1, 2, "1234.5");
  command_.Run();
  std::vector<std::string> expected = {
      "create Excel.Application -> #1",
      // A new workbook, its first worksheet; the application activated; sheet 1 made current.
      "#1 get 0x23C() -> #2", "#2 call 0xB5(missing)", "#2 get 0x94() -> #3",
      "#3 get 0x1E5() -> #4", "#4 get 0xAA(1) -> #5", "#3 call 0x130()", "#4 get 0xAA(1) -> #6",
      "#5 free"};
  // Row by row, every cell (the empty ones too); the number, name and remark columns (a, b, v)
  // behind an apostrophe, the amount columns c to u plain. The range of a cell is held until
  // the next cell's replaces it.
  const std::string texts[2][22] = {{Gbk(u8"工号"), Gbk(u8"姓名")}, {"007", "0012", "1234.5"}};
  int object = 7;
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 22; ++c, ++object) {
      const std::string cell = ToUtf8(ColumnLetter(c + 1)) + std::to_string(r + 1);
      const bool text = c < 2 || c == 21;
      expected.push_back("#6 get 0xC5(\"" + cell + "\", \"" + cell + "\") -> #" +
                         std::to_string(object));
      expected.push_back("#" + std::to_string(object) + " put 0x6(\"" + (text ? "'" : "") +
                         texts[r][c] + "\")");
      if (object > 7) expected.push_back("#" + std::to_string(object - 1) + " free");
    }
  }
  ASSERT_EQ(object, 51);
  const std::vector<std::string> ending = {
      // The amounts get their number format; the titles bold, fitted and frozen.
      "#6 get 0xC5(\"c2\", \"u2\") -> #51", "#51 put 0xC1(\"#,##0.00\")",
      "#6 get 0xC5(\"a1\", \"v1\") -> #52", "#51 free", "#52 get 0x92() -> #53",
      "#53 put 0x60(true)", "#53 free", "#52 get 0xF6() -> #54", "#54 call 0xED()", "#54 free",
      "#3 get 0x2F7() -> #55", "#55 put 0x292(0)", "#55 put 0x294(1)", "#55 put 0x28A(true)",
      "#55 free",
      // Shown, then let go of: the workbook's references, the application, the last cell's range.
      "#1 put 0x22E(true)", "#52 free", "#6 free", "#4 free", "#3 free", "#2 free", "#1 free",
      "#50 free"};
  expected.insert(expected.end(), ending.begin(), ending.end());
  EXPECT_EQ(Calls(), expected);
  EXPECT_EQ(harness_.automation().live_objects(), 0);
  EXPECT_TRUE(harness_.backend().screen_log().empty() ||
              harness_.backend().screen_log().back().kind !=
                  headless::ScreenEvent::Kind::kMessageBox);
}

// Every cell of a new register is sent; the number, name and remark columns (a, b, v) behind
// an apostrophe, so that they stay texts, and every amount column plain, so that it becomes a
// number that sums.
// A new register of 5,000 rows after 计算: the empty rows hold the calculation's zeros and are
// nobody, so only the titles and the rows with a number or a name reach the workbook, one after
// the other.
TEST_F(ExportTest, NewRegisterSendsTheRowsWithANumberOrANameWithIdentifiersAndRemarksAsText) {
  harness_.SetCell(1, 0, "0001");
  harness_.SetCell(1, 6, "6000");
  for (int row = 1; row <= 5000; ++row) harness_.SetCell(row, 20, "0");
  harness_.SetCell(4999, 21, Gbk(u8"无名无号"));
  harness_.SetCell(5000, 1, Gbk(u8"末行"));
  command_.Run();
  std::vector<std::string> puts;
  for (const std::string& call : Calls()) {
    if (call.find(" put 0x6(") != std::string::npos) puts.push_back(call.substr(call.find('(')));
  }
  ASSERT_EQ(puts.size(), 3u * 22u);
  EXPECT_EQ(puts[22 + 0], "(\"'0001\")");
  EXPECT_EQ(puts[22 + 1], "(\"'\")");  // an empty text cell is a lone apostrophe
  EXPECT_EQ(puts[22 + 2], "(\"\")");
  EXPECT_EQ(puts[22 + 6], "(\"6000\")");
  EXPECT_EQ(puts[22 + 20], "(\"0\")");
  EXPECT_EQ(puts[22 + 21], "(\"'\")");
  EXPECT_EQ(puts[44 + 1], "(\"'" + Gbk(u8"末行") + "\")");
  int ranges = 0;
  for (const std::string& call : Calls()) ranges += call.find(" get 0xC5(") != std::string::npos;
  EXPECT_EQ(ranges, 3 * 22 + 2);  // every cell sent, then the amounts and the titles
  EXPECT_NE(std::find(Calls().begin(), Calls().end(), "#6 get 0xC5(\"v3\", \"v3\") -> #72"),
            Calls().end());
  EXPECT_NE(std::find(Calls().begin(), Calls().end(), "#6 get 0xC5(\"c2\", \"u3\") -> #73"),
            Calls().end());
}

TEST_F(ExportTest, WithoutTheSpreadsheetApplicationSaysSoAndChangesNothing) {
  harness_.automation().create_result = {automation::kInvalidClassString, "x"};
  forms::ProgressBar& bar = harness_.form().progress_bar();
  const int position = bar.position();
  const bool visible = bar.visible();
  command_.Run();
  const std::vector<headless::ScreenEvent>& log = harness_.backend().screen_log();
  ASSERT_FALSE(log.empty());
  const headless::ScreenEvent& box = log.back();
  ASSERT_EQ(box.kind, headless::ScreenEvent::Kind::kMessageBox);
  EXPECT_EQ(box.message.text, Gbk(u8"Excel 程序创建失败！可能没有安装 Excel 程序"));
  EXPECT_EQ(box.message.title, Gbk(u8"信息："));
  EXPECT_EQ(box.message.buttons, ui::MessageButtons::kOk);
  EXPECT_EQ(Calls(), std::vector<std::string>{"create Excel.Application fails"});
  EXPECT_EQ(bar.position(), position);
  EXPECT_EQ(bar.visible(), visible);
}

TEST_F(ExportTest, CellErrorsAreSkippedAndTheExportGoesOn) {
  harness_.salary_register().SetRowCount(2);
  harness_.automation().FailMember(excel_member::kValue);
  harness_.automation().ThrowOnMember(excel_member::kRange);
  command_.Run();
  // No range was ever made, so no value could be put; the workbook is still shown and freed.
  EXPECT_NE(std::find(Calls().begin(), Calls().end(), "#1 put 0x22E(true)"), Calls().end());
  EXPECT_EQ(harness_.automation().live_objects(), 0);
}

// The bar moves on once per n / 100 rows, n being the open register's record count; without an
// open register on every row. Its position is not rewound first, and it is hidden at the end.
TEST_F(ExportTest, ProgressFollowsTheOpenRegistersRecordCount) {
  harness_.salary_register().SetRowCount(11);
  forms::ProgressBar& bar = harness_.form().progress_bar();
  bar.SetPosition(5);
  command_.Run();
  EXPECT_EQ(bar.position(), 16);
  EXPECT_FALSE(bar.visible());

  char pattern[] = "/tmp/export-test-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const Text file = std::string(pattern) + "/register.dat";
  ASSERT_EQ(recdb::CreateDatabaseFile(fs::RealFileSystem(), file, {{"n", recdb::FieldType::kInt}},
                                      nullptr, 0),
            0);
  DatabaseTable& databases = harness_.databases();
  ASSERT_TRUE(databases.OpenDatabase(file, Gbk(u8"打开的数据")));
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(databases.AppendBlankRecord());
  bar.SetPosition(5);
  command_.Run();  // 200 records: a step every third row, then every second
  EXPECT_EQ(bar.position(), 10);
  EXPECT_FALSE(bar.visible());
  databases.CloseAllDatabases();
  std::filesystem::remove_all(pattern);
}

// Two people exported into our spreadsheet application, which writes the workbook as .xlsx and
// hands it to a stub spreadsheet program; read back, every cell is where and what it should be.
TEST(ExportToXlsxTest, TwoPeopleReachTheWorkbookCellByCell) {
  std::string python = sheet::testing::PythonWithOpenpyxl();
  if (python.empty()) GTEST_SKIP() << "no python3 with openpyxl to read the workbook back";
  sheet::testing::StubSpreadsheet stub;
  sheet::SheetAutomation seam;
  AppHarness harness(nullptr, &seam);
  harness.salary_register().SetRowCount(3);  // titles and two people
  // The installed register's titles: number, name, eight incomes, gross pay, seven deductions,
  // tax, total deductions, net pay, remark.
  const char8_t* titles[22] = {
      u8"编号",       u8"姓名",     u8"基本工资",   u8"岗位工资", u8"绩效工资", u8"加班工资",
      u8"津贴",       u8"补贴",     u8"奖金(免税)", u8"其他收入", u8"应发合计", u8"养老保险",
      u8"医疗保险",   u8"失业保险", u8"住房公积金", u8"扣款1",    u8"扣款2",    u8"事假扣款",
      u8"个人所得税", u8"扣款合计", u8"实发工资",   u8"备注"};
  for (int c = 0; c < 22; ++c) harness.SetCell(0, c, Gbk(titles[c]));
  // Person 1's number has leading zeros, person 2's is an 18-digit ID; "0012" in an amount
  // column is the amount 12.
  const char* people[2][22] = {
      {"0001", "",   "3500", "800.5", "0", "", "300", "120",   "200",    "",        "4620.5",
       "280",  "70", "17.5", "",      "",  "", "",    "12.03", "379.53", "4240.97", ""},
      {"0002", "",   "4200", "650", "", "", "0012", "", "",    "",     "4850",
       "336",  "84", "21",   "420", "", "", "",     "", "861", "3989", "2024"}};
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 22; ++c) harness.SetCell(1 + r, c, people[r][c]);
  }
  harness.SetCell(2, 0, "110101199001011234");
  harness.SetCell(1, 1, Gbk(u8"张三"));
  harness.SetCell(2, 1, Gbk(u8"李四"));
  harness.SetCell(1, 21, Gbk(u8"新进"));
  ExportCommand command(harness.context());
  command.Run();
  ASSERT_FALSE(stub.WaitForOpened().empty()) << "the workbook was not handed on";
  std::string cells;
  ASSERT_TRUE(sheet::testing::ListCells(python, stub.copy(), &cells));

  // What the spreadsheet holds: titles as texts in row 1; the number, name and remark columns
  // texts, digits and leading zeros kept; every filled amount a number; empty cells empty.
  // openpyxl names the columns in capitals.
  auto column_name = [](int c) {
    std::string name = ToUtf8(ColumnLetter(c + 1));
    for (char& ch : name) ch = static_cast<char>(ch - 'a' + 'A');
    return name;
  };
  std::string expected;
  for (int c = 0; c < 22; ++c) {
    expected += column_name(c) + "1 str " + reinterpret_cast<const char*>(titles[c]) + "\n";
  }
  std::string expected_formats = "freeze A2\n";
  for (int c = 0; c < 22; ++c) expected_formats += column_name(c) + "1 General bold\n";
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 22; ++c) {
      std::string text = ToUtf8(harness.grid().CellText(r + 1, c));
      if (text.empty()) continue;
      const bool amount = c >= 2 && c <= 20;
      std::string kind = "str";
      if (amount) {
        kind = text.find('.') != std::string::npos ? "float" : "int";
        if (kind == "int") text = std::to_string(std::stoll(text));
      }
      const std::string cell = column_name(c) + std::to_string(r + 2);
      expected += cell + " " + kind + " " + text + "\n";
      expected_formats += cell + (amount ? " #,##0.00" : " General") + " plain\n";
    }
  }
  EXPECT_EQ(cells, expected);
  EXPECT_NE(cells.find("A2 str 0001\n"), std::string::npos);
  EXPECT_NE(cells.find("A3 str 110101199001011234\n"), std::string::npos);
  EXPECT_NE(cells.find("G3 int 12\n"), std::string::npos);
  EXPECT_NE(cells.find("V3 str 2024\n"), std::string::npos);
  EXPECT_EQ(cells.find("F2 "), std::string::npos);  // an empty amount stays empty

  std::string formats;
  ASSERT_TRUE(sheet::testing::ListFormats(python, stub.copy(), &formats));
  // Every column is wide enough for its title (a two-byte character is two characters wide).
  std::istringstream lines(formats);
  std::string line;
  std::string without_widths;
  int fitted = 0;
  while (std::getline(lines, line)) {
    if (!line.starts_with("width ")) {
      without_widths += line + "\n";
      continue;
    }
    std::istringstream words(line.substr(6));
    std::string column;
    double width = 0;
    words >> column >> width;
    const int c = column[0] - 'A';
    ASSERT_TRUE(c >= 0 && c < 22 && column.size() == 1) << line;
    EXPECT_GE(width, static_cast<double>(Gbk(titles[c]).size())) << line;
    ++fitted;
  }
  EXPECT_EQ(fitted, 22);
  EXPECT_EQ(without_widths, expected_formats);
}

// A spreadsheet program that ends without showing the workbook (LibreOffice without its window
// system): the user is told so and where the workbook was kept, in a folder of theirs.
TEST(ExportToXlsxTest, ProgramThatShowsNothingIsReportedWithTheWorkbooksPlace) {
  sheet::testing::StubSpreadsheet stub;
  const std::filesystem::path script = stub.dir() / "no-window.sh";
  std::ofstream(script) << "#!/bin/sh\necho 'no suitable windowing system found' >&2\nexit 1\n";
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  sheet::testing::ScopedEnv command(sheet::kCommandVariable, script.string());
  sheet::SheetAutomation seam;
  AppHarness harness(nullptr, &seam);
  harness.salary_register().SetRowCount(2);
  harness.SetCell(1, 1, Gbk(u8"张三"));
  ExportCommand(harness.context()).Run();
  const std::filesystem::path kept =
      stub.documents() / reinterpret_cast<const char*>(u8"工资表-导出1.xlsx");
  EXPECT_TRUE(std::filesystem::exists(kept));
  const std::vector<headless::ScreenEvent>& log = harness.backend().screen_log();
  ASSERT_FALSE(log.empty());
  const headless::ScreenEvent& box = log.back();
  ASSERT_EQ(box.kind, headless::ScreenEvent::Kind::kMessageBox);
  EXPECT_EQ(box.message.title, Gbk(u8"导出到Excel电子表格"));
  EXPECT_EQ(box.message.text,
            Gbk(u8"导出的工作簿没有显示出来：\r\n电子表格程序 ") + script.string() +
                Gbk(u8" 没有显示工作簿就结束了（退出码 1）。\r\n工作簿已保存为 ") +
                FromUtf8(kept.string()) + Gbk(u8"，可以用电子表格程序打开它。"));
  EXPECT_FALSE(harness.form().progress_bar().visible());
}

// LibreOffice without a display plugin (the no-display package) takes longer than the first
// seconds to find that it cannot show the workbook: the export waits as long as it runs, then
// saves the workbook where the guide says and names it.
TEST(ExportToXlsxTest, NoDisplaySpreadsheetProgramIsWaitedForHoweverLongItRuns) {
  sheet::testing::StubSpreadsheet stub;
  const std::filesystem::path soffice = stub.dir() / "soffice";
  std::ofstream(soffice) << "#!/bin/sh\nsleep 3.5\necho 'no suitable windowing system found' >&2\n"
                            "exit 1\n";
  std::filesystem::permissions(soffice, std::filesystem::perms::owner_all);
  sheet::testing::ScopedEnv no_command(sheet::kCommandVariable, "");
  sheet::testing::ScopedEnv path("PATH", stub.dir().string() + ":/usr/bin:/bin");
  sheet::SheetAutomation seam;
  AppHarness harness(nullptr, &seam);
  harness.salary_register().SetRowCount(2);
  harness.SetCell(1, 1, Gbk(u8"张三"));
  ExportCommand(harness.context()).Run();
  const std::filesystem::path kept =
      stub.documents() / reinterpret_cast<const char*>(u8"工资表-导出1.xlsx");
  EXPECT_TRUE(std::filesystem::exists(kept));
  const std::vector<headless::ScreenEvent>& log = harness.backend().screen_log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().message.text,
            Gbk(u8"导出的工作簿没有显示出来：\r\n电子表格程序 soffice 没有显示工作簿就结束了（退出码 1）。"
                u8"\r\n工作簿已保存为 ") +
                FromUtf8(kept.string()) + Gbk(u8"，可以用电子表格程序打开它。"));
}

}  // namespace
}  // namespace sr::app
