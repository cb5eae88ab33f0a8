// The print seam as a shared module: Qt's print support is loaded with it, when the first
// printout asks for it.
#include "platform/modules/module_entries.h"
#include "platform/qt/print/qt_print_seam.h"

extern "C" __attribute__((visibility("default"))) sr::print::PrintSeam* SrNewQtPrintSeam() {
  return new sr::qt::QtPrintSeam();
}
