#ifndef SALARY_RUNTIME_CONVERT_DATE_TIME_H_
#define SALARY_RUNTIME_CONVERT_DATE_TIME_H_

#include "base/value.h"

namespace sr {

// Date-times are doubles counting days since 1899-12-30 00:00, the time of day being the
// fraction. Below zero the whole part still counts days and the fraction (taken as positive) is
// the time of day: -1.25 is 1899-12-29 06:00.

// The earliest and latest date-times that are broken into parts (100-01-01 and 9999-12-31);
// values outside are clamped to them first.
inline constexpr double kMinDateTime = -657434;
inline constexpr double kMaxDateTime = 2958465;

struct DateTimeParts {
  int year = 1899;
  int month = 12;  // 1 to 12
  int day = 30;    // 1 to 31
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
  int second = 0;  // 0 to 59
};

// The local clock, to the whole second.
double Now();

// The same day at 00:00:00.
double DatePart(double date_time);

// Clamps the date-time to kMinDateTime..kMaxDateTime and breaks it into parts, rounding the time
// of day to the nearest second. NaN counts as 0.
DateTimeParts BreakDateTime(double date_time);

// The date-time of the given parts. REQUIRES: month 1..12, day valid for the month, hour 0..23,
// minute and second 0..59.
double MakeDateTime(const DateTimeParts& parts);

// "%d年%d月%d日", then by the time of day "%d时%d分%d秒" (seconds not zero), "%d时%d分" (minutes
// not zero), "%d时" (hour not zero), or nothing at midnight.
Text DateTimeText(double date_time);

}  // namespace sr

#endif  // SALARY_RUNTIME_CONVERT_DATE_TIME_H_
