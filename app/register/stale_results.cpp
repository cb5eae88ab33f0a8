#include "app/register/stale_results.h"

#include <cmath>

#include "runtime/convert/conversions.h"

namespace sr::app {

namespace {

constexpr int kResultColumns[] = {kGrossPayColumn, kIncomeTaxColumn, kTotalDeductionsColumn,
                                  kNetPayColumn};

// A result cell holds ToText of what the calculation worked out; read back, it may differ from
// the sum by the last digit that ToText keeps.
bool Shows(const SalaryRegister& salary_register, int row, int column, double amount) {
  return std::fabs(salary_register.Amount(row, column) - amount) < 0.005;
}

}  // namespace

double RoundedSumOf(const SalaryRegister& salary_register, int row, ColumnRole role,
                    AmountRounding round_amount) {
  double sum = 0;
  for (int c = FirstColumnOf(role); c <= LastColumnOf(role); ++c) {
    sum = RoundToPlaces(sum + round_amount(salary_register.Amount(row, c)), 2);
  }
  return sum;
}

bool ResultsAddUp(const SalaryRegister& salary_register, int row, AmountRounding round_amount) {
  if (!salary_register.HasNumberOrName(row)) return true;
  bool calculated = false;
  for (int column : kResultColumns) calculated |= !salary_register.CellText(row, column).empty();
  if (!calculated) return true;
  const double gross = RoundedSumOf(salary_register, row, ColumnRole::kIncome, round_amount);
  const double deductions =
      RoundToPlaces(RoundedSumOf(salary_register, row, ColumnRole::kDeduction, round_amount) +
                        salary_register.Amount(row, kIncomeTaxColumn),
                    2);
  return Shows(salary_register, row, kGrossPayColumn, gross) &&
         Shows(salary_register, row, kTotalDeductionsColumn, deductions) &&
         Shows(salary_register, row, kNetPayColumn, gross - deductions);
}

StaleResults::StaleResults(SalaryRegister& salary_register, AmountRounding round_amount)
    : register_(salary_register), round_amount_(round_amount) {
  register_.AddListener(this);
  CheckAll();
}

StaleResults::~StaleResults() { register_.RemoveListener(this); }

void StaleResults::RegisterChanged(const RegisterChange& change) {
  const bool was_stale = Stale();
  if (change.kind == RegisterChange::Kind::kCells) {
    CheckRows(change.range.first_row, change.range.last_row);
  } else if (change.kind != RegisterChange::Kind::kTitles) {
    if (change.kind == RegisterChange::Kind::kRowsReplaced) watching_ = false;
    CheckAll();
  }
  if (Stale() != was_stale && on_changed_) on_changed_();
}

void StaleResults::CalculationEnded() {
  if (stale_rows_ == 0) watching_ = true;
}

void StaleResults::CheckRows(int first, int last) {
  for (int row = first; row <= last; ++row) {
    const char stale = ResultsAddUp(register_, row, round_amount_) ? 0 : 1;
    stale_rows_ += stale - stale_[row - 1];
    stale_[row - 1] = stale;
  }
}

void StaleResults::CheckAll() {
  stale_.assign(register_.RowCount() - 1, 0);
  stale_rows_ = 0;
  CheckRows(1, register_.RowCount() - 1);
}

}  // namespace sr::app
