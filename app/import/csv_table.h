#ifndef SALARY_APP_IMPORT_CSV_TABLE_H_
#define SALARY_APP_IMPORT_CSV_TABLE_H_

#include <string>
#include <string_view>

#include "base/value.h"
#include "platform/xlsx/workbook_reader.h"

namespace sr::app {

// Reads a CSV file's bytes (comma-separated, fields in double quotes may hold commas, quotes
// doubled and line breaks; lines end in LF or CR LF) into rows of text cells in UTF-8. The text
// is UTF-8 (with or without a byte order mark) when it is valid UTF-8, otherwise GBK. Returns
// false, and sets *error (GBK), when it is neither or when a field that holds anything passes
// one of the import's bounds (xlsx::kMostRows, kMostColumns, kMostCellBytes).
bool ReadCsv(std::string_view bytes, xlsx::SheetRows* rows, Text* error);

}  // namespace sr::app

#endif  // SALARY_APP_IMPORT_CSV_TABLE_H_
