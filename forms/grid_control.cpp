#include "forms/grid_control.h"

#include <utility>

#include "forms/window.h"

namespace sr::forms {

GridControl::GridControl(Text name, ui::Rect rect, const GridConfig& config)
    : Control(ui::ControlKind::kGrid, std::move(name), rect), grid_(config) {
  grid_.SetEvents(this);
}

GridControl::~GridControl() { grid_.SetEvents(nullptr); }

void GridControl::OnInput(ui::Input input, int a, int b, int c) {
  switch (input) {
    case ui::Input::kDoubleClick:
    case ui::Input::kRightButtonDown:
    case ui::Input::kKeyDown:
      return;  // the model raises these itself, from the input its peer reported to it
    default:
      Control::OnInput(input, a, b, c);
  }
}

void GridControl::PeerCreated(ui::Backend& backend) { grid_.SetClipboard(&backend.clipboard()); }

void GridControl::FillSpec(ui::ControlSpec* description) const {
  // The peer reads the cells and reports its input; the model stays this control's.
  Grid* grid = const_cast<Grid*>(&grid_);
  description->grid_source = grid;
  description->grid_input = grid;
}

void GridControl::CursorMoved() { Raise(kGridCursorMoved); }
void GridControl::EditBegins() { Raise(kGridEditBegins); }
void GridControl::TypingRefused() { Raise(kGridTypingRefused); }
void GridControl::EditEnds() { Raise(kGridEditEnds); }
void GridControl::CellsEdited(const CellRange& range) {
  Raise(kGridCellsEdited, {range.first_row, range.first_column, range.last_row, range.last_column});
}
void GridControl::Clicked(int x, int y) { Raise(kGridClicked, {x, y}); }
void GridControl::TitleCellClicked(int row, int column) {
  Raise(kGridTitleCellClicked, {row, column});
}
void GridControl::TitleCellDoubleClicked(int row, int column) {
  Raise(kGridTitleCellDoubleClicked, {row, column});
}
void GridControl::RightButtonDown(int x, int y, int modifiers) {
  Raise(GenericEvent(ui::Input::kRightButtonDown), {x, y, modifiers});
}
void GridControl::DoubleClick(int x, int y, int modifiers) {
  Raise(GenericEvent(ui::Input::kDoubleClick), {x, y, modifiers});
}
void GridControl::KeyDown(int key, int modifiers) {
  Raise(GenericEvent(ui::Input::kKeyDown), {key, modifiers});
}

}  // namespace sr::forms
