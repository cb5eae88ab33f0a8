#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/value_codec.h"

namespace sr::recdb {
namespace {

std::string Encode(const FieldDescriptor& field, const Value& value) {
  std::string slot(field.width(), '\x7f');
  EncodeSlot(field, value, reinterpret_cast<uint8_t*>(slot.data()));
  return slot;
}

Value Decode(const FieldDescriptor& field, const std::string& slot) {
  return DecodeSlot(field, reinterpret_cast<const uint8_t*>(slot.data()));
}

const FieldDescriptor kText10{"t", FieldType::kText, 4, 10};

TEST(TextSlot, PadsWithNulAndCutsAtTheWidth) {
  EXPECT_EQ(Encode(kText10, Value::FromText("ABC")), std::string("ABC") + std::string(7, '\0'));
  EXPECT_EQ(Encode(kText10, Value::FromText("ABCDEFGHIJKL")), "ABCDEFGHIJ");
  EXPECT_EQ(Decode(kText10, "ABCDEFGHIJ").text(), "ABCDEFGHIJ");
  EXPECT_EQ(Encode(kText10, Value::FromText("ABCDEFGHIJ")), "ABCDEFGHIJ");
  EXPECT_EQ(Decode(kText10, std::string("AB\0CD", 5) + std::string(5, 'x')).text(), "AB");
}

TEST(TextSlot, NeverSplitsADoubleByteCharacter) {
  // Nine ASCII letters and one double-byte character: the character would need bytes 10 and 11.
  Text text = "ABCDEFGHI";
  text += "\xB9\xA4";
  std::string slot = Encode(kText10, Value::FromText(text));
  EXPECT_EQ(slot, std::string("ABCDEFGHI") + '\0');
  // Five double-byte characters fill the ten bytes exactly.
  Text five = "\xB9\xA4\xD7\xCA\xB9\xA4\xD7\xCA\xB9\xA4\xD7\xCA";
  EXPECT_EQ(Encode(kText10, Value::FromText(five)), five.substr(0, 10));
}

TEST(NumericSlot, AnyNumericKindIsCastToTheFieldType) {
  FieldDescriptor int_field{"i", FieldType::kInt, 4, 0};
  EXPECT_TRUE(AcceptsValue(FieldType::kInt, Value::Double(2.75)));
  EXPECT_EQ(Decode(int_field, Encode(int_field, Value::Double(2.75))).integer(), 2);
  EXPECT_EQ(Decode(int_field, Encode(int_field, Value::Double(-2.75))).integer(), -2);
  EXPECT_EQ(Decode(int_field, Encode(int_field, Value::Int64(0x100000005))).integer(), 5);
  // Out of range and NaN behave as the native truncating conversion, not undefined.
  EXPECT_EQ(Decode(int_field, Encode(int_field, Value::Double(1e20))).integer(), INT32_MIN);
  EXPECT_EQ(Decode(int_field, Encode(int_field, Value::Double(NAN))).integer(), INT32_MIN);

  FieldDescriptor byte_field{"b", FieldType::kByte, 4, 0};
  EXPECT_EQ(Encode(byte_field, Value::Int(0x1FF)), "\xFF");
  EXPECT_EQ(Encode(byte_field, Value::Double(300.9)), std::string(1, 44));
  FieldDescriptor short_field{"s", FieldType::kShort, 4, 0};
  EXPECT_EQ(Decode(short_field, Encode(short_field, Value::Int(-2))).integer(), -2);
  FieldDescriptor int64_field{"l", FieldType::kInt64, 4, 0};
  EXPECT_EQ(Decode(int64_field, Encode(int64_field, Value::Double(-5e15))).integer(),
            -5000000000000000);
  FieldDescriptor double_field{"d", FieldType::kDouble, 4, 0};
  EXPECT_EQ(Encode(double_field, Value::Int(3)), std::string("\0\0\0\0\0\0\x08\x40", 8));
  FieldDescriptor float_field{"f", FieldType::kFloat, 4, 0};
  EXPECT_EQ(Decode(float_field, Encode(float_field, Value::Double(0.5))).floating(), 0.5);
  EXPECT_TRUE(std::isinf(Decode(float_field, Encode(float_field, Value::Double(1e300))).floating()));
}

TEST(Kinds, OnlyTheFieldsOwnKindExceptNumbers) {
  EXPECT_FALSE(AcceptsValue(FieldType::kText, Value::Bool(true)));
  EXPECT_FALSE(AcceptsValue(FieldType::kText, Value::Double(1)));
  EXPECT_FALSE(AcceptsValue(FieldType::kDouble, Value::FromText("1")));
  EXPECT_FALSE(AcceptsValue(FieldType::kDateTime, Value::Double(1)));
  EXPECT_FALSE(AcceptsValue(FieldType::kBool, Value::Int(1)));
  EXPECT_FALSE(AcceptsValue(FieldType::kBytes, Value::FromText("x")));
  EXPECT_TRUE(AcceptsValue(FieldType::kMemo, Value::FromText("x")));
  EXPECT_TRUE(AcceptsValue(FieldType::kDateTime, Value::DateTime(1)));
  EXPECT_TRUE(AcceptsValue(FieldType::kBool, Value()));
}

TEST(OtherSlots, BoolDateTimeAndOmitted) {
  FieldDescriptor flag{"f", FieldType::kBool, 4, 0};
  EXPECT_EQ(Encode(flag, Value::Bool(true)), "\x01");
  EXPECT_TRUE(Decode(flag, "\x05").boolean());
  EXPECT_EQ(Decode(flag, std::string(1, '\0')).kind(), Kind::kBool);
  FieldDescriptor when{"w", FieldType::kDateTime, 4, 0};
  std::string far(8, '\0');
  PutDouble(reinterpret_cast<uint8_t*>(far.data()), 1e9);
  EXPECT_EQ(Decode(when, far).floating(), 2958465);
  PutDouble(reinterpret_cast<uint8_t*>(far.data()), -1e9);
  EXPECT_EQ(Decode(when, far).floating(), -657434);
  EXPECT_EQ(Encode(kText10, Value()), std::string(10, '\0'));
  EXPECT_EQ(Encode(when, Value()), std::string(8, '\0'));
}

TEST(ChainValues, MemoStopsAtNulBytesKeepEverything) {
  EXPECT_EQ(DecodeChainValue(FieldType::kMemo, std::string("ab\0cd", 5)).text(), "ab");
  Value bytes = DecodeChainValue(FieldType::kBytes, std::string("ab\0cd", 5));
  EXPECT_EQ(bytes.kind(), Kind::kBytes);
  EXPECT_EQ(bytes.text().size(), 5u);
}

}  // namespace
}  // namespace sr::recdb
