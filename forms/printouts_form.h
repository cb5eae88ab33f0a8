#ifndef SALARY_FORMS_PRINTOUTS_FORM_H_
#define SALARY_FORMS_PRINTOUTS_FORM_H_

#include "forms/controls.h"
#include "forms/window.h"

namespace sr::forms {

class PrintoutsForm;

// The handlers of the printouts window (payslips and the whole register on paper).
class PrintoutsWindowHandlers {
 public:
  virtual ~PrintoutsWindowHandlers() = default;
  virtual void OnCreated(PrintoutsForm& form) = 0;
  // `omit_empty`: the button that leaves out items empty or 0 for everyone.
  virtual void OnPayslipsClicked(PrintoutsForm& form, bool omit_empty) = 0;
  // `a3`: the A3 button, else A4; both landscape.
  virtual void OnRegisterClicked(PrintoutsForm& form, bool a3) = 0;
  virtual void OnCloseClicked(PrintoutsForm& form) = 0;
  // The window is closing, by 关闭 or by its close box.
  virtual void OnCloseQuery(PrintoutsForm& form) = 0;
};

// "打印工资条和工资表": the company name, who gets a payslip, and the buttons that print.
class PrintoutsForm : public Window {
 public:
  explicit PrintoutsForm(PrintoutsWindowHandlers& handlers);

  EditBox& company_box() { return company_; }
  Label& range_label() { return range_; }
  Button& payslips_button() { return payslips_; }
  Button& payslips_omitting_button() { return payslips_omitting_; }
  Button& register_a4_button() { return register_a4_; }
  Button& register_a3_button() { return register_a3_; }
  Button& close_button() { return close_; }

 private:
  Label& company_label_;
  EditBox& company_;
  Label& range_;
  Button& payslips_;
  Button& payslips_omitting_;
  Label& register_label_;
  Button& register_a4_;
  Button& register_a3_;
  Button& close_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_PRINTOUTS_FORM_H_
