#ifndef SALARY_APP_SHELL_PROGRAM_H_
#define SALARY_APP_SHELL_PROGRAM_H_

#include "app/seams.h"
#include "runtime/recdb/recdb.h"

namespace sr::app {

// The start-up sequence: creates the main window (its created event runs the start-up handler)
// and runs the message loop until the main window closes. Returns the program's exit code.
// The record databases are the process's own, started over the seams' file system, unless a test
// passes a table of its own.
int RunProgram(const Seams& seams, DatabaseTable* databases = nullptr);

}  // namespace sr::app

#endif  // SALARY_APP_SHELL_PROGRAM_H_
