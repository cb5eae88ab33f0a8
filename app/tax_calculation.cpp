#include "app/tax_calculation.h"

#include <array>
#include <cmath>
#include <vector>

#include "app/amount_cells.h"
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

// What the calculation writes into one row.
struct RowResult {
  double tax = 0;
  double gross = 0;
  double deductions = 0;
  double net = 0;
};

// The row's tax and totals, as two passes over the grid would leave them: the totals count the
// tax as its cell then holds it. False, with *problem, when an amount the row reads or a total
// is past the range of a double.
bool ComputeRow(const Grid& grid, int row, const ExemptFlags& exempt, const TaxBrackets& brackets,
                RowResult* result, Text* problem) {
  const int last_read = exempt[kIncomeTaxColumn] ? kIncomeTaxColumn : kIncomeTaxColumn - 1;
  if (!CheckAmounts(grid, row, kFirstIncomeColumn, kLastIncomeColumn, problem) ||
      !CheckAmounts(grid, row, kFirstDeductionColumn, last_read, problem)) {
    return false;
  }
  result->tax = IncomeTax(TaxableSum(grid, row, exempt), brackets);
  result->gross = SumColumns(grid, row, kFirstIncomeColumn, kLastIncomeColumn);
  const double tax_cell = ToNumber(ToText(result->tax));
  result->deductions = RoundToPlaces(
      SumColumns(grid, row, kFirstDeductionColumn, kIncomeTaxColumn - 1) + tax_cell, 2);
  result->net = result->gross - result->deductions;
  for (double amount : {result->tax, result->gross, result->deductions, result->net}) {
    if (std::isfinite(amount)) continue;
    *problem = Concat({RowName(grid, row), "的税额或合计超出了程序能处理的范围"});
    return false;
  }
  return true;
}

}  // namespace

bool IsTaxExempt(const Text& title) { return FindText(title, kTaxExemptMark, 1) != -1; }

bool CalculateRegister(Grid& grid, const TaxBrackets& brackets, ProgressDisplay& progress,
                       Text* problem) {
  if (grid.ColumnCount() <= kNetPayColumn) return true;
  const int rows = grid.RowCount();
  const ExemptFlags exempt = ReadExemptFlags(grid);
  progress.Rewind();
  progress.PlaceInMiddle();
  progress.Show();
  progress.Count(rows - 1, 0);
  // First pass: every row is worked out before any is written, so that a row past the range
  // leaves the whole register as it was.
  std::vector<RowResult> results(rows > 1 ? rows - 1 : 0);
  for (int r = 1; r < rows; ++r) {
    if (!ComputeRow(grid, r, exempt, brackets, &results[r - 1], problem)) {
      progress.Hide();
      return false;
    }
    progress.Step();
  }
  progress.Rewind();
  // Second pass: the tax and the totals go into their cells.
  for (int r = 1; r < rows; ++r) {
    const RowResult& result = results[r - 1];
    WriteAmount(grid, r, kIncomeTaxColumn, result.tax);
    WriteAmount(grid, r, kGrossPayColumn, result.gross);
    WriteAmount(grid, r, kTotalDeductionsColumn, result.deductions);
    WriteAmount(grid, r, kNetPayColumn, result.net);
    progress.Step();
  }
  progress.Hide();
  return true;
}

}  // namespace sr::app
