#ifndef SALARY_APP_SUMMARY_SUMMARY_COMMAND_H_
#define SALARY_APP_SUMMARY_SUMMARY_COMMAND_H_

#include "app/app_context.h"
#include "app/summary/summary_totals.h"
#include "app/summary/summary_window.h"

namespace sr::app {

// Totals every amount column of the register and shows them in the summary window, whose print
// button prints the one-page summary.
class SummaryCommand {
 public:
  explicit SummaryCommand(AppContext& app);

  void Run();

  // The totals of the last run (zeros before the first); they live until the next run.
  const SummaryTotals& totals() const { return totals_; }
  // For tests: the clock whose date the printout shows.
  void set_clock(SummaryWindow::Clock clock) { clock_ = std::move(clock); }

 private:
  AppContext& app_;
  SummaryTotals totals_{};
  SummaryWindow::Clock clock_;
};

}  // namespace sr::app

#endif  // SALARY_APP_SUMMARY_SUMMARY_COMMAND_H_
