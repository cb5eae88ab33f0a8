#include "app/summary_command.h"

#include "forms/secondary_forms.h"
#include "runtime/convert/date_time.h"

namespace sr::app {

SummaryCommand::SummaryCommand(AppContext& app) : app_(app), clock_([] { return Now(); }) {}

void SummaryCommand::Run() {
  totals_ = ComputeTotals(app_.grid());
  SummaryWindow handlers(totals_, app_.grid(), app_.seams.print, clock_);
  forms::SummaryForm form(handlers);
  app_.framework.ShowModal(form);
}

}  // namespace sr::app
