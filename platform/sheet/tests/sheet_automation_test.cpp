#include "platform/sheet/sheet_automation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/gbk.h"
#include "platform/automation/excel_dispids.h"
#include "platform/sheet/spreadsheet_program.h"
#include "platform/sheet/tests/stub_spreadsheet.h"

namespace sr::sheet {
namespace {

namespace fs = std::filesystem;
using automation::DispatchRef;
using automation::InvokeKind;
using automation::Status;
using automation::Variant;

const char* U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

DispatchRef Get(const DispatchRef& object, automation::DispId member,
                std::vector<Variant> args = {}) {
  Variant result;
  Status status = object->Invoke(member, InvokeKind::kPropertyGet, args, &result);
  EXPECT_TRUE(status.ok()) << std::hex << member << " " << status.message;
  return result.object;
}

Status Put(const DispatchRef& object, automation::DispId member, Variant value) {
  Variant result;
  return object->Invoke(member, InvokeKind::kPropertyPut, {value}, &result);
}

Status Call(const DispatchRef& object, automation::DispId member, std::vector<Variant> args = {}) {
  Variant result;
  return object->Invoke(member, InvokeKind::kMethod, args, &result);
}

class SheetAutomationTest : public ::testing::Test {
 protected:
  DispatchRef CreateApplication() {
    DispatchRef app;
    Status status = seam_.CreateObject("Excel.Application", &app);
    EXPECT_TRUE(status.ok()) << status.message;
    return app;
  }

  // The calls that the export's wrappers make to reach the first worksheet.
  DispatchRef FirstWorksheet(const DispatchRef& app) {
    DispatchRef books = Get(app, excel_member::kWorkbooks);
    EXPECT_TRUE(Call(books, excel_member::kAdd, {Variant::Missing()}).ok());
    DispatchRef application = Get(books, excel_member::kApplication);
    DispatchRef sheets = Get(application, excel_member::kSheets);
    EXPECT_TRUE(Call(application, excel_member::kActivate).ok());
    return Get(sheets, excel_member::kItem, {Variant::I4(1)});
  }

  Status SetCell(const DispatchRef& sheet, const char* ref, const std::string& text) {
    DispatchRef range = Get(sheet, excel_member::kRange, {Variant::Bstr(ref), Variant::Bstr(ref)});
    return Put(range, excel_member::kValue, Variant::Bstr(text));
  }

  testing::StubSpreadsheet stub_;
  SheetAutomation seam_;
};

TEST_F(SheetAutomationTest, VisibleWorkbookReachesTheProgramWithTextsAndNumbersApart) {
  std::string python = testing::PythonWithOpenpyxl();
  if (python.empty()) GTEST_SKIP() << "no python3 with openpyxl to read the workbook back";
  DispatchRef app = CreateApplication();
  DispatchRef sheet = FirstWorksheet(app);
  EXPECT_TRUE(SetCell(sheet, "a1", "工资").ok());   // GBK in, UTF-8 in the file
  EXPECT_TRUE(SetCell(sheet, "b1", "'0012").ok());  // apostrophe: text
  EXPECT_TRUE(SetCell(sheet, "c1", "0012").ok());   // a number
  EXPECT_TRUE(SetCell(sheet, "d1", "1234.5").ok());
  EXPECT_TRUE(SetCell(sheet, "e1", "12.5元").ok());
  EXPECT_TRUE(SetCell(sheet, "f1", "'").ok());  // empty
  EXPECT_TRUE(SetCell(sheet, "g2", "'123456789012345678").ok());
  EXPECT_TRUE(SetCell(sheet, "h2", "=1+2").ok());
  EXPECT_FALSE(stub_.opened());  // nothing is written before it is shown

  ASSERT_TRUE(Put(app, excel_member::kVisible, Variant::Bool(true)).ok());
  fs::path opened = stub_.WaitForOpened();
  ASSERT_FALSE(opened.empty());
  EXPECT_EQ(opened.filename(), "Book1.xlsx");
  EXPECT_EQ(opened.parent_path().parent_path(), stub_.dir());
  struct stat info;
  ASSERT_EQ(stat(opened.parent_path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  std::string cells;
  ASSERT_TRUE(testing::ListCells(python, stub_.copy(), &cells));
  EXPECT_EQ(cells, U8(u8"A1 str 工资\n"
                      u8"B1 str 0012\n"
                      u8"C1 int 12\n"
                      u8"D1 float 1234.5\n"
                      u8"E1 str 12.5元\n"
                      u8"G2 str 123456789012345678\n"
                      u8"H2 str =1+2\n"));
}

TEST_F(SheetAutomationTest, WorkbookIsOpenedOnceAndOnlyWhenShown) {
  DispatchRef app = CreateApplication();
  DispatchRef sheet = FirstWorksheet(app);
  ASSERT_TRUE(Put(app, excel_member::kVisible, Variant::Bool(false)).ok());
  usleep(50 * 1000);
  EXPECT_FALSE(stub_.opened());
  ASSERT_TRUE(Put(app, excel_member::kVisible, Variant::Bool(true)).ok());
  ASSERT_FALSE(stub_.WaitForOpened().empty());
  stub_.Forget();
  ASSERT_TRUE(Put(app, excel_member::kVisible, Variant::Bool(true)).ok());
  usleep(100 * 1000);
  EXPECT_FALSE(stub_.opened());
}

TEST_F(SheetAutomationTest, WithoutASpreadsheetProgramTheClassIsUnknown) {
  testing::ScopedEnv unset(kCommandVariable, "");
  testing::ScopedEnv path("PATH", stub_.dir().string());  // holds no soffice
  DispatchRef app;
  Status status = seam_.CreateObject("Excel.Application", &app);
  EXPECT_EQ(status.code, automation::kInvalidClassString);
  EXPECT_FALSE(status.message.empty());
  EXPECT_FALSE(app);

  fs::path soffice = stub_.dir() / "soffice";
  std::ofstream(soffice) << "#!/bin/sh\n";
  fs::permissions(soffice, fs::perms::owner_all);
  EXPECT_TRUE(seam_.CreateObject("excel.application", &app).ok());
  EXPECT_EQ(seam_.CreateObject("Word.Application", &app).code, automation::kInvalidClassString);
}

TEST_F(SheetAutomationTest, ProgramThatCannotStartMakesVisibleFail) {
  // soffice found on PATH, but not executable by exec (no interpreter line, not a binary).
  testing::ScopedEnv unset(kCommandVariable, "");
  testing::ScopedEnv path("PATH", stub_.dir().string());
  fs::path soffice = stub_.dir() / "soffice";
  std::ofstream(soffice) << "not a program";
  fs::permissions(soffice, fs::perms::owner_all);
  DispatchRef app = CreateApplication();
  FirstWorksheet(app);
  Status status = Put(app, excel_member::kVisible, Variant::Bool(true));
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.message.find("无法启动电子表格程序 soffice："), std::string::npos)
      << status.message;
  EXPECT_TRUE(fs::exists(stub_.documents() / U8(u8"工资表-导出1.xlsx")));
}

// A spreadsheet program that ends with a failure status (LibreOffice without its window system)
// has shown nothing: the user is told so and where the workbook now is, in a folder of theirs,
// never over a file that is there; nothing is left in the temporary folder.
TEST_F(SheetAutomationTest, ProgramThatEndsWithoutShowingLeavesTheWorkbookWithTheUser) {
  std::string python = testing::PythonWithOpenpyxl();
  fs::path script = stub_.dir() / "fails.sh";
  std::ofstream(script) << "#!/bin/sh\nexit 3\n";
  fs::permissions(script, fs::perms::owner_all);
  testing::ScopedEnv command(kCommandVariable, script.string());
  DispatchRef app = CreateApplication();
  DispatchRef sheet = FirstWorksheet(app);
  ASSERT_TRUE(SetCell(sheet, "a1", "工资").ok());
  ASSERT_TRUE(SetCell(sheet, "b2", "1234.5").ok());
  Status status = Put(app, excel_member::kVisible, Variant::Bool(true));
  ASSERT_FALSE(status.ok());
  const fs::path kept = stub_.documents() / U8(u8"工资表-导出1.xlsx");
  EXPECT_EQ(status.message, "电子表格程序 " + script.string() +
                                " 没有显示工作簿就结束了（退出码 3）。\r\n"
                                "工作簿已保存为 " +
                                FromUtf8(kept.string()) + "，可以用电子表格程序打开它。");
  ASSERT_TRUE(fs::exists(kept));
  for (const fs::directory_entry& entry : fs::directory_iterator(stub_.dir())) {
    if (entry.is_directory() && entry.path().filename().string().starts_with("salary-export-")) {
      EXPECT_TRUE(fs::is_empty(entry.path())) << entry.path();
    }
  }
  if (!python.empty()) {
    std::string cells;
    ASSERT_TRUE(testing::ListCells(python, kept, &cells));
    EXPECT_EQ(cells, U8(u8"A1 str 工资\nB2 float 1234.5\n"));
  }

  // A second workbook gets a name of its own.
  FirstWorksheet(app);
  EXPECT_FALSE(Put(app, excel_member::kVisible, Variant::Bool(true)).ok());
  EXPECT_TRUE(fs::exists(stub_.documents() / U8(u8"工资表-导出2.xlsx")));
  EXPECT_TRUE(fs::exists(kept));
}

TEST_F(SheetAutomationTest, WorkbooksNobodyShowsGoToDocumentsElseTheWorkingFolder) {
  EXPECT_EQ(UserWorkbookFolder(), stub_.documents().string());
  fs::remove(stub_.documents());
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(UserWorkbookFolder(), std::string(cwd));
}

// A program still running after the watch is taking its time to show the workbook; one that
// ends with success has handed it to a copy already running. Both count as shown.
TEST_F(SheetAutomationTest, ProgramStillRunningOrEndingWellCountsAsShown) {
  for (const char* command : {"sleep 1;", "true"}) {
    testing::ScopedEnv set(kCommandVariable, command);
    std::optional<SpreadsheetProgram> program = SpreadsheetProgram::Find();
    ASSERT_TRUE(program.has_value());
    program->set_watch_ms(200);
    Text error;
    EXPECT_TRUE(program->Open((stub_.dir() / "x.xlsx").string(), &error)) << command << error;
  }
}

TEST_F(SheetAutomationTest, ViewerSeesTheShownWorkbookInsteadOfAProgram) {
  testing::ScopedEnv unset(kCommandVariable, "");
  testing::ScopedEnv path("PATH", stub_.dir().string());  // no spreadsheet program at all
  std::vector<Workbook> seen;
  seam_.ShowWorkbooksTo([&seen](const Workbook& book) { seen.push_back(book); });
  DispatchRef app = CreateApplication();
  DispatchRef sheet = FirstWorksheet(app);
  ASSERT_TRUE(SetCell(sheet, "b2", "'0012").ok());
  ASSERT_TRUE(SetCell(sheet, "c2", "0012").ok());
  EXPECT_TRUE(seen.empty());
  ASSERT_TRUE(Put(app, excel_member::kVisible, Variant::Bool(true)).ok());
  ASSERT_TRUE(Put(app, excel_member::kVisible, Variant::Bool(true)).ok());  // once only
  ASSERT_EQ(seen.size(), 1u);
  const auto& cells = seen[0].sheets.at(0).cells;
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells.at({1, 1}), Cell(Text("0012")));
  EXPECT_EQ(cells.at({1, 2}), Cell(12.0));
  usleep(50 * 1000);
  EXPECT_FALSE(stub_.opened());
}

// Number formats, bold type, fitted columns and frozen titles, put as Excel's members, reach
// the workbook that the spreadsheet program opens.
TEST_F(SheetAutomationTest, FormattingReachesTheWorkbook) {
  std::string python = testing::PythonWithOpenpyxl();
  if (python.empty()) GTEST_SKIP() << "no python3 with openpyxl to read the workbook back";
  DispatchRef app = CreateApplication();
  DispatchRef sheet = FirstWorksheet(app);
  ASSERT_TRUE(SetCell(sheet, "a1", "养老保险(免税)").ok());
  ASSERT_TRUE(SetCell(sheet, "b1", "x").ok());
  ASSERT_TRUE(SetCell(sheet, "a2", "12507226.57").ok());
  ASSERT_TRUE(SetCell(sheet, "b2", "1234567.5").ok());
  DispatchRef amounts =
      Get(sheet, excel_member::kRange, {Variant::Bstr("a2"), Variant::Bstr("b3")});
  ASSERT_TRUE(Put(amounts, excel_member::kNumberFormat, Variant::Bstr("#,##0.00")).ok());
  DispatchRef titles = Get(sheet, excel_member::kRange, {Variant::Bstr("a1"), Variant::Bstr("b1")});
  ASSERT_TRUE(Put(Get(titles, excel_member::kFont), excel_member::kBold, Variant::Bool(true)).ok());
  EXPECT_FALSE(Call(titles, excel_member::kAutoFit).ok());  // only whole columns
  ASSERT_TRUE(Call(Get(titles, excel_member::kEntireColumn), excel_member::kAutoFit).ok());
  DispatchRef window = Get(app, excel_member::kActiveWindow);
  ASSERT_TRUE(Put(window, excel_member::kSplitRow, Variant::I4(1)).ok());
  ASSERT_TRUE(Put(window, excel_member::kFreezePanes, Variant::Bool(true)).ok());
  EXPECT_FALSE(Put(window, excel_member::kSplitRow, Variant::I4(-1)).ok());
  ASSERT_TRUE(Put(app, excel_member::kVisible, Variant::Bool(true)).ok());
  ASSERT_FALSE(stub_.WaitForOpened().empty());

  std::string formats;
  ASSERT_TRUE(testing::ListFormats(python, stub_.copy(), &formats));
  // Column a fits its bold title (14 characters), b its amount "1,234,567.50" (12).
  EXPECT_EQ(formats,
            "freeze A2\n"
            "width A 17.1\n"
            "width B 13.7\n"
            "A1 General bold\n"
            "B1 General bold\n"
            "A2 #,##0.00 plain\n"
            "B2 #,##0.00 plain\n");
}

TEST_F(SheetAutomationTest, BadCallsReportErrorsAndChangeNothing) {
  DispatchRef app = CreateApplication();
  Variant result;
  // No workbook yet: no sheets.
  EXPECT_FALSE(app->Invoke(excel_member::kSheets, InvokeKind::kPropertyGet, {}, &result).ok());
  DispatchRef sheet = FirstWorksheet(app);
  DispatchRef sheets = Get(Get(app, excel_member::kApplication), excel_member::kSheets);
  EXPECT_EQ(
      sheets->Invoke(excel_member::kItem, InvokeKind::kPropertyGet, {Variant::I4(2)}, &result).code,
      automation::kBadIndex);
  EXPECT_FALSE(
      sheet->Invoke(excel_member::kRange, InvokeKind::kPropertyGet, {Variant::Bstr("a0")}, &result)
          .ok());
  EXPECT_EQ(app->Invoke(0x7777, InvokeKind::kMethod, {}, &result).code,
            automation::kMemberNotFound);
  DispatchRef all =
      Get(sheet, excel_member::kRange, {Variant::Bstr("a1"), Variant::Bstr("xfd1048576")});
  EXPECT_FALSE(Put(all, excel_member::kValue, Variant::Bstr("x")).ok());
}

TEST_F(SheetAutomationTest, CloseAndQuitEndWhatTheyEnd) {
  DispatchRef app = CreateApplication();
  DispatchRef sheet = FirstWorksheet(app);
  DispatchRef books = Get(app, excel_member::kWorkbooks);
  ASSERT_TRUE(Call(books, excel_member::kClose).ok());
  EXPECT_FALSE(SetCell(sheet, "a1", "x").ok());  // its workbook is gone
  ASSERT_TRUE(Call(app, excel_member::kQuit).ok());
  Variant result;
  EXPECT_FALSE(app->Invoke(excel_member::kWorkbooks, InvokeKind::kPropertyGet, {}, &result).ok());
  EXPECT_FALSE(Put(app, excel_member::kVisible, Variant::Bool(true)).ok());
}

}  // namespace
}  // namespace sr::sheet
