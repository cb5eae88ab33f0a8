#include "app/summary/summary_command.h"

#include "forms/secondary_forms.h"
#include "runtime/convert/conversions.h"
#include "runtime/convert/date_time.h"

namespace sr::app {

SummaryCommand::SummaryCommand(AppContext& app) : app_(app), clock_([] { return Now(); }) {}

void SummaryCommand::Run() {
  Text problem;
  SummaryTotals totals;
  if (!ComputeTotals(app_.salary_register, &totals, &problem)) {
    app_.framework.ShowMessage(Concat({"无法汇总：", problem, "。请改正后再汇总。"}), "工资汇总",
                               ui::MessageButtons::kOk, ui::MessageIcon::kError);
    return;
  }
  totals_ = totals;
  SummaryWindow handlers(totals_, app_.salary_register, app_.seams.print, clock_,
                         app_.StaleResultsNote());
  forms::SummaryForm form(handlers);
  app_.framework.ShowModal(form);
}

}  // namespace sr::app
