// salary-register: the program on the desktop. Picks the real seams and runs the start-up
// sequence; the process's current directory is the program directory.
#include "app/seams.h"
#include "app/shell/program.h"
#include "platform/fs/real_file_system.h"
#include "platform/qt/print/qt_print_seam.h"
#include "platform/qt/ui/qt_backend.h"
#include "platform/sheet/sheet_automation.h"

int main(int argc, char** argv) {
  sr::qt::QtBackend ui(argc, argv);  // first: the printer seam needs the application object
  sr::qt::QtPrintSeam printer;
  sr::sheet::SheetAutomation spreadsheet;
  const sr::app::Seams seams{ui, sr::fs::RealFileSystem(), printer, spreadsheet,
                             sr::xlsx::RealWorkbookReader()};
  return sr::app::RunProgram(seams);
}
