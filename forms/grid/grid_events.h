#ifndef SALARY_FORMS_GRID_GRID_EVENTS_H_
#define SALARY_FORMS_GRID_GRID_EVENTS_H_

#include "forms/grid/grid_types.h"

namespace sr {

// The events a grid raises, synchronously, while the operation or input that caused them runs.
// A handler may call back into the grid. Every method does nothing by default.
class GridEvents {
 public:
  virtual ~GridEvents() = default;

  // After the cursor cell changed, by keyboard, mouse or SetCursor.
  virtual void CursorMoved() {}
  // Before a cell editor opens; returning false prevents the edit.
  virtual bool MayBeginEdit() { return true; }
  // After MayBeginEdit allowed the edit, just before the editor opens.
  virtual void EditBegins() {}
  // A character was typed at a cell that only SetEditable(false) keeps from being edited.
  virtual void TypingRefused() {}
  // After the editor's text has been stored in the cell.
  virtual void EditEnds() {}
  // The grid's own editing changed the text of cells inside `range`: the editor storing a new
  // text (before EditEnds), Paste, Cut or the Delete key, whoever started them. Not raised when
  // every text stayed the same, nor for SetCellValue, Reset or the row operations, which the
  // program itself calls.
  virtual void CellsEdited(const CellRange& range) {}
  // The left button was released after a single click; client pixels.
  virtual void Clicked(int x, int y) {}
  // After Clicked, when the click was on a title cell.
  virtual void TitleCellClicked(int row, int column) {}
  virtual void TitleCellDoubleClicked(int row, int column) {}
  // Generic control events; `modifiers` holds the bits 1 Ctrl, 2 Shift, 4 Alt.
  virtual void RightButtonDown(int x, int y, int modifiers) {}
  virtual void DoubleClick(int x, int y, int modifiers) {}
  virtual void KeyDown(int key, int modifiers) {}
};

}  // namespace sr

#endif  // SALARY_FORMS_GRID_GRID_EVENTS_H_
