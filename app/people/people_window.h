#ifndef SALARY_APP_PEOPLE_PEOPLE_WINDOW_H_
#define SALARY_APP_PEOPLE_PEOPLE_WINDOW_H_

#include <vector>

#include "app/app_context.h"
#include "app/withholding/people_file.h"
#include "forms/people_form.h"

namespace sr::app {

// The people window: the people file in a grid, one row per person, one column per field.
// 保存 checks every row and writes the file; with a problem it names the rows, saves nothing and
// the window stays open. 放弃 closes it and leaves the file as it was. The close box, when a cell
// differs from the file, asks whether to save: Yes saves as 保存 does (a refused save keeps the
// window open), No closes without saving, Cancel keeps the window open.
class PeopleWindow : public forms::PeopleWindowHandlers {
 public:
  // `path`: the people file (it need not exist yet).
  PeopleWindow(AppContext& app, Text path) : app_(app), path_(std::move(path)) {}

  void Show();

  void OnCreated(forms::PeopleForm& form) override;
  void OnSaveClicked(forms::PeopleForm& form) override;
  void OnDiscardClicked(forms::PeopleForm& form) override;
  bool OnCloseQuery(forms::PeopleForm& form) override;

 private:
  // Checks and writes the file; false (the problem shown) when it was not written.
  bool Save(forms::PeopleForm& form);
  std::vector<PersonTexts> RowsOf(Grid& grid) const;
  bool Changed(forms::PeopleForm& form) const;

  AppContext& app_;
  Text path_;
  std::vector<PersonTexts> loaded_;  // as the file holds them, the grid's spare rows empty
  bool may_close_ = false;           // set by 保存 after writing and by 放弃
};

}  // namespace sr::app

#endif  // SALARY_APP_PEOPLE_PEOPLE_WINDOW_H_
