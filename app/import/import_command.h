#ifndef SALARY_APP_IMPORT_IMPORT_COMMAND_H_
#define SALARY_APP_IMPORT_IMPORT_COMMAND_H_

#include "app/app_context.h"
#include "app/import/import_plan.h"
#include "app/register/register_commands.h"
#include "forms/file_dialog.h"

namespace sr::app {

// 文件 → 导入: reads an .xlsx workbook (its first sheet) or a CSV file chosen in an open dialog,
// matches its first row to the register's titles, shows the preview and, on the user's 追加 or
// 替换, puts the rows into the register in one change (one undo step). A file it refuses is named
// with the reason, row and column, and nothing changes.
class ImportCommand {
 public:
  ImportCommand(AppContext& app, RegisterCommands& register_commands);

  void Run();

 private:
  // Reads the file into rows of cells; false with *problem set when it cannot.
  bool ReadTable(const Text& path, xlsx::SheetRows* rows, Text* problem);
  // Reads the file and plans its import; false with *problem set when the file is refused
  // before its rows are looked at (or memory runs short).
  bool Plan(const Text& path, ImportPlan* plan, Text* problem);
  void Refuse(const Text& path, const Text& problem);

  AppContext& app_;
  RegisterCommands& register_;
  forms::FileDialog dialog_;
};

}  // namespace sr::app

#endif  // SALARY_APP_IMPORT_IMPORT_COMMAND_H_
