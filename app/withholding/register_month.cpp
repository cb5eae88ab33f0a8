#include "app/withholding/register_month.h"

#include <map>

#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

double SumOfItems(const SalaryRegister& salary_register, int row, int first, int last,
                  bool exempt) {
  double sum = 0;
  for (int c = first; c <= last; ++c) {
    if (salary_register.IsExempt(c) == exempt) {
      sum = RoundToPlaces(sum + salary_register.Amount(row, c), 2);
    }
  }
  return sum;
}

LedgerEntry EntryOf(const SalaryRegister& salary_register, int row, const Person& person,
                    const MonthSetting& setting, const CumulativeSums& earlier) {
  LedgerEntry entry;
  entry.year = setting.year;
  entry.month = setting.month;
  entry.number = person.number;
  entry.name = salary_register.Name(row);
  entry.id_number = person.id_number;
  entry.figures = RowFigures(salary_register, row, person);
  entry.result = WithholdCumulatively(*setting.table, person.terms, setting.year, setting.month,
                                      earlier, entry.figures);
  entry.figures.withheld = entry.result.tax;
  entry.basic = RoundToPlaces(
      entry.result.basic -
          CumulativeBasic(*setting.table, person.terms, setting.year, setting.month - 1),
      2);
  entry.source = setting.source;
  return entry;
}

}  // namespace

Text PersonKey(const Text& number) { return TrimSpaces(number); }

MonthFigures RowFigures(const SalaryRegister& salary_register, int row, const Person& person) {
  MonthFigures figures;
  figures.income =
      SumOfItems(salary_register, row, kFirstIncomeColumn, kLastIncomeColumn, /*exempt=*/false);
  figures.exempt_income =
      SumOfItems(salary_register, row, kFirstIncomeColumn, kLastIncomeColumn, /*exempt=*/true);
  figures.special = SumOfItems(salary_register, row, kFirstDeductionColumn, kLastDeductionColumn,
                               /*exempt=*/true);
  figures.additional = person.additional;
  figures.other = person.other;
  figures.relief = person.relief;
  return figures;
}

MonthOutcome WorkOutMonth(const SalaryRegister& salary_register, const MonthSetting& setting) {
  MonthOutcome outcome;
  std::map<Text, int> row_of_number;
  for (int r = 1; r < salary_register.RowCount(); ++r) {
    if (!salary_register.IsPerson(r)) continue;
    const Text key = PersonKey(salary_register.Number(r));
    auto [it, fresh] = row_of_number.emplace(key, r);
    if (!fresh) {
      outcome.duplicates.push_back(Concat({"编号 ", key, " 在第 ", ToText(it->second),
                                           " 行和第 ", ToText(r), " 行重复"}));
    }
  }
  if (!outcome.duplicates.empty()) return outcome;
  const auto& earlier = *setting.earlier;
  for (const auto& [key, row] : row_of_number) {
    auto person = setting.people->find(key);
    if (person == setting.people->end()) {
      outcome.missing.push_back(Concat({key, " ", salary_register.Name(row)}));
      continue;
    }
    if (!person->second.resident) continue;
    auto sums = earlier.find(key);
    outcome.resident_rows.push_back(row);
    outcome.entries.push_back(EntryOf(salary_register, row, person->second, setting,
                                      sums == earlier.end() ? CumulativeSums() : sums->second));
  }
  return outcome;
}

}  // namespace sr::app
