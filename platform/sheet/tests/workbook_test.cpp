#include "platform/sheet/workbook.h"

#include <gtest/gtest.h>

#include "platform/sheet/sheet_format.h"

namespace sr::sheet {
namespace {

TEST(ParseRangeTest, ReadsCellsAndRectanglesInAnyCase) {
  EXPECT_EQ(ParseRange("a1"), (CellRange{0, 0, 0, 0}));
  EXPECT_EQ(ParseRange("V5001"), (CellRange{5000, 21, 5000, 21}));
  EXPECT_EQ(ParseRange("$ab$12"), (CellRange{11, 27, 11, 27}));
  EXPECT_EQ(ParseRange("c3:a1"), (CellRange{0, 0, 2, 2}));
  EXPECT_EQ(ParseRange("XFD1048576"), (CellRange{1048575, 16383, 1048575, 16383}));
  EXPECT_EQ(SpanRanges("b2", "a5"), (CellRange{1, 0, 4, 1}));
}

TEST(ParseRangeTest, RefusesWhatIsNoReferenceOrLiesOffTheSheet) {
  for (const char* bad :
       {"", "a", "1", "1a", "a0", "a1b", "a 1", "XFE1", "a1048577", "a1:", "a99999999999", "'a1"}) {
    EXPECT_EQ(ParseRange(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(SpanRanges("a1", ""), std::nullopt);
}

TEST(CellFromTypedTextTest, ApostropheKeepsTheRestAsText) {
  EXPECT_EQ(CellFromTypedText("'0012"), Cell(Text("0012")));
  EXPECT_EQ(CellFromTypedText("'123456789012345678"), Cell(Text("123456789012345678")));
  EXPECT_EQ(CellFromTypedText("''x"), Cell(Text("'x")));
  // A lone apostrophe and the empty text leave an empty cell.
  EXPECT_EQ(CellFromTypedText("'"), std::nullopt);
  EXPECT_EQ(CellFromTypedText(""), std::nullopt);
}

TEST(CellFromTypedTextTest, TextThatIsWhollyANumberBecomesANumber) {
  EXPECT_EQ(CellFromTypedText("0012"), Cell(12.0));
  EXPECT_EQ(CellFromTypedText(" 1234.5 "), Cell(1234.5));
  EXPECT_EQ(CellFromTypedText("-1e3"), Cell(-1000.0));
  EXPECT_EQ(CellFromTypedText("+5"), Cell(5.0));
  EXPECT_EQ(CellFromTypedText(".5"), Cell(0.5));
  EXPECT_EQ(CellFromTypedText("3."), Cell(3.0));
}

TEST(CellFromTypedTextTest, EverythingElseStaysText) {
  for (const char* text :
       {"12.5元", "工资", "1.2.3", "1e", "e5", "-", ".", "1,500", "1e400", "=1+2", "0x10", "  "}) {
    EXPECT_EQ(CellFromTypedText(text), Cell(Text(text))) << text;
  }
}

TEST(WriteRangeTest, FillsAndClearsEveryCellOfTheRange) {
  Worksheet sheet;
  WriteRange(&sheet, CellRange{0, 0, 1, 1}, Cell(1.0));
  EXPECT_EQ(sheet.cells.size(), 4u);
  WriteRange(&sheet, CellRange{1, 0, 1, 1}, std::nullopt);
  EXPECT_EQ(sheet.cells.size(), 2u);
  EXPECT_EQ(sheet.cells.count({0, 1}), 1u);
}

TEST(ShownTextTest, AmountsShowTwoDecimalsWithSeparatorsAndGeneralUpToElevenDigits) {
  EXPECT_EQ(ShownText(Cell(1234567.5), "#,##0.00"), "1,234,567.50");
  EXPECT_EQ(ShownText(Cell(-1234.5), "#,##0.00"), "-1,234.50");
  EXPECT_EQ(ShownText(Cell(123.0), "#,##0.00"), "123.00");
  EXPECT_EQ(ShownText(Cell(1234.5), "0.00"), "1234.50");
  EXPECT_EQ(ShownText(Cell(0.1), kGeneralFormat), "0.1");
  EXPECT_EQ(ShownText(Cell(123456789012.0), kGeneralFormat), "1.2345678901e+11");
  EXPECT_EQ(ShownText(Cell(Text("工资")), "#,##0.00"), "工资");
}

// Later formats cover earlier ones; widths fit the widest shown cell of each column.
TEST(FittedWidthsTest, FitTheWidestShownCellOfEachColumn) {
  Worksheet sheet;
  sheet.cells[{0, 0}] = Text("姓名");
  sheet.cells[{1, 0}] = 1.0;
  sheet.cells[{1, 1}] = 1234567.5;
  sheet.cells[{5, 1}] = Text("abc");
  sheet.number_formats.emplace_back(CellRange{1, 0, 9, 1}, "0.00");
  sheet.number_formats.emplace_back(CellRange{1, 1, 1, 1}, "#,##0.00");
  sheet.bold.emplace_back(CellRange{0, 0, 0, 1}, true);
  EXPECT_EQ(NumberFormatAt(sheet, 1, 1), "#,##0.00");
  EXPECT_EQ(NumberFormatAt(sheet, 1, 0), "0.00");
  EXPECT_EQ(NumberFormatAt(sheet, 0, 0), kGeneralFormat);
  EXPECT_TRUE(BoldAt(sheet, 0, 1));
  EXPECT_FALSE(BoldAt(sheet, 1, 1));
  const std::map<int, double> widths = FittedWidths(sheet, 0, 2);
  ASSERT_EQ(widths.size(), 2u);                 // column 2 holds nothing
  EXPECT_DOUBLE_EQ(widths.at(0), 4 * 1.1 + 1);  // the bold title, two two-byte characters
  EXPECT_DOUBLE_EQ(widths.at(1), 12 + 1);       // "1,234,567.50"
}

}  // namespace
}  // namespace sr::sheet
