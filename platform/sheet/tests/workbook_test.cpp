#include "platform/sheet/workbook.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace sr::sheet
