#ifndef SALARY_APP_WITHHOLDING_PAY_MONTH_H_
#define SALARY_APP_WITHHOLDING_PAY_MONTH_H_

#include "base/value.h"
#include "platform/fs/file_system.h"

// The pay month of a register (the year and month its pay is for). It is kept in a small file
// beside the register file, so that the register file stays exactly as it was.
namespace sr::app {

struct PayMonth {
  int year = 0;
  int month = 0;
  bool known() const { return year > 0; }
  bool operator==(const PayMonth&) const = default;
};

// "2026-03".
Text PayMonthText(const PayMonth& pay_month);

// The month after `pay_month` (January of the next year after December).
PayMonth NextMonth(const PayMonth& pay_month);

// The file beside the register that holds its pay month.
Text PayMonthPath(const Text& register_path);

// Reads the pay month remembered for the register at `register_path`; an unknown month when
// there is none or it cannot be read.
PayMonth ReadPayMonth(fs::FileSystem& files, const Text& register_path);

// Remembers the pay month beside the register; returns 0 or a file code.
int WritePayMonth(fs::FileSystem& files, const Text& register_path, const PayMonth& pay_month);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_PAY_MONTH_H_
