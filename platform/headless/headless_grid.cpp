#include "platform/headless/headless_grid.h"

#include <algorithm>

#include "platform/ui/grid_axis.h"

namespace sr::headless {

HeadlessGrid::HeadlessGrid(HeadlessWindow* window, const ui::ControlSpec& description,
                           ui::ControlEvents* events, HeadlessControl* container)
    : HeadlessControl(window, description, events, container),
      source_(description.grid_source),
      input_(description.grid_input) {
  source_->SetView(this);
  ReportPageRows();
}

HeadlessGrid::~HeadlessGrid() { source_->SetView(nullptr); }

void HeadlessGrid::CellPoint(int row, int column, int* x, int* y) const {
  ui::GridAxis rows, columns;
  rows.Rebuild(source_->RowCount(), 0, [this](int r) { return source_->RowHeight(r); });
  columns.Rebuild(source_->ColumnCount(), 0, [this](int c) { return source_->ColumnWidth(c); });
  *x = columns.Start(column) + source_->ColumnWidth(column) / 2;
  *y = rows.Start(row) + source_->RowHeight(row) / 2;
}

// The grid's input, once the grid took the focus for a press at the middle of the cell (*x, *y).
// Kept by the caller: the model outlives the peer, which a focus handler may destroy.
ui::GridInput* HeadlessGrid::PressAt(int row, int column, int* x, int* y) {
  CellPoint(row, column, x, y);
  ui::GridInput* input = input_;
  SetFocus();
  return input;
}

void HeadlessGrid::Click(int row, int column) {
  int x, y;
  ui::GridInput* input = PressAt(row, column, &x, &y);
  input->PressButton(row, column, x, y, ui::kNoModifier);
  input->ReleaseButton(row, column, x, y, ui::kNoModifier);
}

void HeadlessGrid::DoubleClick(int row, int column) {
  int x, y;
  CellPoint(row, column, &x, &y);
  ui::GridInput* input = input_;
  Click(row, column);
  input->DoubleClickButton(row, column, x, y, ui::kNoModifier);
  input->ReleaseButton(row, column, x, y, ui::kNoModifier);
}

void HeadlessGrid::RightClick(int row, int column) {
  int x, y;
  PressAt(row, column, &x, &y)->PressRightButton(x, y, ui::kNoModifier);
}

void HeadlessGrid::SetRect(const ui::Rect& rect) {
  HeadlessControl::SetRect(rect);
  ReportPageRows();
}

void HeadlessGrid::ReportFocus(ui::Input got_or_lost) {
  ui::GridInput* input = input_;
  HeadlessControl::ReportFocus(got_or_lost);
  if (got_or_lost == ui::Input::kLostFocus) input->LoseFocus();
}

// The data rows that fit below the title rows, counted in rows of the default height, as the Qt
// view counts them (it has no frame or scroll bars to take room here).
void HeadlessGrid::ReportPageRows() {
  int titles = 0;
  for (int r = 0; r < source_->TitleRowCount(); ++r) titles += source_->RowHeight(r);
  const int data_height = std::max(state().rect.height - titles, 0);
  input_->SetPageRows(std::max(data_height / std::max(source_->DefaultRowHeight(), 1), 1));
}

}  // namespace sr::headless
