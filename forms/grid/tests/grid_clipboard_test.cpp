#include <gtest/gtest.h>

#include "forms/grid/grid.h"
#include "platform/ui/memory_clipboard.h"

namespace sr {
namespace {

class GridClipboardTest : public ::testing::Test {
 protected:
  GridClipboardTest() : grid_({6, 4, 1, 0, true, 20, 80, 0, false}) {
    grid_.SetClipboard(&clipboard_);
  }
  void Put(int r, int c, const char* text) { grid_.SetCellValue(r, c, 1, Value::FromText(text)); }
  Text At(int r, int c) const { return grid_.GetCellValue(r, c).text(); }
  void PasteAt(int r, int c, const Text& text) {
    clipboard_.SetText(text);
    grid_.SetCursor(r, c);
    grid_.Paste();
  }

  MemoryClipboard clipboard_;
  Grid grid_;
};

TEST_F(GridClipboardTest, CopyJoinsCellsWithTabAndRowsWithLineFeed) {
  Put(1, 1, "a");
  Put(1, 2, "b");
  Put(2, 1, "c");
  grid_.Select({1, 1, 2, 2});
  grid_.CopySelection();
  ASSERT_TRUE(clipboard_.has_text());
  EXPECT_EQ(clipboard_.text(), Text("a\tb\nc\t "));  // no line feed after the last line
}

TEST_F(GridClipboardTest, CopySkipsHiddenRowsAndColumns) {
  Put(1, 0, "a");
  Put(1, 1, "hidden");
  Put(1, 2, "b");
  Put(2, 0, "gone");
  Put(3, 2, "d");
  grid_.SetColumnWidth(1, 0);
  grid_.SetRowHeight(2, 0);
  grid_.Select({1, 0, 3, 2});
  grid_.CopySelection();
  EXPECT_EQ(clipboard_.text(), Text("a\tb\n \td"));
}

TEST_F(GridClipboardTest, CopyWithoutSelectionLeavesTheClipboard) {
  clipboard_.SetText("before");
  grid_.SetCursor(1, 1);  // SetCursor clears the selection
  grid_.CopySelection();
  EXPECT_EQ(clipboard_.text(), Text("before"));
}

TEST_F(GridClipboardTest, CopyAllThenPasteBackRoundTripsChineseText) {
  Put(1, 0, "张三");
  Put(1, 1, "3500");
  Put(2, 3, "备注");
  grid_.SelectAll();
  grid_.CopySelection();
  const Text copied = clipboard_.text();
  Grid other({6, 4, 1, 0, true, 20, 80, 0, false});
  other.SetClipboard(&clipboard_);
  other.SetTitleRowCount(0);
  other.SetCursor(0, 0);
  other.Paste();
  for (int r = 0; r < 6; ++r) {
    for (int c = 0; c < 4; ++c) EXPECT_EQ(other.CellText(r, c), grid_.CellText(r, c)) << r << c;
  }
  EXPECT_EQ(copied.find('\r'), Text::npos);
}

TEST_F(GridClipboardTest, PasteCutsFieldsAtTabCommaAndRowsAtLineFeed) {
  PasteAt(1, 0, "1,2\t3\n4");
  EXPECT_EQ(At(1, 0), "1");
  EXPECT_EQ(At(1, 1), "2");
  EXPECT_EQ(At(1, 2), "3");
  EXPECT_EQ(At(2, 0), "4");
  EXPECT_EQ(At(2, 1), "");
}

TEST_F(GridClipboardTest, PasteOfSpreadsheetLinesLeavesNoCarriageReturn) {
  PasteAt(1, 1, "a\tb\r\nc\td\r\n");
  EXPECT_EQ(At(1, 1), "a");
  EXPECT_EQ(At(1, 2), "b");
  EXPECT_EQ(At(2, 1), "c");
  EXPECT_EQ(At(2, 2), "d");
  EXPECT_EQ(At(3, 1), "");  // the final line break starts no row
}

TEST_F(GridClipboardTest, PasteTrimsSpacesAndKeepsEmptyFieldsAndLines) {
  Put(2, 1, "old");
  Put(1, 3, "stays");
  PasteAt(1, 0, "  x ,,y,\n\nz");
  EXPECT_EQ(At(1, 0), "x");
  EXPECT_EQ(At(1, 1), "");  // empty field between two separators
  EXPECT_EQ(At(1, 2), "y");
  EXPECT_EQ(At(1, 3), "stays");  // a separator at the end makes no field
  EXPECT_EQ(At(2, 0), "");       // the empty line is one space, trimmed
  EXPECT_EQ(At(2, 1), "old");
  EXPECT_EQ(At(3, 0), "z");
}

TEST_F(GridClipboardTest, PasteSkipsHiddenRowsAndColumnsAndDropsWhatFallsOutside) {
  grid_.SetRowHeight(2, 0);
  grid_.SetColumnWidth(2, 0);
  PasteAt(4, 1, "a\tb\tc\td\ne\nf");
  EXPECT_EQ(At(4, 1), "a");
  EXPECT_EQ(At(4, 2), "");  // hidden column skipped
  EXPECT_EQ(At(4, 3), "b");
  EXPECT_EQ(At(5, 1), "e");
  PasteAt(1, 0, "p\nq");
  EXPECT_EQ(At(1, 0), "p");
  EXPECT_EQ(At(2, 0), "");  // hidden row skipped
  EXPECT_EQ(At(3, 0), "q");
}

TEST_F(GridClipboardTest, PasteChangesNothingUnlessTheStartCellMayBeEdited) {
  grid_.SetEditable(false);
  PasteAt(1, 0, "x\ty");
  EXPECT_EQ(At(1, 0), "");
  grid_.SetEditable(true);
  grid_.SetCellReadOnly(1, 0, true);
  PasteAt(1, 0, "x\ty");
  EXPECT_EQ(At(1, 0), "");
  // Only the start cell is checked: a read-only cell further on is still written.
  grid_.SetCellReadOnly(1, 2, true);
  PasteAt(1, 1, "x\ty");
  EXPECT_EQ(At(1, 2), "y");
  // No cursor, no paste.
  clipboard_.SetText("z");
  grid_.SetCursor(-1, -1);
  grid_.Paste();
  EXPECT_EQ(At(1, 0), "");
}

TEST_F(GridClipboardTest, PasteDeselectsThePastedCells) {
  grid_.SetCursor(1, 0);
  grid_.Select({1, 0, 2, 1});
  clipboard_.SetText("x");
  grid_.Paste();
  EXPECT_FALSE(grid_.IsSelected(1, 0));
}

TEST_F(GridClipboardTest, CutCopiesThenClearsOnlyWhenEditable) {
  Put(1, 0, "a");
  Put(1, 1, "b");
  grid_.SetCellReadOnly(1, 1, true);
  grid_.SetEditable(false);
  grid_.Select({1, 0, 1, 1});
  grid_.Cut();
  EXPECT_FALSE(clipboard_.has_text());
  EXPECT_EQ(At(1, 0), "a");
  grid_.SetEditable(true);
  grid_.Cut();
  EXPECT_EQ(clipboard_.text(), Text("a\tb"));
  EXPECT_EQ(At(1, 0), "");
  EXPECT_EQ(At(1, 1), "b");  // read-only
}

TEST_F(GridClipboardTest, DeleteClearsCursorAndSelectedCellsThatMayBeEdited) {
  Put(0, 0, "title");
  Put(1, 0, "a");
  Put(2, 2, "b");
  Put(3, 3, "c");
  grid_.SetCursor(1, 0);
  grid_.SelectAll();
  grid_.SetCellReadOnly(3, 3, true);
  grid_.ClearSelection();
  EXPECT_EQ(At(1, 0), "");
  EXPECT_EQ(At(2, 2), "");
  EXPECT_EQ(At(3, 3), "c");
  EXPECT_EQ(At(0, 0), "title");  // title cells are never edited
  grid_.SetEditable(false);
  Put(2, 2, "b");
  grid_.ClearSelection();
  EXPECT_EQ(At(2, 2), "b");
}

TEST_F(GridClipboardTest, WithoutAClipboardCopyAndPasteDoNothing) {
  grid_.SetClipboard(nullptr);
  grid_.SelectAll();
  grid_.CopySelection();
  grid_.SetCursor(1, 1);
  grid_.Paste();
  EXPECT_EQ(At(1, 1), "");
}

}  // namespace
}  // namespace sr
