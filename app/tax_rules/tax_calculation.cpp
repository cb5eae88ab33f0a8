#include "app/tax_rules/tax_calculation.h"

#include <array>
#include <cmath>
#include <vector>

#include "app/register/amount_cells.h"
#include "app/register/stale_results.h"
#include "app/tax_rules/fen.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

// Whether each column's title carries the tax-exempt mark. The titles cannot change while the
// calculation runs, so one look per column gives what a look per row and column would.
using ExemptFlags = std::array<bool, kRegisterColumns>;

ExemptFlags ReadExemptFlags(const SalaryRegister& salary_register) {
  ExemptFlags flags{};
  for (int c = 0; c < kRegisterColumns; ++c) flags[c] = salary_register.IsExempt(c);
  return flags;
}

// The income tax counts as a deduction too: it stands right after the deduction items.
static_assert(kIncomeTaxColumn == kLastDeductionColumn + 1);

// Taxable income less the tax-exempt deductions.
double TaxableSum(const SalaryRegister& salary_register, int row, const ExemptFlags& exempt) {
  double sum = 0;
  for (int c = kFirstIncomeColumn; c <= kLastIncomeColumn; ++c) {
    if (!exempt[c]) sum = RoundToPlaces(sum + RoundToFen(salary_register.Amount(row, c)), 2);
  }
  for (int c = kFirstDeductionColumn; c <= kIncomeTaxColumn; ++c) {
    if (exempt[c]) sum = RoundToPlaces(sum - RoundToFen(salary_register.Amount(row, c)), 2);
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

// The row's tax and totals, as two passes over the register would leave them: the totals count
// the tax as its cell then holds it. False, with *problem, when an amount the row reads or a
// total is past the range of a double.
bool ComputeRow(const SalaryRegister& salary_register, int row, const ExemptFlags& exempt,
                const TaxBrackets& brackets, RowResult* result, Text* problem) {
  const int last_read = exempt[kIncomeTaxColumn] ? kIncomeTaxColumn : kLastDeductionColumn;
  if (!CheckAmounts(salary_register, row, kFirstIncomeColumn, kLastIncomeColumn, problem) ||
      !CheckAmounts(salary_register, row, kFirstDeductionColumn, last_read, problem)) {
    return false;
  }
  return ResultWithTax(salary_register, row,
                       IncomeTax(TaxableSum(salary_register, row, exempt), brackets), result,
                       problem);
}

}  // namespace

double TaxableSumOf(const SalaryRegister& salary_register, int row) {
  return TaxableSum(salary_register, row, ReadExemptFlags(salary_register));
}

bool ResultWithTax(const SalaryRegister& salary_register, int row, double tax, RowResult* result,
                   Text* problem) {
  result->gross = RoundedSumOf(salary_register, row, ColumnRole::kIncome, RoundToFen);
  result->deduction_items = RoundedSumOf(salary_register, row, ColumnRole::kDeduction, RoundToFen);
  return ChangeTax(salary_register, row, tax, result, problem);
}

bool ChangeTax(const SalaryRegister& salary_register, int row, double tax, RowResult* result,
               Text* problem) {
  result->tax = tax;
  const double tax_cell = ToNumber(ToText(result->tax));
  result->deductions = RoundToPlaces(result->deduction_items + tax_cell, 2);
  result->net = result->gross - result->deductions;
  for (double amount : {result->tax, result->gross, result->deductions, result->net}) {
    if (std::isfinite(amount)) continue;
    *problem = Concat({RowName(salary_register, row), "的税额或合计超出了程序能处理的范围"});
    return false;
  }
  return true;
}

bool ComputeRegister(const SalaryRegister& salary_register, const TaxBrackets& brackets,
                     ProgressDisplay& progress, std::vector<RowResult>* results, Text* problem) {
  const int rows = salary_register.RowCount();
  const ExemptFlags exempt = ReadExemptFlags(salary_register);
  progress.Rewind();
  progress.PlaceInMiddle();
  progress.Show();
  progress.Count(rows - 1, 0);
  // Every row is worked out before any is written, so that a row past the range leaves the
  // whole register as it was.
  results->assign(rows - 1, RowResult());
  for (int r = 1; r < rows; ++r) {
    if (!ComputeRow(salary_register, r, exempt, brackets, &(*results)[r - 1], problem)) {
      progress.Hide();
      return false;
    }
    progress.Step();
  }
  return true;
}

bool CalculateRegister(SalaryRegister& salary_register, const TaxBrackets& brackets,
                       ProgressDisplay& progress, Text* problem) {
  std::vector<RowResult> results;
  if (!ComputeRegister(salary_register, brackets, progress, &results, problem)) return false;
  WriteRegisterResults(salary_register, results, progress);
  return true;
}

void WriteRegisterResults(SalaryRegister& salary_register, const std::vector<RowResult>& results,
                          ProgressDisplay& progress) {
  const int rows = salary_register.RowCount();
  progress.Rewind();
  // Second pass: the gross pay, and the tax with the two totals beside it, each written as one
  // change of the register.
  std::vector<Text> gross;
  std::vector<Text> tax_and_totals;
  for (const RowResult& result : results) {
    gross.push_back(ToText(result.gross));
    tax_and_totals.push_back(ToText(result.tax));
    tax_and_totals.push_back(ToText(result.deductions));
    tax_and_totals.push_back(ToText(result.net));
    progress.Step();
  }
  static_assert(kTotalDeductionsColumn == kIncomeTaxColumn + 1 &&
                kNetPayColumn == kIncomeTaxColumn + 2);
  if (rows > 1) {
    salary_register.SetCellTexts({1, kGrossPayColumn, rows - 1, kGrossPayColumn}, std::move(gross));
    salary_register.SetCellTexts({1, kIncomeTaxColumn, rows - 1, kNetPayColumn},
                                 std::move(tax_and_totals));
  }
  progress.Hide();
}

}  // namespace sr::app
