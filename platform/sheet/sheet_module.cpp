// The spreadsheet application seam as a shared module: libxlsxwriter and libcrypto are loaded
// with it, when the first export asks for it.
#include "platform/modules/module_entries.h"
#include "platform/sheet/sheet_automation.h"

extern "C" __attribute__((visibility("default"))) sr::automation::AutomationSeam*
SrNewSheetAutomation() {
  return new sr::sheet::SheetAutomation();
}
