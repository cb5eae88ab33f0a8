#ifndef SALARY_APP_TAX_RULES_FEN_H_
#define SALARY_APP_TAX_RULES_FEN_H_

#include <vector>

#include "app/register/salary_register.h"

// Every amount that reaches the tax is rounded here, to the fen, in one way: the register's pay
// items, the people file's declared deductions and the months taken over.
namespace sr::app {

// The amount to the fen, half away from zero, as the decimal it was written as: 10000.005 (held
// as a double a hair below it) gives 10000.01, as 1000.555 gives 1000.56. An amount at most in
// fen comes back as it is.
double RoundToFen(double amount);

// What a warning that names such amounts starts with.
inline constexpr char kFinerThanFenNote[] = "以下金额的小数多于两位，按四舍五入到分计算：";

// Whether the amount has digits after the fen that rounding drops or carries.
bool FinerThanFen(double amount);

// The pay item cells of the person rows holding an amount finer than a fen, for a warning:
// "第 3 行 1003 王五 基本工资：1500.555", in row and column order.
std::vector<Text> FinerThanFenCells(const SalaryRegister& salary_register);
// The same within rows first_row..last_row and columns first_column..last_column: the cells just
// typed or pasted.
std::vector<Text> FinerThanFenCells(const SalaryRegister& salary_register, int first_row,
                                    int last_row, int first_column, int last_column);

// The warning that names such cells, the first ten and how many there are; nothing for none.
Text FinerThanFenWarning(const std::vector<Text>& cells);

}  // namespace sr::app

#endif  // SALARY_APP_TAX_RULES_FEN_H_
