#ifndef SALARY_APP_SUMMARY_SUMMARY_TOTALS_H_
#define SALARY_APP_SUMMARY_SUMMARY_TOTALS_H_

#include <array>

#include "app/register/salary_register.h"
#include "base/value.h"

namespace sr::app {

// The nineteen amount columns of the register (the eight income items, gross pay, the seven
// deductions, income tax, total deductions and net pay).
inline constexpr int kSummaryItems = kLastAmountColumn - kFirstAmountColumn + 1;

// total[i - 1] belongs to register column kFirstAmountColumn + i - 1.
using SummaryTotals = std::array<double, kSummaryItems>;

// Adds up every amount column over every person row of the register (rows 1 to RowCount - 1,
// empty rows included). Each partial sum is rounded to two places, as the clerk's
// adding machine would; a cell that is not a number adds 0. False, with *problem naming the cell
// or the row where a total ran out of range, when an amount or a total is past the range of a
// double; *totals then holds nothing of use.
bool ComputeTotals(const SalaryRegister& salary_register, SummaryTotals* totals, Text* problem);

}  // namespace sr::app

#endif  // SALARY_APP_SUMMARY_SUMMARY_TOTALS_H_
