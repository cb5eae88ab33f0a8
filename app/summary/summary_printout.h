#ifndef SALARY_APP_SUMMARY_SUMMARY_PRINTOUT_H_
#define SALARY_APP_SUMMARY_SUMMARY_PRINTOUT_H_

#include "base/value.h"
#include "forms/grid/grid.h"
#include "runtime/print/printer.h"

namespace sr::app {

// The rules of the printed summary table: 26 full-width characters each, cells 3, 11 and 8
// characters wide, so that the vertical bars of every row stand under the top rule's junctions.
Text SummaryTopRule();
Text SummaryCellRule();
Text SummaryMiddleRule();
Text SummaryBottomRule();

// Prints the summary grid (20 rows of number, item and amount) as a ruled table on one A4 page,
// with the heading and "打印日期：" followed by `day` (a date-time; its time of day is dropped)
// and by `note` when there is one.
// Coordinates are in 0.1 mm from the printable area's corner. A cancelled print dialog prints
// nothing and shows nothing.
void PrintSummary(const Grid& summary_grid, Printer& printer, double day, const Text& note = {});

}  // namespace sr::app

#endif  // SALARY_APP_SUMMARY_SUMMARY_PRINTOUT_H_
