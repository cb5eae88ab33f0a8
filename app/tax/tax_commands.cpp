#include "app/tax/tax_commands.h"

#include "app/progress_display.h"
#include "app/tax/tax_calculation.h"
#include "app/tax/tax_rate_window.h"
#include "app/tax/tax_table.h"
#include "runtime/convert/conversions.h"

namespace sr::app {

namespace {
const char kCalculateTitle[] = "个人收入所得税计算";
}  // namespace

void TaxCommands::ShowTaxRateWindow() {
  TaxRateWindow window(app_);
  window.Show();
}

void TaxCommands::ShowResidentTaxRateWindow() {
  TaxRateWindow window(app_, kResidentTaxTable);
  window.Show();
}

void TaxCommands::Calculate() {
  Text message;
  TaxBrackets brackets;
  // The table stays open and current afterwards, as the tax rate window leaves it.
  if (!LoadTaxBrackets(app_.databases, app_.seams.files, kMonthlyTaxTable, &brackets, &message)) {
    app_.framework.ShowMessage(message, kCalculateTitle, ui::MessageButtons::kOk,
                               ui::MessageIcon::kError);
    return;
  }
  ProgressDisplay progress(app_.form);
  Text problem;
  if (!CalculateRegister(app_.salary_register, brackets, progress, &problem)) {
    app_.framework.ShowMessage(
        Concat({"无法计算：", problem, "。表中的数据都没有改动，请改正后再计算。"}),
        kCalculateTitle, ui::MessageButtons::kOk, ui::MessageIcon::kError);
    return;
  }
  app_.state.modified = 1;
}

}  // namespace sr::app
