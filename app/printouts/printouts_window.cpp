#include "app/printouts/printouts_window.h"

#include "app/printouts/pay_month.h"
#include "app/printouts/payslip_printout.h"
#include "app/printouts/printout_cells.h"
#include "app/printouts/register_printout.h"
#include "app/summary/summary_totals.h"
#include "base/text.h"
#include "forms/grid/grid.h"
#include "runtime/convert/conversions.h"
#include "runtime/print/printer.h"

namespace sr::app {

PrintoutsWindow::PrintoutsWindow(AppContext& app, std::vector<int> rows)
    : app_(app), rows_(std::move(rows)) {}

void PrintoutsWindow::Show() {
  settings_ = LoadPrintoutSettings(app_.seams.files, app_.state.program_directory);
  forms::PrintoutsForm form(*this);
  app_.framework.ShowModal(form);
}

void PrintoutsWindow::OnCreated(forms::PrintoutsForm& form) {
  form.company_box().SetText(settings_.company);
  const int people = static_cast<int>(PersonRows(app_.salary_register, rows_).size());
  const Text count = ToText(people);
  form.range_label().SetCaption(rows_.empty() ? Concat({"工资条：全部人员，共 ", count, " 人"})
                                              : Concat({"工资条：所选的行，共 ", count, " 人"}));
}

void PrintoutsWindow::KeepCompany(forms::PrintoutsForm& form) {
  if (form.company_box().text() == settings_.company) return;
  settings_.company = form.company_box().text();
  if (SavePrintoutSettings(app_.seams.files, app_.state.program_directory, settings_) != 0) {
    app_.framework.ShowMessage(Concat({"单位名称未能保存到程序目录的“", kPrintoutSettingsFile,
                                       "”中（该文件无法写入），本次打印仍使用它。"}),
                               "打印工资条和工资表", ui::MessageButtons::kOk,
                               ui::MessageIcon::kWarning);
  }
}

Text PrintoutsWindow::PayMonthAndNote() const {
  Text month = PayMonthOf(app_.salary_register);
  const Text note = app_.StaleResultsNote();
  if (!month.empty() && !note.empty()) month += "　";
  return month + note;
}

void PrintoutsWindow::OnPayslipsClicked(forms::PrintoutsForm& form, bool omit_empty) {
  KeepCompany(form);
  if (PersonRows(app_.salary_register, rows_).empty()) {
    app_.framework.ShowMessage("没有可打印工资条的人员：只有编号和姓名都已填写的行才打印工资条。",
                               "打印工资条", ui::MessageButtons::kOk,
                               ui::MessageIcon::kInformation);
    return;
  }
  PayslipOptions options{settings_.company, PayMonthAndNote(), omit_empty};
  Printer printer(&app_.seams.print);
  PrintPayslips(printer, app_.salary_register, rows_, options);
}

void PrintoutsWindow::OnRegisterClicked(forms::PrintoutsForm& form, bool a3) {
  KeepCompany(form);
  SummaryTotals totals;
  Text problem;
  if (!ComputeTotals(app_.salary_register, &totals, &problem)) {
    app_.framework.ShowMessage(Concat({"无法打印工资表：", problem, "。请改正后再打印。"}),
                               "打印工资表", ui::MessageButtons::kOk, ui::MessageIcon::kError);
    return;
  }
  RegisterPrintOptions options{settings_.company, PayMonthAndNote(),
                               a3 ? RegisterPaper::kA3 : RegisterPaper::kA4};
  Printer printer(&app_.seams.print);
  PrintRegister(printer, app_.salary_register, totals, options);
}

void PrintoutsWindow::OnCloseClicked(forms::PrintoutsForm& form) { app_.framework.Close(form); }

// A name typed and then left by the close box is kept as well as one printed with.
void PrintoutsWindow::OnCloseQuery(forms::PrintoutsForm& form) { KeepCompany(form); }

std::vector<int> ChosenRows(const Grid& grid) {
  std::vector<int> rows;
  const CellRange& selection = grid.Selection();
  if (!selection.empty()) {
    for (int row = selection.first_row; row <= selection.last_row; ++row) {
      if (row >= 1) rows.push_back(row);
    }
  } else if (grid.GetCursorRow() >= 1) {
    rows.push_back(grid.GetCursorRow());
  }
  return rows;
}

}  // namespace sr::app
