#ifndef SALARY_APP_PRINTOUTS_TESTS_PRINTOUT_TEST_REGISTER_H_
#define SALARY_APP_PRINTOUTS_TESTS_PRINTOUT_TEST_REGISTER_H_

#include <string>

#include "app/register/salary_register.h"
#include "base/gbk.h"

namespace sr::app::testing {

// A register of `people` people as a clerk would keep it: every title set, four incomes, three
// deductions and the computed columns filled, "津贴" and "其他扣款" empty or 0 for everyone, and
// a remark for the third person only.
inline void FillPrintoutRegister(SalaryRegister& salary_register, int people) {
  const char8_t* titles[kRegisterColumns] = {
      u8"编号",       u8"姓名",     u8"基本工资",   u8"岗位工资", u8"绩效工资", u8"加班费",
      u8"津贴",       u8"交通补贴", u8"奖金(免税)", u8"其他收入", u8"应发合计", u8"养老保险",
      u8"医疗保险",   u8"失业保险", u8"住房公积金", u8"工会会费", u8"其他扣款", u8"代扣款",
      u8"个人所得税", u8"扣款合计", u8"实发工资",   u8"备注"};
  for (int c = 0; c < kRegisterColumns; ++c) {
    salary_register.SetTitle(c, FromUtf8(reinterpret_cast<const char*>(titles[c])));
  }
  if (salary_register.RowCount() < people + 1) salary_register.SetRowCount(people + 1);
  for (int k = 1; k <= people; ++k) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", k);
    salary_register.SetCellText(k, kNumberColumn, number);
    salary_register.SetCellText(
        k, kNameColumn, FromUtf8(reinterpret_cast<const char*>(u8"员工")) + std::to_string(k));
    const double base = 3000 + 37.5 * k;
    salary_register.SetAmount(k, 2, base);
    salary_register.SetAmount(k, 3, 800);
    salary_register.SetAmount(k, 4, k % 3 == 0 ? 0 : 150.25);
    salary_register.SetCellText(k, 5, k % 2 == 0 ? "120" : "");
    salary_register.SetCellText(k, 6, k % 5 == 0 ? "0" : "");  // 津贴: 0 or empty for everyone
    salary_register.SetAmount(k, 7, 200);
    salary_register.SetAmount(k, 8, k == 7 ? 1000 : 0);
    const double gross =
        base + 800 + (k % 3 == 0 ? 0 : 150.25) + (k % 2 == 0 ? 120 : 0) + 200 + (k == 7 ? 1000 : 0);
    salary_register.SetAmount(k, 10, gross);
    salary_register.SetAmount(k, 11, 240);
    salary_register.SetAmount(k, 12, 60);
    salary_register.SetAmount(k, 13, 15);
    salary_register.SetAmount(k, 18, 12.5 + k);
    const double deductions = 240 + 60 + 15 + 12.5 + k;
    salary_register.SetAmount(k, 19, deductions);
    salary_register.SetAmount(k, 20, gross - deductions);
  }
  salary_register.SetCellText(3, kRemarkColumn,
                              FromUtf8(reinterpret_cast<const char*>(u8"补发上月")));
}

}  // namespace sr::app::testing

#endif  // SALARY_APP_PRINTOUTS_TESTS_PRINTOUT_TEST_REGISTER_H_
