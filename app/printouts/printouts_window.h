#ifndef SALARY_APP_PRINTOUTS_PRINTOUTS_WINDOW_H_
#define SALARY_APP_PRINTOUTS_PRINTOUTS_WINDOW_H_

#include <vector>

#include "app/app_context.h"
#include "app/printouts/printout_settings.h"
#include "forms/printouts_form.h"

namespace sr::app {

// The window "打印工资条和工资表": the company name (kept as a setting), payslips for every
// person or for the rows chosen, and the whole register on landscape A4 or A3. Every print goes
// through the printer object and its print dialog.
class PrintoutsWindow : public forms::PrintoutsWindowHandlers {
 public:
  // `rows`: the register rows whose people get payslips; empty for everyone.
  PrintoutsWindow(AppContext& app, std::vector<int> rows);

  // Loads the window modally; returns when it is closed.
  void Show();

  void OnCreated(forms::PrintoutsForm& form) override;
  void OnPayslipsClicked(forms::PrintoutsForm& form, bool omit_empty) override;
  void OnRegisterClicked(forms::PrintoutsForm& form, bool a3) override;
  void OnCloseClicked(forms::PrintoutsForm& form) override;
  void OnCloseQuery(forms::PrintoutsForm& form) override;

 private:
  // Keeps the company name typed into the window; a name that cannot be kept is said so.
  void KeepCompany(forms::PrintoutsForm& form);
  // The heading's part after 工资条 or 工资表: the pay month, and a note when the results are
  // printed stale.
  Text PayMonthAndNote() const;

  AppContext& app_;
  std::vector<int> rows_;
  PrintoutSettings settings_;
};

// The rows of the register grid's selection (the cursor row without one), for payslips of the
// chosen people.
std::vector<int> ChosenRows(const Grid& grid);

}  // namespace sr::app

#endif  // SALARY_APP_PRINTOUTS_PRINTOUTS_WINDOW_H_
