#include "app/tax_calculation.h"

#include <array>

#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

constexpr int kCellText = 1;
constexpr int kColumns = kNetPayColumn + 1;

// Whether each column's title carries the tax-exempt mark. The titles cannot change while the
// calculation runs, so one look per column gives what a look per row and column would.
using ExemptFlags = std::array<bool, kColumns>;

ExemptFlags ReadExemptFlags(const Grid& grid) {
  ExemptFlags flags{};
  for (int c = kFirstIncomeColumn; c <= kIncomeTaxColumn; ++c) {
    flags[c] = IsTaxExempt(grid.CellText(0, c));
  }
  return flags;
}

double Amount(const Grid& grid, int row, int column) {
  return ToNumber(grid.CellText(row, column));
}

void WriteAmount(Grid& grid, int row, int column, double amount) {
  grid.SetCellValue(row, column, kCellText, Value::FromText(ToText(amount)));
}

// Taxable income less the tax-exempt deductions.
double TaxableSum(const Grid& grid, int row, const ExemptFlags& exempt) {
  double sum = 0;
  for (int c = kFirstIncomeColumn; c <= kLastIncomeColumn; ++c) {
    if (!exempt[c]) sum = RoundToPlaces(sum + Amount(grid, row, c), 2);
  }
  for (int c = kFirstDeductionColumn; c <= kIncomeTaxColumn; ++c) {
    if (exempt[c]) sum = RoundToPlaces(sum - Amount(grid, row, c), 2);
  }
  return sum;
}

double IncomeTax(double taxable_sum, const TaxBrackets& brackets) {
  int rate = 0;
  int quick = 0;
  LookUpBracket(brackets, taxable_sum, &rate, &quick);
  const double over = taxable_sum - brackets.threshold;
  if (over <= kAmountTolerance) return 0;
  return RoundToPlaces(over * rate / 100 - quick, 2);
}

double SumColumns(const Grid& grid, int row, int first, int last) {
  double sum = 0;
  for (int c = first; c <= last; ++c) sum = RoundToPlaces(sum + Amount(grid, row, c), 2);
  return sum;
}

}  // namespace

bool IsTaxExempt(const Text& title) { return FindText(title, kTaxExemptMark, 1) != -1; }

void CalculateRegister(Grid& grid, const TaxBrackets& brackets, ProgressDisplay& progress) {
  if (grid.ColumnCount() <= kNetPayColumn) return;
  const int rows = grid.RowCount();
  const ExemptFlags exempt = ReadExemptFlags(grid);
  progress.Rewind();
  progress.PlaceInMiddle();
  progress.Show();
  progress.Count(rows - 1, 0);
  // First pass: the tax. The provisional totals that this pass would leave in columns 19 and 20
  // are overwritten by the second pass before anybody sees them, so they are not written.
  for (int r = 1; r < rows; ++r) {
    WriteAmount(grid, r, kIncomeTaxColumn, IncomeTax(TaxableSum(grid, r, exempt), brackets));
    progress.Step();
  }
  progress.Rewind();
  // Second pass: the totals, with the new tax among the deductions.
  for (int r = 1; r < rows; ++r) {
    const double gross = SumColumns(grid, r, kFirstIncomeColumn, kLastIncomeColumn);
    WriteAmount(grid, r, kGrossPayColumn, gross);
    const double deductions = SumColumns(grid, r, kFirstDeductionColumn, kIncomeTaxColumn);
    WriteAmount(grid, r, kTotalDeductionsColumn, deductions);
    WriteAmount(grid, r, kNetPayColumn, gross - deductions);
    progress.Step();
  }
  progress.Hide();
}

}  // namespace sr::app
