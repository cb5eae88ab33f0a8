#ifndef SALARY_PLATFORM_SHEET_SHEET_AUTOMATION_H_
#define SALARY_PLATFORM_SHEET_SHEET_AUTOMATION_H_

#include "platform/automation/automation.h"

namespace sr::sheet {

// The automation seam on Linux. It serves "Excel.Application" with an application object of
// our own: workbooks live in memory, and when the application becomes visible each open
// workbook is written as an .xlsx file into a private temporary folder and opened, as a new
// untitled document, in the desktop's spreadsheet program (see SpreadsheetProgram). Creating
// the object fails with kInvalidClassString when there is no spreadsheet program, as it does
// on Windows without Excel; so does every other ProgID.
//
// Members served (dispatch ids of excel_dispids.h):
//   Application: Workbooks, Application, Sheets (of the active workbook), Visible (put, get),
//                Activate, Quit
//   Workbooks:   Add (no template), Item, Application, Close (closes every workbook)
//   Workbook:    Sheets, Application, Activate, Close
//   Sheets:      Item (1-based), Application
//   Worksheet:   Range (one or two references), Application, Activate
//   Range:       Value (put: a text typed as into Excel, a number, or empty), Application
class SheetAutomation : public automation::AutomationSeam {
 public:
  automation::Status CreateObject(const Text& prog_id, automation::DispatchRef* object) override;
};

}  // namespace sr::sheet

#endif  // SALARY_PLATFORM_SHEET_SHEET_AUTOMATION_H_
