#ifndef SALARY_PLATFORM_MODULES_MODULE_ENTRIES_H_
#define SALARY_PLATFORM_MODULES_MODULE_ENTRIES_H_

// The entry functions of the program's shared modules. The libraries behind export, import and
// printing (libxlsxwriter with libcrypto, liborcus with boost, Qt's print support) cost start-up
// time and memory in every run, though most runs never use them; each sits in a module of its own
// that the loaded seams (loaded_seams.h) load on first use. Each module defines one function.

namespace sr::automation {
class AutomationSeam;
}
namespace sr::print {
class PrintSeam;
}
namespace sr::xlsx {
class WorkbookReader;
}

extern "C" {
// libsr_sheet_module.so: a new spreadsheet application seam (platform/sheet); the caller owns it.
sr::automation::AutomationSeam* SrNewSheetAutomation();
// libsr_xlsx_module.so: the workbook reader (platform/xlsx), alive until the process ends.
sr::xlsx::WorkbookReader* SrWorkbookReader();
// libsr_print_module.so: a new print seam over QPrinter (platform/qt/print); the caller owns it.
// REQUIRES: the Qt application object exists.
sr::print::PrintSeam* SrNewQtPrintSeam();
}

#endif  // SALARY_PLATFORM_MODULES_MODULE_ENTRIES_H_
