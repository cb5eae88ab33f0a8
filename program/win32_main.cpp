// salary-register.exe: the program on Windows. Picks the Windows seams and runs the start-up
// sequence; the process's current directory is the program directory.
#include "app/seams.h"
#include "app/shell/program.h"
#include "platform/fs/real_file_system.h"
#include "platform/win32/automation/com_automation.h"
#include "platform/win32/print/gdi_print_seam.h"
#include "platform/win32/ui/win32_backend.h"
#include "platform/xlsx/workbook_reader.h"

int main() {
  sr::fs::KeepNewFilesPrivate();
  sr::win32::Win32Backend ui;
  sr::win32::ComAutomation spreadsheet;  // initialises COM on this, the user-interface, thread
  sr::win32::GdiPrintSeam printer;
  const sr::app::Seams seams{ui, sr::fs::RealFileSystem(), printer, spreadsheet,
                             sr::xlsx::RealWorkbookReader()};
  return sr::app::RunProgram(seams);
}
