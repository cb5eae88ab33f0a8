#include "app/register/amount_cells.h"

#include <cmath>
#include <string_view>

#include "runtime/convert/conversions.h"

namespace sr::app {

namespace {

// The texts that ToText gives an infinity or a NaN all start so, after an optional sign.
constexpr std::string_view kNonFiniteStart = "1.#";

bool ShowsNonFinite(const Text& text) {
  const Text normal = NormaliseFullWidth(text);
  std::string_view rest(normal);
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) rest.remove_prefix(1);
  return rest.starts_with(kNonFiniteStart);
}

}  // namespace

bool ReadAmount(const Text& text, double* amount) {
  *amount = ToNumber(text);
  // Those texts read as 1 or -1, so only such an amount needs the second look.
  return std::isfinite(*amount) && (std::fabs(*amount) != 1 || !ShowsNonFinite(text));
}

Text RowName(const SalaryRegister& salary_register, int row) {
  Text name = Concat({"第 ", ToText(row), " 行"});
  const bool exists = salary_register.CellExists(row, 0);
  const Text number = exists ? salary_register.Number(row) : Text();
  const Text person = exists ? salary_register.Name(row) : Text();
  if (number.empty() && person.empty()) return name;
  if (number.empty() || person.empty()) return Concat({name, "（", number, person, "）"});
  return Concat({name, "（", number, " ", person, "）"});
}

Text ColumnName(const SalaryRegister& salary_register, int column) {
  const Text title = salary_register.CellExists(0, column) ? salary_register.Title(column) : Text();
  if (title.empty()) return Concat({"第 ", ToText(column + 1), " 列"});
  return Concat({"“", title, "”一栏"});
}

Text AmountOutOfRange(const SalaryRegister& salary_register, int row, int column) {
  return Concat({RowName(salary_register, row), ColumnName(salary_register, column), "的金额“",
                 salary_register.CellText(row, column), "”超出了程序能处理的范围"});
}

bool CheckAmounts(const SalaryRegister& salary_register, int row, int first, int last,
                  Text* problem) {
  double amount;
  for (int column = first; column <= last; ++column) {
    if (ReadAmount(salary_register.CellText(row, column), &amount)) continue;
    *problem = AmountOutOfRange(salary_register, row, column);
    return false;
  }
  return true;
}

}  // namespace sr::app
