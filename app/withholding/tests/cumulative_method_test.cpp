// The cumulative method on its own: the worked cases with figures worked out by hand, and a
// random cross-check, from the register's pay items on, against a plain implementation in whole
// fen that recomputes the year's sums from scratch every month.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "app/withholding/cumulative_method.h"
#include "app/withholding/register_month.h"
#include "app/withholding/tests/resident_table_support.h"

namespace sr::app::test {
namespace {

// Runs months first..last of 2026 with the same figures each month and returns each month's tax.
std::vector<double> RunYear(const MonthFigures& month, const EmploymentTerms& terms, int first = 1,
                            int last = 12) {
  const TaxBrackets table = LawResidentBrackets();
  CumulativeSums earlier;
  std::vector<double> taxes;
  for (int m = first; m <= last; ++m) {
    const CumulativeResult result = WithholdCumulatively(table, terms, 2026, m, earlier, month);
    taxes.push_back(result.tax);
    MonthFigures paid = month;
    paid.withheld = result.tax;
    earlier.Add(paid);
  }
  return taxes;
}

MonthFigures Month(double income, double special, double additional_education) {
  MonthFigures month;
  month.income = income;
  month.special = special;
  month.additional[1] = additional_education;
  return month;
}

TEST(CumulativeMethodTest, WorkedCasesOfAWholeYear) {
  const EmploymentTerms all_year{2020, 3, false};
  // 10000 - 1500 - 1000 - 5000 = 2500 a month; after 12 months 30000, still in the 3% bracket:
  // each month 2500 x 3% = 75.
  EXPECT_EQ(RunYear(Month(10000, 1500, 1000), all_year), std::vector<double>(12, 75));

  // 30000 - 4500 - 2000 - 5000 = 18500 a month.
  // January: 18500 x 3% = 555.
  // February: 37000 x 10% - 2520 = 1180; less 555 = 625.
  // March: 55500 x 10% - 2520 = 3030; less 1180 = 1850.
  const std::vector<double> taxes = RunYear(Month(30000, 4500, 2000), all_year, 1, 3);
  EXPECT_EQ(taxes, (std::vector<double>{555, 625, 1850}));
}

TEST(CumulativeMethodTest, HiredInJulyCountsTheBasicDeductionFromJuly) {
  // 12000 - 2000 special a month from July: the basic deduction counts July on, so each month
  // 12000 - 2000 - 5000 = 5000 taxable; July 150, August 10000 x 3% - 150 = 150, ...
  // December: 30000 x 3% = 900, less 750 = 150.
  const EmploymentTerms hired{2026, 7, false};
  EXPECT_EQ(RunYear(Month(12000, 2000, 0), hired, 7, 12), std::vector<double>(6, 150));
  EXPECT_EQ(BasicDeductionMonths(hired, 2026, 9), 3);
  EXPECT_EQ(BasicDeductionMonths({2025, 11, false}, 2026, 2), 2);  // hired last year: from January
  EXPECT_EQ(BasicDeductionMonths({2027, 1, false}, 2026, 12), 0);
}

TEST(CumulativeMethodTest, SixtyThousandRuleWithholdsNothingUpToSixtyThousand) {
  // 8000 a month, no deductions: income so far 8000 x m; the deduction is 60000 from January.
  // Months 1-7: 56000 at most, nothing. August: 64000 - 60000 = 4000 x 3% = 120.
  // September: 12000 x 3% = 360, less 120 = 240.
  const std::vector<double> taxes = RunYear(Month(8000, 0, 0), {2018, 1, true}, 1, 9);
  EXPECT_EQ(taxes, (std::vector<double>{0, 0, 0, 0, 0, 0, 0, 120, 240}));
}

TEST(CumulativeMethodTest, NegativeResultWithholdsNothingAndTheNextMonthCatchesUp) {
  const TaxBrackets table = LawResidentBrackets();
  const EmploymentTerms terms{2020, 1, false};
  // January 20000, nothing deducted: 15000 x 3% = 450.
  CumulativeSums earlier;
  MonthFigures january = Month(20000, 0, 0);
  CumulativeResult jan = WithholdCumulatively(table, terms, 2026, 1, earlier, january);
  EXPECT_EQ(jan.tax, 450);
  january.withheld = jan.tax;
  earlier.Add(january);
  // February with no pay: 20000 - 10000 = 10000 x 3% = 300, less 450 = -150: withhold 0.
  CumulativeResult feb = WithholdCumulatively(table, terms, 2026, 2, earlier, MonthFigures());
  EXPECT_EQ(feb.due, -150);
  EXPECT_EQ(feb.tax, 0);
  earlier.Add(MonthFigures());
  // March 20000: 40000 - 15000 = 25000 x 3% = 750, less 450 = 300.
  CumulativeResult mar = WithholdCumulatively(table, terms, 2026, 3, earlier, Month(20000, 0, 0));
  EXPECT_EQ(mar.tax, 300);
  EXPECT_EQ(mar.bracket, 1);
}

TEST(CumulativeMethodTest, BracketBoundariesReliefAndFen) {
  const TaxBrackets table = LawResidentBrackets();
  // Exactly at a lower bound: the upper bracket, which gives the same tax there.
  EXPECT_EQ(ChooseBracket(table, 36000), 2);
  EXPECT_EQ(ChooseBracket(table, 35999.99), 1);
  EXPECT_EQ(ChooseBracket(table, 0.5), 1);  // below the first stored bound: still 3%
  EXPECT_EQ(ChooseBracket(table, 2000000), 7);
  // 5000.50 + 1.17 over the deduction: 1.17 x 3% = 0.0351 -> 0.04; relief 0.01 -> 0.03.
  MonthFigures month;
  month.income = 5001.17;
  month.relief = 0.01;
  const CumulativeResult r =
      WithholdCumulatively(table, {2020, 1, false}, 2026, 1, CumulativeSums(), month);
  EXPECT_DOUBLE_EQ(r.taxable, 1.17);
  EXPECT_DOUBLE_EQ(r.tax_on_taxable, 0.04);
  EXPECT_DOUBLE_EQ(r.tax, 0.03);
  // Tax-exempt income and other deductions lower the taxable income too.
  month.exempt_income = 1;
  month.other = 0.17;
  EXPECT_EQ(WithholdCumulatively(table, {2020, 1, false}, 2026, 1, CumulativeSums(), month).tax, 0);
}

// --- Cross-check ---

// The law's figures in whole fen, kept apart from the table the engine reads.
struct FenBracket {
  int64_t above;  // fen
  int64_t rate;   // percent
  int64_t quick;  // fen
};
constexpr FenBracket kLaw[] = {{0, 3, 0},
                               {3600000, 10, 252000},
                               {14400000, 20, 1692000},
                               {30000000, 25, 3192000},
                               {42000000, 30, 5292000},
                               {66000000, 35, 8592000},
                               {96000000, 45, 18192000}};

struct FenMonth {
  int64_t income, exempt, special, additional, other, relief;  // income: exempt income included
};

// Half away from zero, for a non-negative numerator.
int64_t DivideRounded(int64_t numerator, int64_t denominator) {
  return (numerator + denominator / 2) / denominator;
}

// Each month's tax, the year so far summed afresh every month.
std::vector<int64_t> PlainYear(const std::vector<FenMonth>& months, int hire_month, bool sixty) {
  std::vector<int64_t> taxes(13, 0);
  for (int m = hire_month; m <= 12; ++m) {
    int64_t taxable = 0, relief = 0, withheld = 0;
    for (int i = hire_month; i <= m; ++i) {
      const FenMonth& f = months[i];
      taxable += f.income - f.exempt - f.special - f.additional - f.other;
      relief += f.relief;
      if (i < m) withheld += taxes[i];
    }
    taxable -= sixty ? 6000000 : 500000 * (m - hire_month + 1);
    int64_t tax = 0;
    if (taxable > 0) {
      const FenBracket* bracket = &kLaw[0];
      for (const FenBracket& b : kLaw) {
        if (taxable >= b.above) bracket = &b;
      }
      tax = DivideRounded(taxable * bracket->rate, 100) - bracket->quick;
    }
    taxes[m] = std::max<int64_t>(0, tax - relief - withheld);
  }
  return taxes;
}

// A row of pay items as the clerk keeps it: a taxable item and an exempt one, an exempt
// deduction (social insurance) and one that is not (a loan repaid), which the tax ignores.
class PayRow {
 public:
  PayRow() {
    salary_register_.SetTitle(kExemptIncome, "奖金(免税)");
    salary_register_.SetTitle(kSpecial, "养老保险(免税)");
    salary_register_.InsertRow(1);
    salary_register_.SetCellText(1, kNumberColumn, "1");
    salary_register_.SetCellText(1, kNameColumn, "某人");
  }

  MonthFigures Figures(const FenMonth& f, const Person& person, int64_t loan) {
    salary_register_.SetAmount(1, kFirstIncomeColumn, (f.income - f.exempt) / 100.0);
    salary_register_.SetAmount(1, kExemptIncome, f.exempt / 100.0);
    salary_register_.SetAmount(1, kSpecial, f.special / 100.0);
    salary_register_.SetAmount(1, kSpecial + 1, loan / 100.0);
    return RowFigures(salary_register_, 1, person);
  }

 private:
  static constexpr int kExemptIncome = kLastIncomeColumn;
  static constexpr int kSpecial = kFirstDeductionColumn;
  SalaryRegister salary_register_;
};

TEST(CumulativeMethodTest, AgreesWithAPlainYearToDateImplementation) {
  std::mt19937_64 random(20260101);
  auto fen = [&](int64_t most) { return static_cast<int64_t>(random() % (most + 1)); };
  const TaxBrackets table = LawResidentBrackets();
  PayRow row;
  int months_checked = 0;
  for (int person = 0; person < 1500; ++person) {
    // Mostly ordinary pay, some high earners, months without pay, hires during the year.
    const int64_t scale = person % 10 == 0 ? 20000000 : 3000000;
    const int hire_month = person % 4 == 0 ? static_cast<int>(1 + random() % 12) : 1;
    const bool sixty = person % 7 == 0;
    Person declared;
    declared.terms = {2026, hire_month, sixty};
    std::vector<FenMonth> months(13);
    for (int m = 1; m <= 12; ++m) {
      FenMonth& f = months[m];
      f.exempt = random() % 3 == 0 ? fen(50000) : 0;
      f.income = (random() % 8 == 0 ? 0 : fen(scale)) + f.exempt;
      f.special = fen(f.income / 8);
      f.additional = 100000 * static_cast<int64_t>(random() % 5);
      f.other = random() % 5 == 0 ? fen(20000) : 0;
      f.relief = random() % 20 == 0 ? fen(10000) : 0;
    }
    const std::vector<int64_t> expected = PlainYear(months, hire_month, sixty);
    CumulativeSums earlier;
    for (int m = hire_month; m <= 12; ++m) {
      const FenMonth& f = months[m];
      declared.additional = {};
      declared.additional[static_cast<size_t>(m % kAdditionalKinds)] = f.additional / 100.0;
      declared.other = f.other / 100.0;
      declared.relief = f.relief / 100.0;
      MonthFigures month = row.Figures(f, declared, fen(100000));
      const CumulativeResult result =
          WithholdCumulatively(table, declared.terms, 2026, m, earlier, month);
      ASSERT_EQ(static_cast<int64_t>(result.tax * 100 + (result.tax >= 0 ? 0.5 : -0.5)),
                expected[m])
          << "person " << person << " month " << m;
      ASSERT_DOUBLE_EQ(result.tax * 100, static_cast<double>(expected[m]))
          << "person " << person << " month " << m << ": not a whole fen";
      month.withheld = result.tax;
      earlier.Add(month);
      ++months_checked;
    }
  }
  EXPECT_GT(months_checked, 12000);
}

}  // namespace
}  // namespace sr::app::test
