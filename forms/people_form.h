#ifndef SALARY_FORMS_PEOPLE_FORM_H_
#define SALARY_FORMS_PEOPLE_FORM_H_

#include "forms/controls.h"
#include "forms/grid_control.h"
#include "forms/window.h"

namespace sr::forms {

class PeopleForm;

// The handlers of the people window.
class PeopleWindowHandlers {
 public:
  virtual ~PeopleWindowHandlers() = default;
  virtual void OnCreated(PeopleForm& form) = 0;
  virtual void OnSaveClicked(PeopleForm& form) = 0;
  virtual void OnDiscardClicked(PeopleForm& form) = 0;
  // The window is closing, by a button or by its close box: false keeps it open.
  virtual bool OnCloseQuery(PeopleForm& form) = 0;
};

// "人员信息": the people file in an editable grid of `rows` rows (the title row included) and
// `columns` columns, 保存 and 放弃 above it.
class PeopleForm : public Window {
 public:
  PeopleForm(PeopleWindowHandlers& handlers, int rows, int columns);

  GridControl& grid_control() { return grid_; }
  Grid& grid() { return grid_.grid(); }
  Button& save_button() { return save_; }
  Button& discard_button() { return discard_; }

 private:
  GridControl& grid_;
  Button& save_;
  Button& discard_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_PEOPLE_FORM_H_
