#include "app/summary/summary_totals.h"

#include <cmath>

#include "app/register/amount_cells.h"
#include "runtime/convert/conversions.h"

namespace sr::app {

bool ComputeTotals(const SalaryRegister& salary_register, SummaryTotals* totals, Text* problem) {
  *totals = {};
  const int rows = salary_register.RowCount();
  for (int i = 0; i < kSummaryItems; ++i) {
    const int column = kFirstAmountColumn + i;
    double total = 0;
    for (int row = 1; row < rows; ++row) {
      double amount;
      if (!ReadAmount(salary_register.CellText(row, column), &amount)) {
        *problem = AmountOutOfRange(salary_register, row, column);
        return false;
      }
      total = RoundToPlaces(total + amount, 2);
      if (std::isfinite(total)) continue;
      *problem = Concat({ColumnName(salary_register, column), "的合计加到",
                         RowName(salary_register, row), "时超出了程序能处理的范围"});
      return false;
    }
    (*totals)[i] = total;
  }
  return true;
}

}  // namespace sr::app
