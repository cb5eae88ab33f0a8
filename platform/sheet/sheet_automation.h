#ifndef SALARY_PLATFORM_SHEET_SHEET_AUTOMATION_H_
#define SALARY_PLATFORM_SHEET_SHEET_AUTOMATION_H_

#include <functional>

#include "platform/automation/automation.h"
#include "platform/sheet/workbook.h"

namespace sr::sheet {

// Receives a workbook at the moment the application shows it.
using WorkbookViewer = std::function<void(const Workbook&)>;

// The automation seam on Linux. It serves "Excel.Application" with an application object of
// our own: workbooks live in memory, and when the application becomes visible each open
// workbook is written as an .xlsx file into a private temporary folder and opened, as a new
// untitled document, in the desktop's spreadsheet program (see SpreadsheetProgram). Creating
// the object fails with kInvalidClassString when there is no spreadsheet program, as it does
// on Windows without Excel; so does every other ProgID.
//
// Members served (dispatch ids of excel_dispids.h):
//   Application: Workbooks, Application, Sheets (of the active workbook), Visible (put, get),
//                Activate, Quit, ActiveWindow
//   Workbooks:   Add (no template), Item, Application, Close (closes every workbook)
//   Workbook:    Sheets, Application, Activate, Close
//   Sheets:      Item (1-based), Application
//   Worksheet:   Range (one or two references), Application, Activate
//   Range:       Value (put: a text typed as into Excel, a number, or empty), NumberFormat,
//                Font, EntireColumn, AutoFit (whole columns), Application
//   Font:        Bold
//   Window:      SplitRow, SplitColumn, FreezePanes (of the active workbook's shown sheet)
// A put of Visible that shows a workbook fails, with a message for the user, when the
// spreadsheet program ended without showing it; the workbook is then kept in the user's folder.
class SheetAutomation : public automation::AutomationSeam {
 public:
  // From now on, objects created hand each shown workbook to `viewer` instead of writing it and
  // starting the spreadsheet program, and are created whether or not one is installed: for
  // tests and scripted runs that want to see the workbook.
  void ShowWorkbooksTo(WorkbookViewer viewer) { viewer_ = std::move(viewer); }

  automation::Status CreateObject(const Text& prog_id, automation::DispatchRef* object) override;

 private:
  WorkbookViewer viewer_;
};

}  // namespace sr::sheet

#endif  // SALARY_PLATFORM_SHEET_SHEET_AUTOMATION_H_
