#include "app/summary/summary_window.h"

#include <utility>

#include "app/summary/summary_printout.h"
#include "runtime/convert/conversions.h"
#include "runtime/print/printer.h"

namespace sr::app {

namespace {
constexpr int kCentre = 2;
constexpr int kTextKind = 1;
}  // namespace

void FillSummaryGrid(Grid& summary_grid, const SummaryTotals& totals,
                     const SalaryRegister& salary_register) {
  summary_grid.SetColumnWidth(1, 120);
  summary_grid.SetColumnWidth(2, 80);
  summary_grid.SetAlignment(0, 0, 0, 2, kCentre);
  summary_grid.SetAlignment(0, 0, 21, 0, kCentre);  // clamped to the grid's rows
  summary_grid.SetCellValue(0, 1, kTextKind, Value::FromText("工资项目名称"));
  summary_grid.SetCellValue(0, 2, kTextKind, Value::FromText("金  额"));
  for (int i = 1; i <= kSummaryItems; ++i) {
    summary_grid.SetCellValue(i, 0, kTextKind, Value::FromText(ToText(i)));
  }
  for (int i = 1; i <= kSummaryItems; ++i) {
    summary_grid.SetCellValue(i, 2, kTextKind, Value::FromText(ToText(totals[i - 1])));
    summary_grid.SetCellValue(i, 1, kTextKind,
                              Value::FromText(salary_register.Title(kFirstAmountColumn + i - 1)));
  }
}

SummaryWindow::SummaryWindow(const SummaryTotals& totals, const SalaryRegister& salary_register,
                             print::PrintSeam& print, Clock clock, Text note)
    : totals_(totals),
      register_(salary_register),
      print_(print),
      clock_(std::move(clock)),
      note_(std::move(note)) {}

void SummaryWindow::OnCreated(forms::SummaryForm& form) {
  FillSummaryGrid(form.grid(), totals_, register_);
}

void SummaryWindow::OnPrintClicked(forms::SummaryForm& form) {
  Printer printer(&print_);  // the window's 打印机1
  PrintSummary(form.grid(), printer, clock_(), note_);
}

}  // namespace sr::app
