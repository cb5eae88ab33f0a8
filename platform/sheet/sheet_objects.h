#ifndef SALARY_PLATFORM_SHEET_SHEET_OBJECTS_H_
#define SALARY_PLATFORM_SHEET_SHEET_OBJECTS_H_

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/automation/automation.h"
#include "platform/sheet/sheet_automation.h"
#include "platform/sheet/spreadsheet_program.h"
#include "platform/sheet/workbook.h"

namespace sr::sheet {

// One running "application": its workbooks and how it shows them. Every dispatch object of the
// instance shares it.
struct Instance {
  // Shows workbooks in `program`, or hands them to `viewer` when that is set.
  Instance(std::optional<SpreadsheetProgram> program, WorkbookViewer viewer)
      : program(std::move(program)), viewer(std::move(viewer)) {}

  bool IsOpen(const std::shared_ptr<Workbook>& book) const;
  void Close(const std::shared_ptr<Workbook>& book);
  // Shows every open workbook not shown yet: written and opened in the spreadsheet program, or
  // handed to the viewer.
  automation::Status Show();

  std::optional<SpreadsheetProgram> program;
  WorkbookViewer viewer;
  std::vector<std::shared_ptr<Workbook>> workbooks;
  std::shared_ptr<Workbook> active;
  int next_book = 1;
  bool visible = false;
  bool quit = false;
  std::string folder;  // the private folder, made when the first workbook is shown
  std::set<int> shown;
};

// A new application object of `instance`, as CreateObject returns it.
automation::DispatchRef NewApplicationObject(std::shared_ptr<Instance> instance);

}  // namespace sr::sheet

#endif  // SALARY_PLATFORM_SHEET_SHEET_OBJECTS_H_
