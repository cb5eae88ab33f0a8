#ifndef SALARY_APP_TAX_CALCULATION_H_
#define SALARY_APP_TAX_CALCULATION_H_

#include "app/progress_display.h"
#include "app/tax_table.h"
#include "forms/grid/grid.h"

namespace sr::app {

// Register grid columns that the calculation reads and writes.
inline constexpr int kFirstIncomeColumn = 2;
inline constexpr int kLastIncomeColumn = 9;
inline constexpr int kGrossPayColumn = 10;
inline constexpr int kFirstDeductionColumn = 11;
inline constexpr int kIncomeTaxColumn = 18;  // also counted as a deduction
inline constexpr int kTotalDeductionsColumn = 19;
inline constexpr int kNetPayColumn = 20;

// The mark of a tax-exempt salary item inside its name.
inline constexpr char kTaxExemptMark[] = "(免税)";

bool IsTaxExempt(const Text& title);

// Fills in the income tax, gross pay, total deductions and net pay of every row of the register
// grid from its amounts, the tax-exempt marks in its titles and the brackets; every partial sum
// is rounded to two places. The progress bar runs once per pass, twice in all.
// Returns false, with *problem naming the first such row, when an amount that a row reads or a
// result is past the range of a double; then no cell has changed.
bool CalculateRegister(Grid& grid, const TaxBrackets& brackets, ProgressDisplay& progress,
                       Text* problem);

}  // namespace sr::app

#endif  // SALARY_APP_TAX_CALCULATION_H_
