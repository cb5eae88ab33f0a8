// The workbook reader over liborcus, on workbooks that openpyxl writes here and on a small one
// that LibreOffice wrote (tests/fixtures, made by make_fixtures.sh): text cells stay exactly as
// typed, number cells keep every digit a spreadsheet shows, only the first sheet is read, and a
// file that is no workbook is refused with a reason.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/xlsx/workbook_reader.h"

namespace sr::xlsx {
namespace {

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Runs a python3 program with openpyxl that saves a workbook to argv[1]; returns its bytes.
std::string WriteWithOpenpyxl(const std::string& program) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("xlsx_reader_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::filesystem::path script = dir / "make.py", book = dir / "book.xlsx";
  std::ofstream(script) << "import sys, openpyxl\nwb = openpyxl.Workbook()\nws = wb.active\n"
                        << program << "\nwb.save(sys.argv[1])\n";
  const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + book.string() + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::string bytes = Bytes(book);
  std::filesystem::remove_all(dir);
  return bytes;
}

const SheetCell& At(const SheetRows& rows, size_t row, size_t column) {
  static const SheetCell kEmpty;
  return row < rows.size() && column < rows[row].size() ? rows[row][column] : kEmpty;
}

TEST(WorkbookReaderTest, TextCellsStayAsTypedAndNumberCellsKeepTheirDigits) {
  const std::string bytes = WriteWithOpenpyxl(U8(u8R"(
ws.append(['编号', '姓名', '基本工资', '备注'])
ws.append(['0012', '张三', 1234.5, 'a “quote” & <tag>'])
ws.append([1001, '李四', 0.1 + 0.2, None])
ws.append(['110101199001011234', '王五', 123456789012345, '  两边空格  '])
ws.append([7, '赵六', '8000.50', 1e-7])
ws.cell(row=6, column=2, value=-0.005)
ws.cell(row=7, column=30, value=True)
wb.create_sheet('第二页').append(['不读'])
)"));
  SheetRows rows;
  ReadFailure error;
  ASSERT_TRUE(RealWorkbookReader().ReadFirstSheet(bytes, &rows, &error)) << error.detail;
  EXPECT_EQ(At(rows, 0, 0).text, U8(u8"编号"));
  EXPECT_EQ(At(rows, 0, 3).text, U8(u8"备注"));
  EXPECT_EQ(At(rows, 1, 0).kind, SheetCell::Kind::kText);
  EXPECT_EQ(At(rows, 1, 0).text, "0012");
  EXPECT_EQ(At(rows, 1, 2).kind, SheetCell::Kind::kNumber);
  EXPECT_EQ(At(rows, 1, 2).text, "1234.5");
  EXPECT_EQ(At(rows, 1, 3).text, U8(u8"a “quote” & <tag>"));
  EXPECT_EQ(At(rows, 2, 0).text, "1001");
  EXPECT_EQ(At(rows, 2, 2).text, "0.3");
  EXPECT_EQ(At(rows, 2, 3).kind, SheetCell::Kind::kEmpty);
  EXPECT_EQ(At(rows, 3, 0).text, "110101199001011234");  // a text cell: every digit
  EXPECT_EQ(At(rows, 3, 2).text, "123456789012345");     // 15 digits of a number cell
  EXPECT_EQ(At(rows, 3, 3).text, U8(u8"  两边空格  "));
  EXPECT_EQ(At(rows, 4, 2).kind, SheetCell::Kind::kText);
  EXPECT_EQ(At(rows, 4, 2).text, "8000.50");
  EXPECT_EQ(At(rows, 4, 3).text, "0.0000001");
  EXPECT_EQ(At(rows, 5, 1).text, "-0.005");
  EXPECT_EQ(At(rows, 6, 29).kind, SheetCell::Kind::kOther);
  for (const auto& row : rows) {
    for (const SheetCell& cell : row) EXPECT_NE(cell.text, U8(u8"不读"));
  }
}

TEST(WorkbookReaderTest, ReadsAWorkbookThatLibreOfficeWrote) {
  SheetRows rows;
  ReadFailure error;
  ASSERT_TRUE(RealWorkbookReader().ReadFirstSheet(
      Bytes(std::filesystem::path(SR_XLSX_FIXTURES) / "libreoffice.xlsx"), &rows, &error))
      << error.detail;
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(At(rows, 0, 3).text, U8(u8"奖金(免税)"));
  EXPECT_EQ(At(rows, 1, 0).kind, SheetCell::Kind::kText);
  EXPECT_EQ(At(rows, 1, 0).text, "0012");
  EXPECT_EQ(At(rows, 1, 2).kind, SheetCell::Kind::kNumber);
  EXPECT_EQ(At(rows, 1, 2).text, "1234.5");
  EXPECT_EQ(At(rows, 2, 2).text, "0.3");
  EXPECT_EQ(At(rows, 2, 3).kind, SheetCell::Kind::kEmpty);
  EXPECT_EQ(At(rows, 2, 4).text, U8(u8"两边 空格"));
}

TEST(WorkbookReaderTest, NumberTextsAreShortAndExact) {
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-12.25), "-12.25");
  EXPECT_EQ(NumberText(5000), "5000");
  EXPECT_EQ(NumberText(1e20), "100000000000000000000");
  EXPECT_EQ(NumberText(123456789012345678.0), "123456789012346000");
  EXPECT_EQ(NumberText(0.1 + 0.7), "0.8");
  EXPECT_EQ(NumberText(99999999.99), "99999999.99");
}

TEST(WorkbookReaderTest, AFileThatIsNoWorkbookIsRefusedWithAReason) {
  SheetRows rows;
  ReadFailure error;
  EXPECT_FALSE(RealWorkbookReader().ReadFirstSheet("编号,姓名\n1,张三\n", &rows, &error));
  EXPECT_FALSE(error.detail.empty());
  EXPECT_TRUE(rows.empty());
  // A workbook cut short, as an interrupted copy leaves it.
  const std::string bytes = WriteWithOpenpyxl("ws.append(['a', 1])");
  error = {};
  EXPECT_FALSE(
      RealWorkbookReader().ReadFirstSheet(bytes.substr(0, bytes.size() / 2), &rows, &error));
  EXPECT_FALSE(error.detail.empty());
}

}  // namespace
}  // namespace sr::xlsx
