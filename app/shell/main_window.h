#ifndef SALARY_APP_SHELL_MAIN_WINDOW_H_
#define SALARY_APP_SHELL_MAIN_WINDOW_H_

#include "app/app_context.h"
#include "app/export/export_command.h"
#include "app/import/import_command.h"
#include "app/people/people_window.h"
#include "app/program_state.h"
#include "app/register/backup_window.h"
#include "app/register/editing_commands.h"
#include "app/register/register_commands.h"
#include "app/register/register_grid_binding.h"
#include "app/register/salary_register.h"
#include "app/register/undo_history.h"
#include "app/seams.h"
#include "app/settings/settings_window.h"
#include "app/summary/summary_command.h"
#include "app/tax/tax_commands.h"
#include "app/withholding/withholding_commands.h"
#include "forms/framework.h"
#include "forms/main_form.h"
#include "runtime/recdb/recdb.h"

namespace sr::app {

// The main window's handlers: each event and command goes to the room that owns it.
class MainWindow : public forms::MainWindowHandlers {
 public:
  MainWindow(forms::Framework& framework, const Seams& seams, DatabaseTable& databases,
             ProgramState& state);

  forms::MainForm& form() { return form_; }
  SalaryRegister& salary_register() { return register_model_; }
  const RegisterGridBinding& binding() const { return binding_; }
  UndoHistory& history() { return history_; }
  WithholdingCommands& withholding() { return withholding_; }

  void OnCreated() override {
    AsOneAction([this] { register_.StartUp(); });
  }
  bool OnCloseQuery() override {
    if (!register_.MayClose()) {
      ShowResultsState();  // a save on the way gave the title anew
      return false;
    }
    withholding_.OfferRecalculation(false);
    return true;
  }

  void OnNew() override {
    AsOneAction([this] { register_.New(); });
  }
  void OnOpen() override {
    AsOneAction([this] { register_.Open(); });
  }
  void OnSave() override {
    StoreEditInProgress();
    if (!ResultsMayGoOut()) return;
    register_.Save();
    AsOneAction([this] { withholding_.OfferRecalculation(true); });
  }
  void OnSaveAs() override {
    StoreEditInProgress();
    if (!ResultsMayGoOut()) return;
    register_.SaveAs();
    AsOneAction([this] { withholding_.OfferRecalculation(true); });
  }
  void OnExit() override { register_.Exit(); }
  void OnModify() override { editing_.Modify(); }
  void OnDeleteRow() override {
    AfterStoringEdit([this] { editing_.DeleteRow(); });
  }
  void OnInsertBlankRow() override {
    AfterStoringEdit([this] { editing_.InsertBlankRow(); });
  }
  void OnFind() override {
    AfterStoringEdit([this] { editing_.Find(); });
  }
  void OnCopy() override {
    AfterStoringEdit([this] { editing_.Copy(); });
  }
  void OnPaste() override {
    AfterStoringEdit([this] { editing_.Paste(); });
  }
  void OnSort() override {
    AfterStoringEdit([this] { editing_.Sort(); });
  }
  void OnCalculate() override {
    AfterStoringEdit([this] { Calculate(); });
  }
  void OnSummary() override {
    AfterStoringEdit([this] { Summary(); }, kResultsGoOut);
  }
  void OnExport() override {
    AfterStoringEdit([this] { export_.Run(); }, kResultsGoOut);
  }
  void OnTaxRate() override { tax_.ShowTaxRateWindow(); }
  void OnSettings() override {
    AsOneAction([this] { SettingsWindow(context_).Show(); });
  }
  void OnResidentTaxRate() override { tax_.ShowResidentTaxRateWindow(); }
  void OnImportTakeOver() override { withholding_.ImportTakeOver(); }
  void OnWithholdingList() override {
    AfterStoringEdit([this] { withholding_.ShowWithholdingList(); });
  }
  void OnWhyTax() override {
    AfterStoringEdit([this] { withholding_.ExplainCursorRow(); });
  }
  void OnPeople() override {
    AfterStoringEdit([this] { PeopleWindow(context_, withholding_.PeoplePath()).Show(); });
  }

  void OnPrintouts() override;
  void OnPrintChosenPayslips() override;
  void OnUndo() override { TakeStep(&UndoHistory::Undo); }
  void OnRedo() override { TakeStep(&UndoHistory::Redo); }
  void OnImport() override {
    AfterStoringEdit([this] { import_.Run(); });
  }
  void OnBackups() override {
    AfterStoringEdit([this] { ShowBackupWindow(context_, register_); });
  }

  void OnGridEditBegins() override;
  void OnGridTypingRefused() override;
  void OnGridKeyDown(int key, int modifiers) override;
  void OnGridCellsEdited(const CellRange& range) override;

 private:
  // Commands that read the register grid first close the cell editor and store its text, as
  // Save does, whatever route started them (menu, toolbar, shortcut key, shortcut menu); a
  // changed cell marks the register modified.
  void StoreEditInProgress();
  // The register grid was (or is about to be) edited: the changes are unsaved.
  void MarkEdited();
  // Undoes or redoes one step (what is being typed is a step first), puts the cursor where it
  // changed the register, and lets the modified flag follow: back at the saved point the
  // register holds no unsaved change.
  void TakeStep(std::optional<RegisterRange> (UndoHistory::*step)());
  // Undo and redo are enabled while there is a step to take.
  void ShowStepsAvailable();
  // Runs a command whose changes of the register are one step for the user.
  template <typename Command>
  void AsOneAction(Command command) {
    {
      RegisterAction action(register_model_);
      command();
    }
    ShowResultsState();  // New and Open give the title anew
  }
  // The same for a command that reads the register: an open cell editor is stored first,
  // outside the step, so what was typed is a step of its own. A command that hands the results
  // on (printing, export, save) first asks about stale ones.
  static constexpr bool kResultsGoOut = true;
  template <typename Command>
  void AfterStoringEdit(Command command, bool results_go_out = false) {
    StoreEditInProgress();
    if (!results_go_out || ResultsMayGoOut()) AsOneAction(command);
  }
  // 计算 and 汇总, each after the question about amount cells that are not numbers; after 计算
  // the results are watched for amounts that change.
  void Calculate();
  void Summary();
  // Shows whether the results are stale, in the result columns' titles and the window's title.
  void ShowResultsState();
  // True when the results fit the amounts, or the user chose to go on with stale ones; 是
  // calculates first (false when the calculation did not make them fit), 取消 stops.
  bool ResultsMayGoOut();

  forms::MainForm form_;
  SalaryRegister register_model_;
  RegisterGridBinding binding_;
  UndoHistory history_;
  StaleResults stale_results_;
  AppContext context_;
  RegisterCommands register_;
  EditingCommands editing_;
  TaxCommands tax_;
  WithholdingCommands withholding_;
  SummaryCommand summary_;
  ExportCommand export_;
  ImportCommand import_;
};

}  // namespace sr::app

#endif  // SALARY_APP_SHELL_MAIN_WINDOW_H_
