// salary-register: the program on the desktop. Picks the real seams and runs the start-up
// sequence; the process's current directory is the program directory.
#include "app/seams.h"
#include "app/shell/program.h"
#include "platform/fs/real_file_system.h"
#include "platform/modules/loaded_seams.h"
#include "platform/qt/ui/qt_backend.h"

int main(int argc, char** argv) {
  sr::fs::KeepNewFilesPrivate();  // the salaries are the user's alone, whoever writes them
  sr::qt::QtBackend ui(argc, argv);  // first: the printer seam needs the application object
  // Printing, export and import load their libraries when first used.
  sr::modules::LoadedPrintSeam printer;
  sr::modules::LoadedSheetAutomation spreadsheet;
  sr::modules::LoadedWorkbookReader workbooks;
  const sr::app::Seams seams{ui, sr::fs::RealFileSystem(), printer, spreadsheet, workbooks};
  return sr::app::RunProgram(seams);
}
