#ifndef SALARY_FORMS_PAY_MONTH_FORM_H_
#define SALARY_FORMS_PAY_MONTH_FORM_H_

#include "forms/controls.h"
#include "forms/window.h"

namespace sr::forms {

// Asks for the register's pay month: a prompt, an edit box and two buttons, which the program
// binds.
class PayMonthForm : public Window {
 public:
  PayMonthForm();

  Label& prompt_label() { return prompt_; }
  EditBox& edit_box() { return edit_; }
  Button& ok_button() { return ok_; }
  Button& cancel_button() { return cancel_; }

 private:
  Label& prompt_;
  EditBox& edit_;
  Button& ok_;
  Button& cancel_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_PAY_MONTH_FORM_H_
