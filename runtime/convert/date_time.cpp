#include "runtime/convert/date_time.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <string>

namespace sr {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, DateTimeParts* parts) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  parts->day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  parts->month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  parts->year = static_cast<int>(yoe + era * 400 + (parts->month <= 2));
}

// Day 0 of a date-time, 1899-12-30, in days since 1970-01-01.
const int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

// The local time of day and date of `time`. The thread-safe call has one name in the C library of
// Linux and another in that of Windows.
std::tm LocalTime(std::time_t time) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &time);
#else
  localtime_r(&time, &local);
#endif
  return local;
}

}  // namespace

DateTimeParts BreakDateTime(double date_time) {
  if (std::isnan(date_time)) date_time = 0;
  date_time = std::clamp(date_time, kMinDateTime, kMaxDateTime);
  const double whole = std::trunc(date_time);
  int64_t day = static_cast<int64_t>(whole);
  // Below zero the fraction is the time of day too, so its magnitude counts.
  int64_t seconds = std::llround(std::fabs(date_time - whole) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {  // rounded up to the next midnight
    seconds -= kSecondsPerDay;
    ++day;
  }
  DateTimeParts parts;
  CivilFromDays(day + kEpochDays, &parts);
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  return parts;
}

double MakeDateTime(const DateTimeParts& parts) {
  const int64_t day = DaysFromCivil(parts.year, parts.month, parts.day) - kEpochDays;
  const double time = (parts.hour * 3600.0 + parts.minute * 60.0 + parts.second) / kSecondsPerDay;
  return day >= 0 ? day + time : day - time;
}

double Now() {
  const std::tm local = LocalTime(std::time(nullptr));
  DateTimeParts parts;
  parts.year = local.tm_year + 1900;
  parts.month = local.tm_mon + 1;
  parts.day = local.tm_mday;
  parts.hour = local.tm_hour;
  parts.minute = local.tm_min;
  parts.second = std::min(local.tm_sec, 59);  // a leap second stays in its minute
  return MakeDateTime(parts);
}

double DatePart(double date_time) {
  // Through the parts, so the day agrees with the one DateTimeText shows.
  DateTimeParts parts = BreakDateTime(date_time);
  parts.hour = parts.minute = parts.second = 0;
  return MakeDateTime(parts);
}

Text DateTimeText(double date_time) {
  const DateTimeParts p = BreakDateTime(date_time);
  Text text =
      std::to_string(p.year) + "年" + std::to_string(p.month) + "月" + std::to_string(p.day) + "日";
  if (p.second != 0) {
    text += std::to_string(p.hour) + "时" + std::to_string(p.minute) + "分" +
            std::to_string(p.second) + "秒";
  } else if (p.minute != 0) {
    text += std::to_string(p.hour) + "时" + std::to_string(p.minute) + "分";
  } else if (p.hour != 0) {
    text += std::to_string(p.hour) + "时";
  }
  return text;
}

}  // namespace sr
