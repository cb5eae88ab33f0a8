#ifndef SALARY_APP_PRINTOUTS_PAYSLIP_PRINTOUT_H_
#define SALARY_APP_PRINTOUTS_PAYSLIP_PRINTOUT_H_

#include <vector>

#include "app/printouts/printout_cells.h"
#include "app/register/salary_register.h"
#include "runtime/print/printer.h"

namespace sr::app {

struct PayslipOptions {
  Text company;    // heads each strip; may be empty
  Text pay_month;  // "2026年11月", heads each strip after the company; may be empty
  bool omit_empty_items = false;  // leave out items that are empty or 0 for every printed person
};

// Where everything of a payslip printout goes, in 0.1 mm from the printable area's corner. A
// strip is a heading line and one or more bands of two rows (titles over amounts); the columns
// run on into the next band when the page is too narrow for them. Strips stand one under another
// with a gap holding the dashed cutting line, and as many as fit whole on a page.
struct PayslipLayout {
  std::vector<int> columns;             // register columns, in order
  std::vector<int> widths;              // of each of `columns`
  std::vector<std::vector<int>> bands;  // indexes into `columns`, band by band
  int padding = 15;
  int heading_height = 0;
  int row_height = 0;
  int band_gap = 20;
  int strip_gap = 80;
  int strip_height = 0;
  int strips_per_page = 1;

  // The top of the k-th strip of a page (k from 0).
  int StripTop(int k) const { return k * (strip_height + strip_gap); }
  // The top of band b of a strip whose top is `strip_top`.
  int BandTop(int strip_top, int b) const {
    return strip_top + heading_height + b * (2 * row_height + band_gap);
  }
  // The left edge of column index i (into `columns`) inside its band.
  int ColumnLeft(int i) const;
  int BandWidth(int b) const;
};

// Lays out the payslips of `people` (person rows) on a printable area of `page_width` x
// `page_height`. `measure` measures in the cell font; `heading_text_height` is the height of
// the heading line's text.
PayslipLayout LayOutPayslips(const SalaryRegister& salary_register, const std::vector<int>& people,
                             bool omit_empty_items, TextMeasure& measure, int heading_text_height,
                             int page_width, int page_height);

// The layout on the open job of `printer` (REQUIRES: a job is open), in the printout's fonts;
// leaves the cell font selected.
PayslipLayout LayOutPayslipsOn(Printer& printer, TextMeasure& measure,
                               const SalaryRegister& salary_register,
                               const std::vector<int>& people, bool omit_empty_items);

// The heading of every strip: company, "工资条" and the pay month, as far as they are known.
Text PayslipHeading(const PayslipOptions& options);

// Prints a payslip for each person among `rows` (all people of the register when `rows` is
// empty), on A4 portrait through the print dialog. False when there is nobody to print or no
// job was opened (the dialog was cancelled); shows no message.
bool PrintPayslips(Printer& printer, const SalaryRegister& salary_register,
                   const std::vector<int>& rows, const PayslipOptions& options);

}  // namespace sr::app

#endif  // SALARY_APP_PRINTOUTS_PAYSLIP_PRINTOUT_H_
