#ifndef SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_H_
#define SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_H_

#include <vector>

#include "app/withholding/ledger.h"
#include "runtime/print/printer.h"

// The reports of the ledger: a month's withholding list (one row per person, as it is handed on
// for filing) and a person's year-to-date statement.
namespace sr::app {

// The list's column titles.
const std::vector<Text>& WithholdingListTitles();

// The list of `month`: one row of texts per record of the month, in the ledger's order.
std::vector<std::vector<Text>> WithholdingListRows(const std::vector<LedgerEntry>& ledger,
                                                  int month);

// The person's months of the year, one line each (income, deductions, tax withheld, and the
// year's income and tax so far), then the totals; lines separated by CR LF.
Text YearStatement(const std::vector<LedgerEntry>& ledger, const Text& number);

// Prints the list on one A4 landscape page: heading, the main columns of as many rows as the
// page holds, and a note when rows were left out (the export has them all). A cancelled print
// dialog prints nothing.
void PrintWithholdingList(const std::vector<std::vector<Text>>& rows, const Text& heading,
                          Printer& printer);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_H_
