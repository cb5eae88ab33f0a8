#ifndef SALARY_APP_PRINTOUTS_PAY_MONTH_H_
#define SALARY_APP_PRINTOUTS_PAY_MONTH_H_

#include "app/register/salary_register.h"
#include "base/value.h"

namespace sr::app {

// The pay month that heads payslips and the printed register ("2026年11月"), empty when the
// register does not know it. The register keeps no pay month yet, so this is empty for now;
// once it does, this is the one place that reads it for the printouts.
inline Text PayMonthOf(const SalaryRegister& /*salary_register*/) { return Text(); }

}  // namespace sr::app

#endif  // SALARY_APP_PRINTOUTS_PAY_MONTH_H_
