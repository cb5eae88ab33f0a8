#ifndef SALARY_APP_REGISTER_STALE_RESULTS_H_
#define SALARY_APP_REGISTER_STALE_RESULTS_H_

#include <functional>
#include <vector>

#include "app/register/salary_register.h"

namespace sr::app {

// How the calculation rounds each amount it reads (to the fen).
using AmountRounding = double (*)(double amount);

// The rounded sum of a row's amounts in the columns of `role` (each amount rounded by
// `round_amount`, each partial sum to two places), as the calculation forms gross pay and the
// deduction items.
double RoundedSumOf(const SalaryRegister& salary_register, int row, ColumnRole role,
                    AmountRounding round_amount);

// Whether the results that a row shows are those its amounts give: 应发工资 is the sum of its
// income items, 扣款合计 the sum of its deduction items and 个人所得税, 实发工资 the difference,
// as 计算 writes them. A row with neither number nor name, and one whose four result cells are
// all empty (never calculated), count as adding up.
bool ResultsAddUp(const SalaryRegister& salary_register, int row, AmountRounding round_amount);

// Whether the register shows results that no longer fit its amounts: some amount changed after
// the last 计算 (or a result was typed over). It follows the register's cells through its change
// path, so undoing the change makes the results fit again; the only thing it is told is that a
// calculation ended, from which on it watches (until the rows are replaced: New, Open, Sort). A
// register never calculated since it was loaded is never stale: a file typed and saved without
// 计算 shows no results to speak of.
class StaleResults : public RegisterListener {
 public:
  StaleResults(SalaryRegister& salary_register, AmountRounding round_amount);
  ~StaleResults() override;
  StaleResults(const StaleResults&) = delete;
  StaleResults& operator=(const StaleResults&) = delete;

  bool Stale() const { return watching_ && stale_rows_ > 0; }
  // 计算 ended: when every row's results now fit its amounts, they are watched from here on.
  void CalculationEnded();
  // Called whenever Stale() turns.
  void SetOnChanged(std::function<void()> on_changed) { on_changed_ = std::move(on_changed); }

  void RegisterChanged(const RegisterChange& change) override;

 private:
  void CheckRows(int first, int last);
  void CheckAll();

  SalaryRegister& register_;
  AmountRounding round_amount_;
  std::vector<char> stale_;  // by person row - 1
  int stale_rows_ = 0;
  bool watching_ = false;
  std::function<void()> on_changed_;
};

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_STALE_RESULTS_H_
