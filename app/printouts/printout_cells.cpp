#include "app/printouts/printout_cells.h"

#include <algorithm>

#include "runtime/convert/conversions.h"

namespace sr::app {

Text PrintedCell(const SalaryRegister& salary_register, int row, int column) {
  const Text& text = salary_register.CellText(row, column);
  if (!IsAmountColumn(column) || text.empty()) return text;
  return ToText(salary_register.Amount(row, column));
}

std::vector<int> PersonRows(const SalaryRegister& salary_register, const std::vector<int>& rows) {
  std::vector<int> people;
  auto take = [&](int row) {
    if (row >= 1 && row < salary_register.RowCount() && salary_register.IsPerson(row)) {
      people.push_back(row);
    }
  };
  if (rows.empty()) {
    for (int row = 1; row < salary_register.RowCount(); ++row) take(row);
  } else {
    for (int row : rows) take(row);
  }
  return people;
}

namespace {

bool EmptyForEveryone(const SalaryRegister& salary_register, const std::vector<int>& rows,
                      int column) {
  for (int row : rows) {
    if (IsAmountColumn(column) ? salary_register.Amount(row, column) != 0
                               : !salary_register.CellText(row, column).empty()) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<int> PayslipColumns(const SalaryRegister& salary_register, const std::vector<int>& rows,
                                bool omit_empty) {
  std::vector<int> columns;
  for (int column = 0; column < kRegisterColumns; ++column) {
    const bool key = column == kNumberColumn || column == kNameColumn;
    if (key || !omit_empty || !EmptyForEveryone(salary_register, rows, column)) {
      columns.push_back(column);
    }
  }
  return columns;
}

std::vector<int> ColumnWidths(const SalaryRegister& salary_register, const std::vector<int>& rows,
                              const std::vector<int>& columns,
                              const std::vector<Text>& extra_by_column, int padding,
                              TextMeasure& measure) {
  std::vector<int> widths;
  for (int column : columns) {
    int widest = measure.Width(salary_register.Title(column));
    for (int row : rows)
      widest = std::max(widest, measure.Width(PrintedCell(salary_register, row, column)));
    if (column < static_cast<int>(extra_by_column.size())) {
      widest = std::max(widest, measure.Width(extra_by_column[column]));
    }
    widths.push_back(widest + 2 * padding);
  }
  return widths;
}

}  // namespace sr::app
