#include <gtest/gtest.h>

#include "forms/grid/grid.h"
#include "forms/grid/tests/recording_events.h"
#include "platform/ui/keys.h"
#include "platform/ui/memory_clipboard.h"

namespace sr {
namespace {

Text CellText(const Grid& g, int r, int c) { return g.GetCellValue(r, c).text(); }

// A grid of `rows` rows (one title row) and 3 columns whose column 0 holds the row's number.
Grid* Numbered(Grid* g, int rows) {
  g->SetRowCount(rows);
  for (int r = 0; r < rows; ++r) g->SetCellValue(r, 0, 1, Value::Int(r));
  return g;
}

GridConfig ThreeColumns() { return {1, 3, 1, 0, true, 20, 80, 0, false}; }

TEST(GridRowCountTest, ZeroOrLessIsRefusedAndNothingChanges) {
  Grid g(ThreeColumns());
  Numbered(&g, 4);
  g.SetCursor(2, 1);
  EXPECT_FALSE(g.SetRowCount(0));
  EXPECT_FALSE(g.SetRowCount(-3));
  EXPECT_FALSE(g.SetColumnCount(0));
  EXPECT_EQ(g.RowCount(), 4);
  EXPECT_EQ(g.ColumnCount(), 3);
  EXPECT_EQ(CellText(g, 3, 0), "3");
  EXPECT_EQ(g.GetCursorRow(), 2);
}

TEST(GridRowCountTest, GrowsWithEmptyRowsAndEveryRowGetsTheDefaultHeight) {
  Grid g(RegisterGridConfig());
  g.SetCellValue(0, 5, 1, Value::FromText("姓名"));
  g.SetRowHeight(0, 33);
  ASSERT_TRUE(g.SetRowCount(5001));
  EXPECT_EQ(g.RowCount(), 5001);
  EXPECT_EQ(CellText(g, 0, 5), "姓名");
  EXPECT_EQ(g.GetCellValue(5000, 21), Value::FromText(""));
  EXPECT_EQ(g.RowHeight(0), 20);
  EXPECT_EQ(g.RowHeight(5000), 20);
}

TEST(GridRowCountTest, ShrinkingClearsACursorInARemovedRowAndCutsBackTitlesAndMerges) {
  Grid g({10, 4, 3, 1, true, 20, 80, 0, false});
  g.MergeCells(5, 1, 8, 2);
  g.MergeCells(8, 2, 9, 3);  // overlaps the first: replaces it
  g.MergeCells(4, 1, 5, 3);
  g.SetCursor(7, 2);
  ASSERT_TRUE(g.SetRowCount(5));
  EXPECT_EQ(g.GetCursorRow(), -1);
  EXPECT_EQ(g.TitleRowCount(), 3);
  ASSERT_EQ(g.MergedRanges().size(), 1u);
  EXPECT_EQ(g.MergedRanges()[0], (CellRange{4, 1, 4, 3}));
  ASSERT_TRUE(g.SetRowCount(2));
  EXPECT_EQ(g.TitleRowCount(), 2);
  EXPECT_TRUE(g.MergedRanges().empty());
}

TEST(GridRowCountTest, ColumnCountKeepsTextsOfKeptColumns) {
  Grid g(ThreeColumns());
  Numbered(&g, 3);
  g.SetCellValue(2, 2, 1, Value::FromText("z"));
  g.SetCursor(1, 2);
  ASSERT_TRUE(g.SetColumnCount(5));
  EXPECT_EQ(CellText(g, 2, 2), "z");
  EXPECT_EQ(CellText(g, 2, 0), "2");
  EXPECT_EQ(CellText(g, 2, 4), "");
  ASSERT_TRUE(g.SetColumnCount(2));
  EXPECT_EQ(CellText(g, 2, 0), "2");
  EXPECT_EQ(g.GetCellValue(2, 2), Value::Bool(false));
  EXPECT_EQ(g.GetCursorRow(), -1);
}

TEST(GridInsertRowTest, InsertsBeforeTheRowAndMovesTheCursorBelowIt) {
  Grid g(ThreeColumns());
  Numbered(&g, 5);
  g.SetCursor(3, 1);
  ASSERT_TRUE(g.InsertRow(std::nullopt, 2));
  EXPECT_EQ(g.RowCount(), 6);
  EXPECT_EQ(CellText(g, 2, 0), "");
  EXPECT_EQ(CellText(g, 3, 0), "2");
  EXPECT_EQ(g.GetCursorRow(), 4);  // still on the row numbered 3
  EXPECT_EQ(CellText(g, g.GetCursorRow(), 0), "3");

  // A cursor on the insertion point itself rests on the new empty row.
  ASSERT_TRUE(g.InsertRow(Text("新"), 4));
  EXPECT_EQ(g.GetCursorRow(), 4);
  EXPECT_EQ(CellText(g, 4, 0), "新");
  EXPECT_EQ(CellText(g, 5, 0), "3");
}

// The Delete key after an insertion clears what the user sees selected, never a cell of the row
// that moved down under the old selection.
TEST(GridInsertRowTest, AfterwardsOnlyTheCursorCellIsSelected) {
  Grid g(ThreeColumns());
  Numbered(&g, 6);
  g.PressButton(3, 0, 0, 0, 0);  // the cursor cell, selected
  g.ReleaseButton(3, 0, 0, 0, 0);
  ASSERT_TRUE(g.InsertRow(std::nullopt, 3));
  EXPECT_EQ(g.Selection(), CellRange::Cell(3, 0));
  g.PressKey(ui::kVkDelete, 0);
  EXPECT_EQ(CellText(g, 4, 0), "3");

  // A selection over several rows, the cursor at its bottom: it does not stretch, nor slide
  // over other people.
  g.PressButton(1, 0, 0, 0, 0);
  g.ReleaseButton(1, 0, 0, 0, 0);
  g.PressKey(ui::kVkDown, ui::kShift);
  g.PressKey(ui::kVkDown, ui::kShift);  // rows 1 to 3, cursor on row 3
  ASSERT_TRUE(g.InsertRow(std::nullopt, 2));
  EXPECT_EQ(g.GetCursorRow(), 4);
  EXPECT_EQ(g.Selection(), CellRange::Cell(4, 0));
  g.PressKey(ui::kVkUp, ui::kShift);  // extends from the cursor, not from the old anchor
  EXPECT_EQ(g.Selection(), (CellRange{3, 0, 4, 0}));
  ASSERT_TRUE(g.InsertRow(std::nullopt, 1));
  EXPECT_EQ(g.Selection(), CellRange::Cell(4, 0));
  g.SetRowSelect(true);
  ASSERT_TRUE(g.InsertRow());  // appended below: the cursor's whole row is selected
  EXPECT_EQ(g.Selection(), (CellRange{4, 0, 4, 2}));

  g.SetCursor(-1, -1);
  g.Select({1, 0, 2, 2});
  ASSERT_TRUE(g.InsertRow(std::nullopt, 1));
  EXPECT_TRUE(g.Selection().empty());
}

TEST(GridInsertRowTest, PositionOmittedAtTheEndOrInTheTitlesAppends) {
  Grid g(ThreeColumns());
  Numbered(&g, 3);
  g.InsertRow(Text("a"), 3);  // equal to RowCount
  g.InsertRow(Text("b"), 0);  // inside the title rows
  g.InsertRow(Text("c"), -1);  // no cursor row
  g.InsertRow(Text("d"));
  EXPECT_EQ(g.RowCount(), 7);
  EXPECT_EQ(CellText(g, 0, 0), "0");
  EXPECT_EQ(CellText(g, 3, 0), "a");
  EXPECT_EQ(CellText(g, 4, 0), "b");
  EXPECT_EQ(CellText(g, 5, 0), "c");
  EXPECT_EQ(CellText(g, 6, 0), "d");
}

TEST(GridInsertRowTest, NewRowTakesTheHeightOfRowZero) {
  Grid g(ThreeColumns());
  g.SetRowCount(3);
  g.SetRowHeight(0, 31);
  g.InsertRow(std::nullopt, 1);
  EXPECT_EQ(g.RowHeight(1), 31);
}

TEST(GridInsertRowTest, AGridEmptiedByDeleteRowStartsAgainWithTitles) {
  Grid g({2, 2, 0, 0, true, 20, 80, 0, false});
  ASSERT_TRUE(g.DeleteRow(0));
  ASSERT_TRUE(g.DeleteRow(0));
  EXPECT_EQ(g.RowCount(), 0);
  ASSERT_TRUE(g.InsertRow(Text("t")));
  EXPECT_EQ(g.RowCount(), 1);
  EXPECT_EQ(g.TitleRowCount(), 1);
  EXPECT_EQ(g.TitleColumnCount(), 1);
  EXPECT_EQ(g.RowHeight(0), 24);
  EXPECT_EQ(CellText(g, 0, 0), "t");
}

TEST(GridInsertRowTest, MergedRangesBelowMoveDown) {
  Grid g(ThreeColumns());
  g.SetRowCount(6);
  g.MergeCells(3, 0, 4, 1);
  g.MergeCells(1, 1, 2, 2);
  g.InsertRow(std::nullopt, 2);
  EXPECT_EQ(g.MergedRanges()[0], (CellRange{4, 0, 5, 1}));
  EXPECT_EQ(g.MergedRanges()[1], (CellRange{1, 1, 3, 2}));  // the range across grows
}

TEST(GridDeleteRowTest, CursorKeepsItsRowIndex) {
  Grid g(ThreeColumns());
  Numbered(&g, 6);
  // Deleting a row above the cursor: the cursor now rests on the row that was below it.
  g.SetCursor(3, 2);
  ASSERT_TRUE(g.DeleteRow(1));
  EXPECT_EQ(g.GetCursorRow(), 3);
  EXPECT_EQ(g.GetCursorColumn(), 2);
  EXPECT_EQ(CellText(g, 3, 0), "4");
  // Deleting the cursor row: the next row takes its place.
  ASSERT_TRUE(g.DeleteRow(3));
  EXPECT_EQ(g.GetCursorRow(), 3);
  EXPECT_EQ(CellText(g, 3, 0), "5");
  EXPECT_FALSE(g.DeleteRow(4));
  EXPECT_FALSE(g.DeleteRow(-1));
}

TEST(GridDeleteRowTest, ASelectionDoesNotReachTheRowsThatMovedUp) {
  Grid g(ThreeColumns());
  Numbered(&g, 6);
  g.PressButton(2, 0, 0, 0, 0);
  g.ReleaseButton(2, 0, 0, 0, 0);
  g.PressKey(ui::kVkDown, ui::kShift);  // rows 2 and 3, cursor on row 3
  ASSERT_TRUE(g.DeleteRow(3));
  g.PressKey(ui::kVkDelete, 0);  // empties the cursor cell, the row that took row 3's place
  EXPECT_EQ(CellText(g, 2, 0), "2");
  EXPECT_EQ(CellText(g, 3, 0), "");
  EXPECT_EQ(CellText(g, 4, 0), "5");
}

TEST(GridDeleteRowTest, DeletingTheLastRowUnderTheCursorMovesItUpAndReportsIt) {
  Grid g(ThreeColumns());
  RecordingEvents events;
  g.SetEvents(&events);
  Numbered(&g, 4);
  g.SetCursor(3, 1);
  events.Take();
  ASSERT_TRUE(g.DeleteRow(3));
  EXPECT_EQ(g.GetCursorRow(), 2);
  EXPECT_EQ(g.GetCursorColumn(), 1);
  EXPECT_EQ(events.Take(), std::vector<std::string>{"CursorMoved"});
}

TEST(GridDeleteRowTest, CursorLandingOnATitleRowOrNoCursorIsCleared) {
  Grid g(ThreeColumns());
  g.SetRowCount(2);
  g.SetCursor(1, 0);
  ASSERT_TRUE(g.DeleteRow(1));
  EXPECT_EQ(g.GetCursorRow(), -1);
  EXPECT_EQ(g.GetCursorColumn(), -1);

  Grid h(ThreeColumns());
  h.SetRowCount(4);
  ASSERT_TRUE(h.DeleteRow(2));
  EXPECT_EQ(h.GetCursorRow(), -1);
}

TEST(GridDeleteRowTest, TitleRowsCountDownAndMergesBelowMoveUp) {
  Grid g({8, 3, 2, 0, true, 20, 80, 0, false});
  g.MergeCells(4, 0, 5, 2);
  g.MergeCells(2, 1, 3, 1);  // loses a row: a single cell is no merge
  g.MergeCells(0, 0, 0, 2);
  ASSERT_TRUE(g.DeleteRow(3));
  ASSERT_EQ(g.MergedRanges().size(), 2u);
  EXPECT_EQ(g.MergedRanges()[0], (CellRange{3, 0, 4, 2}));
  ASSERT_TRUE(g.DeleteRow(1));
  EXPECT_EQ(g.TitleRowCount(), 1);
  EXPECT_EQ(g.MergedRanges()[0], (CellRange{2, 0, 3, 2}));
  EXPECT_EQ(g.MergedRanges()[1], (CellRange{0, 0, 0, 2}));
}

TEST(GridResetTest, KeepsSizeEmptiesCellsAndReappliesStoredProperties) {
  Grid g(RegisterGridConfig());
  g.SetRowCount(5001);
  g.SetEditable(true);
  g.SetCellValue(4000, 10, 1, Value::Double(3.5));
  g.SetAlignment(1, 1, 1, 1, 3);
  g.SetColumnWidth(3, 0);
  g.SetRowHeight(7, 0);
  g.MergeCells(2, 2, 3, 3);
  g.SetCursor(9, 9);
  g.DeleteRow(0);  // lowers the title row count, which Reset restores
  g.Reset();
  EXPECT_TRUE(g.Editable());
  EXPECT_EQ(g.RowCount(), 5000);
  EXPECT_EQ(g.ColumnCount(), 22);
  EXPECT_EQ(g.TitleRowCount(), 1);
  EXPECT_EQ(g.GetCursorRow(), -1);
  EXPECT_TRUE(g.Selection().empty());
  EXPECT_TRUE(g.MergedRanges().empty());
  EXPECT_EQ(g.ColumnWidth(3), 80);
  EXPECT_EQ(g.RowHeight(7), 20);
  EXPECT_EQ(g.CellAlignment(1, 1), Alignment::kLeft);
  for (int r = 0; r < g.RowCount(); ++r) {
    for (int c = 0; c < g.ColumnCount(); ++c) ASSERT_EQ(g.CellText(r, c), "") << r << "," << c;
  }
}

TEST(GridResetTest, UsesTheLastValuesTheProgramSet) {
  Grid g(ItemGridConfig());
  g.SetEditable(true);
  g.SetDefaultColumnWidth(50);
  g.SetTitleColumnCount(0);
  g.SetEnterMoves(2);
  g.Reset();
  EXPECT_TRUE(g.Editable());
  EXPECT_EQ(g.ColumnWidth(1), 50);
  EXPECT_EQ(g.TitleColumnCount(), 0);
  EXPECT_EQ(g.EnterMoves(), 2);
  EXPECT_EQ(g.RowCount(), 16);
}

TEST(GridResetTest, DropsAnOpenEditorWithoutStoringIt) {
  Grid g(TaxTableGridConfig());
  g.SetCursor(2, 2);
  ASSERT_TRUE(g.BeginEdit());
  g.SetEditorText("typed");
  g.Reset();
  EXPECT_FALSE(g.Editing());
  EXPECT_EQ(CellText(g, 2, 2), "");
}

TEST(GridMergeTest, RefusesBadRangesAndTitleDataMixtures) {
  Grid g(TaxTableGridConfig());  // 14 x 9, one title row and one title column
  g.MergeCells(-1, 1, 2, 2);
  g.MergeCells(3, 3, 2, 2);
  g.MergeCells(4, 4, 4, 4);
  g.MergeCells(1, 1, 14, 2);  // past the grid
  g.MergeCells(0, 1, 2, 2);   // title row with data
  g.MergeCells(1, 0, 1, 3);   // title column with data
  EXPECT_TRUE(g.MergedRanges().empty());
  g.MergeCells(0, 1, 0, 8);   // titles only
  g.MergeCells(5, 1, 13, 1);  // data only
  g.MergeCells(1, 1, 1, 8);
  ASSERT_EQ(g.MergedRanges().size(), 3u);
  EXPECT_EQ(g.DisplayedRange(9, 1), (CellRange{5, 1, 13, 1}));
  EXPECT_EQ(g.DisplayedRange(9, 2), CellRange::Cell(9, 2));
}

}  // namespace
}  // namespace sr

namespace sr {
namespace {

// The register grid: 5001 rows, of which only the written ones hold storage.
class GridLazyRowsTest : public ::testing::Test {
 protected:
  GridLazyRowsTest() : g_(RegisterGridConfig()) {
    g_.SetRowCount(5001);
    g_.SetEditable(true);
    g_.SetClipboard(&clipboard_);
  }
  void Put(int r, int c, const char* text) { g_.SetCellValue(r, c, 1, Value::FromText(text)); }
  Text At(int r, int c) const { return g_.GetCellValue(r, c).text(); }

  MemoryClipboard clipboard_;
  Grid g_;
};

TEST_F(GridLazyRowsTest, WritingAFarRowStoresThatRowAlone) {
  EXPECT_EQ(g_.RowsWithText(), 0);
  Put(5000, 21, "备注");
  EXPECT_EQ(g_.RowsWithText(), 1);
  EXPECT_EQ(At(5000, 21), "备注");
  EXPECT_EQ(At(4999, 21), "");
  EXPECT_EQ(At(5000, 20), "");
  g_.SetAlignment(1, 0, 5000, 1, 2);  // formatting every row stores no texts
  EXPECT_EQ(g_.RowsWithText(), 1);
  EXPECT_EQ(g_.CellAlignment(4000, 1), Alignment::kCentre);
  EXPECT_EQ(g_.CellAlignment(4000, 2), Alignment::kLeft);
}

TEST_F(GridLazyRowsTest, InsertAndDeleteNearTheEndKeepTextsOnTheirRows) {
  Put(4999, 0, "甲");
  Put(5000, 0, "乙");
  ASSERT_TRUE(g_.InsertRow(std::nullopt, 4999));
  EXPECT_EQ(g_.RowCount(), 5002);
  EXPECT_EQ(At(4999, 0), "");
  EXPECT_EQ(At(5000, 0), "甲");
  EXPECT_EQ(At(5001, 0), "乙");
  ASSERT_TRUE(g_.DeleteRow(5000));
  EXPECT_EQ(At(5000, 0), "乙");
  EXPECT_EQ(g_.RowsWithText(), 1);
  ASSERT_TRUE(g_.InsertRow(Text("标题")));  // appended with its title in column 0
  EXPECT_EQ(At(5001, 0), "标题");
  EXPECT_EQ(g_.RowsWithText(), 2);
}

TEST_F(GridLazyRowsTest, ClearingCuttingAndResettingGiveTheRowsBack) {
  Put(10, 3, "1");
  Put(11, 3, "2");
  Put(12, 3, "3");
  Put(4000, 5, "x");
  g_.SetCursor(10, 3);
  g_.Select({10, 3, 11, 3});
  g_.ClearSelection();
  EXPECT_EQ(At(10, 3), "");
  EXPECT_EQ(g_.RowsWithText(), 2);
  g_.SetCursor(12, 3);
  g_.Select({12, 3, 12, 3});
  g_.Cut();
  EXPECT_EQ(clipboard_.text(), "3");
  EXPECT_EQ(g_.RowsWithText(), 1);
  // Pasted back two rows lower: stored again, and only there.
  g_.SetCursor(14, 3);
  g_.Paste();
  EXPECT_EQ(At(14, 3), "3");
  EXPECT_EQ(At(12, 3), "");
  EXPECT_EQ(g_.RowsWithText(), 2);
  g_.Reset();
  EXPECT_EQ(g_.RowCount(), 5001);
  EXPECT_EQ(g_.RowsWithText(), 0);
  EXPECT_EQ(At(4000, 5), "");
}

// Sorting rewrites every row: an emptied row's old text must not survive in storage.
TEST_F(GridLazyRowsTest, RewritingRowsInAnotherOrderLeavesNoOldText) {
  Put(1, 0, "0002");
  Put(1, 1, "乙");
  Put(2, 0, "0001");
  Put(2, 1, "甲");
  const Text sorted[4][2] = {{"0001", "甲"}, {"0002", "乙"}, {"", ""}, {"", ""}};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 2; ++c) Put(r + 1, c, sorted[r][c].c_str());
  }
  Put(2, 0, "");  // the clerk empties the second person's number too
  EXPECT_EQ(At(1, 0), "0001");
  EXPECT_EQ(At(2, 1), "乙");
  EXPECT_EQ(At(2, 0), "");
  EXPECT_EQ(g_.RowsWithText(), 2);
  Put(2, 1, "");
  EXPECT_EQ(g_.RowsWithText(), 1);
}

}  // namespace
}  // namespace sr
