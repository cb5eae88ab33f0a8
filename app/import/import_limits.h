#ifndef SALARY_APP_IMPORT_IMPORT_LIMITS_H_
#define SALARY_APP_IMPORT_IMPORT_LIMITS_H_

#include "base/value.h"
#include "platform/xlsx/workbook_reader.h"

// How the import names a file beyond one of its bounds (xlsx::kMostFileBytes and the others),
// for workbooks and CSV files alike.
namespace sr::app {

// "第 3 行第 5 列": where a cell of the file is (row and column from 0), in the file's own
// numbering.
Text CellPlace(long row, long column);

// Why a file beyond a bound is refused, naming the bound and, where there is one, the cell
// (GBK); empty when the failure passes no bound.
Text LimitProblem(const xlsx::ReadFailure& failure);

// The refusal of a file larger than xlsx::kMostFileBytes.
Text FileTooLargeProblem();

}  // namespace sr::app

#endif  // SALARY_APP_IMPORT_IMPORT_LIMITS_H_
