#include "app/main_window.h"

#include "forms/grid/grid.h"
#include "platform/ui/keys.h"

namespace sr::app {

MainWindow::MainWindow(forms::Framework& framework, const Seams& seams, DatabaseTable& databases,
                       ProgramState& state)
    : form_(*this),
      context_{framework, seams, databases, state, form_},
      register_(context_),
      editing_(context_, register_),
      tax_(context_),
      summary_(context_),
      export_(context_) {}

void MainWindow::StoreEditInProgress() {
  Grid& grid = form_.grid();
  if (!grid.Editing()) return;
  const int row = grid.EditorRow();
  const int column = grid.EditorColumn();
  const Text before = grid.CellText(row, column);
  grid.EndEdit();
  if (grid.CellExists(row, column) && grid.CellText(row, column) != before) {
    context_.state.modified = 1;
  }
}

void MainWindow::OnGridEditBegins() {
  form_.menu().SetDisabled(forms::kMenuSave, false);
  context_.state.modified = 1;
}

void MainWindow::OnGridKeyDown(int key, int modifiers) {
  if (key == ui::kVkDelete) context_.state.modified = 1;
}

}  // namespace sr::app
