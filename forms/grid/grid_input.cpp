// The grid's keyboard and mouse rules and the in-place editor's life.
#include <algorithm>
#include <utility>

#include "forms/grid/grid.h"
#include "platform/ui/keys.h"

namespace sr {

// ---------------------------------------------------------------- editor

void Grid::SetEditorText(const Text& text) {
  if (editing_) editor_text_ = text;
}

bool Grid::BeginEdit() {
  if (cursor_row_ < 0) return false;
  return OpenEditor(cursor_row_, cursor_column_, nullptr);
}

bool Grid::OpenEditor(int row, int column, const Text* first_input) {
  if (editing_ || !MayEdit(row, column)) return false;
  const Text typed = first_input ? *first_input : Text();
  if (!events_->MayBeginEdit()) return false;
  events_->EditBegins();
  // The handlers may have changed the grid under us.
  if (editing_ || !MayEdit(row, column)) return false;
  editing_ = true;
  editor_row_ = row;
  editor_column_ = column;
  editor_text_ = first_input ? typed : cells_.GetText(row, column);
  view_->EditorOpened(row, column);
  return true;
}

void Grid::EndEdit() {
  if (!editing_) return;
  editing_ = false;
  view_->EditorClosed();
  const bool exists = CellExists(editor_row_, editor_column_);
  const bool changed = exists && cells_.GetText(editor_row_, editor_column_) != editor_text_;
  if (exists) StoreText(editor_row_, editor_column_, std::move(editor_text_));
  editor_text_.clear();
  if (changed) events_->CellsEdited(CellRange::Cell(editor_row_, editor_column_));
  events_->EditEnds();
}

void Grid::CancelEdit() {
  if (!editing_) return;
  editing_ = false;
  view_->EditorClosed();
  editor_text_.clear();
  events_->EditEnds();
}

// ---------------------------------------------------------------- cursor movement

int Grid::ShownRow(int from, int step) const {
  for (int r = from; r >= title_rows_ && r < rows_; r += step) {
    if (row_heights_[r] > 0) return r;
  }
  return -1;
}

int Grid::ShownColumn(int from, int step) const {
  for (int c = from; c >= title_columns_ && c < columns_; c += step) {
    if (column_widths_[c] > 0) return c;
  }
  return -1;
}

// A visible data cell that is not covered by a merged range starting elsewhere.
bool Grid::OwnCell(int row, int column) const {
  if (IsTitleCell(row, column) || row_heights_[row] == 0 || column_widths_[column] == 0) {
    return false;
  }
  const CellRange shown = DisplayedRange(row, column);
  return shown.first_row == row && shown.first_column == column;
}

bool Grid::FirstDataCell(int* row, int* column) const {
  for (int r = title_rows_; r < rows_; ++r) {
    for (int c = title_columns_; c < columns_; ++c) {
      if (OwnCell(r, c)) {
        *row = r;
        *column = c;
        return true;
      }
    }
  }
  return false;
}

// One step of an arrow key from the displayed cell at (*row, *column); false at the edge.
bool Grid::StepArrow(int key, int* row, int* column) const {
  const CellRange here = DisplayedRange(*row, *column);
  int r = *row;
  int c = *column;
  switch (key) {
    case ui::kVkDown: r = ShownRow(here.last_row + 1, 1); break;
    case ui::kVkUp: r = ShownRow(here.first_row - 1, -1); break;
    case ui::kVkRight: c = ShownColumn(here.last_column + 1, 1); break;
    case ui::kVkLeft: c = ShownColumn(here.first_column - 1, -1); break;
    default: return false;
  }
  if (r < 0 || c < 0) return false;
  const CellRange there = DisplayedRange(r, c);
  *row = there.first_row;
  *column = there.first_column;
  return true;
}

// The next (or previous) own cell in row order, or in column order; false past the last one.
bool Grid::StepCell(bool forward, bool by_columns, int* row, int* column) const {
  const int data_rows = rows_ - title_rows_;
  const int data_columns = columns_ - title_columns_;
  if (data_rows <= 0 || data_columns <= 0) return false;
  const int total = data_rows * data_columns;
  auto index_of = [&](int r, int c) {
    return by_columns ? (c - title_columns_) * data_rows + (r - title_rows_)
                      : (r - title_rows_) * data_columns + (c - title_columns_);
  };
  for (int i = index_of(*row, *column) + (forward ? 1 : -1); i >= 0 && i < total;
       i += forward ? 1 : -1) {
    const int r = title_rows_ + (by_columns ? i % data_rows : i / data_columns);
    const int c = title_columns_ + (by_columns ? i / data_rows : i % data_columns);
    if (OwnCell(r, c)) {
      *row = r;
      *column = c;
      return true;
    }
  }
  return false;
}

void Grid::PlaceCursor(int row, int column, bool extend) {
  cursor_row_ = row;
  cursor_column_ = column;
  if (!extend || anchor_row_ < 0) {
    anchor_row_ = row;
    anchor_column_ = column;
  }
  selection_ = {std::min(anchor_row_, row), std::min(anchor_column_, column),
                std::max(anchor_row_, row), std::max(anchor_column_, column)};
  if (!extend) selection_ = DisplayedRange(row, column);
  if (row_select_) {
    selection_.first_column = 0;
    selection_.last_column = columns_ - 1;
  }
  view_->ScrollIntoView(row, column);
  view_->CursorChanged();
}

void Grid::RaiseCursorMovedIfChanged() {
  if (cursor_row_ == reported_row_ && cursor_column_ == reported_column_) return;
  reported_row_ = cursor_row_;
  reported_column_ = cursor_column_;
  events_->CursorMoved();
}

void Grid::MoveByKey(int key, int modifiers) {
  if (key != ui::kVkUp && key != ui::kVkDown && key != ui::kVkLeft && key != ui::kVkRight &&
      key != ui::kVkPageUp && key != ui::kVkPageDown && key != ui::kVkHome && key != ui::kVkEnd) {
    return;
  }
  int r = cursor_row_;
  int c = cursor_column_;
  if (r < 0 || IsTitleCell(r, c)) {
    // From no cursor or a title cell the first move lands on the nearest data cell.
    int first_row, first_column;
    if (!FirstDataCell(&first_row, &first_column)) return;
    r = r < 0 ? first_row : std::max(r, first_row);
    c = c < 0 ? first_column : std::max(c, first_column);
    const CellRange there = DisplayedRange(r, c);
    PlaceCursor(there.first_row, there.first_column, false);
    RaiseCursorMovedIfChanged();
    return;
  }
  const bool ctrl = modifiers & ui::kCtrl;
  bool moved = false;
  switch (key) {
    case ui::kVkUp:
    case ui::kVkDown:
    case ui::kVkLeft:
    case ui::kVkRight: {
      // Ctrl runs to the edge.
      while (StepArrow(key, &r, &c)) {
        moved = true;
        if (!ctrl) break;
      }
      break;
    }
    case ui::kVkPageUp:
    case ui::kVkPageDown: {
      const int arrow = key == ui::kVkPageUp ? ui::kVkUp : ui::kVkDown;
      for (int i = 0; i < std::max(page_rows_, 1) && StepArrow(arrow, &r, &c); ++i) moved = true;
      break;
    }
    case ui::kVkHome:
    case ui::kVkEnd: {
      const bool home = key == ui::kVkHome;
      const int nc = home ? ShownColumn(title_columns_, 1) : ShownColumn(columns_ - 1, -1);
      const int nr = !ctrl ? r : home ? ShownRow(title_rows_, 1) : ShownRow(rows_ - 1, -1);
      if (nr < 0 || nc < 0) return;
      const CellRange there = DisplayedRange(nr, nc);
      r = there.first_row;
      c = there.first_column;
      moved = true;
      break;
    }
    default: return;
  }
  if (!moved) return;
  PlaceCursor(r, c, (modifiers & ui::kShift) != 0);
  RaiseCursorMovedIfChanged();
}

// Tab and Enter (by EnterMoves); false when the key does not move the cursor in this grid.
bool Grid::MoveByEnterOrTab(int key, int modifiers) {
  if (row_select_ || cursor_row_ < 0) return false;
  bool forward = true;
  bool by_columns = false;
  if (key == ui::kVkTab) {
    forward = (modifiers & ui::kShift) == 0;
  } else if (enter_moves_ == kEnterMovesDown) {
    by_columns = true;
  } else if (enter_moves_ != kEnterMovesRight) {
    return false;
  }
  int r = cursor_row_;
  int c = cursor_column_;
  if (IsTitleCell(r, c) ? FirstDataCell(&r, &c) : StepCell(forward, by_columns, &r, &c)) {
    PlaceCursor(r, c, false);
    RaiseCursorMovedIfChanged();
  }
  return true;
}

// ---------------------------------------------------------------- keyboard

void Grid::PressKey(int key, int modifiers) {
  if (editing_) {
    PressEditorKey(key, modifiers);
    return;
  }
  events_->KeyDown(key, modifiers);
  const bool ctrl = modifiers & ui::kCtrl;
  const bool shift = modifiers & ui::kShift;
  if (ctrl && key == 'A') {
    SelectAll();
  } else if (ctrl && (key == 'C' || key == ui::kVkInsert)) {
    CopySelection();
  } else if ((ctrl && key == 'V') || (shift && key == ui::kVkInsert)) {
    Paste();
  } else if (ctrl && key == 'X') {
    Cut();
  } else if (key == ui::kVkDelete) {
    ClearSelection();
  } else if (key == ui::kVkF2) {
    BeginEdit();
  } else if (key == ui::kVkReturn || key == ui::kVkTab) {
    // An Enter that does not move does nothing: the next character typed replaces the cell.
    MoveByEnterOrTab(key, modifiers);
  } else {
    MoveByKey(key, modifiers);
  }
}

// Keys the open editor does not keep for itself: they close it (and may move on).
void Grid::PressEditorKey(int key, int modifiers) {
  switch (key) {
    case ui::kVkEscape:
      CancelEdit();
      break;
    case ui::kVkReturn:
    case ui::kVkTab:
      EndEdit();
      MoveByEnterOrTab(key, modifiers);
      break;
    case ui::kVkUp:
    case ui::kVkDown:
    case ui::kVkPageUp:
    case ui::kVkPageDown:
      EndEdit();
      MoveByKey(key, modifiers & ~ui::kShift);
      break;
    default:
      break;  // editing keys of the editor itself
  }
}

void Grid::TypeCharacter(const Text& character, int modifiers) {
  if (character.empty() || (modifiers & ui::kCtrl)) return;
  const unsigned char first = static_cast<unsigned char>(character[0]);
  if (first < 0x20 || first == 0x7F) return;
  if (editing_) {
    editor_text_ += character;
  } else if (cursor_row_ >= 0 && !editable_ && CellExists(cursor_row_, cursor_column_) &&
             !IsTitleCell(cursor_row_, cursor_column_) &&
             !cells_.ReadOnly(cursor_row_, cursor_column_)) {
    events_->TypingRefused();
  } else if (cursor_row_ >= 0) {
    OpenEditor(cursor_row_, cursor_column_, &character);
  }
}

void Grid::TypeCharacterCode(int code, int modifiers) {
  if (code <= 0 || code > 0xFFFF) return;
  Text character;
  if (code > 0xFF) character += static_cast<char>(code >> 8);
  character += static_cast<char>(code & 0xFF);
  TypeCharacter(character, modifiers);
}

// ---------------------------------------------------------------- mouse

void Grid::PressButton(int row, int column, int x, int y, int modifiers) {
  EndEdit();  // a click outside the editor closes it
  after_double_click_ = false;
  dragged_ = false;
  button_down_ = CellExists(row, column);
  if (!button_down_) return;
  const CellRange shown = DisplayedRange(row, column);
  PlaceCursor(shown.first_row, shown.first_column, (modifiers & ui::kShift) != 0);
}

void Grid::DragTo(int row, int column, int x, int y, int modifiers) {
  if (!button_down_ || after_double_click_ || !CellExists(row, column)) return;
  const CellRange shown = DisplayedRange(row, column);
  if (shown.first_row == cursor_row_ && shown.first_column == cursor_column_ && !dragged_) return;
  dragged_ = true;
  CellRange s{std::min(anchor_row_, row), std::min(anchor_column_, column),
              std::max(anchor_row_, row), std::max(anchor_column_, column)};
  if (row_select_) s.first_column = 0, s.last_column = columns_ - 1;
  selection_ = s;
  view_->ScrollIntoView(row, column);
  view_->CursorChanged();
}

void Grid::ReleaseButton(int row, int column, int x, int y, int modifiers) {
  if (!button_down_) return;
  button_down_ = false;
  if (after_double_click_) {
    // The release that ends a double-click is no click of its own.
    after_double_click_ = false;
    return;
  }
  if (cursor_row_ < 0) return;
  if (cursor_row_ != reported_row_ || cursor_column_ != reported_column_) {
    RaiseCursorMovedIfChanged();
  } else if (!dragged_ && CellExists(row, column)) {
    const CellRange shown = DisplayedRange(row, column);
    if (shown.first_row == cursor_row_ && shown.first_column == cursor_column_) {
      OpenEditor(cursor_row_, cursor_column_, nullptr);
    }
  }
  if (dragged_) return;
  events_->Clicked(x, y);
  if (CellExists(row, column) && IsTitleCell(row, column)) {
    events_->TitleCellClicked(row, column);
  }
}

void Grid::DoubleClickButton(int row, int column, int x, int y, int modifiers) {
  button_down_ = true;
  after_double_click_ = true;
  dragged_ = false;
  if (CellExists(row, column)) {
    if (IsTitleCell(row, column)) {
      events_->TitleCellDoubleClicked(row, column);
    } else {
      const CellRange shown = DisplayedRange(row, column);
      OpenEditor(shown.first_row, shown.first_column, nullptr);
    }
  }
  events_->DoubleClick(x, y, modifiers);
}

void Grid::PressRightButton(int x, int y, int modifiers) {
  events_->RightButtonDown(x, y, modifiers);
}

void Grid::LoseFocus() {
  button_down_ = false;
  EndEdit();
}

}  // namespace sr
