#ifndef SALARY_APP_TAX_TAX_CALCULATION_H_
#define SALARY_APP_TAX_TAX_CALCULATION_H_

#include "app/progress_display.h"
#include "app/register/salary_register.h"
#include "app/tax/tax_table.h"

namespace sr::app {

// Fills in the income tax, gross pay, total deductions and net pay of every row of the register
// (empty rows included) from its amounts, the tax-exempt marks in its titles and the brackets;
// every partial sum is rounded to two places. The progress bar runs once per pass, twice in all.
// Returns false, with *problem naming the first such row, when an amount that a row reads or a
// result is past the range of a double; then no cell has changed.
bool CalculateRegister(SalaryRegister& salary_register, const TaxBrackets& brackets,
                       ProgressDisplay& progress, Text* problem);

}  // namespace sr::app

#endif  // SALARY_APP_TAX_TAX_CALCULATION_H_
