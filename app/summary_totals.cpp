#include "app/summary_totals.h"

#include "runtime/convert/conversions.h"

namespace sr::app {

SummaryTotals ComputeTotals(const Grid& register_grid) {
  SummaryTotals totals{};
  const int rows = register_grid.RowCount();
  for (int i = 0; i < kSummaryItems; ++i) {
    const int column = kFirstAmountColumn + i;
    if (column >= register_grid.ColumnCount()) break;
    double total = 0;
    for (int row = 1; row < rows; ++row) {
      total = RoundToPlaces(total + ToNumber(register_grid.CellText(row, column)), 2);
    }
    totals[i] = total;
  }
  return totals;
}

}  // namespace sr::app
