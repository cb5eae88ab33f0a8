#ifndef SALARY_APP_APP_CONTEXT_H_
#define SALARY_APP_APP_CONTEXT_H_

#include "app/program_state.h"
#include "app/register/salary_register.h"
#include "app/register/stale_results.h"
#include "app/register/undo_history.h"
#include "app/seams.h"
#include "forms/framework.h"
#include "forms/main_form.h"
#include "runtime/recdb/recdb.h"

namespace sr::app {

// What every command of the register reaches: the framework, the seams, the record databases,
// the process-wide state, the main window and the salary register it shows. Commands read and
// change the register through the model; the grid is its view.
struct AppContext {
  forms::Framework& framework;
  const Seams& seams;
  DatabaseTable& databases;
  ProgramState& state;
  forms::MainForm& form;
  SalaryRegister& salary_register;
  // The undo steps of the register; null where a test runs one room without the main window.
  UndoHistory* history;
  // Whether the results on screen are those of the register's amounts; null as above.
  const StaleResults* stale_results = nullptr;

  // What a printout adds to its heading while the results are stale: the user chose to print
  // them without calculating first.
  Text StaleResultsNote() const {
    return stale_results != nullptr && stale_results->Stale() ? "（金额改动后未重新计算）" : "";
  }

  Grid& grid() { return form.grid(); }
};

}  // namespace sr::app

#endif  // SALARY_APP_APP_CONTEXT_H_
