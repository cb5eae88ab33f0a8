#include "app/shell/program.h"

#include "app/program_state.h"
#include "app/shell/main_window.h"
#include "forms/framework.h"
#include "runtime/recdb/process_databases.h"

namespace sr::app {

int RunProgram(const Seams& seams, DatabaseTable* databases) {
  ProgramState state;
  forms::Framework framework(seams.ui);
  DatabaseTable& table = databases != nullptr ? *databases : StartProcessDatabases(seams.files);
  MainWindow main_window(framework, seams, table, state);
  framework.LoadMain(main_window.form());
  const int code = framework.RunMainLoop();
  table.CloseAllDatabases();
  return code;
}

}  // namespace sr::app
