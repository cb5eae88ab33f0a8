#ifndef SALARY_APP_REGISTER_EDITING_COMMANDS_H_
#define SALARY_APP_REGISTER_EDITING_COMMANDS_H_

#include "app/app_context.h"
#include "app/register/register_commands.h"

namespace sr::app {

// The commands of the edit menu (also the register grid's shortcut menu) and their toolbar
// buttons: Modify, Delete Row, Insert Blank Row, Find, Copy, Paste and Sort.
class EditingCommands {
 public:
  EditingCommands(AppContext& app, RegisterCommands& register_commands)
      : app_(app), register_(register_commands) {}

  void Modify();
  void DeleteRow();
  void InsertBlankRow();
  void Find();
  void Copy();
  void Paste();
  void Sort();

 private:
  // Whether "打开的数据" is the register file shown in the grid (then it is current).
  bool ShowsRegisterFile();

  AppContext& app_;
  RegisterCommands& register_;
};

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_EDITING_COMMANDS_H_
