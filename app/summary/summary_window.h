#ifndef SALARY_APP_SUMMARY_SUMMARY_WINDOW_H_
#define SALARY_APP_SUMMARY_SUMMARY_WINDOW_H_

#include <functional>

#include "app/register/salary_register.h"
#include "app/summary/summary_totals.h"
#include "forms/grid/grid.h"
#include "forms/secondary_forms.h"
#include "platform/print/print_seam.h"

namespace sr::app {

// The handlers of the summary window "工资汇总": it shows the totals taken when it opened and
// prints them.
class SummaryWindow : public forms::SummaryWindowHandlers {
 public:
  // The local clock's date-time, replaceable so that tests know the printed date.
  using Clock = std::function<double()>;

  // `note` follows the printed date (the results were stale when the summary opened).
  SummaryWindow(const SummaryTotals& totals, const SalaryRegister& salary_register,
                print::PrintSeam& print, Clock clock, Text note = {});

  // Fills the summary grid: titles, the numbers 1 to 19, each item's name as the register
  // titles it ("(免税)" included) and its total as ToText writes it.
  void OnCreated(forms::SummaryForm& form) override;
  // Prints the summary grid on one A4 page (the print dialog first).
  void OnPrintClicked(forms::SummaryForm& form) override;

 private:
  const SummaryTotals& totals_;
  const SalaryRegister& register_;
  print::PrintSeam& print_;
  Clock clock_;
  Text note_;
};

// Fills a summary grid of 20 rows and 3 columns from the totals and the register's titles.
void FillSummaryGrid(Grid& summary_grid, const SummaryTotals& totals,
                     const SalaryRegister& salary_register);

}  // namespace sr::app

#endif  // SALARY_APP_SUMMARY_SUMMARY_WINDOW_H_
