#include "forms/grid/grid.h"

#include <algorithm>
#include <utility>

#include "runtime/convert/conversions.h"

namespace sr {
namespace {

GridEvents& NoEvents() {
  static GridEvents none;
  return none;
}

ui::GridView& NoView() {
  static ui::GridView none;
  return none;
}

// The value kinds that kind 1 turns into a cell's text.
bool StorableAsText(const Value& value) { return value.is_text() || value.is_numeric(); }

// Keeps a range inside rows x columns; an empty result when nothing of it is left.
CellRange Clip(CellRange range, int rows, int columns) {
  if (range.empty()) return range;
  range.last_row = std::min(range.last_row, rows - 1);
  range.last_column = std::min(range.last_column, columns - 1);
  range.first_row = std::max(range.first_row, 0);
  range.first_column = std::max(range.first_column, 0);
  if (range.first_row > range.last_row || range.first_column > range.last_column) return {};
  return range;
}

}  // namespace

Grid::Grid(const GridConfig& config)
    : stored_(config), events_(&NoEvents()), view_(&NoView()) {
  stored_.row_count = std::max(config.row_count, 0);
  stored_.column_count = std::max(config.column_count, 0);
  rows_ = stored_.row_count;
  columns_ = stored_.column_count;
  RebuildFromStored();
}

// Empty cells of the current size, default sizes and the stored property values.
void Grid::RebuildFromStored() {
  cells_.Assign(rows_, columns_);
  row_heights_.assign(rows_, stored_.default_row_height);
  column_widths_.assign(columns_, stored_.default_column_width);
  title_rows_ = stored_.title_row_count;
  title_columns_ = stored_.title_column_count;
  ClampTitleCounts();
  editable_ = stored_.editable;
  enter_moves_ = stored_.enter_moves;
  row_select_ = stored_.row_select;
}

void Grid::SetEvents(GridEvents* events) { events_ = events ? events : &NoEvents(); }
void Grid::SetView(ui::GridView* view) { view_ = view ? view : &NoView(); }

// ---------------------------------------------------------------- properties

bool Grid::SetRowCount(int count) {
  if (count <= 0) return false;
  EndEdit();
  rows_ = count;
  cells_.ResizeRows(rows_);
  row_heights_.assign(rows_, stored_.default_row_height);
  FitToSize();
  return true;
}

bool Grid::SetColumnCount(int count) {
  if (count <= 0) return false;
  EndEdit();
  ResizeColumns(count);
  column_widths_.assign(columns_, stored_.default_column_width);
  FitToSize();
  return true;
}

// After the row or column count changed: what pointed past the new end is cut back or cleared.
void Grid::FitToSize() {
  ClampTitleCounts();
  if (cursor_row_ >= rows_ || cursor_column_ >= columns_) cursor_row_ = cursor_column_ = -1;
  if (anchor_row_ >= rows_ || anchor_column_ >= columns_) {
    anchor_row_ = cursor_row_;
    anchor_column_ = cursor_column_;
  }
  selection_ = Clip(selection_, rows_, columns_);
  CutBackMerges();
  view_->StructureChanged();
}

void Grid::ResizeColumns(int count) {
  cells_.ResizeColumns(count);
  columns_ = count;
}

void Grid::ClampTitleCounts() {
  title_rows_ = std::clamp(title_rows_, 0, rows_);
  title_columns_ = std::clamp(title_columns_, 0, columns_);
}

void Grid::CutBackMerges() {
  std::erase_if(merges_, [this](CellRange& m) {
    if (m.first_row >= rows_ || m.first_column >= columns_) return true;
    m.last_row = std::min(m.last_row, rows_ - 1);
    m.last_column = std::min(m.last_column, columns_ - 1);
    return m.first_row == m.last_row && m.first_column == m.last_column;
  });
}

void Grid::SetTitleRowCount(int count) {
  if (count < 0) return;
  stored_.title_row_count = title_rows_ = count;
  ClampTitleCounts();
  view_->StructureChanged();
}

void Grid::SetTitleColumnCount(int count) {
  if (count < 0) return;
  stored_.title_column_count = title_columns_ = count;
  ClampTitleCounts();
  view_->StructureChanged();
}

void Grid::SetEditable(bool editable) {
  if (!editable) EndEdit();
  stored_.editable = editable_ = editable;
}

void Grid::SetDefaultRowHeight(int height) {
  if (height >= 0) stored_.default_row_height = height;
}

void Grid::SetDefaultColumnWidth(int width) {
  if (width >= 0) stored_.default_column_width = width;
}

void Grid::SetEnterMoves(int how) { stored_.enter_moves = enter_moves_ = how; }
void Grid::SetRowSelect(bool on) { stored_.row_select = row_select_ = on; }

int Grid::RowHeight(int row) const { return row >= 0 && row < rows_ ? row_heights_[row] : 0; }

bool Grid::SetRowHeight(int row, int height) {
  if (row < 0 || row >= rows_ || height < 0) return false;
  row_heights_[row] = height;
  view_->StructureChanged();
  return true;
}

int Grid::ColumnWidth(int column) const {
  return column >= 0 && column < columns_ ? column_widths_[column] : 0;
}

bool Grid::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= columns_ || width < 0) return false;
  column_widths_[column] = width;
  view_->StructureChanged();
  return true;
}

// ---------------------------------------------------------------- cells

bool Grid::MayEdit(int row, int column) const {
  return editable_ && CellExists(row, column) && !IsTitleCell(row, column) &&
         !cells_.ReadOnly(row, column);
}

bool Grid::SetCellValue(int row, int column, int kind, const Value& value) {
  if (!CellExists(row, column) || kind != 1 || !StorableAsText(value)) return false;
  StoreText(row, column, ToText(value));
  return true;
}

Value Grid::GetCellValue(int row, int column) const {
  if (!CellExists(row, column)) return Value::Bool(false);
  return Value::FromText(cells_.GetText(row, column));
}

void Grid::StoreText(int row, int column, Text text) {
  cells_.SetText(row, column, std::move(text));
  view_->CellsChanged(CellRange::Cell(row, column));
}

bool Grid::SetCellWrap(int row, int column, bool wrap) {
  if (!CellExists(row, column)) return false;
  cells_.SetWrap(row, column, wrap);
  view_->CellsChanged(CellRange::Cell(row, column));
  return true;
}

bool Grid::SetCellReadOnly(int row, int column, bool read_only) {
  if (!CellExists(row, column)) return false;
  cells_.SetReadOnly(row, column, read_only);
  return true;
}

void Grid::SetAlignment(int first_row, int first_column, std::optional<int> last_row,
                        std::optional<int> last_column, int alignment) {
  int lr = std::min(last_row.value_or(first_row), rows_ - 1);
  int lc = std::min(last_column.value_or(first_column), columns_ - 1);
  if (first_row < 0 || first_column < 0 || lr < 0 || lc < 0) return;
  if (lr < first_row || lc < first_column || !CellExists(first_row, first_column)) return;
  const Alignment a = alignment == 2   ? Alignment::kCentre
                      : alignment == 3 ? Alignment::kRight
                                       : Alignment::kLeft;
  cells_.SetAlignment({first_row, first_column, lr, lc}, a);
  view_->CellsChanged({first_row, first_column, lr, lc});
}

// ---------------------------------------------------------------- structure

bool Grid::InsertRow(std::optional<Text> title, std::optional<int> before) {
  EndEdit();
  if (rows_ == 0 && title_rows_ == 0 && title_columns_ == 0) {
    // A grid emptied by DeleteRow starts again with a title row and a title column.
    title_rows_ = title_columns_ = 1;
    if (columns_ == 0) {
      ResizeColumns(1);
      column_widths_.assign(1, stored_.default_column_width);
    }
  }
  int pos = before.value_or(rows_);
  if (pos < title_rows_ || pos >= rows_) pos = rows_;
  const int height = rows_ > 0 ? row_heights_[0] : 24;
  cells_.InsertRow(pos);
  row_heights_.insert(row_heights_.begin() + pos, height);
  ++rows_;
  if (title && columns_ > 0) cells_.SetText(pos, 0, std::move(*title));

  // Everything at or below the new row moves down; a cursor on the insertion point itself stays
  // and so rests on the new empty row.
  auto shift = [pos](int& row) {
    if (row > pos) ++row;
  };
  shift(cursor_row_);
  shift(reported_row_);
  for (CellRange& m : merges_) {
    if (m.first_row >= pos) ++m.first_row;
    if (m.last_row >= pos) ++m.last_row;
  }
  // A selection that grew over the new row (or slid onto other rows) would let the Delete key
  // clear cells nobody selected: only the cursor cell stays selected.
  anchor_row_ = cursor_row_;
  anchor_column_ = cursor_column_;
  selection_ = {};
  if (cursor_row_ >= 0) {
    selection_ = DisplayedRange(cursor_row_, cursor_column_);
    if (row_select_) selection_ = {cursor_row_, 0, cursor_row_, columns_ - 1};
  }
  view_->StructureChanged();
  view_->CursorChanged();
  return true;
}

bool Grid::DeleteRow(int row) {
  if (row < 0 || row >= rows_) return false;
  EndEdit();  // its handler may have changed the grid
  if (row >= rows_) return false;
  if (row < title_rows_) --title_rows_;
  cells_.EraseRow(row);
  row_heights_.erase(row_heights_.begin() + row);
  --rows_;
  std::erase_if(merges_, [row](CellRange& m) {
    if (m.first_row > row) --m.first_row;
    if (m.last_row >= row) --m.last_row;
    return m.last_row < m.first_row || (m.first_row == m.last_row && m.first_column == m.last_column);
  });
  if (reported_row_ > row) --reported_row_;
  view_->StructureChanged();

  // The cursor keeps its row index, so it rests on the row that took the deleted one's place.
  int next_row = -1;
  if (cursor_row_ >= 0) {
    next_row = std::min(cursor_row_, rows_ - 1);
    if (next_row < title_rows_) next_row = -1;
  }
  SetCursor(next_row, next_row < 0 ? -1 : cursor_column_);
  return true;
}

void Grid::Reset() {
  if (editing_) {
    // The cells are being emptied, so the editor's text is dropped with them.
    editing_ = false;
    view_->EditorClosed();
  }
  RebuildFromStored();
  merges_.clear();
  cursor_row_ = cursor_column_ = reported_row_ = reported_column_ = -1;
  anchor_row_ = anchor_column_ = -1;
  selection_ = {};
  button_down_ = dragged_ = after_double_click_ = false;
  view_->StructureChanged();
  view_->CursorChanged();
}

void Grid::MergeCells(int first_row, int first_column, int last_row, int last_column) {
  if (first_row < 0 || first_column < 0 || last_row >= rows_ || last_column >= columns_) return;
  if (last_row < first_row || last_column < first_column) return;
  if (first_row == last_row && first_column == last_column) return;
  const bool has_titles = first_row < title_rows_ || first_column < title_columns_;
  const bool has_data = last_row >= title_rows_ && last_column >= title_columns_;
  if (has_titles && has_data) return;
  const CellRange range{first_row, first_column, last_row, last_column};
  std::erase_if(merges_, [&range](const CellRange& m) { return m.Intersects(range); });
  merges_.push_back(range);
  view_->StructureChanged();
}

CellRange Grid::DisplayedRange(int row, int column) const {
  for (const CellRange& m : merges_) {
    if (m.Contains(row, column)) return m;
  }
  return CellRange::Cell(row, column);
}

// ---------------------------------------------------------------- cursor and selection

void Grid::SetCursor(int row, int column) {
  EndEdit();
  const int before_row = cursor_row_;
  const int before_column = cursor_column_;
  cursor_row_ = cursor_column_ = anchor_row_ = anchor_column_ = -1;
  selection_ = {};
  if (!CellExists(row, column)) {
    view_->CursorChanged();
    return;
  }
  cursor_row_ = anchor_row_ = row;
  cursor_column_ = anchor_column_ = column;
  if (row_select_) selection_ = {row, 0, row, columns_ - 1};
  view_->ScrollIntoView(row, column);
  view_->CursorChanged();
  reported_row_ = row;
  reported_column_ = column;
  if (row != before_row || column != before_column) events_->CursorMoved();
}

void Grid::Select(const CellRange& range) {
  selection_ = Clip(range, rows_, columns_);
  view_->CursorChanged();
}

void Grid::SelectAll() { Select({0, 0, rows_ - 1, columns_ - 1}); }

}  // namespace sr
