#ifndef SALARY_APP_PRINTOUTS_REGISTER_PRINTOUT_H_
#define SALARY_APP_PRINTOUTS_REGISTER_PRINTOUT_H_

#include <vector>

#include "app/printouts/printout_cells.h"
#include "app/register/salary_register.h"
#include "app/summary/summary_totals.h"
#include "runtime/print/printer.h"

namespace sr::app {

enum class RegisterPaper { kA4, kA3 };

struct RegisterPrintOptions {
  Text company;    // heads each page; may be empty
  Text pay_month;  // after the company; may be empty
  RegisterPaper paper = RegisterPaper::kA4;
};

// Where the whole register goes on landscape pages, in 0.1 mm from the printable area's corner.
// Every row that holds any text is printed, with every column. When the columns do not fit the
// page's width they are split into groups, each led by the number and the name again; the pages
// then go down the register first, group by group: all pages of the first group of columns,
// then all of the second. Each page repeats the heading and the title row; the last page of each
// group ends with the totals row.
struct RegisterLayout {
  struct Page {
    int group = 0;
    int first = 0;  // index into `rows`
    int count = 0;
    bool totals = false;
  };

  std::vector<int> rows;                 // register rows, in order
  std::vector<int> widths;               // of each register column
  std::vector<std::vector<int>> groups;  // register columns of each group, number and name first
  std::vector<Page> pages;
  int padding = 15;
  int heading_height = 0;
  int row_height = 0;
  int footer_height = 0;
  int rows_per_page = 1;  // person rows and totals row below the title row

  int GroupWidth(int group) const;
};

// The rows of the register that the printout shows: those with a number or a name (the rest hold
// at most what the calculation wrote into empty rows).
std::vector<int> FilledRows(const SalaryRegister& salary_register);

// The totals row's texts by register column: "合计" under the name, ToText of each total under
// its amount column.
std::vector<Text> TotalsRow(const SummaryTotals& totals);

RegisterLayout LayOutRegister(const SalaryRegister& salary_register,
                              const std::vector<Text>& totals_row, TextMeasure& measure,
                              int heading_text_height, int page_width, int page_height);

// The layout on the open job of `printer` (REQUIRES: a job is open), in the printout's fonts;
// leaves the cell font selected.
RegisterLayout LayOutRegisterOn(Printer& printer, TextMeasure& measure,
                                const SalaryRegister& salary_register,
                                const std::vector<Text>& totals_row);

Text RegisterHeading(const RegisterPrintOptions& options);

// Prints the whole register on landscape A4 or A3 through the print dialog, with `totals` (the
// summary's) in the totals row. False when no job was opened; shows no message.
bool PrintRegister(Printer& printer, const SalaryRegister& salary_register,
                   const SummaryTotals& totals, const RegisterPrintOptions& options);

}  // namespace sr::app

#endif  // SALARY_APP_PRINTOUTS_REGISTER_PRINTOUT_H_
