#ifndef SALARY_APP_IMPORT_IMPORT_PLAN_H_
#define SALARY_APP_IMPORT_IMPORT_PLAN_H_

#include <vector>

#include "app/register/register_storage.h"
#include "app/register/salary_register.h"
#include "platform/xlsx/workbook_reader.h"

namespace sr::app {

// The most people a register holds.
inline constexpr int kMostPeople = 5000;
// The import reads no row past the title and these people.
static_assert(xlsx::kMostRows == kMostPeople + 1);

// What an import would bring into the register, worked out before anything changes.
struct ImportPlan {
  // For each column of the file: the register column its title matched, or -1 (an empty
  // column without a title, left out).
  std::vector<int> columns;
  std::vector<Text> file_titles;  // GBK
  // The rows that hold anything, as register rows (GBK), in the file's order.
  std::vector<RowTexts> rows;
  // The row of the file (from 1) that each of `rows` came from.
  std::vector<int> file_rows;
  // Empty when the file may be imported; otherwise why not, naming the row and column.
  Text problem;

  bool ok() const { return problem.empty(); }
};

// Matches the first row's titles to the register's titles (exactly first; then ignoring
// "(免税)" and spaces) and checks every cell: a text that GBK cannot hold, an amount that is not a
// number, a title that matches nothing (or an item that two columns match), a file without the
// number or name column, more than kMostPeople rows, a formula without its value, a text with a
// NUL and a text longer than `widths` gives its column (0: no bound) are refused, each naming
// the cell. A number cell keeps the digits the reader gave it; a text cell keeps its text, also
// in an amount column.
ImportPlan PlanImport(const xlsx::SheetRows& sheet, const SalaryRegister& salary_register,
                      const TextWidths& widths = {});

enum class ImportMode { kAppend, kReplace };

// The person rows the register holds after the import: for kAppend its rows up to the last one
// that holds anything, then the plan's; for kReplace the plan's alone; either filled with empty
// rows up to kMostPeople (or the register's present count, when larger). Returns false and sets
// *problem when the register would then hold more than kMostPeople people.
bool ImportedRows(const ImportPlan& plan, ImportMode mode, const SalaryRegister& salary_register,
                  std::vector<RowTexts>* rows, Text* problem);

// Whether a text reads as a number: an optional sign, digits with at most one decimal point, an
// optional exponent; spaces around it are allowed. "1,500" and "12元" are not.
bool IsNumberText(const Text& text);

}  // namespace sr::app

#endif  // SALARY_APP_IMPORT_IMPORT_PLAN_H_
