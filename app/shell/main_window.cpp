#include "app/shell/main_window.h"

#include <algorithm>

#include "app/printouts/printout_settings.h"
#include "app/printouts/printouts_window.h"
#include "app/tax_rules/tax_table.h"
#include "app/withholding/ledger.h"
#include "app/withholding/people_file.h"
#include "forms/grid/grid.h"
#include "platform/ui/keys.h"

namespace sr::app {

MainWindow::MainWindow(forms::Framework& framework, const Seams& seams, DatabaseTable& databases,
                       ProgramState& state)
    : form_(*this),
      binding_(register_model_, form_.grid()),
      history_(register_model_),
      context_{framework, seams, databases, state, form_, register_model_, &history_},
      register_(context_),
      editing_(context_, register_),
      tax_(context_),
      withholding_(context_, &register_),
      summary_(context_),
      export_(context_),
      import_(context_, register_) {
  history_.SetOnStepsChanged([this] { ShowStepsAvailable(); });
  register_.SetFileListener(&withholding_);
  state.own_files = {{kRelayFileName, "新建工资表所用的中转文件"},
                     {kScratchFileName, "排序所用的临时文件"},
                     {kTaxTableFileName, "程序所用的税率表"},
                     {kResidentTaxTable.file_name, "程序所用的居民预扣率表"},
                     {kPeopleFileName, "程序所用的人员信息文件"},
                     {kLedgerFileNames, "程序所用的扣缴台账"},
                     {kPrintoutSettingsFile, "程序所用的打印设置文件"}};
}

void MainWindow::TakeStep(std::optional<RegisterRange> (UndoHistory::*step)()) {
  StoreEditInProgress();
  const std::optional<RegisterRange> where = (history_.*step)();
  if (!where) return;
  context_.state.modified = history_.AtSavedPoint() ? 0 : 1;
  register_.UpdateHeadCount();
  Grid& grid = form_.grid();
  const int column = grid.GetCursorColumn() < 0 ? where->first_column : grid.GetCursorColumn();
  grid.SetCursor(std::min(where->first_row, grid.RowCount() - 1),
                 where->columns() == kRegisterColumns ? column : where->first_column);
}

void MainWindow::ShowStepsAvailable() {
  form_.menu().SetDisabled(forms::kMenuUndo, !history_.CanUndo());
  form_.menu().SetDisabled(forms::kMenuRedo, !history_.CanRedo());
}

void MainWindow::StoreEditInProgress() {
  // A text that changed reaches OnGridCellsEdited, which marks the register modified.
  form_.grid().EndEdit();
}

void MainWindow::OnPrintouts() {
  AfterStoringEdit([this] { PrintoutsWindow(context_, {}).Show(); });
}

void MainWindow::OnPrintChosenPayslips() {
  AfterStoringEdit([this] {
    std::vector<int> rows = ChosenRows(form_.grid());
    if (rows.empty()) {
      context_.framework.ShowMessage("请先在表格中选定要打印工资条的人员所在的行。", "打印工资条",
                                     ui::MessageButtons::kOk, ui::MessageIcon::kInformation);
      return;
    }
    PrintoutsWindow(context_, std::move(rows)).Show();
  });
}

void MainWindow::OnGridEditBegins() { MarkEdited(); }

void MainWindow::OnGridKeyDown(int key, int modifiers) {
  if (key == ui::kVkDelete) context_.state.modified = 1;
}

// Typing, paste and cut by any route (menu, shortcut menu, Ctrl+V, Shift+Insert, Ctrl+X) and the
// Delete key: a change that Exit must not drop without a question.
void MainWindow::OnGridCellsEdited(const CellRange& range) {
  binding_.TakeGridEdits(range);
  MarkEdited();
}

void MainWindow::MarkEdited() {
  form_.menu().SetDisabled(forms::kMenuSave, false);
  context_.state.modified = 1;
}

}  // namespace sr::app
