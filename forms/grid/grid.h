#ifndef SALARY_FORMS_GRID_GRID_H_
#define SALARY_FORMS_GRID_GRID_H_

#include <optional>
#include <vector>

#include "base/value.h"
#include "forms/grid/cell_store.h"
#include "forms/grid/grid_events.h"
#include "forms/grid/grid_types.h"

namespace sr {

class Clipboard;

// The grid control: a table of text cells with title rows and columns, a cursor cell, a
// rectangular selection, merged ranges and an in-place editor. It keeps all of its state itself;
// its native peer reads it as a ui::GridSource, is told of changes as its ui::GridView, and
// reports the user's input back through ui::GridInput, which the grid implements as its input
// methods. Tests drive those methods directly.
//
// Coordinates are 0-based. Operations validate their arguments and fail quietly (false, -1 or
// nothing). Events go to one GridEvents listener and are raised synchronously; a handler may call
// back into the grid.
//
// Final, so that the model's own calls of its inline getters stay direct calls.
class Grid final : public ui::GridSource, public ui::GridInput {
 public:
  explicit Grid(const GridConfig& config);
  Grid(const Grid&) = delete;
  Grid& operator=(const Grid&) = delete;

  // Wiring. Each pointer may be null (no listener, no peer, no clipboard) and must outlive the
  // grid or be replaced before it goes.
  void SetEvents(GridEvents* events);
  void SetView(ui::GridView* view) override;
  void SetClipboard(Clipboard* clipboard) { clipboard_ = clipboard; }

  // --- Properties. Setting one also replaces the value that Reset re-applies. ---

  int RowCount() const override { return rows_; }
  // Adds empty rows at the end or removes rows from the end; every row gets DefaultRowHeight.
  // A count of 0 or less is refused (false) and nothing changes.
  bool SetRowCount(int count);
  int ColumnCount() const override { return columns_; }
  bool SetColumnCount(int count);
  int TitleRowCount() const override { return title_rows_; }
  void SetTitleRowCount(int count);
  int TitleColumnCount() const override { return title_columns_; }
  void SetTitleColumnCount(int count);
  // When false no cell may be edited; paste, cut and the Delete key change nothing.
  bool Editable() const { return editable_; }
  void SetEditable(bool editable);
  int DefaultRowHeight() const override { return stored_.default_row_height; }
  void SetDefaultRowHeight(int height);
  int DefaultColumnWidth() const { return stored_.default_column_width; }
  void SetDefaultColumnWidth(int width);
  int EnterMoves() const { return enter_moves_; }
  void SetEnterMoves(int how);
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool on);

  // Sizes in pixels; a row or column of size 0 is hidden and skipped by copy and paste. The
  // getters return 0 and the setters false for a row or column outside the grid (or a negative
  // size).
  int RowHeight(int row) const override;
  bool SetRowHeight(int row, int height);
  int ColumnWidth(int column) const override;
  bool SetColumnWidth(int column, int width);

  // --- Cells ---

  bool CellExists(int row, int column) const override {
    return row >= 0 && row < rows_ && column >= 0 && column < columns_;
  }
  bool IsTitleCell(int row, int column) const override {
    return row < title_rows_ || column < title_columns_;
  }
  // Editable is on, the cell exists, is a data cell and is not read-only.
  bool MayEdit(int row, int column) const;

  // Kind 1 stores text unchanged and numbers as the program shows them (ToText). False when the
  // cell does not exist, the kind is not 1 or the value is not text or a number.
  bool SetCellValue(int row, int column, int kind, const Value& value);
  // The cell's text as a text value; the boolean false for a cell that does not exist.
  Value GetCellValue(int row, int column) const;
  // REQUIRES: CellExists(row, column). For peers and the program's own fast paths.
  const Text& CellText(int row, int column) const override { return cells_.GetText(row, column); }
  Alignment CellAlignment(int row, int column) const override {
    return cells_.GetAlignment(row, column);
  }
  bool CellWraps(int row, int column) const override { return cells_.Wraps(row, column); }
  bool CellReadOnly(int row, int column) const { return cells_.ReadOnly(row, column); }
  // Rows whose cells hold text; the others cost a few bytes each.
  int RowsWithText() const { return cells_.RowsWithText(); }
  // REQUIRES: 0 <= row < RowCount().
  bool RowHasText(int row) const { return cells_.RowHasText(row); }
  bool SetCellWrap(int row, int column, bool wrap);
  bool SetCellReadOnly(int row, int column, bool read_only);

  // Alignment of every cell of the rectangle: 2 centre, 3 right, anything else left. An omitted
  // last row or column equals the first; a last row or column past the grid is clamped first.
  // Nothing changes for a negative bound, an inverted rectangle or a first cell outside the grid.
  void SetAlignment(int first_row, int first_column, std::optional<int> last_row,
                    std::optional<int> last_column, int alignment);

  // --- Structure ---

  // Inserts an empty row before `before`; an omitted position, one inside the title rows or one
  // at or past RowCount appends. `title`, when given, becomes the text of column 0. A cursor below
  // the new row moves down with its row; afterwards only the cursor cell is selected.
  bool InsertRow(std::optional<Text> title = std::nullopt,
                 std::optional<int> before = std::nullopt);
  // False if the row does not exist. The cursor stays on the same row index (or the new last row)
  // unless that is a title row.
  bool DeleteRow(int row);
  // Empties every cell and format, drops merged ranges, the editor, cursor and selection, keeps
  // the row and column counts, and re-applies every stored property and the default sizes.
  void Reset();
  // Merges the rectangle into one displayed cell. Refused for a negative bound, an inverted range,
  // a single cell, a range past the grid or one mixing title and data cells. Merged ranges that
  // overlap the new one are dropped.
  void MergeCells(int first_row, int first_column, int last_row, int last_column);
  const std::vector<CellRange>& MergedRanges() const override { return merges_; }
  // The merged range holding the cell, or the cell alone.
  CellRange DisplayedRange(int row, int column) const override;

  // --- Cursor and selection ---

  // Clears cursor and selection (storing an open editor's text first), then, if the cell exists,
  // makes it the cursor cell and scrolls it into view, selecting its row in RowSelect mode.
  // Raises CursorMoved when the cursor cell differs from the one before the call.
  void SetCursor(int row, int column);
  int GetCursorRow() const override { return cursor_row_; }
  int GetCursorColumn() const override { return cursor_column_; }
  const CellRange& Selection() const override { return selection_; }
  bool IsSelected(int row, int column) const override { return selection_.Contains(row, column); }
  // Selects the rectangle clipped to the grid (an empty range clears the selection).
  void Select(const CellRange& range);
  void SelectAll();

  // --- Clipboard ---

  // Puts the selected cells on the clipboard: TAB between cells, LF between rows, a space for an
  // empty cell; hidden rows and columns are skipped.
  void CopySelection();
  // Writes the clipboard text into the grid from the cursor cell on (only when the cursor cell may
  // be edited): rows at LF, fields at TAB or comma, each trimmed of spaces.
  void Paste();
  // Copy, then clear the editable cells of the selection. Only when Editable.
  void Cut();
  // The Delete key: clears the cursor cell and the selection's cells that may be edited.
  void ClearSelection();

  // --- In-place editor ---

  bool Editing() const override { return editing_; }
  int EditorRow() const override { return editor_row_; }
  int EditorColumn() const override { return editor_column_; }
  const Text& EditorText() const override { return editor_text_; }
  // The peer (or a test) reports the editor's current text.
  void SetEditorText(const Text& text) override;
  // Opens the editor on the cursor cell with its text, as F2 does. False if it did not open.
  bool BeginEdit();
  // Closes the editor, stores its text in the cell and raises EditEnds. Nothing if not editing.
  void EndEdit();
  // Closes the editor keeping the cell's text as it was (Esc); EditEnds is still raised.
  void CancelEdit();

  // --- User input from the peer (ui::GridInput) ---

  // Rows that Page Up and Page Down move: the peer sets it from its visible rows.
  int PageRows() const { return page_rows_; }
  void SetPageRows(int rows) override { page_rows_ = rows > 0 ? rows : 1; }

  // A key went down (virtual-key code, modifier bits of platform/ui/keys.h) while the grid has the
  // focus.
  void PressKey(int key, int modifiers) override;
  // One printable character (GBK) was typed. Opens the editor with it, or extends the editor's
  // text while editing. Ignored with Ctrl or for a control character.
  void TypeCharacter(const Text& character, int modifiers) override;
  // The same for a character code as the generic character event carries it: a one-byte character
  // as its byte, a two-byte one as (lead << 8) | trail.
  void TypeCharacterCode(int code, int modifiers);
  // The left button went down, moved, came up or double-clicked. (row, column) is the cell under
  // the point, (-1, -1) outside the cells; (x, y) are client pixels.
  void PressButton(int row, int column, int x, int y, int modifiers) override;
  void DragTo(int row, int column, int x, int y, int modifiers) override;
  void ReleaseButton(int row, int column, int x, int y, int modifiers) override;
  void DoubleClickButton(int row, int column, int x, int y, int modifiers) override;
  void PressRightButton(int x, int y, int modifiers) override;
  // The grid (and its editor) lost the keyboard focus: an open editor stores its text.
  void LoseFocus() override;

 private:
  // Structure helpers (grid.cpp).
  void ResizeColumns(int count);
  void RebuildFromStored();
  void ClampTitleCounts();
  void FitToSize();
  void CutBackMerges();
  void StoreText(int row, int column, Text text);
  // Empties the cells of `range` that may be edited; returns the range of those that held text.
  CellRange EmptyEditableCells(const CellRange& range);

  // Cursor helpers (grid_input.cpp).
  void PlaceCursor(int row, int column, bool extend);
  void RaiseCursorMovedIfChanged();
  bool OpenEditor(int row, int column, const Text* first_input);
  int ShownRow(int from, int step) const;
  int ShownColumn(int from, int step) const;
  bool OwnCell(int row, int column) const;
  bool FirstDataCell(int* row, int* column) const;
  bool StepArrow(int key, int* row, int* column) const;
  bool StepCell(bool forward, bool by_columns, int* row, int* column) const;
  void MoveByKey(int key, int modifiers);
  bool MoveByEnterOrTab(int key, int modifiers);
  void PressEditorKey(int key, int modifiers);

  GridConfig stored_;  // the values Reset re-applies
  int rows_ = 0;
  int columns_ = 0;
  int title_rows_ = 0;
  int title_columns_ = 0;
  bool editable_ = false;
  int enter_moves_ = kEnterStays;
  bool row_select_ = false;

  CellStore cells_;
  std::vector<int> row_heights_;
  std::vector<int> column_widths_;
  std::vector<CellRange> merges_;

  int cursor_row_ = -1;
  int cursor_column_ = -1;
  int reported_row_ = -1;  // the cursor cell that CursorMoved last told about
  int reported_column_ = -1;
  CellRange selection_;
  int anchor_row_ = -1;  // the fixed corner of a Shift or drag selection
  int anchor_column_ = -1;

  bool editing_ = false;
  int editor_row_ = -1;
  int editor_column_ = -1;
  Text editor_text_;
  Text editor_original_;

  bool button_down_ = false;
  bool dragged_ = false;
  bool after_double_click_ = false;
  int page_rows_ = 10;

  GridEvents* events_;
  ui::GridView* view_;
  Clipboard* clipboard_ = nullptr;
};

}  // namespace sr

#endif  // SALARY_FORMS_GRID_GRID_H_
