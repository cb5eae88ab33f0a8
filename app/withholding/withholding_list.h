#ifndef SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_H_
#define SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_H_

#include <vector>

#include "app/withholding/ledger.h"

// The reports of the ledger: a month's withholding list (one row per person, as it is handed on
// for filing) and a person's year-to-date statement.
namespace sr::app {

// The list's column titles.
const std::vector<Text>& WithholdingListTitles();

// The list of `month`: one row of texts per person (PersonMonths: summed over the month's
// registers), in the ledger's order.
std::vector<std::vector<Text>> WithholdingListRows(const std::vector<LedgerEntry>& ledger,
                                                  int month);

// The person's months of the year, one line each (income, deductions, tax withheld, and the
// year's income and tax so far), then the totals; lines separated by CR LF.
Text YearStatement(const std::vector<LedgerEntry>& ledger, const Text& number);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_H_
