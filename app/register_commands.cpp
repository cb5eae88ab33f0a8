#include "app/register_commands.h"

#include "forms/grid/grid.h"

namespace sr::app {

namespace {
const char kNewTitle[] = "新建";
constexpr int kRegisterRows = 5001;  // the title row and 5000 people
constexpr int kRegisterColumns = 22;
constexpr int kCentre = 2;
}  // namespace

void RegisterCommands::StartUp() {
  ProgramState& state = app_.state;
  state.untitled = 1;
  // Nothing is restored from an earlier run: the program directory is where it was started.
  Text directory;
  if (app_.seams.files.GetCurrentDirectory(&directory) == fs::kOk) {
    state.program_directory = directory;
  }
  app_.form.open_dialog().SetInitialDirectory(state.program_directory);
  app_.form.save_dialog().SetInitialDirectory(state.program_directory);
  New();
}

void RegisterCommands::New() {
  app_.state.untitled = 1;
  LayOutNewRegister();
  app_.form.menu().SetDisabled(forms::kMenuSave, false);
  app_.grid().SetEditable(true);
  app_.form.SetCaption(kNewTitle);
}

void RegisterCommands::LayOutNewRegister() {
  Grid& grid = app_.grid();
  grid.Reset();
  grid.SetRowCount(kRegisterRows);
  grid.SetColumnWidth(0, 50);
  grid.SetColumnWidth(kRegisterColumns - 1, 200);
  grid.SetAlignment(0, 0, 0, kRegisterColumns - 1, kCentre);
  grid.SetAlignment(0, 0, grid.RowCount() - 1, 1, kCentre);
}

void RegisterCommands::Open() {}

void RegisterCommands::Save() {}

void RegisterCommands::SaveAs() {}

void RegisterCommands::Exit() { app_.framework.Close(app_.form); }

void RegisterCommands::PromptToSave() {}

void RegisterCommands::UpdateHeadCount() {}

}  // namespace sr::app
