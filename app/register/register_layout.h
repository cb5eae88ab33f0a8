#ifndef SALARY_APP_REGISTER_REGISTER_LAYOUT_H_
#define SALARY_APP_REGISTER_REGISTER_LAYOUT_H_

#include <array>

#include "base/value.h"

// The columns of the salary register, as data in one place: what each of the 22 columns holds.
// Storage, the calculation, the summary, the export and the settings window ask this table
// instead of knowing column numbers. Register field f (1-based) of the file is column f - 1.
namespace sr::app {

enum class ColumnRole {
  kNumber,           // the person's number (编号), text
  kName,             // the person's name, text
  kIncome,           // an income salary item, entered by the user
  kGrossPay,         // written by the calculation
  kDeduction,        // a deduction salary item, entered by the user
  kIncomeTax,        // written by the calculation; also counted as a deduction
  kTotalDeductions,  // written by the calculation
  kNetPay,           // written by the calculation
  kRemark,           // free text
};

inline constexpr int kRegisterColumns = 22;

inline constexpr std::array<ColumnRole, kRegisterColumns> kRegisterLayout = {
    ColumnRole::kNumber,           // 0
    ColumnRole::kName,             // 1
    ColumnRole::kIncome,           // 2
    ColumnRole::kIncome,           // 3
    ColumnRole::kIncome,           // 4
    ColumnRole::kIncome,           // 5
    ColumnRole::kIncome,           // 6
    ColumnRole::kIncome,           // 7
    ColumnRole::kIncome,           // 8
    ColumnRole::kIncome,           // 9
    ColumnRole::kGrossPay,         // 10
    ColumnRole::kDeduction,        // 11
    ColumnRole::kDeduction,        // 12
    ColumnRole::kDeduction,        // 13
    ColumnRole::kDeduction,        // 14
    ColumnRole::kDeduction,        // 15
    ColumnRole::kDeduction,        // 16
    ColumnRole::kDeduction,        // 17
    ColumnRole::kIncomeTax,        // 18
    ColumnRole::kTotalDeductions,  // 19
    ColumnRole::kNetPay,           // 20
    ColumnRole::kRemark,           // 21
};

// The role of a column; REQUIRES: 0 <= column < kRegisterColumns.
constexpr ColumnRole RoleOf(int column) { return kRegisterLayout[column]; }

// The first and last column of a role (-1 when no column has it).
constexpr int FirstColumnOf(ColumnRole role) {
  for (int c = 0; c < kRegisterColumns; ++c) {
    if (kRegisterLayout[c] == role) return c;
  }
  return -1;
}
constexpr int LastColumnOf(ColumnRole role) {
  for (int c = kRegisterColumns - 1; c >= 0; --c) {
    if (kRegisterLayout[c] == role) return c;
  }
  return -1;
}

// Whether the columns of a role stand side by side, so that a loop from the first to the last
// visits them all and no other.
constexpr bool SideBySide(ColumnRole role) {
  for (int c = FirstColumnOf(role); c <= LastColumnOf(role); ++c) {
    if (kRegisterLayout[c] != role) return false;
  }
  return true;
}
static_assert(SideBySide(ColumnRole::kIncome) && SideBySide(ColumnRole::kDeduction));

inline constexpr int kNumberColumn = FirstColumnOf(ColumnRole::kNumber);
inline constexpr int kNameColumn = FirstColumnOf(ColumnRole::kName);
inline constexpr int kFirstIncomeColumn = FirstColumnOf(ColumnRole::kIncome);
inline constexpr int kLastIncomeColumn = LastColumnOf(ColumnRole::kIncome);
inline constexpr int kGrossPayColumn = FirstColumnOf(ColumnRole::kGrossPay);
inline constexpr int kFirstDeductionColumn = FirstColumnOf(ColumnRole::kDeduction);
inline constexpr int kLastDeductionColumn = LastColumnOf(ColumnRole::kDeduction);
inline constexpr int kIncomeTaxColumn = FirstColumnOf(ColumnRole::kIncomeTax);
inline constexpr int kTotalDeductionsColumn = FirstColumnOf(ColumnRole::kTotalDeductions);
inline constexpr int kNetPayColumn = FirstColumnOf(ColumnRole::kNetPay);
inline constexpr int kRemarkColumn = FirstColumnOf(ColumnRole::kRemark);

// Every column between the name and the remark holds an amount: stored as a number, shown as
// ToText of it.
inline constexpr int kFirstAmountColumn = kFirstIncomeColumn;
inline constexpr int kLastAmountColumn = kNetPayColumn;
constexpr bool IsAmountColumn(int column) {
  return column >= kFirstAmountColumn && column <= kLastAmountColumn;
}
// The text columns: number, name and remark.
constexpr bool IsTextColumn(int column) {
  return column >= 0 && column < kRegisterColumns && !IsAmountColumn(column);
}

// The salary items: the income and deduction columns, which the user names (and marks
// tax-exempt) in the settings window. Item k runs from 1 to kSalaryItems, incomes first.
inline constexpr int kIncomeItems = kLastIncomeColumn - kFirstIncomeColumn + 1;
inline constexpr int kSalaryItems = kIncomeItems + kLastDeductionColumn - kFirstDeductionColumn + 1;

// The column of item k (1 to kSalaryItems), or -1.
constexpr int ItemColumn(int item) {
  if (item < 1 || item > kSalaryItems) return -1;
  return item <= kIncomeItems ? kFirstIncomeColumn + item - 1
                              : kFirstDeductionColumn + item - kIncomeItems - 1;
}
// The item of a column, or 0 when the column holds no salary item.
constexpr int ItemOfColumn(int column) {
  if (column >= kFirstIncomeColumn && column <= kLastIncomeColumn) {
    return column - kFirstIncomeColumn + 1;
  }
  if (column >= kFirstDeductionColumn && column <= kLastDeductionColumn) {
    return kIncomeItems + column - kFirstDeductionColumn + 1;
  }
  return 0;
}

// The mark of a tax-exempt item inside its title ("奖金(免税)"): there is no flag apart from it.
// On an income it means the amount is not taxable; on a deduction (the income tax included)
// that it is deducted before tax.
inline constexpr char kTaxExemptMark[] = "(免税)";
bool IsTaxExempt(const Text& title);

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_REGISTER_LAYOUT_H_
