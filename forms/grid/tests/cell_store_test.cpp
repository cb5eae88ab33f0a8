#include "forms/grid/cell_store.h"

#include <gtest/gtest.h>

namespace sr {
namespace {

constexpr int kRows = 5001;
constexpr int kColumns = 22;

TEST(CellStoreTest, AnUnwrittenCellIsEmptyWithTheDefaultFormatAndCostsNoRow) {
  CellStore cells;
  cells.Assign(kRows, kColumns);
  EXPECT_EQ(cells.GetText(kRows - 1, kColumns - 1), "");
  EXPECT_EQ(cells.GetAlignment(2500, 7), Alignment::kLeft);
  EXPECT_FALSE(cells.Wraps(0, 0));
  EXPECT_FALSE(cells.ReadOnly(0, 0));
  cells.SetText(3, 3, "");  // an empty text written to an empty row stores nothing
  EXPECT_EQ(cells.RowsWithText(), 0);
}

TEST(CellStoreTest, AFarRowWrittenAloneIsTheOnlyRowStored) {
  CellStore cells;
  cells.Assign(kRows, kColumns);
  cells.SetText(kRows - 1, kColumns - 1, "末行");
  cells.SetText(kRows - 1, 0, "0001");
  EXPECT_EQ(cells.RowsWithText(), 1);
  EXPECT_EQ(cells.GetText(kRows - 1, kColumns - 1), "末行");
  EXPECT_EQ(cells.GetText(kRows - 1, 0), "0001");
  EXPECT_EQ(cells.GetText(kRows - 1, 1), "");
  EXPECT_EQ(cells.GetText(kRows - 2, kColumns - 1), "");
}

TEST(CellStoreTest, EmptyingARowsLastTextFreesTheRowButNotBefore) {
  CellStore cells;
  cells.Assign(10, 3);
  cells.SetText(4, 0, "a");
  cells.SetText(4, 2, "b");
  cells.SetText(4, 0, "");
  EXPECT_EQ(cells.RowsWithText(), 1);
  EXPECT_EQ(cells.GetText(4, 2), "b");
  cells.SetText(4, 2, "");
  EXPECT_EQ(cells.RowsWithText(), 0);
  cells.SetText(4, 1, "c");  // the freed row takes text again
  EXPECT_EQ(cells.GetText(4, 1), "c");
  EXPECT_EQ(cells.GetText(4, 2), "");
}

TEST(CellStoreTest, InsertAndEraseMoveTextsAndFormatsWithTheirRows) {
  CellStore cells;
  cells.Assign(5, 2);
  cells.SetText(1, 0, "one");
  cells.SetText(3, 1, "three");
  cells.SetAlignment({3, 0, 3, 1}, Alignment::kRight);
  cells.SetWrap(1, 1, true);

  cells.InsertRow(2);
  EXPECT_EQ(cells.rows(), 6);
  EXPECT_EQ(cells.GetText(1, 0), "one");
  EXPECT_TRUE(cells.Wraps(1, 1));
  EXPECT_EQ(cells.GetText(2, 1), "");  // the new row: empty and plain
  EXPECT_EQ(cells.GetAlignment(2, 0), Alignment::kLeft);
  EXPECT_EQ(cells.GetText(4, 1), "three");
  EXPECT_EQ(cells.GetAlignment(4, 0), Alignment::kRight);

  cells.EraseRow(1);
  EXPECT_EQ(cells.GetText(1, 0), "");
  EXPECT_FALSE(cells.Wraps(1, 1));
  EXPECT_EQ(cells.GetText(3, 1), "three");
  cells.InsertRow(cells.rows());  // appends
  EXPECT_EQ(cells.rows(), 6);
  EXPECT_EQ(cells.GetText(5, 1), "");
  EXPECT_EQ(cells.RowsWithText(), 1);
}

TEST(CellStoreTest, ResizingKeepsWhatFitsAndNewCellsStartEmpty) {
  CellStore cells;
  cells.Assign(3, 4);
  cells.SetText(0, 1, "kept");
  cells.SetText(1, 3, "cut");
  cells.SetAlignment({0, 0, 2, 3}, Alignment::kCentre);
  cells.ResizeColumns(2);
  EXPECT_EQ(cells.GetText(0, 1), "kept");
  EXPECT_EQ(cells.RowsWithText(), 1);  // row 1 held text only in a removed column
  cells.ResizeColumns(5);
  EXPECT_EQ(cells.GetText(0, 4), "");
  EXPECT_EQ(cells.GetText(1, 3), "");
  EXPECT_EQ(cells.GetAlignment(2, 1), Alignment::kCentre);
  EXPECT_EQ(cells.GetAlignment(2, 4), Alignment::kLeft);
  cells.SetText(2, 4, "new column");
  EXPECT_EQ(cells.GetText(2, 4), "new column");

  cells.ResizeRows(1);
  cells.ResizeRows(3);
  EXPECT_EQ(cells.GetText(2, 4), "");
  EXPECT_EQ(cells.GetAlignment(2, 1), Alignment::kLeft);
  EXPECT_EQ(cells.GetText(0, 1), "kept");
  cells.Assign(3, 5);
  EXPECT_EQ(cells.RowsWithText(), 0);
  EXPECT_EQ(cells.GetAlignment(0, 1), Alignment::kLeft);
}

// Rows formatted by one call share their formats: a later change of one row or cell must not
// reach the others.
TEST(CellStoreTest, AChangeToOneRowOfASharedFormatLeavesTheOthersAsTheyWere) {
  CellStore cells;
  cells.Assign(kRows, kColumns);
  cells.SetAlignment({0, 0, kRows - 1, 1}, Alignment::kCentre);
  cells.SetAlignment({100, 0, 100, 0}, Alignment::kRight);
  cells.SetReadOnly(200, 1, true);
  cells.SetWrap(300, 5, true);

  EXPECT_EQ(cells.GetAlignment(100, 0), Alignment::kRight);
  EXPECT_EQ(cells.GetAlignment(100, 1), Alignment::kCentre);
  EXPECT_EQ(cells.GetAlignment(99, 0), Alignment::kCentre);
  EXPECT_EQ(cells.GetAlignment(101, 0), Alignment::kCentre);
  EXPECT_TRUE(cells.ReadOnly(200, 1));
  EXPECT_FALSE(cells.ReadOnly(199, 1));
  EXPECT_FALSE(cells.ReadOnly(201, 1));
  EXPECT_EQ(cells.GetAlignment(200, 1), Alignment::kCentre);
  EXPECT_TRUE(cells.Wraps(300, 5));
  EXPECT_EQ(cells.GetAlignment(300, 0), Alignment::kCentre);
  EXPECT_FALSE(cells.Wraps(301, 5));
  EXPECT_EQ(cells.GetAlignment(kRows - 1, 2), Alignment::kLeft);

  // Back to the default everywhere: every row reads plain again.
  cells.SetAlignment({0, 0, kRows - 1, kColumns - 1}, Alignment::kLeft);
  cells.SetReadOnly(200, 1, false);
  cells.SetWrap(300, 5, false);
  for (int row : {0, 100, 200, 300, kRows - 1}) {
    EXPECT_EQ(cells.GetAlignment(row, 0), Alignment::kLeft) << row;
    EXPECT_FALSE(cells.ReadOnly(row, 1)) << row;
    EXPECT_FALSE(cells.Wraps(row, 5)) << row;
  }
}

TEST(CellStoreTest, ARangeOverRowsOfDifferentFormatsChangesOnlyItsColumns) {
  CellStore cells;
  cells.Assign(6, 3);
  cells.SetAlignment({0, 0, 2, 0}, Alignment::kRight);  // rows 0-2 one format, 3-5 plain
  cells.SetWrap(4, 2, true);
  cells.SetAlignment({1, 1, 5, 1}, Alignment::kCentre);
  EXPECT_EQ(cells.GetAlignment(0, 1), Alignment::kLeft);
  for (int row = 1; row <= 5; ++row) EXPECT_EQ(cells.GetAlignment(row, 1), Alignment::kCentre);
  EXPECT_EQ(cells.GetAlignment(2, 0), Alignment::kRight);
  EXPECT_EQ(cells.GetAlignment(3, 0), Alignment::kLeft);
  EXPECT_TRUE(cells.Wraps(4, 2));
  EXPECT_FALSE(cells.Wraps(5, 2));
}

}  // namespace
}  // namespace sr
