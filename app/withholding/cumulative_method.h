#ifndef SALARY_APP_WITHHOLDING_CUMULATIVE_METHOD_H_
#define SALARY_APP_WITHHOLDING_CUMULATIVE_METHOD_H_

#include <array>

#include "app/tax_rules/tax_table.h"

// Withholding on a resident employee's wages by the cumulative method: each month the tax is
// worked out on the year's figures so far, and what the earlier months of the year withheld is
// subtracted. Pure functions over amounts; the ledger supplies the earlier months.
//
// The table is the resident table in the tax rate table's layout: the threshold holds the
// monthly basic deduction, and the brackets are bounds on the year's taxable income so far.
namespace sr::app {

// The kinds of special additional deduction a person declares, in the order the people file,
// the ledger and the reports keep them.
inline constexpr int kAdditionalKinds = 7;
inline constexpr std::array<const char*, kAdditionalKinds> kAdditionalKindNames = {
    "婴幼儿照护", "子女教育", "继续教育", "住房贷款利息", "住房租金", "赡养老人", "个人养老金"};

// One month of one person at this employer. Every amount in yuan, to the fen.
struct MonthFigures {
  double income = 0;              // every income item, tax-exempt ones included
  double exempt_income = 0;       // income items marked tax-exempt (part of income)
  double special = 0;             // deductions marked tax-exempt: social insurance, housing fund
  std::array<double, kAdditionalKinds> additional{};  // special additional deductions
  double other = 0;               // other deductions
  double relief = 0;              // tax relief
  double withheld = 0;            // tax withheld that month (for earlier months)

  // The special additional deductions of the month, summed to the fen.
  double AdditionalTotal() const;
};

// The sums over months of the year, each addition rounded to the fen.
struct CumulativeSums {
  double income = 0;
  double exempt_income = 0;
  double special = 0;
  double additional = 0;
  double other = 0;
  double relief = 0;
  double withheld = 0;

  // Adds one month's figures (its withheld tax included).
  void Add(const MonthFigures& month);

  bool operator==(const CumulativeSums&) const = default;
};

// What decides a person's basic deduction.
struct EmploymentTerms {
  int hire_year = 0;   // the year and month of hire; before the pay year counts as January
  int hire_month = 1;
  // Employed here all of the previous year with wages of at most 60,000: the year's basic
  // deduction is 60,000 from January on.
  bool sixty_thousand_rule = false;
};

inline constexpr double kSixtyThousandDeduction = 60000;

// The month's calculation written out: every figure the explanation and the ledger show.
struct CumulativeResult {
  int first_month = 1;      // the first month the basic deduction counts
  int basic_months = 0;     // months it counts (0 under the sixty-thousand rule)
  CumulativeSums sums;      // months of the year up to and including the pay month, before tax
  double basic = 0;         // cumulative basic deduction
  double taxable = 0;       // cumulative taxable income (may be negative)
  int bracket = 0;          // 1-based bracket chosen; 0 when the taxable income is not positive
  int rate = 0;             // percent
  double quick = 0;         // quick deduction
  double tax_on_taxable = 0;  // taxable x rate - quick (0 when nothing is taxable)
  double withheld_before = 0;  // tax withheld in the earlier months of the year
  double due = 0;           // tax_on_taxable - relief - withheld_before, possibly negative
  double tax = 0;           // withheld this month: due, or 0 when due is negative
};

// The months of `year` from the month of hire (January when hired before the year) up to and
// including `month`; 0 when hired after it.
int BasicDeductionMonths(const EmploymentTerms& terms, int year, int month);

// The cumulative basic deduction up to and including `month` (0 for month 0): the table's
// monthly deduction for each month counted, or 60,000 under the sixty-thousand rule.
double CumulativeBasic(const TaxBrackets& table, const EmploymentTerms& terms, int year, int month);

// The bracket (1-based) for a positive cumulative taxable income: the highest in use (lower bound
// positive) whose lower bound is not above it, within the amount tolerance. Below every positive
// lower bound the first bracket applies, since the table starts at nothing taxable.
int ChooseBracket(const TaxBrackets& table, double taxable);

// The month's withholding for pay month `month` (1 to 12) of `year`: `earlier` holds the sums of
// the earlier months of the year at this employer (withheld tax included), `current` the pay
// month's figures.
CumulativeResult WithholdCumulatively(const TaxBrackets& table, const EmploymentTerms& terms,
                                      int year, int month, const CumulativeSums& earlier,
                                      const MonthFigures& current);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_CUMULATIVE_METHOD_H_
