#ifndef SALARY_FORMS_WITHHOLDING_LIST_FORM_H_
#define SALARY_FORMS_WITHHOLDING_LIST_FORM_H_

#include "forms/controls.h"
#include "forms/grid_control.h"
#include "forms/window.h"

namespace sr::forms {

class WithholdingListForm;

// The handlers of the month's withholding list.
class WithholdingListHandlers {
 public:
  virtual ~WithholdingListHandlers() = default;
  virtual void OnCreated(WithholdingListForm& form) = 0;
  virtual void OnPrintClicked(WithholdingListForm& form) = 0;
  virtual void OnExportClicked(WithholdingListForm& form) = 0;
  // 个人累计: the year-to-date statement of the person in the cursor's row.
  virtual void OnStatementClicked(WithholdingListForm& form) = 0;
};

// The month's withholding list, captioned `caption`, in a read-only grid of `rows` rows (the
// title row included) and `columns` columns, with 打印, 导出 and 个人累计 above it.
class WithholdingListForm : public Window {
 public:
  WithholdingListForm(WithholdingListHandlers& handlers, const Text& caption, int rows,
                      int columns);

  GridControl& grid_control() { return grid_; }
  Grid& grid() { return grid_.grid(); }
  Button& print_button() { return print_; }
  Button& export_button() { return export_; }
  Button& statement_button() { return statement_; }

 private:
  GridControl& grid_;
  Button& print_;
  Button& export_;
  Button& statement_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_WITHHOLDING_LIST_FORM_H_
