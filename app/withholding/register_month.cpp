#include "app/withholding/register_month.h"

#include <algorithm>
#include <map>

#include "app/tax_rules/fen.h"
#include "app/withholding/pay_month.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

// Which columns are marked tax-exempt, read from the titles once for every row.
std::vector<bool> ExemptColumns(const SalaryRegister& salary_register) {
  std::vector<bool> exempt(kLastDeductionColumn + 1);
  for (int c = 0; c <= kLastDeductionColumn; ++c) exempt[c] = salary_register.IsExempt(c);
  return exempt;
}

// The sum of the items in columns first..last; with `only_exempt`, of those marked tax-exempt.
double SumOfItems(const SalaryRegister& salary_register, int row, int first, int last,
                  const std::vector<bool>& exempt_columns, bool only_exempt) {
  double sum = 0;
  for (int c = first; c <= last; ++c) {
    if (!only_exempt || exempt_columns[c]) {
      sum = RoundToPlaces(sum + RoundToFen(salary_register.Amount(row, c)), 2);
    }
  }
  return sum;
}

MonthFigures FiguresOfRow(const SalaryRegister& salary_register, int row, const Person& person,
                          const std::vector<bool>& exempt) {
  MonthFigures figures;
  // The month's income is every income item, tax-exempt ones included; those are subtracted
  // once, as tax-exempt income, on the way to the taxable income.
  figures.income = SumOfItems(salary_register, row, kFirstIncomeColumn, kLastIncomeColumn,
                              exempt, /*only_exempt=*/false);
  figures.exempt_income = SumOfItems(salary_register, row, kFirstIncomeColumn,
                                     kLastIncomeColumn, exempt, /*only_exempt=*/true);
  figures.special = SumOfItems(salary_register, row, kFirstDeductionColumn,
                               kLastDeductionColumn, exempt, /*only_exempt=*/true);
  figures.additional = person.additional;
  figures.other = person.other;
  figures.relief = person.relief;
  return figures;
}

// `sums` with the other registers' records of the month added.
CumulativeSums WithThisMonth(CumulativeSums sums, const CumulativeSums& this_month) {
  MonthFigures as_month;
  as_month.income = this_month.income;
  as_month.exempt_income = this_month.exempt_income;
  as_month.special = this_month.special;
  as_month.additional[0] = this_month.additional;
  as_month.other = this_month.other;
  as_month.relief = this_month.relief;
  as_month.withheld = this_month.withheld;
  sums.Add(as_month);
  return sums;
}

// A record of the month with whose it is, by which method, from which register.
LedgerEntry EntryHead(const SalaryRegister& salary_register, int row, const Person& person,
                      const MonthSetting& setting, const char* method) {
  LedgerEntry entry;
  entry.year = setting.year;
  entry.month = setting.month;
  entry.number = person.number;
  entry.name = salary_register.Name(row);
  entry.id_number = person.id_number;
  entry.id_type = person.id_type;
  entry.method = method;
  entry.source = setting.source;
  return entry;
}

LedgerEntry EntryOf(const SalaryRegister& salary_register, int row, const Person& person,
                    const MonthSetting& setting, CumulativeSums earlier,
                    const CumulativeSums* this_month, const std::vector<bool>& exempt) {
  LedgerEntry entry = EntryHead(salary_register, row, person, setting, kCumulativeMethod);
  entry.figures = FiguresOfRow(salary_register, row, person, exempt);
  if (this_month != nullptr) {
    earlier = WithThisMonth(earlier, *this_month);
    const bool declared_there = this_month->additional > kAmountTolerance ||
                                this_month->other > kAmountTolerance ||
                                this_month->relief > kAmountTolerance;
    if (declared_there) {
      entry.figures.additional = {};
      entry.figures.other = 0;
      entry.figures.relief = 0;
    }
  }
  entry.result = WithholdCumulatively(*setting.table, person.terms, setting.year, setting.month,
                                      earlier, entry.figures);
  entry.figures.withheld = entry.result.tax;
  entry.basic = RoundToPlaces(
      entry.result.basic -
          CumulativeBasic(*setting.table, person.terms, setting.year, setting.month - 1),
      2);
  return entry;
}

// A non-resident's record of the month: the pay items' figures (no declared deductions); the
// tax and the monthly table's deduction are the monthly calculation's (SetMonthlyTax).
LedgerEntry MonthlyEntryOf(const SalaryRegister& salary_register, int row, const Person& person,
                           const MonthSetting& setting, const std::vector<bool>& exempt) {
  LedgerEntry entry = EntryHead(salary_register, row, person, setting, kMonthlyMethod);
  entry.figures = FiguresOfRow(salary_register, row, Person(), exempt);
  return entry;
}

}  // namespace

Text PersonKey(const Text& number) { return TrimSpaces(number); }

void SetMonthlyTax(LedgerEntry* entry, double tax, const TaxBrackets& monthly) {
  entry->figures.withheld = tax;
  entry->result.tax = tax;
  entry->basic = monthly.threshold;
}

MonthFigures RowFigures(const SalaryRegister& salary_register, int row, const Person& person) {
  return FiguresOfRow(salary_register, row, person, ExemptColumns(salary_register));
}

MonthOutcome WorkOutMonth(const SalaryRegister& salary_register, const MonthSetting& setting) {
  MonthOutcome outcome;
  // Every person's row by number, in number order (then row order for a number twice).
  std::vector<std::pair<Text, int>> rows;
  for (int r = 1; r < salary_register.RowCount(); ++r) {
    if (salary_register.IsPerson(r)) rows.emplace_back(PersonKey(salary_register.Number(r)), r);
  }
  // A register is usually kept in number order already.
  if (!std::is_sorted(rows.begin(), rows.end())) std::sort(rows.begin(), rows.end());
  std::vector<std::pair<int, Text>> repeated;  // by the later row
  for (size_t i = 1, first = 0; i < rows.size(); ++i) {
    if (rows[i].first != rows[first].first) {
      first = i;
      continue;
    }
    repeated.emplace_back(rows[i].second, Concat({"编号 ", rows[i].first, " 在第 ",
                                                  ToText(rows[first].second), " 行和第 ",
                                                  ToText(rows[i].second), " 行重复"}));
  }
  if (!repeated.empty()) {
    std::sort(repeated.begin(), repeated.end());
    for (auto& [row, text] : repeated) outcome.duplicates.push_back(std::move(text));
    return outcome;
  }
  const auto& earlier = *setting.earlier;
  const std::vector<bool> exempt = ExemptColumns(salary_register);
  // Both in number order: the people are walked alongside.
  auto person = setting.people->begin();
  for (const auto& [key, row] : rows) {
    while (person != setting.people->end() && person->first < key) ++person;
    if (person == setting.people->end() || person->first != key) {
      outcome.missing.push_back(Concat({key, " ", salary_register.Name(row)}));
      continue;
    }
    if (!person->second.resident) {
      outcome.monthly_rows.push_back(row);
      outcome.monthly_entries.push_back(MonthlyEntryOf(salary_register, row, person->second,
                                                       setting, exempt));
      continue;
    }
    const EmploymentTerms& terms = person->second.terms;
    if (terms.hire_year * 100 + terms.hire_month > setting.year * 100 + setting.month) {
      outcome.hired_later.push_back(Concat({key, " ", salary_register.Name(row), "：入职年月 ",
                                            PayMonthText({terms.hire_year, terms.hire_month})}));
      continue;
    }
    auto sums = earlier.find(key);
    const CumulativeSums* this_month = nullptr;
    if (setting.this_month != nullptr) {
      auto there = setting.this_month->find(key);
      if (there != setting.this_month->end()) {
        this_month = &there->second;
        outcome.in_other_registers.push_back(Concat({key, " ", salary_register.Name(row)}));
      }
    }
    outcome.resident_rows.push_back(row);
    outcome.entries.push_back(EntryOf(salary_register, row, person->second, setting,
                                      sums == earlier.end() ? CumulativeSums() : sums->second,
                                      this_month, exempt));
  }
  return outcome;
}

}  // namespace sr::app
