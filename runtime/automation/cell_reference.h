#ifndef SALARY_RUNTIME_AUTOMATION_CELL_REFERENCE_H_
#define SALARY_RUNTIME_AUTOMATION_CELL_REFERENCE_H_

#include "base/value.h"

namespace sr {

// The spreadsheet's name of a 1-based column: 1 to 26 "a" to "z", 27 to 52 "aa" to "az", 53 to
// 74 "ba" to "bv"; any other number the empty text (the register has 22 columns).
Text ColumnLetter(int number);

// "a1", "v5001": the column letter followed by the 1-based row number.
Text CellReference(int column, int row);

}  // namespace sr

#endif  // SALARY_RUNTIME_AUTOMATION_CELL_REFERENCE_H_
