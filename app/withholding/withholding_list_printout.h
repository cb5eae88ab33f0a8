#ifndef SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_PRINTOUT_H_
#define SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_PRINTOUT_H_

#include <vector>

#include "base/value.h"
#include "runtime/print/printer.h"

namespace sr::app {

// The month's withholding list on landscape A4 pages through the print dialog: every person, in
// `rows` (WithholdingListRows) order, with number, name, ID number, the month's income and
// deductions (the special additional ones summed), the tax withheld and the year's income and tax
// so far. Each page repeats `heading` and the column titles and ends with "第 N 页 共 M 页"; the
// last page holds the totals row (the head count and the sum of each amount). Columns that do not
// fit the page's width go on further pages, each led by number and name again. A cancelled print
// dialog prints nothing; returns whether a job was opened.
bool PrintWithholdingList(const std::vector<std::vector<Text>>& rows, const Text& heading,
                          Printer& printer);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_PRINTOUT_H_
