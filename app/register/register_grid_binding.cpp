#include "app/register/register_grid_binding.h"

#include <algorithm>
#include <vector>

namespace sr::app {

namespace {
constexpr int kCellText = 1;
constexpr int kLeft = 1;
constexpr int kCentre = 2;
}  // namespace

void AlignRegisterGrid(Grid& grid) {
  const int last_row = grid.RowCount() - 1;
  const int last_column = kRegisterColumns - 1;
  grid.SetAlignment(1, kFirstAmountColumn, last_row, last_column, kLeft);
  grid.SetAlignment(0, 0, 0, last_column, kCentre);
  grid.SetAlignment(0, kNumberColumn, last_row, kNameColumn, kCentre);
}

RegisterGridBinding::RegisterGridBinding(SalaryRegister& salary_register, Grid& grid)
    : register_(salary_register), grid_(grid) {
  register_.AddListener(this);
  grid_.SetRowCount(register_.RowCount());
  ShowCells({0, 0, register_.RowCount() - 1, kRegisterColumns - 1});
}

RegisterGridBinding::~RegisterGridBinding() { register_.RemoveListener(this); }

void RegisterGridBinding::TakeGridEdits(const CellRange& range) {
  const int first_row = std::max(range.first_row, 1);
  const int last_row = std::min(range.last_row, register_.RowCount() - 1);
  const int first_column = std::max(range.first_column, 0);
  const int last_column = std::min(range.last_column, kRegisterColumns - 1);
  if (range.empty() || first_row > last_row || first_column > last_column) return;
  std::vector<Text> texts;
  for (int row = first_row; row <= last_row; ++row) {
    for (int column = first_column; column <= last_column; ++column) {
      texts.push_back(grid_.CellExists(row, column) ? grid_.CellText(row, column) : Text());
    }
  }
  taking_edits_ = true;
  register_.SetCellTexts({first_row, first_column, last_row, last_column}, std::move(texts));
  taking_edits_ = false;
}

bool RegisterGridBinding::InStep() const {
  if (grid_.RowCount() != register_.RowCount() || grid_.ColumnCount() != kRegisterColumns) {
    return false;
  }
  for (int row = 0; row < register_.RowCount(); ++row) {
    for (int column = 0; column < kRegisterColumns; ++column) {
      if (grid_.CellText(row, column) != ShownText(row, column)) return false;
    }
  }
  return true;
}

void RegisterGridBinding::MarkResultsStale(bool stale) {
  if (stale == results_stale_) return;
  results_stale_ = stale;
  ShowCells({0, 0, 0, kRegisterColumns - 1});
}

Text RegisterGridBinding::ShownText(int row, int column) const {
  const ColumnRole role = RoleOf(column);
  const bool result = role == ColumnRole::kGrossPay || role == ColumnRole::kIncomeTax ||
                      role == ColumnRole::kTotalDeductions || role == ColumnRole::kNetPay;
  if (row == 0 && results_stale_ && result) return register_.Title(column) + kStaleResultsMark;
  return register_.CellText(row, column);
}

void RegisterGridBinding::RegisterChanging() {
  // A text still in the cell editor belongs to the register before the register changes on: the
  // grid stores it and reports it through CellsEdited, which comes back to TakeGridEdits.
  if (!taking_edits_ && grid_.Editing()) grid_.EndEdit();
}

void RegisterGridBinding::RegisterChanged(const RegisterChange& change) {
  if (taking_edits_) return;  // the grid shows it already
  switch (change.kind) {
    case RegisterChange::Kind::kTitles:
    case RegisterChange::Kind::kCells:
      ShowCells(change.range);
      break;
    case RegisterChange::Kind::kRowsInserted:
      ShowInsertedRows(change.range);
      break;
    case RegisterChange::Kind::kRowsRemoved:
      ShowRemovedRows(change.range);
      break;
    case RegisterChange::Kind::kRowsReplaced:
      grid_.SetRowCount(register_.RowCount());
      AlignRegisterGrid(grid_);
      ShowCells({1, 0, register_.RowCount() - 1, kRegisterColumns - 1});
      break;
  }
}

void RegisterGridBinding::ShowCells(const RegisterRange& range) {
  for (int row = range.first_row; row <= range.last_row; ++row) {
    // A row that holds no text on either side has nothing to show: most of a new register.
    if (row > 0 && !register_.Row(row).Allocated() && row < grid_.RowCount() &&
        !grid_.RowHasText(row)) {
      continue;
    }
    for (int column = range.first_column; column <= range.last_column; ++column) {
      if (!grid_.CellExists(row, column)) continue;
      if (row == 0) {
        const Text title = ShownText(row, column);
        if (grid_.CellText(row, column) != title) {
          grid_.SetCellValue(row, column, kCellText, Value::FromText(title));
        }
        continue;
      }
      const Text& text = register_.CellText(row, column);
      if (grid_.CellText(row, column) == text) continue;
      grid_.SetCellValue(row, column, kCellText, Value::FromText(text));
    }
  }
}

void RegisterGridBinding::ShowInsertedRows(const RegisterRange& rows) {
  if (rows.first_row >= grid_.RowCount()) {
    // Rows added at the end: one resize, not a shift of everything below per row.
    grid_.SetRowCount(register_.RowCount());
  } else {
    for (int row = rows.first_row; row <= rows.last_row; ++row) grid_.InsertRow(std::nullopt, row);
  }
  ShowCells(rows);
}

void RegisterGridBinding::ShowRemovedRows(const RegisterRange& rows) {
  if (rows.rows() > 1 && rows.last_row >= grid_.RowCount() - 1) {
    grid_.SetRowCount(register_.RowCount());
    return;
  }
  for (int row = rows.first_row; row <= rows.last_row; ++row) grid_.DeleteRow(rows.first_row);
}

}  // namespace sr::app
