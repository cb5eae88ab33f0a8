#include "app/tax_rules/fen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "runtime/convert/conversions.h"

namespace sr::app {

double RoundToFen(double amount) {
  const double size = std::fabs(amount);
  // Past 10^15 yuan a double holds no fen; below a tenth of a fen nothing is left.
  if (!std::isfinite(amount) || size >= 1e15) return amount;
  if (size < 0.001) return 0;
  // The shortest decimal that reads back as the amount: the one it was written as.
  char text[48];
  const auto written = std::to_chars(text, text + sizeof text, size, std::chars_format::fixed);
  const std::string_view digits(text, static_cast<size_t>(written.ptr - text));
  const size_t point = digits.find('.');
  if (written.ec != std::errc() || point == std::string_view::npos ||
      digits.size() - point <= 3) {
    return amount;
  }
  int64_t fen = 0;
  for (char c : digits.substr(0, point + 3)) {
    if (c != '.') fen = fen * 10 + (c - '0');
  }
  if (digits[point + 3] >= '5') ++fen;  // half a fen or more: away from zero
  const double rounded = static_cast<double>(fen) / 100;
  if (rounded == 0) return 0;
  return amount < 0 ? -rounded : rounded;
}

bool FinerThanFen(double amount) { return RoundToFen(amount) != amount; }

std::vector<Text> FinerThanFenCells(const SalaryRegister& salary_register) {
  return FinerThanFenCells(salary_register, 1, salary_register.RowCount() - 1, kFirstIncomeColumn,
                           kLastDeductionColumn);
}

std::vector<Text> FinerThanFenCells(const SalaryRegister& salary_register, int first_row,
                                    int last_row, int first_column, int last_column) {
  std::vector<Text> cells;
  first_row = std::max(first_row, 1);
  last_row = std::min(last_row, salary_register.RowCount() - 1);
  first_column = std::max(first_column, kFirstIncomeColumn);
  last_column = std::min(last_column, kLastDeductionColumn);
  for (int r = first_row; r <= last_row; ++r) {
    if (!salary_register.IsPerson(r)) continue;
    for (int c = first_column; c <= last_column; ++c) {
      if (ItemOfColumn(c) == 0 || !FinerThanFen(salary_register.Amount(r, c))) continue;
      cells.push_back(Concat({"第 ", ToText(r), " 行 ", salary_register.Number(r), " ",
                              salary_register.Name(r), " ", salary_register.Title(c), "：",
                              salary_register.CellText(r, c)}));
    }
  }
  return cells;
}

Text FinerThanFenWarning(const std::vector<Text>& cells) {
  if (cells.empty()) return {};
  constexpr size_t kShown = 10;
  Text text = Concat({kFinerThanFenNote, "\r\n"});
  for (size_t i = 0; i < cells.size() && i < kShown; ++i) text += cells[i] + "\r\n";
  if (cells.size() > kShown) {
    text += Concat({"……共 ", ToText(static_cast<int32_t>(cells.size())), " 项\r\n"});
  }
  return text;
}

}  // namespace sr::app
