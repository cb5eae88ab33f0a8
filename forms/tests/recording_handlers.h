#ifndef SALARY_FORMS_TESTS_RECORDING_HANDLERS_H_
#define SALARY_FORMS_TESTS_RECORDING_HANDLERS_H_

#include <string>
#include <vector>

#include "forms/main_form.h"

namespace sr::forms {

// Main window handlers that only note which ran, in order.
class RecordingHandlers : public MainWindowHandlers {
 public:
  std::vector<std::string> calls;
  bool may_close = true;

  void OnCreated() override { calls.push_back("Created"); }
  bool OnCloseQuery() override {
    calls.push_back("CloseQuery");
    return may_close;
  }
  void OnNew() override { calls.push_back("New"); }
  void OnOpen() override { calls.push_back("Open"); }
  void OnSave() override { calls.push_back("Save"); }
  void OnSaveAs() override { calls.push_back("SaveAs"); }
  void OnExit() override { calls.push_back("Exit"); }
  void OnModify() override { calls.push_back("Modify"); }
  void OnDeleteRow() override { calls.push_back("DeleteRow"); }
  void OnInsertBlankRow() override { calls.push_back("InsertBlankRow"); }
  void OnFind() override { calls.push_back("Find"); }
  void OnCopy() override { calls.push_back("Copy"); }
  void OnPaste() override { calls.push_back("Paste"); }
  void OnSort() override { calls.push_back("Sort"); }
  void OnCalculate() override { calls.push_back("Calculate"); }
  void OnSummary() override { calls.push_back("Summary"); }
  void OnExport() override { calls.push_back("Export"); }
  void OnTaxRate() override { calls.push_back("TaxRate"); }
  void OnSettings() override { calls.push_back("Settings"); }
  void OnPrintouts() override { calls.push_back("Printouts"); }
  void OnPrintChosenPayslips() override { calls.push_back("PrintChosenPayslips"); }
  void OnResidentTaxRate() override { calls.push_back("ResidentTaxRate"); }
  void OnPeople() override { calls.push_back("People"); }
  void OnWhyTax() override { calls.push_back("WhyTax"); }
  void OnImportTakeOver() override { calls.push_back("ImportTakeOver"); }
  void OnWithholdingList() override { calls.push_back("WithholdingList"); }
  void OnUndo() override { calls.push_back("Undo"); }
  void OnRedo() override { calls.push_back("Redo"); }
  void OnImport() override { calls.push_back("Import"); }
  void OnBackups() override { calls.push_back("Backups"); }
  void OnGridEditBegins() override { calls.push_back("GridEditBegins"); }
  void OnGridTypingRefused() override { calls.push_back("GridTypingRefused"); }
  void OnGridCellsEdited(const CellRange&) override { calls.push_back("GridCellsEdited"); }
  void OnGridKeyDown(int key, int modifiers) override {
    calls.push_back("GridKeyDown " + std::to_string(key) + " " + std::to_string(modifiers));
  }
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_TESTS_RECORDING_HANDLERS_H_
