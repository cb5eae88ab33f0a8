#ifndef SALARY_APP_REGISTER_AMOUNT_CELLS_H_
#define SALARY_APP_REGISTER_AMOUNT_CELLS_H_

#include <vector>

#include "app/app_context.h"
#include "app/register/salary_register.h"
#include "base/value.h"

// Amounts as the register's cells hold them, and how a user is told which cell holds one
// that the program cannot hold. A double ends at about 1.8e308: past it a text such as "1e309"
// reads as infinity, which would be stored as "1.#INF" and read back as 1.
namespace sr::app {

// The amount of a cell's text as ToNumber reads it (an empty or non-numeric text is 0). False
// when it is no finite number: a number past the range of a double, or the text that an infinity
// or NaN shows ("1.#INF", "-1.#IND", ...), which ToNumber would take for 1.
bool ReadAmount(const Text& text, double* amount);

// The row as the user finds it: "第 3 行（001 张三）", or "第 3 行" when it names nobody.
Text RowName(const SalaryRegister& salary_register, int row);
// The column by its title: "“基本工资”一栏", or "第 5 列" when the title is empty.
Text ColumnName(const SalaryRegister& salary_register, int column);
// "第 3 行（001 张三）“基本工资”一栏的金额“1e309”超出了程序能处理的范围".
Text AmountOutOfRange(const SalaryRegister& salary_register, int row, int column);

// Reads every amount of columns `first` to `last` in row `row`. False, with *problem
// (AmountOutOfRange), at the first that is no finite number.
bool CheckAmounts(const SalaryRegister& salary_register, int row, int first, int last,
                  Text* problem);

// The amount cells of `columns` (every row) whose whole text is not a number, as ToNumber reads
// them: "1,500" reads as 1, "1500元" as 1500, "abc" as 0. Each as "第 1 行（001 张三）“基本工资”一栏的
// “1,500”按 1 算", in row and column order, at most `limit` of them; *count counts them all. An
// empty cell is 0 and a text past the range of a double is refused on its own, so neither is
// counted.
std::vector<Text> AmountsNotNumbers(const SalaryRegister& salary_register,
                                    const std::vector<int>& columns, size_t limit, int* count);

// Before 计算 or 汇总 (`command`, in the window titled `title`) works out anything: lists the
// first ten such cells of `columns`, says how many more there are, and asks whether to go on.
// True when there are none or the user answers 是.
bool MayReadAmountsAsNumbers(AppContext& app, const std::vector<int>& columns,
                             const Text& command, const Text& title);

// The largest amount, either way, that the program takes from a file it reads (the ledger, the
// people file, the tax tables): far past any pay or tax, and small enough that a double still
// holds it to the fen. A damaged file may hold anything, infinity and NaN included.
inline constexpr double kLargestStoredAmount = 1e12;

// Whether an amount read from a file is finite and within kLargestStoredAmount either way.
bool IsStoredAmountHandled(double amount);

// "FILE 第 3 条记录（001 张三）的“收入额”是 1.#INF，不是程序能处理的金额（文件可能已损坏）": `file` names the file as the user knows it ("扣缴台账 PATH"), `whom` the record's
// person when known.
Text StoredAmountProblem(const Text& file, int64_t record, const Text& whom, const Text& field,
                         double amount);

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_AMOUNT_CELLS_H_
