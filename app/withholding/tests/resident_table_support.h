#ifndef SALARY_APP_WITHHOLDING_TESTS_RESIDENT_TABLE_SUPPORT_H_
#define SALARY_APP_WITHHOLDING_TESTS_RESIDENT_TABLE_SUPPORT_H_

#include "app/tax_rules/tax_table.h"

namespace sr::app::test {

// The withholding table for residents' wages as the law states it, typed in by hand: the monthly
// basic deduction 5,000 and seven brackets on the year's taxable income so far.
inline TaxBrackets LawResidentBrackets() {
  TaxBrackets table;
  table.threshold = 5000;
  const double lower[] = {1, 36000, 144000, 300000, 420000, 660000, 960000};
  const int rate[] = {3, 10, 20, 25, 30, 35, 45};
  const int quick[] = {0, 2520, 16920, 31920, 52920, 85920, 181920};
  for (int k = 0; k < 7; ++k) {
    table.lower[k] = lower[k];
    table.rate[k] = rate[k];
    table.quick[k] = quick[k];
  }
  return table;
}

}  // namespace sr::app::test

#endif  // SALARY_APP_WITHHOLDING_TESTS_RESIDENT_TABLE_SUPPORT_H_
