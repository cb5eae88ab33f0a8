#ifndef SALARY_APP_EXPORT_COMMAND_H_
#define SALARY_APP_EXPORT_COMMAND_H_

#include "app/app_context.h"

namespace sr::app {

// Copies the whole register grid into a new, visible spreadsheet workbook.
class ExportCommand {
 public:
  explicit ExportCommand(AppContext& app) : app_(app) {}

  void Run();

 private:
  AppContext& app_;
};

}  // namespace sr::app

#endif  // SALARY_APP_EXPORT_COMMAND_H_
