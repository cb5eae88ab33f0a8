#include "app/summary_totals.h"

#include <cmath>

#include "app/amount_cells.h"
#include "runtime/convert/conversions.h"

namespace sr::app {

bool ComputeTotals(const Grid& register_grid, SummaryTotals* totals, Text* problem) {
  *totals = {};
  const int rows = register_grid.RowCount();
  for (int i = 0; i < kSummaryItems; ++i) {
    const int column = kFirstAmountColumn + i;
    if (column >= register_grid.ColumnCount()) break;
    double total = 0;
    for (int row = 1; row < rows; ++row) {
      double amount;
      if (!ReadAmount(register_grid.CellText(row, column), &amount)) {
        *problem = AmountOutOfRange(register_grid, row, column);
        return false;
      }
      total = RoundToPlaces(total + amount, 2);
      if (std::isfinite(total)) continue;
      *problem = Concat({ColumnName(register_grid, column), "的合计加到",
                         RowName(register_grid, row), "时超出了程序能处理的范围"});
      return false;
    }
    (*totals)[i] = total;
  }
  return true;
}

}  // namespace sr::app
