#include "runtime/convert/conversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace sr {
namespace {

TEST(ToNumberTest, ReadsTheLongestDecimalPrefixOfAText) {
  EXPECT_EQ(ToNumber(""), 0);
  EXPECT_EQ(ToNumber("abc"), 0);
  EXPECT_EQ(ToNumber("元"), 0);
  EXPECT_EQ(ToNumber(" 12.5元"), 12.5);
  EXPECT_EQ(ToNumber("\t\n-0.5"), -0.5);
  EXPECT_EQ(ToNumber("1,500"), 1);
  EXPECT_EQ(ToNumber("1.2e3"), 1200);
  EXPECT_EQ(ToNumber("1.2E-1x"), 0.12);
  EXPECT_EQ(ToNumber("+.5"), 0.5);
  EXPECT_EQ(ToNumber("7."), 7);
  EXPECT_EQ(ToNumber("3e"), 3);  // an exponent without digits is not part of the number
  EXPECT_EQ(ToNumber("3e+x"), 3);
  EXPECT_EQ(ToNumber("."), 0);
  EXPECT_EQ(ToNumber("- 5"), 0);
  EXPECT_EQ(ToNumber(Value::FromText("2680.35")), 2680.35);
}

TEST(ToNumberTest, AcceptsDecimalOnly) {
  EXPECT_EQ(ToNumber("0x1p3"), 0);
  EXPECT_EQ(ToNumber("0x10"), 0);
  EXPECT_EQ(ToNumber("inf"), 0);
  EXPECT_EQ(ToNumber("nan"), 0);
  EXPECT_EQ(ToNumber("-infinity"), 0);
}

TEST(ToNumberTest, OutOfRangeBehavesLikeAtof) {
  EXPECT_EQ(ToNumber("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ToNumber("-1e999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(ToNumber("1e-999"), 0);
}

TEST(ToNumberTest, NormalisesFullWidthCharacters) {
  EXPECT_EQ(ToNumber("１２．５"), 12.5);
  EXPECT_EQ(ToNumber("－３"), -3);
  EXPECT_EQ(ToNumber("　８"), 8);  // ideographic space
  EXPECT_EQ(NormaliseFullWidth("ａＺ～☆★（工）"), "aZ~**(工)");
  // A lead byte with no trail byte ends the text.
  EXPECT_EQ(NormaliseFullWidth("12\xA3"), "12");
  EXPECT_EQ(ToNumber("4\xA3"), 4);
}

TEST(ToNumberTest, ReadsEveryNumericKind) {
  EXPECT_EQ(ToNumber(Value::Double(2.5)), 2.5);
  EXPECT_EQ(ToNumber(Value::Float(0.1f)), static_cast<double>(0.1f));
  EXPECT_EQ(ToNumber(Value::Byte(200)), 200);
  EXPECT_EQ(ToNumber(Value::Short(-300)), -300);
  EXPECT_EQ(ToNumber(Value::Int(-70000)), -70000);
  EXPECT_EQ(ToNumber(Value::Int64(int64_t{1} << 40)), 1099511627776.0);
  EXPECT_EQ(ToNumber(Value::Bool(true)), 1);
  EXPECT_EQ(ToNumber(Value::DateTime(41762.5)), 0);
  EXPECT_EQ(ToNumber(Value::FromBytes("12")), 0);
  EXPECT_EQ(ToNumber(Value::Omitted()), 0);
}

TEST(ToNumberTest, IgnoresTheProcessLocale) {
  // A desktop session may set a locale whose decimal point is a comma.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  // The same locale as Linux and as Windows name it.
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "German_Germany.1252") == nullptr) {
    GTEST_SKIP() << "no German locale";
  }
  EXPECT_EQ(ToNumber("12.5"), 12.5);
  EXPECT_EQ(ToText(12.5), "12.5");
  // Out of range, the number takes another way through the C library.
  EXPECT_EQ(ToNumber("1.5e-999"), 0) << "not 1.0, read up to the point";
  EXPECT_EQ(ToNumber("-2.5e999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(ToNumber("0.0001e-305"), 1e-309) << "a denormal, as atof gives it";
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ToIntegerTest, ReadsTextLikeAtoi) {
  EXPECT_EQ(ToInteger("3500.9"), 3500);
  EXPECT_EQ(ToInteger("2.5"), 2);
  EXPECT_EQ(ToInteger("1,500"), 1);
  EXPECT_EQ(ToInteger(""), 0);
  EXPECT_EQ(ToInteger("  -42abc"), -42);
  EXPECT_EQ(ToInteger("１２３"), 123);
  EXPECT_EQ(ToInteger("1e3"), 1);
}

TEST(ToIntegerTest, ClampsTextsBeyondTheIntRange) {
  EXPECT_EQ(ToInteger("2147483647"), 2147483647);
  EXPECT_EQ(ToInteger("2147483648"), 2147483647);
  EXPECT_EQ(ToInteger("99999999999999999999"), 2147483647);
  EXPECT_EQ(ToInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ToInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST(ToIntegerTest, TruncatesDoublesTowardZeroAndClamps) {
  EXPECT_EQ(ToInteger(Value::Double(-7.9)), -7);
  EXPECT_EQ(ToInteger(Value::Double(7.9)), 7);
  EXPECT_EQ(ToInteger(Value::Float(2.75f)), 2);
  EXPECT_EQ(ToInteger(Value::Double(1e12)), 2147483647);
  EXPECT_EQ(ToInteger(Value::Double(-1e12)), -2147483647 - 1);
  EXPECT_EQ(ToInteger(Value::Double(std::nan(""))), 0);
  EXPECT_EQ(TruncateToInt(-0.999), 0);
  EXPECT_EQ(TruncateToInt(2147483646.9), 2147483646);
}

TEST(ToIntegerTest, TakesIntegralKindsAsTheyAre) {
  EXPECT_EQ(ToInteger(Value::Int64((int64_t{5} << 32) + 7)), 7);  // low 32 bits
  EXPECT_EQ(ToInteger(Value::Int64(-1)), -1);
  EXPECT_EQ(ToInteger(Value::Byte(255)), 255);
  EXPECT_EQ(ToInteger(Value::Short(-5)), -5);
  EXPECT_EQ(ToInteger(Value::Bool(true)), 1);
  EXPECT_EQ(ToInteger(Value::DateTime(3.5)), 0);
  EXPECT_EQ(ToInteger(Value::FromText("８")), 8);
}

TEST(ToTextTest, WritesDoublesAsTheWindowsRuntimeDoes) {
  EXPECT_EQ(ToText(3500.0), "3500");
  EXPECT_EQ(ToText(1234.5), "1234.5");
  EXPECT_EQ(ToText(0.1 + 0.2), "0.3");
  EXPECT_EQ(ToText(-3.25), "-3.25");
  EXPECT_EQ(ToText(0.00001), "1e-005");
  EXPECT_EQ(ToText(0.0001), "0.0001");
  EXPECT_EQ(ToText(1e15), "1e+015");
  EXPECT_EQ(ToText(1e13), "1e+013");
  EXPECT_EQ(ToText(1e13 - 1), "9999999999999");
  EXPECT_EQ(ToText(1234.56789012345), "1234.567890123");
  EXPECT_EQ(ToText(-1.5e-123), "-1.5e-123");
  EXPECT_EQ(ToText(1e300), "1e+300");
  EXPECT_EQ(ToText(0.0), "0");
  EXPECT_EQ(ToText(Value::Double(2680.35)), "2680.35");
}

TEST(ToTextTest, WritesNonFiniteDoublesAsTheWindowsRuntimeDoes) {
  EXPECT_EQ(ToText(std::numeric_limits<double>::infinity()), "1.#INF");
  EXPECT_EQ(ToText(-std::numeric_limits<double>::infinity()), "-1.#INF");
  EXPECT_EQ(ToText(std::numeric_limits<double>::quiet_NaN()), "1.#QNAN");
}

TEST(ToTextTest, WritesEveryKind) {
  EXPECT_EQ(ToText(Value::Float(0.1f)), "0.1");
  EXPECT_EQ(ToText(Value::Float(1234567.0f)), "1.23457e+006");
  EXPECT_EQ(ToText(Value::Int(-42)), "-42");
  EXPECT_EQ(ToText(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(ToText(Value::Short(-7)), "-7");
  EXPECT_EQ(ToText(Value::Byte(250)), "250");
  EXPECT_EQ(ToText(Value::Int64(-9000000000000000000)), "-9000000000000000000");
  EXPECT_EQ(ToText(Value::Subroutine(4000000000u)), "4000000000");
  EXPECT_EQ(ToText(Value::Bool(true)), "真");
  EXPECT_EQ(ToText(Value::Bool(false)), "假");
  EXPECT_EQ(ToText(Value::DateTime(41762)), "2014年5月3日");
  EXPECT_EQ(ToText(Value::FromText("工资")), "工资");
  EXPECT_EQ(ToText(Value::FromBytes(std::string("ab\0cd", 5))), "ab");
  EXPECT_EQ(ToText(Value::Omitted()), "");
}

TEST(ToTextTest, AmountsRoundTripThroughText) {
  for (double v : {0.01, 2680.35, 123456789.99, -0.07, 99999999999.99}) {
    EXPECT_EQ(ToNumber(ToText(v)), v) << v;
  }
}

TEST(RoundToPlacesTest, RoundsHalfAwayFromZeroWithABias) {
  EXPECT_EQ(RoundToPlaces(2.675, 2), 2.68);  // 267.49999999999997 before the bias
  EXPECT_EQ(RoundToPlaces(1.005, 2), 1.01);
  EXPECT_EQ(RoundToPlaces(0.125, 2), 0.13);
  EXPECT_EQ(RoundToPlaces(-0.125, 2), -0.13);
  EXPECT_EQ(RoundToPlaces(-2.5), -3);
  EXPECT_EQ(RoundToPlaces(2.5), 3);
  EXPECT_EQ(RoundToPlaces(2.4999), 2);
  EXPECT_EQ(RoundToPlaces(1234.5678, -2), 1200);
  EXPECT_EQ(RoundToPlaces(1250, -2), 1300);
  EXPECT_EQ(RoundToPlaces(-1250, -2), -1300);
  EXPECT_EQ(RoundToPlaces(0.0049, 2), 0);
  EXPECT_EQ(RoundToPlaces(0, 2), 0);
  EXPECT_EQ(ToText(RoundToPlaces(0.1 + 0.2, 2)), "0.3");
}

// The powers of ten come from a table for the usual place counts: the results must be those
// of rounding with pow at every count, the table's last entry and the first past it included.
TEST(RoundToPlacesTest, EveryPlaceCountRoundsAsWithPow) {
  auto with_pow = [](double value, int places) {
    const double scale = std::pow(10.0, places);
    double whole;
    const double fraction = std::modf(std::fabs(value) * scale + 1e-12, &whole);
    if (fraction >= 0.5) whole += 1;
    const double r = whole / scale;
    return r == 0 ? 0 : value < 0 ? -r : r;
  };
  for (int places = 0; places <= 24; ++places) {
    for (double value : {2.675, -1.005, 0.125, 123456.789, 3.0000000000000004e-7, 7.5e-22, 1e-23,
                         98765.4321e-20}) {
      EXPECT_EQ(RoundToPlaces(value, places), with_pow(value, places)) << value << " " << places;
    }
  }
}

TEST(RoundToPlacesTest, AZeroResultIsPositive) {
  EXPECT_FALSE(std::signbit(RoundToPlaces(-0.0003, 2)));
  EXPECT_EQ(ToText(RoundToPlaces(-0.0003, 2)), "0");
  EXPECT_EQ(ToText(RoundToPlaces(-0.0, 2)), "0");
  EXPECT_EQ(ToText(RoundToPlaces(-0.4)), "0");
  EXPECT_EQ(ToText(RoundToPlaces(-40, -2)), "0");
}

TEST(RoundToPlacesTest, ExtremePlacesNeverGiveNaN) {
  EXPECT_EQ(RoundToPlaces(1.5, 400), 1.5);
  EXPECT_EQ(RoundToPlaces(1e300, 20), 1e300);
  EXPECT_EQ(RoundToPlaces(1234.0, -400), 0);
  EXPECT_EQ(RoundToPlaces(123.0, std::numeric_limits<int>::min()), 0);
  EXPECT_EQ(RoundToPlaces(1e-320, 2), 0);
  EXPECT_TRUE(std::isnan(RoundToPlaces(std::nan(""), 2)));
}

}  // namespace
}  // namespace sr
