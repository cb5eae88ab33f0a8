#ifndef SALARY_RUNTIME_AUTOMATION_EXCEL_H_
#define SALARY_RUNTIME_AUTOMATION_EXCEL_H_

#include "base/value.h"
#include "platform/automation/automation.h"
#include "platform/automation/excel_dispids.h"

namespace sr {

// One running instance of the spreadsheet application ("Excel.Application"), the main window's
// Excel程序1. Every automation call is guarded: an error is swallowed and the object stays as
// it was.
class ExcelApp {
 public:
  // `seam` must outlive the object.
  explicit ExcelApp(automation::AutomationSeam* seam) : seam_(seam) {}
  ~ExcelApp() { Release(); }
  ExcelApp(const ExcelApp&) = delete;
  ExcelApp& operator=(const ExcelApp&) = delete;

  // Releases any instance held, then creates a new one. Returns true when it was created. On
  // failure `*error_text` (when given) gets the system's message, with a hint appended when
  // the class is not known at all; on success it is emptied.
  bool Create(Text* error_text = nullptr);
  // Lets go of the instance; the application keeps running as it was last set.
  void Release();
  void Quit();
  // Shows or hides the application. Errors are swallowed as everywhere, but the caller learns
  // of one: false, with the application's message in `*error` (when given; emptied otherwise).
  bool SetVisible(bool visible, Text* error = nullptr);

  const automation::DispatchRef& application() const { return application_; }

 private:
  automation::AutomationSeam* seam_;
  automation::DispatchRef application_;
};

// A workbook added to an ExcelApp's instance, written into cell ranges of one worksheet: the
// main window's Excel工作簿1. Every automation call is guarded as in ExcelApp; an operation
// whose reference is none does nothing.
class ExcelWorkbooks {
 public:
  ExcelWorkbooks() = default;
  ~ExcelWorkbooks() { Release(); }
  ExcelWorkbooks(const ExcelWorkbooks&) = delete;
  ExcelWorkbooks& operator=(const ExcelWorkbooks&) = delete;

  // Releases what is held, adds a workbook to `app`'s instance and makes its first worksheet
  // current. False only when `app` holds no instance.
  bool Attach(const ExcelApp& app);
  // Releases all references and empties both cell texts.
  void Release();
  void Activate();
  void Close();
  // The current range (one more reference, which the caller drops), or none.
  automation::DispatchRef GetRange() const { return range_; }

  // Makes the n-th worksheet (1-based) current.
  void SetSheetNumber(int n);
  void SetFirstCell(const Text& cell) { first_cell_ = cell; }
  // Makes the range from the first cell to this one current.
  void SetSecondCell(const Text& cell);
  // Writes `text` into the current range.
  void SetValue(const Text& text);

  // Formatting beyond the cell values, each a guarded call on the current range (or, for
  // FreezeRows, on the application's active window).
  // Number format of the current range, in Excel's format codes ("#,##0.00").
  void SetNumberFormat(const Text& format);
  // Bold type for the current range (its Font's Bold).
  void SetBold(bool bold);
  // Fits the width of every column that the current range touches to the column's contents.
  void AutoFitColumns();
  // Freezes the top `rows` rows of the active window, so that they stay in view while the
  // rest scrolls.
  void FreezeRows(int rows);

  const Text& first_cell() const { return first_cell_; }
  const Text& second_cell() const { return second_cell_; }

 private:
  automation::DispatchRef workbooks_;
  automation::DispatchRef application_;
  automation::DispatchRef sheets_;
  automation::DispatchRef worksheet_;
  automation::DispatchRef range_;
  Text first_cell_;
  Text second_cell_;
};

}  // namespace sr

#endif  // SALARY_RUNTIME_AUTOMATION_EXCEL_H_
