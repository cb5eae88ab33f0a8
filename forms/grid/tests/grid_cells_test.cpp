#include <gtest/gtest.h>

#include "forms/grid/grid.h"

namespace sr {
namespace {

Text CellText(const Grid& g, int r, int c) { return g.GetCellValue(r, c).text(); }

TEST(GridConfigTest, FourGridsStartAsTheirFormsSay) {
  Grid reg(RegisterGridConfig());
  EXPECT_EQ(reg.RowCount(), 1);
  EXPECT_EQ(reg.ColumnCount(), 22);
  EXPECT_EQ(reg.TitleRowCount(), 1);
  EXPECT_EQ(reg.TitleColumnCount(), 0);
  EXPECT_FALSE(reg.Editable());
  EXPECT_EQ(reg.EnterMoves(), 1);
  EXPECT_EQ(reg.ColumnWidth(21), 80);
  EXPECT_EQ(reg.RowHeight(0), 20);
  EXPECT_EQ(reg.GetCursorRow(), -1);
  EXPECT_EQ(reg.GetCursorColumn(), -1);

  Grid tax(TaxTableGridConfig());
  EXPECT_EQ(tax.RowCount(), 14);
  EXPECT_EQ(tax.ColumnCount(), 9);
  EXPECT_EQ(tax.TitleColumnCount(), 1);
  EXPECT_TRUE(tax.Editable());
  EXPECT_EQ(tax.RowHeight(13), 26);
  EXPECT_EQ(tax.ColumnWidth(8), 60);

  Grid items(ItemGridConfig());
  EXPECT_EQ(items.RowCount(), 16);
  EXPECT_EQ(items.ColumnWidth(1), 120);
  Grid summary(SummaryGridConfig());
  EXPECT_EQ(summary.RowCount(), 20);
  EXPECT_EQ(summary.ColumnWidth(2), 40);
}

TEST(GridCellTest, StoresNumbersAsTheProgramShowsThem) {
  Grid g(TaxTableGridConfig());
  EXPECT_TRUE(g.SetCellValue(1, 1, 1, Value::Double(1234.5)));
  EXPECT_EQ(CellText(g, 1, 1), "1234.5");
  EXPECT_TRUE(g.SetCellValue(1, 2, 1, Value::Double(0.1)));
  EXPECT_EQ(CellText(g, 1, 2), "0.1");
  EXPECT_TRUE(g.SetCellValue(1, 3, 1, Value::Int(7)));
  EXPECT_EQ(CellText(g, 1, 3), "7");
  EXPECT_TRUE(g.SetCellValue(1, 4, 1, Value::Double(1e15)));
  EXPECT_EQ(CellText(g, 1, 4), "1e+015");
  EXPECT_TRUE(g.SetCellValue(1, 5, 1, Value::Float(0.1f)));
  EXPECT_EQ(CellText(g, 1, 5), "0.1");
  EXPECT_TRUE(g.SetCellValue(1, 6, 1, Value::Int64(-9000000000LL)));
  EXPECT_EQ(CellText(g, 1, 6), "-9000000000");
  EXPECT_TRUE(g.SetCellValue(1, 7, 1, Value::Byte(200)));
  EXPECT_EQ(CellText(g, 1, 7), "200");
  EXPECT_TRUE(g.SetCellValue(1, 8, 1, Value::Short(-5)));
  EXPECT_EQ(CellText(g, 1, 8), "-5");
  EXPECT_TRUE(g.SetCellValue(0, 0, 1, Value::FromText("工资(免税)")));
  EXPECT_EQ(CellText(g, 0, 0), "工资(免税)");
}

TEST(GridCellTest, RefusesOtherTypesKindsAndCellsOutsideTheGrid) {
  Grid g(TaxTableGridConfig());
  g.SetCellValue(2, 2, 1, Value::FromText("keep"));
  EXPECT_FALSE(g.SetCellValue(2, 2, 1, Value::Bool(true)));
  EXPECT_FALSE(g.SetCellValue(2, 2, 1, Value::DateTime(40000)));
  EXPECT_FALSE(g.SetCellValue(2, 2, 1, Value::FromBytes("x")));
  EXPECT_FALSE(g.SetCellValue(2, 2, 2, Value::FromText("other kind")));
  EXPECT_EQ(CellText(g, 2, 2), "keep");
  EXPECT_FALSE(g.SetCellValue(14, 0, 1, Value::Int(1)));
  EXPECT_FALSE(g.SetCellValue(0, 9, 1, Value::Int(1)));
  EXPECT_FALSE(g.SetCellValue(-1, 0, 1, Value::Int(1)));
}

TEST(GridCellTest, ReadingOutsideTheGridGivesFalseNotEmptyText) {
  Grid g(TaxTableGridConfig());
  EXPECT_EQ(g.GetCellValue(14, 0), Value::Bool(false));
  EXPECT_EQ(g.GetCellValue(0, 9), Value::Bool(false));
  EXPECT_EQ(g.GetCellValue(-1, 0), Value::Bool(false));
  EXPECT_EQ(g.GetCellValue(13, 8), Value::FromText(""));
}

TEST(GridCellTest, AlignmentRectangleIsClampedAndValidated) {
  Grid g(SummaryGridConfig());  // 20 x 3
  // Rows 0 to 21 of column 0: clamped to the grid's 20 rows.
  g.SetAlignment(0, 0, 21, std::nullopt, 2);
  EXPECT_EQ(g.CellAlignment(19, 0), Alignment::kCentre);
  EXPECT_EQ(g.CellAlignment(19, 1), Alignment::kLeft);
  g.SetAlignment(1, 2, std::nullopt, std::nullopt, 3);
  EXPECT_EQ(g.CellAlignment(1, 2), Alignment::kRight);
  EXPECT_EQ(g.CellAlignment(2, 2), Alignment::kLeft);
  g.SetAlignment(1, 2, 1, 2, 7);  // any other value is left
  EXPECT_EQ(g.CellAlignment(1, 2), Alignment::kLeft);

  g.SetAlignment(5, 1, 3, 1, 3);    // inverted
  g.SetAlignment(-1, 1, 3, 1, 3);   // negative bound
  g.SetAlignment(20, 0, 25, 2, 3);  // first cell outside
  for (int r = 0; r < 20; ++r) EXPECT_EQ(g.CellAlignment(r, 1), Alignment::kLeft) << r;
}

TEST(GridCellTest, ColumnWidthAndRowHeightOnlyForExistingOnes) {
  Grid g(ItemGridConfig());
  EXPECT_TRUE(g.SetColumnWidth(0, 42));
  EXPECT_EQ(g.ColumnWidth(0), 42);
  EXPECT_FALSE(g.SetColumnWidth(2, 42));
  EXPECT_FALSE(g.SetColumnWidth(-1, 42));
  EXPECT_FALSE(g.SetColumnWidth(1, -3));
  EXPECT_EQ(g.ColumnWidth(1), 120);
  EXPECT_FALSE(g.SetRowHeight(16, 5));
  EXPECT_TRUE(g.SetRowHeight(3, 0));
  EXPECT_EQ(g.RowHeight(3), 0);
}

TEST(GridCellTest, MayEditNeedsEditableADataCellAndNoReadOnlyFlag) {
  Grid g(TaxTableGridConfig());
  EXPECT_TRUE(g.MayEdit(1, 1));
  EXPECT_FALSE(g.MayEdit(0, 1));  // title row
  EXPECT_FALSE(g.MayEdit(1, 0));  // title column
  EXPECT_FALSE(g.MayEdit(14, 1));
  g.SetCellReadOnly(1, 1, true);
  EXPECT_FALSE(g.MayEdit(1, 1));
  g.SetEditable(false);
  EXPECT_FALSE(g.MayEdit(2, 2));
}

}  // namespace
}  // namespace sr
