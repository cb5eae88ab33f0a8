#ifndef SALARY_APP_WITHHOLDING_EXPLANATION_H_
#define SALARY_APP_WITHHOLDING_EXPLANATION_H_

#include <vector>

#include "app/register/salary_register.h"
#include "app/tax_rules/tax_table.h"
#include "app/withholding/ledger.h"

// "Why this tax": a month's calculation of one person written out step by step in plain
// Chinese, so that a clerk can answer an employee's question without a calculator. Lines are
// separated by CR LF.
namespace sr::app {

// The cumulative method for `entry` (the pay month's record, with the cumulative figures the
// calculation used). `earlier` holds the person's records of the earlier months of the year.
Text ExplainCumulative(const LedgerEntry& entry, const std::vector<LedgerEntry>& earlier,
                       const TaxBrackets& table);

// The monthly table for a register row (a non-resident, or anyone when there is no people file).
Text ExplainMonthly(const SalaryRegister& salary_register, int row, const TaxBrackets& table);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_EXPLANATION_H_
