#include "app/withholding/cumulative_method.h"

#include <algorithm>
#include <cmath>

#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

// A year's sums add up many months of zero deductions: those need no rounding (which gives +0
// for a zero as well).
double Plus(double sum, double amount) {
  const double total = sum + amount;
  return total == 0 ? 0 : RoundToPlaces(total, 2);
}

// rate percent of an amount in fen, to the fen, half away from zero. Worked in whole fen: in
// doubles a product that ends in exactly half a fen can land a hair below it and round down.
double PercentOf(double amount, int rate) {
  const long long fen = std::llround(amount * 100);
  const long long product = fen * rate;
  const long long half = product >= 0 ? 50 : -50;
  return static_cast<double>((product + half) / 100) / 100;
}

}  // namespace

double MonthFigures::AdditionalTotal() const {
  double total = 0;
  for (double amount : additional) total = Plus(total, amount);
  return total;
}

void CumulativeSums::Add(const MonthFigures& month) {
  income = Plus(income, month.income);
  exempt_income = Plus(exempt_income, month.exempt_income);
  special = Plus(special, month.special);
  additional = Plus(additional, month.AdditionalTotal());
  other = Plus(other, month.other);
  relief = Plus(relief, month.relief);
  withheld = Plus(withheld, month.withheld);
}

int BasicDeductionMonths(const EmploymentTerms& terms, int year, int month) {
  int first = 1;
  if (terms.hire_year > year) return 0;
  if (terms.hire_year == year) first = std::clamp(terms.hire_month, 1, 13);
  return std::max(0, month - first + 1);
}

double CumulativeBasic(const TaxBrackets& table, const EmploymentTerms& terms, int year,
                       int month) {
  if (month < 1) return 0;
  if (terms.sixty_thousand_rule) return kSixtyThousandDeduction;
  return RoundToPlaces(static_cast<double>(table.threshold) * BasicDeductionMonths(terms, year, month),
                       2);
}

int ChooseBracket(const TaxBrackets& table, double taxable) {
  for (int k = kTaxRecords; k >= 1; --k) {
    const double lower = table.lower[k - 1];
    if (lower > kAmountTolerance && taxable - lower >= -kAmountTolerance) return k;
  }
  return 1;
}

CumulativeResult WithholdCumulatively(const TaxBrackets& table, const EmploymentTerms& terms,
                                      int year, int month, const CumulativeSums& earlier,
                                      const MonthFigures& current) {
  CumulativeResult result;
  result.withheld_before = earlier.withheld;
  result.sums = earlier;
  MonthFigures this_month = current;
  this_month.withheld = 0;
  result.sums.Add(this_month);
  result.sums.withheld = earlier.withheld;

  if (!terms.sixty_thousand_rule) {
    result.basic_months = BasicDeductionMonths(terms, year, month);
    result.first_month = month - result.basic_months + 1;
  }
  result.basic = CumulativeBasic(table, terms, year, month);
  const CumulativeSums& s = result.sums;
  double taxable = s.income;
  for (double less : {s.exempt_income, result.basic, s.special, s.additional, s.other}) {
    taxable = RoundToPlaces(taxable - less, 2);
  }
  result.taxable = taxable;
  if (taxable > kAmountTolerance) {
    result.bracket = ChooseBracket(table, taxable);
    result.rate = table.rate[result.bracket - 1];
    result.quick = table.quick[result.bracket - 1];
    result.tax_on_taxable = RoundToPlaces(PercentOf(taxable, result.rate) - result.quick, 2);
  }
  result.due = RoundToPlaces(RoundToPlaces(result.tax_on_taxable - s.relief, 2) - earlier.withheld, 2);
  // No refund at withholding: the annual reconciliation settles what was withheld too much.
  result.tax = result.due > kAmountTolerance ? result.due : 0;
  return result;
}

}  // namespace sr::app
