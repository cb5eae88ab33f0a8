#include "tools/regdb/value_text.h"

#include <gtest/gtest.h>

#include "runtime/convert/date_time.h"
#include "tools/regdb/field_types.h"

namespace sr::regdb {
namespace {

using recdb::FieldDescriptor;
using recdb::FieldType;

FieldDescriptor Field(FieldType type, int32_t width = 0) {
  FieldDescriptor field;
  field.name = "f";
  field.type = type;
  field.text_width = width;
  return field;
}

Value ParseOk(FieldType type, const Text& text, int32_t width = 0) {
  Value value;
  std::string why;
  EXPECT_TRUE(ParseFieldValue(Field(type, width), text, &value, &why)) << text << ": " << why;
  return value;
}

std::string ParseFails(FieldType type, const Text& text, int32_t width = 0) {
  Value value;
  std::string why;
  EXPECT_FALSE(ParseFieldValue(Field(type, width), text, &value, &why)) << text;
  return why;
}

TEST(ValueTextTest, WholeNumbersMustFitTheirType) {
  EXPECT_EQ(ParseOk(FieldType::kByte, "255"), Value::Byte(255));
  EXPECT_EQ(ParseOk(FieldType::kShort, " -32768 "), Value::Short(-32768));
  EXPECT_EQ(ParseOk(FieldType::kInt, "+2147483647"), Value::Int(2147483647));
  EXPECT_EQ(ParseOk(FieldType::kInt64, "-9223372036854775808"), Value::Int64(INT64_MIN));
  EXPECT_EQ(ParseOk(FieldType::kSubroutine, "4294967295"), Value::Subroutine(4294967295u));
  EXPECT_EQ(ParseFails(FieldType::kByte, "256"), "out of range 0 to 255");
  EXPECT_EQ(ParseFails(FieldType::kByte, "-1"), "out of range 0 to 255");
  EXPECT_EQ(ParseFails(FieldType::kInt, "2147483648"), "out of range -2147483648 to 2147483647");
  EXPECT_NE(ParseFails(FieldType::kInt64, "9223372036854775808"), "");
  EXPECT_EQ(ParseFails(FieldType::kInt, "1.5"), "not a whole number");
  EXPECT_EQ(ParseFails(FieldType::kInt, "1,500"), "not a whole number");
  EXPECT_EQ(ParseFails(FieldType::kInt, "0x10"), "not a whole number");
}

TEST(ValueTextTest, RealNumbersAreFiniteAndReadWhatToTextWrites) {
  EXPECT_EQ(ParseOk(FieldType::kDouble, "5000.55"), Value::Double(5000.55));
  EXPECT_EQ(ParseOk(FieldType::kDouble, "1e+015"), Value::Double(1e15));
  EXPECT_EQ(ParseOk(FieldType::kFloat, "0.1"), Value::Float(0.1f));
  const double value = 1234567.891;
  EXPECT_EQ(ParseOk(FieldType::kDouble, FieldValueText(Value::Double(value))),
            Value::Double(value));
  EXPECT_NE(ParseFails(FieldType::kDouble, "inf"), "");
  EXPECT_NE(ParseFails(FieldType::kDouble, "nan"), "");
  EXPECT_NE(ParseFails(FieldType::kDouble, "12abc"), "");
  EXPECT_EQ(ParseFails(FieldType::kFloat, "1e39"), "out of range for the type");
}

TEST(ValueTextTest, EmptyCellsGiveTheEmptyValueButTextKeepsItsSpaces) {
  EXPECT_EQ(ParseOk(FieldType::kDouble, ""), Value::Double(0));
  EXPECT_EQ(ParseOk(FieldType::kShort, "  "), Value::Short(0));
  EXPECT_EQ(ParseOk(FieldType::kBool, ""), Value::Bool(false));
  EXPECT_EQ(ParseOk(FieldType::kBytes, ""), Value::FromBytes(""));
  EXPECT_EQ(ParseOk(FieldType::kText, " a ", 3), Value::FromText(" a "));
}

TEST(ValueTextTest, TextIsLimitedToTheFieldWidthInBytes) {
  EXPECT_EQ(ParseOk(FieldType::kText, "工资", 4), Value::FromText("工资"));
  EXPECT_EQ(ParseFails(FieldType::kText, "工资A", 4),
            "text of 5 bytes is longer than the width 4");
  EXPECT_EQ(ParseOk(FieldType::kMemo, std::string(2000, 'x')).text().size(), 2000u);
}

TEST(ValueTextTest, BoolsDateTimesAndBytesRoundTripThroughTheirText) {
  EXPECT_EQ(ParseOk(FieldType::kBool, FieldValueText(Value::Bool(true))), Value::Bool(true));
  EXPECT_EQ(ParseOk(FieldType::kBool, "假"), Value::Bool(false));
  EXPECT_EQ(ParseOk(FieldType::kBool, "true"), Value::Bool(true));

  for (double when : {45322.0, 45322.354166666664, 45322.35434027778, 2.5, -36522.0}) {
    const Text text = FieldValueText(Value::DateTime(when));
    Value back = ParseOk(FieldType::kDateTime, text);
    EXPECT_NEAR(back.floating(), when, 0.5 / 86400) << text;
  }
  EXPECT_EQ(ParseOk(FieldType::kDateTime, "2024-02-29 08:30").floating(),
            ParseOk(FieldType::kDateTime, "2024年2月29日8时30分").floating());
  for (const char* bad : {"2023-02-29", "2024年13月1日", "2024年1月1", "2024-01-01 24:00",
                          "2024年1月1日8时70分", "yesterday", "2024-1-1x", "99-01-01"}) {
    EXPECT_NE(ParseFails(FieldType::kDateTime, bad), "") << bad;
  }

  const Bytes bytes("\x00\x7F\x80\xFF", 4);
  EXPECT_EQ(FieldValueText(Value::FromBytes(bytes)), "007F80FF");
  EXPECT_EQ(ParseOk(FieldType::kBytes, "007f80FF"), Value::FromBytes(bytes));
  EXPECT_NE(ParseFails(FieldType::kBytes, "0G"), "");
}

TEST(FieldSpecTest, ParsesNamesTypesAndWidths) {
  FieldDescriptor field;
  std::string error;
  ASSERT_EQ(ParseFieldSpec(reinterpret_cast<const char*>(u8"姓名:text:20"), &field, &error), 0);
  EXPECT_EQ(field.name, "姓名");
  EXPECT_EQ(field.type, FieldType::kText);
  EXPECT_EQ(field.text_width, 20);
  ASSERT_EQ(ParseFieldSpec("a:b:double", &field, &error), 0) << error;  // colons in the name
  EXPECT_EQ(field.name, "a:b");
  EXPECT_EQ(field.type, FieldType::kDouble);

  EXPECT_EQ(ParseFieldSpec("n:text", &field, &error), kBadFieldSize);
  EXPECT_EQ(ParseFieldSpec("n:text:0", &field, &error), kBadFieldSize);
  EXPECT_EQ(ParseFieldSpec("n:int:4", &field, &error), kBadFieldSize);
  EXPECT_EQ(ParseFieldSpec("n:integer", &field, &error), kBadFieldType);
  EXPECT_EQ(ParseFieldSpec("novalue", &field, &error), kBadFieldType);
  EXPECT_EQ(ParseFieldSpec(":int", &field, &error), -18);
  EXPECT_EQ(ParseFieldSpec("abcdefghijklmnop:int", &field, &error), 0);  // 16 bytes
  EXPECT_EQ(ParseFieldSpec("abcdefghijklmnopq:int", &field, &error), -18);
  // 住房公积金(免税) is 16 bytes in GBK, though 20 in UTF-8.
  EXPECT_EQ(ParseFieldSpec(reinterpret_cast<const char*>(u8"住房公积金(免税):double"), &field,
                           &error),
            0)
      << error;
}

}  // namespace
}  // namespace sr::regdb
