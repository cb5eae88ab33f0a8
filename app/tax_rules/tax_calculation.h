#ifndef SALARY_APP_TAX_RULES_TAX_CALCULATION_H_
#define SALARY_APP_TAX_RULES_TAX_CALCULATION_H_

#include <vector>

#include "app/progress_display.h"
#include "app/register/salary_register.h"
#include "app/tax_rules/tax_table.h"

namespace sr::app {

// Fills in the income tax, gross pay, total deductions and net pay of every row of the register
// (empty rows included) from its amounts, the tax-exempt marks in its titles and the brackets;
// every partial sum is rounded to two places. The progress bar runs once per pass, twice in all.
// Returns false, with *problem naming the first such row, when an amount that a row reads or a
// result is past the range of a double; then no cell has changed.
bool CalculateRegister(SalaryRegister& salary_register, const TaxBrackets& brackets,
                       ProgressDisplay& progress, Text* problem);

// What the calculation writes into one row.
struct RowResult {
  double tax = 0;
  double gross = 0;
  double deductions = 0;
  double net = 0;
  double deduction_items = 0;  // the deduction items without the tax
};

// CalculateRegister in two halves, so that another method can put its own tax into some rows
// before anything is written. The first works out every row (result i for row i + 1) and runs
// the progress bar once; false as above, nothing written. The second writes them, running the
// bar the second time, and hides it.
bool ComputeRegister(const SalaryRegister& salary_register, const TaxBrackets& brackets,
                     ProgressDisplay& progress, std::vector<RowResult>* results, Text* problem);
void WriteRegisterResults(SalaryRegister& salary_register, const std::vector<RowResult>& results,
                          ProgressDisplay& progress);

// The row's taxable sum S: its income items not marked tax-exempt less its deduction items
// (the income tax included) that are marked, each partial sum rounded to two places.
double TaxableSumOf(const SalaryRegister& salary_register, int row);

// The row's result with `tax` as its income tax: the totals count the tax as its cell will hold
// it. False, with *problem, when a total is past the range of a double.
bool ResultWithTax(const SalaryRegister& salary_register, int row, double tax, RowResult* result,
                   Text* problem);
// The same for a row whose result ComputeRegister has worked out: its item sums are taken from
// `result` instead of being read again.
bool ChangeTax(const SalaryRegister& salary_register, int row, double tax, RowResult* result,
               Text* problem);

}  // namespace sr::app

#endif  // SALARY_APP_TAX_RULES_TAX_CALCULATION_H_
