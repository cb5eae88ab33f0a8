#include "runtime/convert/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

namespace sr {
namespace {

constexpr double kMay3rd2014 = 41762;

double At(double day, int hour, int minute, int second) {
  return day + (hour * 3600 + minute * 60 + second) / 86400.0;
}

TEST(DateTimeTextTest, LeavesOutTheTimeOfDayFromTheRightAsItIsZero) {
  EXPECT_EQ(DateTimeText(kMay3rd2014), "2014年5月3日");
  EXPECT_EQ(DateTimeText(At(kMay3rd2014, 8, 5, 0)), "2014年5月3日8时5分");
  EXPECT_EQ(DateTimeText(At(kMay3rd2014, 12, 0, 30)), "2014年5月3日12时0分30秒");
  EXPECT_EQ(DateTimeText(At(kMay3rd2014, 12, 0, 0)), "2014年5月3日12时");
  EXPECT_EQ(DateTimeText(At(kMay3rd2014, 0, 0, 1)), "2014年5月3日0时0分1秒");
  EXPECT_EQ(DateTimeText(At(kMay3rd2014, 23, 59, 59)), "2014年5月3日23时59分59秒");
  EXPECT_EQ(DateTimeText(0), "1899年12月30日");
}

TEST(DateTimeTextTest, RoundsToTheNearestSecond) {
  // 08:05:00 is not exact in binary; the text must not say 8时4分59秒.
  EXPECT_EQ(DateTimeText(kMay3rd2014 + (8 * 60 + 5) / 1440.0 - 1e-10), "2014年5月3日8时5分");
  // Less than half a second before midnight is the next day.
  EXPECT_EQ(DateTimeText(kMay3rd2014 + 86399.6 / 86400), "2014年5月4日");
}

TEST(DateTimeTextTest, ClampsToYears100To9999) {
  EXPECT_EQ(DateTimeText(kMinDateTime), "100年1月1日");
  EXPECT_EQ(DateTimeText(kMaxDateTime), "9999年12月31日");
  EXPECT_EQ(DateTimeText(kMaxDateTime + 0.5), "9999年12月31日");
  EXPECT_EQ(DateTimeText(1e300), "9999年12月31日");
  EXPECT_EQ(DateTimeText(-1e300), "100年1月1日");
  EXPECT_EQ(DateTimeText(std::nan("")), "1899年12月30日");
}

TEST(DateTimeTest, NegativeDatesCountTheFractionForward) {
  EXPECT_EQ(DateTimeText(-1.25), "1899年12月29日6时");
  EXPECT_EQ(DateTimeText(-0.25), "1899年12月30日6时");
  DateTimeParts parts{1899, 12, 29, 6, 0, 0};
  EXPECT_EQ(MakeDateTime(parts), -1.25);
}

TEST(DateTimeTest, BreaksAndBuildsCalendarDates) {
  const DateTimeParts dates[] = {{1900, 2, 28, 0, 0, 0},    {1900, 3, 1, 1, 2, 3},
                                 {2000, 2, 29, 23, 59, 59}, {2024, 12, 31, 12, 0, 0},
                                 {1800, 1, 1, 6, 30, 0},    {100, 1, 1, 0, 0, 0},
                                 {9999, 12, 31, 0, 0, 0}};
  for (const DateTimeParts& p : dates) {
    DateTimeParts back = BreakDateTime(MakeDateTime(p));
    EXPECT_EQ(back.year, p.year);
    EXPECT_EQ(back.month, p.month);
    EXPECT_EQ(back.day, p.day);
    EXPECT_EQ(back.hour, p.hour);
    EXPECT_EQ(back.minute, p.minute);
    EXPECT_EQ(back.second, p.second) << p.year << "-" << p.month << "-" << p.day;
  }
  EXPECT_EQ(MakeDateTime({1900, 3, 1, 0, 0, 0}), 61);  // 1900 is no leap year
  EXPECT_EQ(MakeDateTime({2014, 5, 3, 0, 0, 0}), kMay3rd2014);
  EXPECT_EQ(MakeDateTime({100, 1, 1, 0, 0, 0}), kMinDateTime);
  EXPECT_EQ(MakeDateTime({9999, 12, 31, 0, 0, 0}), kMaxDateTime);
}

TEST(DateTimeTest, DatePartKeepsTheDayShown) {
  EXPECT_EQ(DatePart(At(kMay3rd2014, 18, 30, 0)), kMay3rd2014);
  EXPECT_EQ(DatePart(kMay3rd2014), kMay3rd2014);
  EXPECT_EQ(DatePart(-1.25), -1);
  EXPECT_EQ(DatePart(kMay3rd2014 + 86399.8 / 86400), kMay3rd2014 + 1);
}

TEST(DateTimeTest, NowIsTheLocalClock) {
  auto local_now = [] {
    std::time_t t = std::time(nullptr);
    const std::tm tm = *std::localtime(&t);  // one thread here
    return MakeDateTime(
        {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
  };
  const double before = local_now();
  const double now = Now();
  const double after = local_now();
  EXPECT_GE(now, before);
  EXPECT_LE(now, after);
  EXPECT_GT(now, MakeDateTime({2020, 1, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace sr
