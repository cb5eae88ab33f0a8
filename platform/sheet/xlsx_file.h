#ifndef SALARY_PLATFORM_SHEET_XLSX_FILE_H_
#define SALARY_PLATFORM_SHEET_XLSX_FILE_H_

#include <string>

#include "platform/sheet/workbook.h"

namespace sr::sheet {

// Writes `book` as an .xlsx file at `path` (a native UTF-8 path): numbers as numbers, texts
// converted from GBK as strings. Returns false with `*error` (ASCII) when the file could not be
// written.
bool WriteXlsx(const Workbook& book, const std::string& path, std::string* error);

// Writes `book` into `folder` under a new name ("工资表-导出1.xlsx", "工资表-导出2.xlsx", ...),
// never over an existing file. Returns the native path, or the empty string with `*error`.
std::string SaveWorkbookInto(const Workbook& book, const std::string& folder, std::string* error);

}  // namespace sr::sheet

#endif  // SALARY_PLATFORM_SHEET_XLSX_FILE_H_
