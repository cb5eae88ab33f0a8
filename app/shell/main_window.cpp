#include "app/shell/main_window.h"

#include "app/printouts/printouts_window.h"
#include "forms/grid/grid.h"
#include "platform/ui/keys.h"

namespace sr::app {

MainWindow::MainWindow(forms::Framework& framework, const Seams& seams, DatabaseTable& databases,
                       ProgramState& state)
    : form_(*this),
      binding_(register_model_, form_.grid()),
      context_{framework, seams, databases, state, form_, register_model_},
      register_(context_),
      editing_(context_, register_),
      tax_(context_),
      withholding_(context_, tax_),
      summary_(context_),
      export_(context_) {}

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
