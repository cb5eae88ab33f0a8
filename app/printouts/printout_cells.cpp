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

Text PrintoutHeading(const Text& company, const Text& what, const Text& pay_month) {
  Text heading = company.empty() ? Text() : company + "　";
  heading += what;
  if (!pay_month.empty()) heading += "　" + pay_month;
  return heading;
}

int SelectPrintoutFont(Printer& printer) {
  printer.SetFontName(kPrintoutFace);
  printer.SetFontSize(kHeadingPoints);
  const int heading_height = printer.TextHeight("W");
  printer.SetFontSize(kCellPoints);
  return heading_height;
}

int TextMeasure::Width(const Text& text) {
  auto found = widths_.find(text);
  if (found != widths_.end()) return found->second;
  int width = printer_.TextWidth(text);
  widths_.emplace(text, width);
  return width;
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

std::vector<std::vector<int>> SplitIntoRuns(const std::vector<int>& widths, int available,
                                            int fixed) {
  std::vector<std::vector<int>> runs;
  int used = 0;
  for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
    if (runs.empty() || used + widths[i] > available) {
      runs.emplace_back();
      used = fixed;
    }
    runs.back().push_back(i);
    used += widths[i];
  }
  return runs;
}

void PrintCellText(Printer& printer, TextMeasure& measure, const Text& text, int left, int width,
                   int top, int padding, CellAlign align) {
  if (text.empty()) return;
  int x = left + padding;
  if (align != CellAlign::kLeft) {
    const int room = width - 2 * padding - measure.Width(text);
    x += align == CellAlign::kRight ? room : room / 2;
  }
  printer.PrintAt(x, top, {Value::FromText(text)});
}

}  // namespace sr::app
