#ifndef SALARY_PLATFORM_SHEET_XLSX_FILE_H_
#define SALARY_PLATFORM_SHEET_XLSX_FILE_H_

#include <string>

#include "platform/sheet/workbook.h"

namespace sr::sheet {

// Writes `book` as an .xlsx file at `path` (a native UTF-8 path): numbers as numbers, texts
// converted from GBK as strings. Returns false with `*error` (ASCII) when the file could not be
// written.
bool WriteXlsx(const Workbook& book, const std::string& path, std::string* error);

}  // namespace sr::sheet

#endif  // SALARY_PLATFORM_SHEET_XLSX_FILE_H_
