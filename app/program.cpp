#include "app/program.h"

#include "app/main_window.h"
#include "app/program_state.h"
#include "forms/framework.h"

namespace sr::app {

int RunProgram(ui::Backend& backend, fs::FileSystem& file_system) {
  ProgramState state;
  forms::Framework framework(backend);
  MainWindow main_window(framework, file_system, state);
  framework.LoadMain(main_window.form());
  return framework.RunMainLoop();
}

}  // namespace sr::app
