// The workbook reader as a shared module: liborcus and boost are loaded with it, when the first
// import of a workbook asks for it.
#include "platform/modules/module_entries.h"
#include "platform/xlsx/workbook_reader.h"

extern "C" __attribute__((visibility("default"))) sr::xlsx::WorkbookReader* SrWorkbookReader() {
  return &sr::xlsx::RealWorkbookReader();
}
