#include "app/tax/tax_commands.h"

#include "app/tax/tax_rate_window.h"
#include "app/tax_rules/monthly_calculation.h"
#include "app/tax_rules/tax_table.h"

namespace sr::app {

void TaxCommands::ShowTaxRateWindow() {
  TaxRateWindow window(app_);
  window.Show();
}

void TaxCommands::ShowResidentTaxRateWindow() {
  TaxRateWindow window(app_, kResidentTaxTable);
  window.Show();
}

void TaxCommands::Calculate() { CalculateByMonthlyTable(app_); }

}  // namespace sr::app
