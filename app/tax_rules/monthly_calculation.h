#ifndef SALARY_APP_TAX_RULES_MONTHLY_CALCULATION_H_
#define SALARY_APP_TAX_RULES_MONTHLY_CALCULATION_H_

#include "app/app_context.h"

namespace sr::app {

// The calculation by the monthly tax rate table, as 计算 runs it: loads the table, works out
// every row and marks the register modified. A table that cannot be read, or an amount out of
// range, is shown to the user and changes nothing. The table stays open and current.
void CalculateByMonthlyTable(AppContext& app);

}  // namespace sr::app

#endif  // SALARY_APP_TAX_RULES_MONTHLY_CALCULATION_H_
