#include "app/tax_rules/monthly_calculation.h"

#include "app/progress_display.h"
#include "app/tax_rules/tax_calculation.h"
#include "app/tax_rules/tax_table.h"
#include "runtime/convert/conversions.h"

namespace sr::app {

namespace {
const char kCalculateTitle[] = "个人收入所得税计算";
}  // namespace

void CalculateByMonthlyTable(AppContext& app) {
  Text message;
  TaxBrackets brackets;
  // The table stays open and current afterwards, as the tax rate window leaves it.
  if (!LoadTaxBrackets(app.databases, app.seams.files, kMonthlyTaxTable, &brackets, &message)) {
    app.framework.ShowMessage(message, kCalculateTitle, ui::MessageButtons::kOk,
                              ui::MessageIcon::kError);
    return;
  }
  ProgressDisplay progress(app.form);
  Text problem;
  if (!CalculateRegister(app.salary_register, brackets, progress, &problem)) {
    app.framework.ShowMessage(
        Concat({"无法计算：", problem, "。表中的数据都没有改动，请改正后再计算。"}),
        kCalculateTitle, ui::MessageButtons::kOk, ui::MessageIcon::kError);
    return;
  }
  app.state.modified = 1;
}

}  // namespace sr::app
