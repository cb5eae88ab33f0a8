#ifndef SALARY_FORMS_WITHHOLDING_FORMS_H_
#define SALARY_FORMS_WITHHOLDING_FORMS_H_

#include "forms/controls.h"
#include "forms/grid_control.h"
#include "forms/window.h"

namespace sr::forms {

// The windows of withholding by the cumulative method. Like the other secondary windows they
// are loaded modally and built afresh each time; the program binds their buttons.

// Asks for the register's pay month: a prompt, an edit box and two buttons.
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

// A table in a grid with a row of buttons above it: the people window (保存, 放弃) and the
// withholding list (打印, 导出, 个人累计). Buttons without a caption are hidden.
class TableForm : public Window {
 public:
  TableForm(const Text& name, const Text& caption, const GridConfig& grid, const Text& first,
            const Text& second, const Text& third);

  GridControl& grid_control() { return grid_; }
  Grid& grid() { return grid_.grid(); }
  Button& first_button() { return first_; }
  Button& second_button() { return second_; }
  Button& third_button() { return third_; }

 private:
  GridControl& grid_;
  Button& first_;
  Button& second_;
  Button& third_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_WITHHOLDING_FORMS_H_
