#ifndef SALARY_PLATFORM_HEADLESS_HEADLESS_GRID_H_
#define SALARY_PLATFORM_HEADLESS_HEADLESS_GRID_H_

#include "platform/headless/headless_backend.h"
#include "platform/ui/grid_peer.h"

namespace sr::headless {

// The peer of a grid on the headless screen. It draws nothing; otherwise it is what the Qt view
// is: the source's view while it exists, and the reporter of the user's input on the cells to
// the grid's input (clicks at the middle of their cell, keys, typed characters, the editor's
// text, the loss of the focus, the rows a page shows). The cells are laid out unscrolled, the
// title rows and columns first, each cell as big as its row and column.
class HeadlessGrid : public HeadlessControl, public ui::GridView {
 public:
  HeadlessGrid(HeadlessWindow* window, const ui::ControlSpec& description,
               ui::ControlEvents* events, HeadlessControl* container);
  ~HeadlessGrid() override;

  // The grid peer that `control` is, or null when it is none.
  static HeadlessGrid* Of(HeadlessControl* control) { return dynamic_cast<HeadlessGrid*>(control); }

  const ui::GridSource& source() const { return *source_; }
  // The middle of the cell in the grid's client pixels.
  void CellPoint(int row, int column, int* x, int* y) const;

  // --- What the user does to the grid ---
  // A key pressed while the grid has the focus (menu shortcuts are the window's business).
  void PressKey(int key, int modifiers) { input_->PressKey(key, modifiers); }
  // One character typed (GBK) while the grid has the focus.
  void Type(const ui::Text& character) { input_->TypeCharacter(character, ui::kNoModifier); }
  // The open editor's whole text after the user changed it.
  void EditText(const ui::Text& text) { input_->SetEditorText(text); }
  // The mouse on the middle of a cell: the grid takes the focus with the press, as a native one
  // does. A double-click is the press and release of a click followed by the second press (the
  // double-click) and its release.
  void Click(int row, int column);
  void DoubleClick(int row, int column);
  void RightClick(int row, int column);

  // HeadlessControl: the size decides the rows of a page; the loss of the focus is also told to
  // the grid's input, as the Qt view tells it.
  void SetRect(const ui::Rect& rect) override;
  void ReportFocus(ui::Input got_or_lost) override;

  // ui::GridView: nothing to draw; a new layout may change the rows of a page.
  void StructureChanged() override { ReportPageRows(); }

 private:
  ui::GridInput* PressAt(int row, int column, int* x, int* y);
  void ReportPageRows();

  ui::GridSource* source_;
  ui::GridInput* input_;
};

}  // namespace sr::headless

#endif  // SALARY_PLATFORM_HEADLESS_HEADLESS_GRID_H_
