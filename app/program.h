#ifndef SALARY_APP_PROGRAM_H_
#define SALARY_APP_PROGRAM_H_

#include "platform/fs/file_system.h"
#include "platform/ui/backend.h"

namespace sr::app {

// The start-up sequence: creates the main window (its created event runs the start-up handler)
// and runs the message loop until the main window closes. Returns the program's exit code.
int RunProgram(ui::Backend& backend, fs::FileSystem& file_system);

}  // namespace sr::app

#endif  // SALARY_APP_PROGRAM_H_
