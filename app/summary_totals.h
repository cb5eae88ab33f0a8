#ifndef SALARY_APP_SUMMARY_TOTALS_H_
#define SALARY_APP_SUMMARY_TOTALS_H_

#include <array>

#include "base/value.h"
#include "forms/grid/grid.h"

namespace sr::app {

// The nineteen amount columns of the register: grid columns 2 to 20 (the eight income items,
// gross pay, the seven deductions, income tax, total deductions and net pay).
inline constexpr int kSummaryItems = 19;
inline constexpr int kFirstAmountColumn = 2;

// total[i - 1] belongs to register grid column i + 1.
using SummaryTotals = std::array<double, kSummaryItems>;

// Adds up every amount column over every person row of the register grid (rows 1 to
// RowCount - 1, empty rows included). Each partial sum is rounded to two places, as the clerk's
// adding machine would; a cell that is not a number adds 0. False, with *problem naming the cell
// or the row where a total ran out of range, when an amount or a total is past the range of a
// double; *totals then holds nothing of use.
bool ComputeTotals(const Grid& register_grid, SummaryTotals* totals, Text* problem);

}  // namespace sr::app

#endif  // SALARY_APP_SUMMARY_TOTALS_H_
