#include "runtime/print/print_text.h"

#include <gtest/gtest.h>

namespace sr {
namespace {

TEST(SplitLinesTest, SplitsAtCrLfCrAndLfAlike) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<Text>{"a", "b", "c", "d"}));
  // LF CR is two breaks, not one.
  EXPECT_EQ(SplitLines("a\n\rb"), (std::vector<Text>{"a", "", "b"}));
}

TEST(SplitLinesTest, KeepsEmptyLinesAtBothEnds) {
  EXPECT_EQ(SplitLines(""), (std::vector<Text>{""}));
  EXPECT_EQ(SplitLines("\r\nx\r\n"), (std::vector<Text>{"", "x", ""}));
}

TEST(PrintableTextTest, NumbersBooleansAndDatesAsToTextWritesThem) {
  EXPECT_EQ(PrintableText(Value::Double(1234.50)), Text("1234.5"));
  EXPECT_EQ(PrintableText(Value::Int(-7)), Text("-7"));
  EXPECT_EQ(PrintableText(Value::Bool(true)), Text("真"));
  EXPECT_EQ(PrintableText(Value::Bool(false)), Text("假"));
  // 2014-05-03 00:00 is day 41762.
  EXPECT_EQ(PrintableText(Value::DateTime(41762)), Text("2014年5月3日"));
  EXPECT_EQ(PrintableText(Value::FromText("工资\r\n")), Text("工资\r\n"));
}

TEST(PrintableTextTest, BytesSubroutinesAndOmittedPrintNothing) {
  EXPECT_EQ(PrintableText(Value::FromBytes("ab")), std::nullopt);
  EXPECT_EQ(PrintableText(Value::Subroutine(5)), std::nullopt);
  EXPECT_EQ(PrintableText(Value()), std::nullopt);
}

}  // namespace
}  // namespace sr
