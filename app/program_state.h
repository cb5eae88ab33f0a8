#ifndef SALARY_APP_PROGRAM_STATE_H_
#define SALARY_APP_PROGRAM_STATE_H_

#include <vector>

#include "app/own_files.h"
#include "base/value.h"

namespace sr::app {

// The process-wide state of the salary register: one instance, from start-up to exit.
struct ProgramState {
  // 1 when the register grid may hold changes that are not in the register file.
  int modified = 0;
  // 1 when the next Save must ask for a file name and create the register file first.
  int untitled = 1;
  // The current directory when the main window was created; side files live there.
  Text program_directory;
  // Full path of the register file chosen in the last Open or Save dialog.
  Text register_path;
  // The files the program keeps for itself in the program directory, which Save As and Sort
  // never write a register over (the main window names them).
  std::vector<OwnFile> own_files;
};

}  // namespace sr::app

#endif  // SALARY_APP_PROGRAM_STATE_H_
