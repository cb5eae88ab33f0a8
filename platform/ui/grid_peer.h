#ifndef SALARY_PLATFORM_UI_GRID_PEER_H_
#define SALARY_PLATFORM_UI_GRID_PEER_H_

// The grid control's contract with its native peer. The grid model keeps every cell and rule; a
// peer only draws it and reports what the user does:
//   GridSource  what the peer reads (implemented by the grid model),
//   GridView    what the peer is told when something changed (implemented by the peer),
//   GridInput   what the peer reports (implemented by the grid model).
// Pixels are the grid's client pixels, keys the virtual-key codes and modifier bits of keys.h,
// texts GBK. Everything runs on the user-interface thread; a report runs to completion (with the
// events it raises, which may call back into the grid) before the peer continues.
#include <vector>

#include "platform/ui/keys.h"
#include "platform/ui/peer.h"

namespace sr::ui {

// A rectangle of cells, bounds included. An empty range has first_row == -1.
struct CellRange {
  int first_row = -1;
  int first_column = -1;
  int last_row = -1;
  int last_column = -1;

  static CellRange Cell(int row, int column) { return {row, column, row, column}; }
  bool empty() const { return first_row < 0; }
  bool Contains(int row, int column) const {
    return !empty() && row >= first_row && row <= last_row && column >= first_column &&
           column <= last_column;
  }
  bool Intersects(const CellRange& o) const {
    return !empty() && !o.empty() && first_row <= o.last_row && o.first_row <= last_row &&
           first_column <= o.last_column && o.first_column <= last_column;
  }
  bool operator==(const CellRange&) const = default;
};

// Horizontal alignment of a cell's text; text is always centred vertically.
enum class Alignment : unsigned char { kLeft, kCentre, kRight };

// Told by the grid model exactly what changed, so that the peer redraws only that.
class GridView {
 public:
  virtual ~GridView() = default;

  // Texts or formats of the cells in `range` changed.
  virtual void CellsChanged(const CellRange& range) {}
  // Row or column counts, sizes, title counts or merged ranges changed: lay out again.
  virtual void StructureChanged() {}
  // The cursor cell or the selection changed.
  virtual void CursorChanged() {}
  // The in-place editor opened over the cell, with GridSource::EditorText as its text; or it
  // closed (its text is then stored or dropped by the model).
  virtual void EditorOpened(int row, int column) {}
  virtual void EditorClosed() {}
  // The cell (its merged range when merged) should be scrolled into view.
  virtual void ScrollIntoView(int row, int column) {}
};

// What a grid peer reads to draw. Rows and columns are 0-based; the first TitleRowCount rows and
// TitleColumnCount columns are the title cells, which stay in place while the rest scrolls.
// REQUIRES for the cell getters: CellExists(row, column).
class GridSource {
 public:
  virtual ~GridSource() = default;

  // The peer registers itself while it exists and passes null before it goes. One view at a time.
  virtual void SetView(GridView* view) = 0;

  virtual int RowCount() const = 0;
  virtual int ColumnCount() const = 0;
  virtual int TitleRowCount() const = 0;
  virtual int TitleColumnCount() const = 0;
  // Sizes in pixels; a row or column of size 0 is hidden. 0 outside the grid.
  virtual int RowHeight(int row) const = 0;
  virtual int ColumnWidth(int column) const = 0;
  // The height rows are given by default: one step of scrolling and the unit of a page.
  virtual int DefaultRowHeight() const = 0;

  virtual bool CellExists(int row, int column) const = 0;
  virtual bool IsTitleCell(int row, int column) const = 0;
  virtual const Text& CellText(int row, int column) const = 0;
  virtual Alignment CellAlignment(int row, int column) const = 0;
  // A wrapping cell breaks its text into lines at the cell's width; others show one line.
  virtual bool CellWraps(int row, int column) const = 0;

  // Each merged range is drawn as one cell, with the text of its first (top left) cell.
  virtual const std::vector<CellRange>& MergedRanges() const = 0;
  // The merged range holding the cell, or the cell alone.
  virtual CellRange DisplayedRange(int row, int column) const = 0;

  // The cursor cell, framed; -1 when there is none.
  virtual int GetCursorRow() const = 0;
  virtual int GetCursorColumn() const = 0;
  virtual const CellRange& Selection() const = 0;
  virtual bool IsSelected(int row, int column) const = 0;

  // The in-place editor: whether it is open, over which cell, and its text.
  virtual bool Editing() const = 0;
  virtual int EditorRow() const = 0;
  virtual int EditorColumn() const = 0;
  virtual const Text& EditorText() const = 0;
};

// What a grid peer reports: the user's input on the cells, in logical terms. Focus, mouse-move
// and wheel input go as generic input through ControlEvents, as for every control.
class GridInput {
 public:
  virtual ~GridInput() = default;

  // A key went down while the grid (or its open editor, for the keys of ClosesGridEditor) has
  // the focus: a virtual-key code and modifier bits.
  virtual void PressKey(int key, int modifiers) = 0;
  // One printable character was typed (GBK, one or two bytes), with the modifier bits. A
  // character that GBK cannot hold is refused by the peer and never reported.
  virtual void TypeCharacter(const Text& character, int modifiers) = 0;

  // The left button went down, moved with the button held, came up, or was double-clicked.
  // (row, column) is the cell under the point, (-1, -1) outside the cells; (x, y) the point.
  virtual void PressButton(int row, int column, int x, int y, int modifiers) = 0;
  virtual void DragTo(int row, int column, int x, int y, int modifiers) = 0;
  virtual void ReleaseButton(int row, int column, int x, int y, int modifiers) = 0;
  virtual void DoubleClickButton(int row, int column, int x, int y, int modifiers) = 0;
  virtual void PressRightButton(int x, int y, int modifiers) = 0;

  // The user changed the open editor's text; `text` is all of it.
  virtual void SetEditorText(const Text& text) = 0;
  // The keyboard focus left the grid and its editor (to another control, window, box or menu).
  virtual void LoseFocus() = 0;
  // How many data rows one screen of the peer shows: what Page Up and Page Down move.
  virtual void SetPageRows(int rows) = 0;
};

// The keys an open editor does not keep for itself: the peer reports them through PressKey (the
// model then closes the editor and may move on) and leaves all others to its editor.
inline bool ClosesGridEditor(int key) {
  switch (key) {
    case kVkTab:
    case kVkReturn:
    case kVkEscape:
    case kVkUp:
    case kVkDown:
    case kVkPageUp:
    case kVkPageDown:
      return true;
    default:
      return false;
  }
}

}  // namespace sr::ui

#endif  // SALARY_PLATFORM_UI_GRID_PEER_H_
