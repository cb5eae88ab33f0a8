#include "app/register/amount_cells.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "runtime/convert/conversions.h"
#include "runtime/convert/number_text.h"

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

std::vector<Text> AmountsNotNumbers(const SalaryRegister& salary_register,
                                    const std::vector<int>& columns, size_t limit, int* count) {
  std::vector<Text> cells;
  *count = 0;
  for (int row = 1; row < salary_register.RowCount(); ++row) {
    if (!salary_register.Row(row).Allocated()) continue;  // never written: empty
    for (int column : columns) {
      const Text& text = salary_register.CellText(row, column);
      double amount;
      if (text.find_first_not_of(' ') == Text::npos || !ReadAmount(text, &amount) ||
          ParsesWholly(NormaliseFullWidth(text))) {
        continue;
      }
      if (static_cast<size_t>((*count)++) >= limit) continue;
      cells.push_back(Concat({RowName(salary_register, row), ColumnName(salary_register, column),
                              "的“", text, "”按 ", ToText(amount), " 算"}));
    }
  }
  return cells;
}

bool MayReadAmountsAsNumbers(AppContext& app, const std::vector<int>& columns,
                             const Text& command, const Text& title) {
  constexpr size_t kListed = 10;
  int count = 0;
  const std::vector<Text> cells =
      AmountsNotNumbers(app.salary_register, columns, kListed, &count);
  if (count == 0) return true;
  Text text = "以下金额格子里的内容不全是数字，只按开头的数字算（开头没有数字的按 0 算）：\r\n";
  for (const Text& cell : cells) text += cell + "\r\n";
  if (count > static_cast<int>(kListed)) {
    text += Concat({"另外还有 ", ToText(count - static_cast<int>(kListed)), " 个这样的格子。\r\n"});
  }
  text += Concat({"\r\n仍然", command, "吗？（是：照这样", command, "；否：不", command,
                  "，什么也不改）"});
  return app.framework.ShowMessage(text, title, ui::MessageButtons::kYesNo,
                                   ui::MessageIcon::kWarning) == ui::MessageAnswer::kYes;
}

bool IsStoredAmountHandled(double amount) {
  return std::isfinite(amount) && std::fabs(amount) <= kLargestStoredAmount;
}

Text StoredAmountProblem(const Text& file, int64_t record, const Text& whom, const Text& field,
                         double amount) {
  return Concat({file, " 第 ", ToText(Value::Int64(record)), " 条记录",
                 whom.empty() ? Text() : Concat({"（", whom, "）"}), "的“", field, "”是 ",
                 ToText(Value::Double(amount)), "，不是程序能处理的金额（文件可能已损坏）"});
}

}  // namespace sr::app
