#include "app/tax_rules/fen.h"

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
  std::vector<Text> cells;
  for (int r = 1; r < salary_register.RowCount(); ++r) {
    if (!salary_register.IsPerson(r)) continue;
    for (int c = kFirstIncomeColumn; c <= kLastDeductionColumn; ++c) {
      if (ItemOfColumn(c) == 0 || !FinerThanFen(salary_register.Amount(r, c))) continue;
      cells.push_back(Concat({"第 ", ToText(r), " 行 ", salary_register.Number(r), " ",
                              salary_register.Name(r), " ", salary_register.Title(c), "：",
                              salary_register.CellText(r, c)}));
    }
  }
  return cells;
}

}  // namespace sr::app
