// Copy, paste, cut and the Delete key: the grid's cells as clipboard text and back.
#include <algorithm>
#include <string_view>

#include "forms/grid/grid.h"
#include "platform/ui/clipboard.h"

namespace sr {
namespace {

bool IsFieldSeparator(char c) { return c == '\t' || c == ',' || c == '\n'; }

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Grows `range` to hold the cell.
void Include(CellRange* range, int row, int column) {
  if (range->empty()) {
    *range = CellRange::Cell(row, column);
    return;
  }
  range->first_row = std::min(range->first_row, row);
  range->first_column = std::min(range->first_column, column);
  range->last_row = std::max(range->last_row, row);
  range->last_column = std::max(range->last_column, column);
}

}  // namespace

void Grid::CopySelection() {
  if (clipboard_ == nullptr || selection_.empty()) return;
  Text out;
  bool first_line = true;
  for (int r = selection_.first_row; r <= selection_.last_row; ++r) {
    if (row_heights_[r] == 0) continue;
    if (!first_line) out += '\n';
    first_line = false;
    bool first_cell = true;
    for (int c = selection_.first_column; c <= selection_.last_column; ++c) {
      if (column_widths_[c] == 0) continue;
      if (!first_cell) out += '\t';
      first_cell = false;
      const Text& text = cells_.GetText(r, c);
      if (text.empty()) {
        out += ' ';
      } else {
        out += text;
      }
    }
  }
  clipboard_->SetText(out);
}

void Grid::Paste() {
  EndEdit();
  if (clipboard_ == nullptr || cursor_row_ < 0 || !MayEdit(cursor_row_, cursor_column_)) return;
  Text text;
  if (!clipboard_->GetText(&text)) return;
  text.resize(std::min(text.size(), text.find('\0')));

  CellRange written;
  CellRange changed;
  int row = cursor_row_;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    const bool last_line = end == Text::npos;
    if (last_line) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    // Spreadsheets on Windows end their lines with CR LF; the CR is not part of the last field.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) {
      if (last_line) break;
      line = " ";
    }
    while (row < rows_ && row_heights_[row] == 0) ++row;
    if (row >= rows_) break;

    int column = cursor_column_;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
      const bool at_end = i == line.size();
      if (!at_end && !IsFieldSeparator(line[i])) continue;
      if (at_end && start == line.size() && start > 0) break;  // separator ended the line
      while (column < columns_ && column_widths_[column] == 0) ++column;
      if (column < columns_) {
        const std::string_view field = TrimSpaces(line.substr(start, i - start));
        if (cells_.GetText(row, column) != field) {
          cells_.SetText(row, column, Text(field));
          Include(&changed, row, column);
        }
        Include(&written, row, column);
      }
      ++column;
      start = i + 1;
    }
    ++row;
  }
  if (written.empty()) return;
  // The pasted cells leave the selection.
  if (selection_.Intersects(written)) selection_ = {};
  view_->CellsChanged(written);
  view_->CursorChanged();
  if (!changed.empty()) events_->CellsEdited(changed);
}

void Grid::Cut() {
  EndEdit();
  if (!editable_) return;
  CopySelection();
  const CellRange s = selection_;
  if (s.empty()) return;
  const CellRange changed = EmptyEditableCells(s);
  view_->CellsChanged(s);
  if (!changed.empty()) events_->CellsEdited(changed);
}

void Grid::ClearSelection() {
  EndEdit();
  if (row_select_) return;
  CellRange changed;
  if (MayEdit(cursor_row_, cursor_column_) && !cells_.GetText(cursor_row_, cursor_column_).empty()) {
    StoreText(cursor_row_, cursor_column_, Text());
    changed = CellRange::Cell(cursor_row_, cursor_column_);
  }
  const CellRange s = selection_;
  if (!s.empty() && editable_) {
    const CellRange emptied = EmptyEditableCells(s);
    if (!emptied.empty()) {
      Include(&changed, emptied.first_row, emptied.first_column);
      Include(&changed, emptied.last_row, emptied.last_column);
    }
    view_->CellsChanged(s);
  }
  if (!changed.empty()) events_->CellsEdited(changed);
}

CellRange Grid::EmptyEditableCells(const CellRange& range) {
  CellRange emptied;
  for (int r = range.first_row; r <= range.last_row; ++r) {
    for (int c = range.first_column; c <= range.last_column; ++c) {
      if (!MayEdit(r, c) || cells_.GetText(r, c).empty()) continue;
      cells_.SetText(r, c, Text());
      Include(&emptied, r, c);
    }
  }
  return emptied;
}

}  // namespace sr
