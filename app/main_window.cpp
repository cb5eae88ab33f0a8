#include "app/main_window.h"

#include "forms/grid/grid.h"
#include "platform/ui/keys.h"

namespace sr::app {

namespace {
const char kNewTitle[] = "新建";
constexpr int kRegisterRows = 5001;  // the title row and 5000 people
constexpr int kRegisterColumns = 22;
constexpr int kCentre = 2;
}  // namespace

MainWindow::MainWindow(forms::Framework& framework, fs::FileSystem& file_system,
                       ProgramState& state)
    : framework_(framework), file_system_(file_system), state_(state), form_(*this) {}

void MainWindow::OnCreated() {
  state_.untitled = 1;
  // Nothing is restored from an earlier run: the program directory is where it was started.
  Text directory;
  if (file_system_.GetCurrentDirectory(&directory) == fs::kOk) state_.program_directory = directory;
  form_.open_dialog().SetInitialDirectory(state_.program_directory);
  form_.save_dialog().SetInitialDirectory(state_.program_directory);
  OnNew();
}

void MainWindow::OnCloseQuery() { OnExit(); }

void MainWindow::OnNew() {
  state_.untitled = 1;
  LayOutNewRegister();
  form_.menu().SetDisabled(forms::kMenuSave, false);
  form_.grid().SetEditable(true);
  form_.SetCaption(kNewTitle);
}

void MainWindow::LayOutNewRegister() {
  Grid& grid = form_.grid();
  grid.Reset();
  grid.SetRowCount(kRegisterRows);
  grid.SetColumnWidth(0, 50);
  grid.SetColumnWidth(kRegisterColumns - 1, 200);
  grid.SetAlignment(0, 0, 0, kRegisterColumns - 1, kCentre);
  grid.SetAlignment(0, 0, grid.RowCount() - 1, 1, kCentre);
}

void MainWindow::OnExit() { framework_.Close(form_); }

void MainWindow::OnCopy() { form_.grid().CopySelection(); }

void MainWindow::OnPaste() { form_.grid().Paste(); }

void MainWindow::OnGridEditBegins() {
  form_.menu().SetDisabled(forms::kMenuSave, false);
  state_.modified = 1;
}

void MainWindow::OnGridKeyDown(int key, int modifiers) {
  if (key == ui::kVkDelete) state_.modified = 1;
}

}  // namespace sr::app
