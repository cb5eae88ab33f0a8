#ifndef SALARY_APP_WITHHOLDING_REGISTER_MONTH_H_
#define SALARY_APP_WITHHOLDING_REGISTER_MONTH_H_

#include <vector>

#include "app/register/salary_register.h"
#include "app/withholding/ledger.h"
#include "app/withholding/people_file.h"

// One pay month of a register by the cumulative method: which rows it covers, what each of them
// withholds, and the ledger records it leaves. Pure: reads the register, writes nothing.
namespace sr::app {

// The pay items of a register row as the month's figures of a person: every income item is
// income, those marked tax-exempt are also tax-exempt income (subtracted once), deduction items
// marked tax-exempt are the special deductions; the declared deductions and relief come from
// the people file.
MonthFigures RowFigures(const SalaryRegister& salary_register, int row, const Person& person);

// What the month is worked out from.
struct MonthSetting {
  int year = 0;
  int month = 0;
  Text source;                       // the register's path, noted in the ledger records
  const TaxBrackets* table = nullptr;              // the resident table
  const PeopleByNumber* people = nullptr;
  // Each person's earlier months of the year in the ledger, as SumsBefore gives them.
  const std::unordered_map<Text, CumulativeSums>* earlier = nullptr;
  // Each person's records of this month from other registers (SumsOfOtherRegisters): taken as
  // already paid and withheld this month. The declared deductions and relief count once a
  // month: a register's record carries them unless another register's record of the month does.
  // Null: none.
  const std::unordered_map<Text, CumulativeSums>* this_month = nullptr;
};

struct MonthOutcome {
  std::vector<Text> duplicates;   // "编号 1001 在第 2 行和第 5 行重复" for each repeated number
  std::vector<Text> missing;      // "1003 王五" for each person row not in the people file
  // "1001 张三：入职年月 2026-07" for each resident hired after the pay month
  std::vector<Text> hired_later;
  // "1001 张三" for each resident who has records of this month from another register
  std::vector<Text> in_other_registers;
  std::vector<int> resident_rows;         // rows withheld by the cumulative method
  std::vector<LedgerEntry> entries;       // their records for the ledger, in the same order
  // The rows of non-residents in the people file, withheld by the monthly table, and their
  // records for the ledger without the tax: SetMonthlyTax fills it in.
  std::vector<int> monthly_rows;
  std::vector<LedgerEntry> monthly_entries;
};

// The rows of residents in the people file are worked out by the cumulative method on top of
// the ledger's earlier months of the year; every other row is left to the monthly table. A
// resident hired after the pay month is not worked out but named in `hired_later`.
// REQUIRES: the setting's pointers are set.
MonthOutcome WorkOutMonth(const SalaryRegister& salary_register, const MonthSetting& setting);

// A non-resident's record with the tax that the monthly table gave and its monthly deduction.
void SetMonthlyTax(LedgerEntry* entry, double tax, const TaxBrackets& monthly);

// The number as the people file and the ledger key it: without surrounding spaces.
Text PersonKey(const Text& number);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_REGISTER_MONTH_H_
