#ifndef SALARY_APP_EXPORT_EXPORT_COMMAND_H_
#define SALARY_APP_EXPORT_EXPORT_COMMAND_H_

#include "app/app_context.h"
#include "runtime/automation/excel.h"

namespace sr::app {

// Copies the register's titles and every row with a number or a name, cell by cell, into a new
// workbook of the spreadsheet application and leaves it open and visible; nothing is written by the program.
class ExportCommand {
 public:
  explicit ExportCommand(AppContext& app) : app_(app), excel_(&app.seams.automation) {}

  void Run();

 private:
  // Sends those rows' cells, row by row, stepping the progress bar per register row, then shows the workbook;
  // says so when the spreadsheet program did not show it.
  void SendCells();
  // Formats the filled sheet of `rows` x `columns` cells: amount columns as amounts, the title
  // row bold and frozen, columns fitted.
  void FormatSheet(int rows, int columns);

  AppContext& app_;
  ExcelApp excel_;           // the main window's Excel程序1
  ExcelWorkbooks workbook_;  // the main window's Excel工作簿1
};

}  // namespace sr::app

#endif  // SALARY_APP_EXPORT_EXPORT_COMMAND_H_
