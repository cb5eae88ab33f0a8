#include <gtest/gtest.h>

#include "forms/grid/grid.h"
#include "forms/grid/tests/recording_events.h"
#include "platform/ui/keys.h"
#include "platform/ui/memory_clipboard.h"

namespace sr {
namespace {

using Log = std::vector<std::string>;
using namespace sr::ui;

// 6 rows x 5 columns, one title row and one title column, editable.
class GridInputTest : public ::testing::Test {
 protected:
  GridInputTest() : grid_({6, 5, 1, 1, true, 20, 80, 1, false}) {
    grid_.SetEvents(&events_);
    grid_.SetClipboard(&clipboard_);
  }
  void Cursor(int r, int c) {
    grid_.SetCursor(r, c);
    events_.Take();
  }
  std::pair<int, int> Where() const { return {grid_.GetCursorRow(), grid_.GetCursorColumn()}; }
  void Click(int r, int c) {
    grid_.PressButton(r, c, 10 * c, 10 * r, 0);
    grid_.ReleaseButton(r, c, 10 * c, 10 * r, 0);
  }
  Text At(int r, int c) const { return grid_.GetCellValue(r, c).text(); }

  RecordingEvents events_;
  MemoryClipboard clipboard_;
  Grid grid_;
};

TEST_F(GridInputTest, SetCursorRaisesCursorMovedOnlyForAnotherCell) {
  grid_.SetCursor(2, 2);
  grid_.SetCursor(2, 2);
  grid_.SetCursor(3, 2);
  EXPECT_EQ(events_.Take(), (Log{"CursorMoved", "CursorMoved"}));
  grid_.Select({1, 1, 3, 3});
  grid_.SetCursor(9, 9);
  EXPECT_EQ(grid_.GetCursorRow(), -1);
  EXPECT_EQ(grid_.GetCursorColumn(), -1);
  EXPECT_TRUE(grid_.Selection().empty());
  EXPECT_TRUE(events_.Take().empty());
}

TEST_F(GridInputTest, SetCursorInRowSelectModeSelectsTheRow) {
  grid_.SetRowSelect(true);
  grid_.SetCursor(3, 2);
  EXPECT_EQ(grid_.Selection(), (CellRange{3, 0, 3, 4}));
}

TEST_F(GridInputTest, ArrowsMoveOverDataCellsSkippingHiddenOnesAndStopAtTheEdge) {
  grid_.SetRowHeight(3, 0);
  grid_.PressKey(kVkDown, 0);  // no cursor yet: the first data cell
  EXPECT_EQ(Where(), std::make_pair(1, 1));
  grid_.PressKey(kVkUp, 0);
  grid_.PressKey(kVkLeft, 0);
  EXPECT_EQ(Where(), std::make_pair(1, 1));  // title cells are not entered
  grid_.PressKey(kVkDown, 0);
  grid_.PressKey(kVkDown, 0);
  EXPECT_EQ(Where(), std::make_pair(4, 1));  // row 3 is hidden
  grid_.PressKey(kVkRight, kCtrl);
  EXPECT_EQ(Where(), std::make_pair(4, 4));
  grid_.PressKey(kVkRight, 0);
  EXPECT_EQ(Where(), std::make_pair(4, 4));
  EXPECT_EQ(events_.Take(), (Log{"KeyDown 40,0", "CursorMoved", "KeyDown 38,0", "KeyDown 37,0",
                                 "KeyDown 40,0", "CursorMoved", "KeyDown 40,0", "CursorMoved",
                                 "KeyDown 39,1", "CursorMoved", "KeyDown 39,0"}));
}

TEST_F(GridInputTest, ShiftArrowsExtendTheSelectionFromTheAnchor) {
  Cursor(2, 2);
  grid_.PressKey(kVkDown, kShift);
  grid_.PressKey(kVkRight, kShift);
  EXPECT_EQ(grid_.Selection(), (CellRange{2, 2, 3, 3}));
  grid_.PressKey(kVkLeft, 0);
  EXPECT_EQ(grid_.Selection(), CellRange::Cell(3, 2));
}

TEST_F(GridInputTest, ArrowsTreatAMergedRangeAsOneCell) {
  grid_.MergeCells(2, 2, 3, 3);
  Cursor(1, 3);
  grid_.PressKey(kVkDown, 0);
  EXPECT_EQ(Where(), std::make_pair(2, 2));
  grid_.PressKey(kVkDown, 0);
  EXPECT_EQ(Where(), std::make_pair(4, 2));
}

TEST_F(GridInputTest, PageKeysMoveByThePageSize) {
  grid_.SetRowCount(100);
  grid_.SetPageRows(30);
  Cursor(1, 1);
  grid_.PressKey(kVkPageDown, 0);
  EXPECT_EQ(grid_.GetCursorRow(), 31);
  grid_.PressKey(kVkPageDown, 0);
  grid_.PressKey(kVkPageDown, 0);
  grid_.PressKey(kVkPageDown, 0);
  EXPECT_EQ(grid_.GetCursorRow(), 99);
  grid_.PressKey(kVkPageUp, 0);
  EXPECT_EQ(grid_.GetCursorRow(), 69);
}

TEST_F(GridInputTest, TabWrapsToTheFirstDataColumnOfTheNextRowAndShiftTabBack) {
  Cursor(1, 4);
  grid_.PressKey(kVkTab, 0);
  EXPECT_EQ(Where(), std::make_pair(2, 1));
  grid_.PressKey(kVkTab, kShift);
  EXPECT_EQ(Where(), std::make_pair(1, 4));
  Cursor(5, 4);
  grid_.PressKey(kVkTab, 0);  // the last cell: nowhere to go
  EXPECT_EQ(Where(), std::make_pair(5, 4));
}

TEST_F(GridInputTest, EnterMovesAsEnterMovesSays) {
  Cursor(1, 4);
  grid_.PressKey(kVkReturn, 0);  // 1: right, wrapping
  EXPECT_EQ(Where(), std::make_pair(2, 1));
  grid_.SetEnterMoves(2);
  Cursor(5, 1);
  grid_.PressKey(kVkReturn, 0);  // 2: down, wrapping to the first data row of the next column
  EXPECT_EQ(Where(), std::make_pair(1, 2));
  grid_.SetEnterMoves(0);
  events_.Take();
  grid_.PressKey(kVkReturn, 0);  // otherwise it does nothing at all
  EXPECT_EQ(Where(), std::make_pair(1, 2));
  EXPECT_FALSE(grid_.Editing());
  EXPECT_EQ(events_.Take(), (Log{"KeyDown 13,0"}));
}

// A grid whose Enter stays (the tax rate table): "10", Enter, "5" is 5, not 105. Enter ends an
// edit where it is, and a character typed afterwards starts a fresh edit that replaces the cell.
TEST(GridEnterStaysTest, EnterDoesNotOpenTheEditorAndTypingReplacesTheCell) {
  Grid grid(TaxTableGridConfig());
  grid.SetCellValue(5, 2, 1, Value::FromText("10"));
  grid.SetCursor(5, 2);
  grid.PressKey(kVkReturn, 0);
  EXPECT_FALSE(grid.Editing());
  grid.TypeCharacter("5", 0);
  ASSERT_TRUE(grid.Editing());
  EXPECT_EQ(grid.EditorText(), "5");
  grid.PressKey(kVkReturn, 0);
  EXPECT_FALSE(grid.Editing());
  EXPECT_EQ(grid.GetCellValue(5, 2).text(), "5");
  EXPECT_EQ(grid.GetCursorRow(), 5);
  EXPECT_EQ(grid.GetCursorColumn(), 2);
  grid.PressKey(kVkReturn, 0);  // again: still no editor, nothing moves
  grid.TypeCharacter("7", 0);
  grid.PressKey(kVkReturn, 0);
  EXPECT_EQ(grid.GetCellValue(5, 2).text(), "7");
  grid.PressKey(kVkF2, 0);  // F2 still edits the old text
  EXPECT_EQ(grid.EditorText(), "7");
}

TEST_F(GridInputTest, RowSelectIgnoresTabEnterAndDelete) {
  grid_.SetRowSelect(true);
  grid_.SetCellValue(2, 2, 1, Value::FromText("x"));
  Cursor(2, 2);
  grid_.PressKey(kVkTab, 0);
  grid_.PressKey(kVkReturn, 0);
  grid_.PressKey(kVkDelete, 0);
  EXPECT_EQ(Where(), std::make_pair(2, 2));
  EXPECT_FALSE(grid_.Editing());
  EXPECT_EQ(At(2, 2), "x");
}

TEST_F(GridInputTest, TypingOpensTheEditorWithTheCharacterAndEnterStoresIt) {
  grid_.SetCellValue(2, 2, 1, Value::FromText("old"));
  Cursor(2, 2);
  grid_.TypeCharacter("工", 0);
  EXPECT_TRUE(grid_.Editing());
  EXPECT_EQ(grid_.EditorText(), "工");
  grid_.TypeCharacter("资", 0);
  EXPECT_EQ(At(2, 2), "old");  // nothing stored while the editor is open
  EXPECT_EQ(events_.Take(), (Log{"MayBeginEdit", "EditBegins"}));
  events_.on_edit_ends = [this] { EXPECT_EQ(At(2, 2), "工资"); };
  grid_.PressKey(kVkReturn, 0);
  EXPECT_FALSE(grid_.Editing());
  EXPECT_EQ(At(2, 2), "工资");
  EXPECT_EQ(Where(), std::make_pair(2, 3));
  EXPECT_EQ(events_.Take(), (Log{"EditEnds", "CursorMoved"}));
}

TEST_F(GridInputTest, CharacterCodesTypeOneAndTwoByteCharacters) {
  Cursor(2, 2);
  const Text gong = "工";
  grid_.TypeCharacterCode((static_cast<unsigned char>(gong[0]) << 8) |
                              static_cast<unsigned char>(gong[1]),
                          0);
  grid_.TypeCharacterCode('7', 0);
  grid_.TypeCharacterCode(27, 0);  // Esc is no character
  EXPECT_EQ(grid_.EditorText(), "工7");
}

TEST_F(GridInputTest, F2EditsTheCellTextAndEscapeKeepsIt) {
  grid_.SetCellValue(2, 2, 1, Value::FromText("old"));
  Cursor(2, 2);
  grid_.PressKey(kVkF2, 0);
  EXPECT_EQ(grid_.EditorText(), "old");
  grid_.SetEditorText("new");
  grid_.PressKey(kVkEscape, 0);
  EXPECT_FALSE(grid_.Editing());
  EXPECT_EQ(At(2, 2), "old");
}

TEST_F(GridInputTest, NoEditorWhenRefusedOrNotEditableOrForControlCharacters) {
  Cursor(2, 2);
  events_.allow_edit = false;
  grid_.TypeCharacter("a", 0);
  EXPECT_FALSE(grid_.Editing());
  EXPECT_EQ(events_.Take(), Log{"MayBeginEdit"});
  events_.allow_edit = true;
  grid_.TypeCharacter("a", kCtrl);
  grid_.TypeCharacter("\x1b", 0);
  grid_.TypeCharacter("\t", 0);
  EXPECT_FALSE(grid_.Editing());
  grid_.SetEditable(false);
  grid_.TypeCharacter("a", 0);
  grid_.PressKey(kVkF2, 0);
  EXPECT_FALSE(grid_.Editing());
  EXPECT_EQ(events_.Take(), (Log{"KeyDown 113,0"}));
}

TEST_F(GridInputTest, EditorStoresItsTextWhenTheCursorMovesOrTheFocusGoes) {
  Cursor(2, 2);
  grid_.TypeCharacter("1", 0);
  grid_.SetCursor(2, 2);  // a handler commits by setting the cursor to its own cell
  EXPECT_EQ(At(2, 2), "1");
  EXPECT_EQ(events_.Take(), (Log{"MayBeginEdit", "EditBegins", "EditEnds"}));
  grid_.TypeCharacter("2", 0);
  grid_.LoseFocus();
  EXPECT_EQ(At(2, 2), "2");
  grid_.TypeCharacter("3", 0);
  grid_.PressKey(kVkDown, 0);
  EXPECT_EQ(At(2, 2), "3");
  EXPECT_EQ(Where(), std::make_pair(3, 2));
  grid_.TypeCharacter("4", 0);
  Click(4, 4);
  EXPECT_EQ(At(3, 2), "4");
}

TEST_F(GridInputTest, ClipboardAndSelectionKeys) {
  grid_.SetCellValue(1, 1, 1, Value::FromText("a"));
  Cursor(1, 1);
  grid_.PressKey('A', kCtrl);
  EXPECT_EQ(grid_.Selection(), (CellRange{0, 0, 5, 4}));
  grid_.PressKey(kVkRight, 0);
  grid_.PressKey(kVkLeft, 0);
  grid_.PressKey('C', kCtrl);
  EXPECT_EQ(clipboard_.text(), Text("a"));
  clipboard_.Clear();
  grid_.PressKey(kVkInsert, kCtrl);
  EXPECT_EQ(clipboard_.text(), Text("a"));
  Cursor(2, 2);
  grid_.PressKey('V', kCtrl);
  EXPECT_EQ(At(2, 2), "a");
  clipboard_.SetText("b");
  grid_.PressKey(kVkInsert, kShift);
  EXPECT_EQ(At(2, 2), "b");
  grid_.Select(CellRange::Cell(2, 2));  // the pasted cell left the selection
  grid_.PressKey('X', kCtrl);
  EXPECT_EQ(At(2, 2), "");
  EXPECT_EQ(clipboard_.text(), Text("b"));
  grid_.SetCellValue(2, 2, 1, Value::FromText("c"));
  grid_.PressKey(kVkDelete, 0);
  EXPECT_EQ(At(2, 2), "");
  // The generic KeyDown comes first, so the register grid can mark the register modified.
  EXPECT_EQ(events_.log.back(), "KeyDown 46,0");
}

// Every key and editor route that changes cells tells the program which; copying and an edit that
// changes nothing do not.
TEST_F(GridInputTest, EditingThatChangesCellsRaisesCellsEditedWithTheirRange) {
  using Edits = std::vector<CellRange>;
  grid_.SetCellValue(1, 1, 1, Value::FromText("a"));
  Cursor(1, 1);
  grid_.PressKey(kVkF2, 0);
  events_.on_edit_ends = [this] { EXPECT_EQ(events_.edited.size(), 1u); };  // before EditEnds
  grid_.SetEditorText("b");
  grid_.PressKey(kVkReturn, 0);
  events_.on_edit_ends = nullptr;
  Cursor(1, 1);
  grid_.PressKey(kVkF2, 0);
  grid_.PressKey(kVkReturn, 0);  // the same text again
  Cursor(1, 1);
  grid_.TypeCharacter("c", 0);
  grid_.PressKey(kVkEscape, 0);
  EXPECT_EQ(events_.edited, Edits{CellRange::Cell(1, 1)});
  events_.edited.clear();

  Cursor(1, 2);
  Click(1, 1);  // selects the cell holding "b"
  grid_.PressKey('C', kCtrl);
  grid_.PressKey(kVkInsert, kCtrl);
  Cursor(2, 2);
  grid_.PressKey(kVkInsert, kShift);  // "b" into (2, 2)
  grid_.PressKey('V', kCtrl);         // the same again: nothing changes
  clipboard_.SetText("b\tz\nb\tb");
  grid_.PressKey(kVkInsert, kShift);  // only (2, 3) and (3, 2), (3, 3) change
  EXPECT_EQ(events_.edited, (Edits{CellRange::Cell(2, 2), CellRange{2, 2, 3, 3}}));
  events_.edited.clear();

  Cursor(4, 1);
  grid_.PressKey(kVkDelete, 0);  // an empty cell: nothing changes
  grid_.PressKey(kVkDown, kShift);
  grid_.PressKey('X', kCtrl);  // both empty
  Cursor(2, 2);
  grid_.PressKey(kVkRight, kShift);
  grid_.PressKey('X', kCtrl);
  Cursor(3, 2);
  grid_.PressKey(kVkRight, kShift);
  grid_.PressKey(kVkDelete, 0);
  EXPECT_EQ(events_.edited, (Edits{CellRange{2, 2, 2, 3}, CellRange{3, 2, 3, 3}}));
  events_.edited.clear();

  grid_.SetCellValue(3, 3, 1, Value::FromText("set by the program"));
  grid_.SetEditable(false);
  grid_.PressKey(kVkDelete, 0);
  grid_.PressKey('X', kCtrl);
  grid_.PressKey(kVkInsert, kShift);
  EXPECT_EQ(events_.edited, Edits{});
  EXPECT_EQ(At(3, 3), "set by the program");
}

TEST_F(GridInputTest, AClickReportsTheNewCursorOnReleaseThenClicked) {
  grid_.PressButton(3, 2, 30, 40, 0);
  EXPECT_EQ(Where(), std::make_pair(3, 2));
  EXPECT_TRUE(events_.log.empty());
  grid_.ReleaseButton(3, 2, 31, 41, 0);
  EXPECT_EQ(events_.Take(), (Log{"CursorMoved", "Clicked 31,41"}));
  // A second click on the cursor cell opens its editor.
  Click(3, 2);
  EXPECT_TRUE(grid_.Editing());
  EXPECT_EQ(events_.Take(), (Log{"MayBeginEdit", "EditBegins", "Clicked 20,30"}));
}

TEST_F(GridInputTest, AClickOnATitleCellRaisesTitleCellClickedAfterClicked) {
  Click(0, 3);
  EXPECT_EQ(events_.Take(), (Log{"CursorMoved", "Clicked 30,0", "TitleCellClicked 0,3"}));
  Click(0, 3);
  EXPECT_FALSE(grid_.Editing());  // title cells are not edited
}

TEST_F(GridInputTest, ADragSelectsAndRaisesNoClick) {
  grid_.PressButton(1, 1, 0, 0, 0);
  grid_.DragTo(2, 3, 30, 20, 0);
  grid_.ReleaseButton(2, 3, 0, 0, 0);
  EXPECT_EQ(Where(), std::make_pair(1, 1));
  EXPECT_EQ(grid_.Selection(), (CellRange{1, 1, 2, 3}));
  EXPECT_EQ(events_.Take(), Log{"CursorMoved"});
}

TEST_F(GridInputTest, DoubleClickOpensADataCellOrReportsATitleCell) {
  grid_.PressButton(2, 2, 5, 6, 0);
  grid_.ReleaseButton(2, 2, 5, 6, 0);
  grid_.DoubleClickButton(2, 2, 5, 6, kShift);
  grid_.ReleaseButton(2, 2, 5, 6, 0);
  EXPECT_TRUE(grid_.Editing());
  EXPECT_EQ(events_.Take(), (Log{"CursorMoved", "Clicked 5,6", "MayBeginEdit", "EditBegins",
                                 "DoubleClick 5,6,2"}));
  grid_.PressButton(0, 1, 1, 1, 0);  // closes the editor
  grid_.ReleaseButton(0, 1, 1, 1, 0);
  grid_.DoubleClickButton(0, 1, 1, 1, 0);
  grid_.ReleaseButton(0, 1, 1, 1, 0);
  EXPECT_EQ(events_.Take(),
            (Log{"EditEnds", "CursorMoved", "Clicked 1,1", "TitleCellClicked 0,1",
                 "TitleCellDoubleClicked 0,1", "DoubleClick 1,1,0"}));
}

TEST_F(GridInputTest, OnAReadOnlyGridClicksOnlyMoveAndReport) {
  grid_.SetEditable(false);
  Click(2, 2);
  Click(2, 2);
  grid_.DoubleClickButton(2, 2, 0, 0, 0);
  EXPECT_FALSE(grid_.Editing());
  EXPECT_EQ(events_.Take(), (Log{"CursorMoved", "Clicked 20,20", "Clicked 20,20",
                                 "DoubleClick 0,0,0"}));
  grid_.PressRightButton(7, 8, kCtrl);
  EXPECT_EQ(events_.Take(), Log{"RightButtonDown 7,8,1"});
}

TEST_F(GridInputTest, HandlersMayChangeTheGridWhileItRaisesEvents) {
  // A CursorMoved handler that deletes rows and moves the cursor itself.
  Cursor(1, 1);
  events_.on_cursor_moved = [this] {
    events_.on_cursor_moved = nullptr;
    grid_.DeleteRow(5);
    grid_.SetCursor(1, 1);
  };
  Click(4, 3);
  EXPECT_EQ(grid_.RowCount(), 5);
  EXPECT_EQ(Where(), std::make_pair(1, 1));
  // The handler's own SetCursor reports its move; the click still completes.
  EXPECT_EQ(events_.Take(), (Log{"CursorMoved", "CursorMoved", "Clicked 30,40"}));

  // An EditBegins handler that removes the row being edited: no editor opens.
  Cursor(4, 2);
  events_.on_edit_begins = [this] { grid_.SetRowCount(3); };
  grid_.TypeCharacter("x", 0);
  EXPECT_FALSE(grid_.Editing());
  events_.on_edit_begins = nullptr;

  // An EditEnds handler that deletes the row below while Enter moves on.
  Cursor(1, 4);
  grid_.TypeCharacter("y", 0);
  events_.on_edit_ends = [this] { grid_.DeleteRow(2); };
  grid_.PressKey(kVkReturn, 0);
  EXPECT_EQ(At(1, 4), "y");
  EXPECT_EQ(grid_.RowCount(), 2);
  EXPECT_EQ(Where(), std::make_pair(1, 4));
}

}  // namespace
}  // namespace sr
