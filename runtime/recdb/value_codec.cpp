#include "runtime/recdb/value_codec.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "base/gbk.h"
#include "runtime/recdb/coding.h"

namespace sr::recdb {
namespace {

constexpr double kMinDate = -657434;
constexpr double kMaxDate = 2958465;

// The x86 truncating conversions: a value that does not fit (or NaN) gives the lowest integer,
// as the native cast does, instead of undefined behaviour.
int32_t TruncateTo32(double v) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}
int64_t TruncateTo64(double v) {
  if (!(v >= -9223372036854775808.0 && v < 9223372036854775808.0)) {
    return std::numeric_limits<int64_t>::min();
  }
  return static_cast<int64_t>(v);
}

bool IsFloating(Kind kind) { return kind == Kind::kFloat || kind == Kind::kDouble; }

// The value as a 64-bit integer for an integral field of the given width.
int64_t IntegralOf(const Value& value, int width) {
  if (!IsFloating(value.kind())) return value.integer();
  return width == 8 ? TruncateTo64(value.floating()) : TruncateTo32(value.floating());
}

double FloatingOf(const Value& value) {
  return IsFloating(value.kind()) || value.kind() == Kind::kDateTime
             ? value.floating()
             : static_cast<double>(value.integer());
}

float ToFloat(double v) {
  if (std::isfinite(v) && std::fabs(v) > std::numeric_limits<float>::max()) {
    return v > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
  }
  return static_cast<float>(v);
}

}  // namespace

void EncodeTextSlot(const Text& text, int32_t width, uint8_t* slot) {
  std::memset(slot, 0, width);
  size_t length = CharSafePrefixLength(text, static_cast<size_t>(width));
  std::memcpy(slot, text.data(), length);
}

void ClearTextSlotTail(uint8_t* slot, int32_t width) {
  const size_t length = strnlen(reinterpret_cast<const char*>(slot), static_cast<size_t>(width));
  std::memset(slot + length, 0, static_cast<size_t>(width) - length);
}

Text DecodeTextSlot(const uint8_t* slot, int32_t width) {
  const char* text = reinterpret_cast<const char*>(slot);
  return Text(text, strnlen(text, static_cast<size_t>(width)));
}

bool AcceptsValue(FieldType type, const Value& value) {
  if (value.omitted()) return true;
  if (IsNumericType(type)) return value.is_numeric();
  return value.kind() == ValueKindOf(type);
}

Value EmptyValue(FieldType type) {
  switch (type) {
    case FieldType::kByte: return Value::Byte(0);
    case FieldType::kShort: return Value::Short(0);
    case FieldType::kInt: return Value::Int(0);
    case FieldType::kInt64: return Value::Int64(0);
    case FieldType::kFloat: return Value::Float(0);
    case FieldType::kDouble: return Value::Double(0);
    case FieldType::kBool: return Value::Bool(false);
    case FieldType::kDateTime: return Value::DateTime(0);
    case FieldType::kSubroutine: return Value::Subroutine(0);
    case FieldType::kText:
    case FieldType::kMemo: return Value::FromText(Text());
    case FieldType::kBytes: return Value::FromBytes(Bytes());
  }
  return Value();
}

void EncodeSlot(const FieldDescriptor& field, const Value& value, uint8_t* slot) {
  // The empty value of every kind is stored as zero bytes.
  if (value.omitted()) {
    std::memset(slot, 0, field.width());
    return;
  }
  switch (field.type) {
    case FieldType::kByte:
    case FieldType::kBool:
      slot[0] = static_cast<uint8_t>(field.type == FieldType::kBool ? value.boolean()
                                                                    : IntegralOf(value, 1));
      break;
    case FieldType::kShort:
      PutU16(slot, static_cast<uint16_t>(IntegralOf(value, 2)));
      break;
    case FieldType::kInt:
    case FieldType::kSubroutine:
      PutU32(slot, static_cast<uint32_t>(IntegralOf(value, 4)));
      break;
    case FieldType::kInt64:
      PutI64(slot, IntegralOf(value, 8));
      break;
    case FieldType::kFloat:
      PutFloat(slot, ToFloat(FloatingOf(value)));
      break;
    case FieldType::kDouble:
    case FieldType::kDateTime:
      PutDouble(slot, FloatingOf(value));
      break;
    case FieldType::kText:
      EncodeTextSlot(value.text(), field.text_width, slot);
      break;
    case FieldType::kBytes:
    case FieldType::kMemo:
      break;
  }
}

Value DecodeSlot(const FieldDescriptor& field, const uint8_t* slot) {
  switch (field.type) {
    case FieldType::kByte: return Value::Byte(slot[0]);
    case FieldType::kShort: return Value::Short(static_cast<int16_t>(GetU16(slot)));
    case FieldType::kInt: return Value::Int(GetI32(slot));
    case FieldType::kInt64: return Value::Int64(GetI64(slot));
    case FieldType::kFloat: return Value::Float(GetFloat(slot));
    case FieldType::kDouble: return Value::Double(GetDouble(slot));
    case FieldType::kBool: return Value::Bool(slot[0] != 0);
    case FieldType::kDateTime: {
      double v = GetDouble(slot);
      return Value::DateTime(v < kMinDate ? kMinDate : v > kMaxDate ? kMaxDate : v);
    }
    case FieldType::kSubroutine: return Value::Subroutine(GetU32(slot));
    case FieldType::kText: return Value::FromText(DecodeTextSlot(slot, field.text_width));
    case FieldType::kBytes:
    case FieldType::kMemo:
      break;
  }
  return EmptyValue(field.type);
}

Value DecodeChainValue(FieldType type, const std::string& chain) {
  if (type == FieldType::kBytes) return Value::FromBytes(chain);
  return Value::FromText(chain.substr(0, chain.find('\0')));
}

std::string ChainBytesOf(const Value& value) { return value.omitted() ? std::string() : value.text(); }

}  // namespace sr::recdb
