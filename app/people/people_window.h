#ifndef SALARY_APP_PEOPLE_PEOPLE_WINDOW_H_
#define SALARY_APP_PEOPLE_PEOPLE_WINDOW_H_

#include <vector>

#include "app/app_context.h"
#include "app/withholding/people_file.h"
#include "forms/withholding_forms.h"

namespace sr::app {

// The people window: the people file in a grid, one row per person, one column per field.
// 保存 checks every row and writes the file; with a problem it names the rows and saves
// nothing. 放弃 and the close box leave the file as it was.
class PeopleWindow {
 public:
  // `path`: the people file (it need not exist yet).
  PeopleWindow(AppContext& app, Text path) : app_(app), path_(std::move(path)) {}

  void Show();

 private:
  void Fill(Grid& grid, const std::vector<PersonTexts>& rows) const;
  std::vector<PersonTexts> RowsOf(Grid& grid) const;
  void Save(forms::TableForm& form);

  AppContext& app_;
  Text path_;
};

}  // namespace sr::app

#endif  // SALARY_APP_PEOPLE_PEOPLE_WINDOW_H_
