#ifndef SALARY_APP_SUMMARY_COMMAND_H_
#define SALARY_APP_SUMMARY_COMMAND_H_

#include "app/app_context.h"

namespace sr::app {

// Totals every amount column of the register and shows them in the summary window, whose print
// button prints the one-page summary.
class SummaryCommand {
 public:
  explicit SummaryCommand(AppContext& app) : app_(app) {}

  void Run();

 private:
  AppContext& app_;
};

}  // namespace sr::app

#endif  // SALARY_APP_SUMMARY_COMMAND_H_
