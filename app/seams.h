#ifndef SALARY_APP_SEAMS_H_
#define SALARY_APP_SEAMS_H_

#include "platform/automation/automation.h"
#include "platform/fs/file_system.h"
#include "platform/print/print_seam.h"
#include "platform/ui/backend.h"
#include "platform/xlsx/workbook_reader.h"

namespace sr::app {

// The platform seams that the program runs on: the real ones (Qt, Linux files, QPrinter, the
// spreadsheet object, the
// workbook reader) or the headless and recording ones of the tests.
struct Seams {
  ui::Backend& ui;
  fs::FileSystem& files;
  print::PrintSeam& print;
  automation::AutomationSeam& automation;
  xlsx::WorkbookReader& workbooks;
};

}  // namespace sr::app

#endif  // SALARY_APP_SEAMS_H_
