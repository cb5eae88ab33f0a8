#ifndef SALARY_APP_TAX_TAX_COMMANDS_H_
#define SALARY_APP_TAX_TAX_COMMANDS_H_

#include "app/app_context.h"

namespace sr::app {

// The tax rate window and the income-tax calculation.
class TaxCommands {
 public:
  explicit TaxCommands(AppContext& app) : app_(app) {}

  void ShowTaxRateWindow();
  // The same window on the resident table of the cumulative method.
  void ShowResidentTaxRateWindow();
  void Calculate();

 private:
  AppContext& app_;
};

}  // namespace sr::app

#endif  // SALARY_APP_TAX_TAX_COMMANDS_H_
