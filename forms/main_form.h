#ifndef SALARY_FORMS_MAIN_FORM_H_
#define SALARY_FORMS_MAIN_FORM_H_

#include "forms/controls.h"
#include "forms/file_dialog.h"
#include "forms/grid_control.h"
#include "forms/window.h"

namespace sr::forms {

// What the main window's events and commands run; implemented by the program (app/). Every
// handler runs to completion on the user-interface thread.
class MainWindowHandlers {
 public:
  virtual ~MainWindowHandlers() = default;

  virtual void OnCreated() = 0;     // start-up
  // The window is asked to close (Exit, also by its frame); false keeps it open.
  virtual bool OnCloseQuery() = 0;

  // Commands of the menu and the toolbar.
  virtual void OnNew() = 0;
  virtual void OnOpen() = 0;
  virtual void OnSave() = 0;
  virtual void OnSaveAs() = 0;
  virtual void OnExit() = 0;
  virtual void OnModify() = 0;
  virtual void OnDeleteRow() = 0;
  virtual void OnInsertBlankRow() = 0;
  virtual void OnFind() = 0;
  virtual void OnCopy() = 0;
  virtual void OnPaste() = 0;
  virtual void OnSort() = 0;
  virtual void OnCalculate() = 0;
  virtual void OnSummary() = 0;
  virtual void OnExport() = 0;
  virtual void OnTaxRate() = 0;
  virtual void OnSettings() = 0;
  // Payslips and the whole register on paper; payslips of the chosen rows (shortcut menu).
  virtual void OnPrintouts() = 0;
  virtual void OnPrintChosenPayslips() = 0;
  // Withholding by the cumulative method for resident employees.
  virtual void OnResidentTaxRate() = 0;
  virtual void OnPeople() = 0;
  // "Why this tax" for the person under the cursor (in the edit menu, so the shortcut menu too).
  virtual void OnWhyTax() = 0;
  virtual void OnImportTakeOver() = 0;
  virtual void OnWithholdingList() = 0;
  // Undo and redo of the register's changes, import of a spreadsheet.
  virtual void OnUndo() = 0;
  virtual void OnRedo() = 0;
  virtual void OnImport() = 0;
  // The earlier versions of the files that the saves replaced, and putting one back.
  virtual void OnBackups() = 0;

  // Register grid events.
  virtual void OnGridEditBegins() = 0;
  // A character was typed into the register while it may not be edited (before 修改).
  virtual void OnGridTypingRefused() = 0;
  virtual void OnGridKeyDown(int key, int modifiers) = 0;
  // The grid's own editing changed the texts of cells inside `range` (typing, paste, cut, the
  // Delete key), by whatever route.
  virtual void OnGridCellsEdited(const CellRange& range) = 0;
};

// The main menu's entries, by index.
enum MainMenuEntry : int {
  kMenuFile = 0,
  kMenuNew = 1,
  kMenuOpen = 3,
  kMenuSave = 5,
  kMenuSaveAs = 6,
  kMenuImport = 7,
  kMenuPrintouts = 9,
  kMenuExit = 11,
  kMenuEdit = 12,
  kMenuUndo = 13,
  kMenuRedo = 14,
  kMenuModify = 16,
  kMenuDeleteRow = 17,
  kMenuInsertBlankRow = 19,
  kMenuFind = 21,
  kMenuCopy = 23,
  kMenuPaste = 24,
  kMenuSort = 26,
  kMenuPrintChosenPayslips = 28,
  kMenuWhyTax = 30,
  kMenuStatistics = 31,
  kMenuCalculate = 32,
  kMenuSummary = 34,
  kMenuExport = 36,
  kMenuSettings = 37,
  kMenuTaxRate = 38,
  kMenuWithholding = 39,
  kMenuResidentTaxRate = 40,
  kMenuPeople = 41,
  kMenuImportTakeOver = 42,
  kMenuWithholdingList = 43,
  kMenuBackupBar = 44,
  kMenuBackups = 45,
  kMainMenuSize = 46,
};

// The toolbar's buttons, by index (separators at the even indexes).
enum MainToolbarButton : int {
  kToolNew = 1,
  kToolOpen = 3,
  kToolSave = 5,
  kToolModify = 7,
  kToolFind = 9,
  kToolDeleteRow = 11,
  kToolInsertBlankRow = 13,
  kToolCalculate = 15,
  kToolSummary = 17,
  kToolTaxRate = 19,
  kToolSettings = 21,
  kToolExport = 23,
  kToolExit = 25,
  kToolbarSize = 27,
};

// The main window: toolbar, etched separator, register grid, head-count and credit labels,
// progress bar, the two file dialogs and the main menu, wired to MainWindowHandlers.
class MainForm : public Window {
 public:
  explicit MainForm(MainWindowHandlers& handlers);

  Toolbar& toolbar() { return toolbar_; }
  ShapeBox& dark_line() { return dark_line_; }
  ShapeBox& light_line() { return light_line_; }
  GridControl& grid_control() { return grid_; }
  Grid& grid() { return grid_.grid(); }
  Label& head_count_label() { return head_count_; }
  Label& credit_label() { return credit_; }
  ProgressBar& progress_bar() { return progress_; }
  FileDialog& open_dialog() { return open_dialog_; }
  FileDialog& save_dialog() { return save_dialog_; }

  // Fits the grid, the separator lines and the credit label to the window's size.
  void Layout();
  // Runs the command of a toolbar index, then enables the buttons that any click enables.
  void ToolbarClicked(int index);

 private:
  void BuildMenu();
  void BindEvents();

  MainWindowHandlers& handlers_;
  Toolbar& toolbar_;
  ShapeBox& dark_line_;
  ShapeBox& light_line_;
  GridControl& grid_;
  Label& head_count_;
  Label& credit_;
  ProgressBar& progress_;
  FileDialog open_dialog_;
  FileDialog save_dialog_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_MAIN_FORM_H_
