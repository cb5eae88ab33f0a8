#ifndef SALARY_BASE_VALUE_H_
#define SALARY_BASE_VALUE_H_

#include <cstdint>
#include <string>
#include <utility>

namespace sr {

// A text is a GBK (code page 936) byte string. A byte of 0x80 or above starts a two-byte
// character. Conversion to and from Unicode happens only at the platform seams.
using Text = std::string;

// A byte string (a bytes field, a byte array).
using Bytes = std::string;

// The kind of a typed value. kOmitted marks an argument that was left out, which is not the
// same as an empty value.
enum class Kind {
  kOmitted,
  kByte,        // unsigned 8-bit
  kShort,       // signed 16-bit
  kInt,         // signed 32-bit
  kInt64,       // signed 64-bit
  kFloat,       // single precision
  kDouble,      // double precision
  kBool,
  kDateTime,    // days since 1899-12-30 00:00, the time of day as the fraction
  kSubroutine,  // a 32-bit subroutine reference
  kText,
  kBytes,
};

// The argument and result of the runtime's operations: a kind and its payload.
class Value {
 public:
  Value() = default;  // omitted

  static Value Omitted() { return Value(); }
  static Value Byte(uint8_t v) { return Integral(Kind::kByte, v); }
  static Value Short(int16_t v) { return Integral(Kind::kShort, v); }
  static Value Int(int32_t v) { return Integral(Kind::kInt, v); }
  static Value Int64(int64_t v) { return Integral(Kind::kInt64, v); }
  static Value Subroutine(uint32_t v) { return Integral(Kind::kSubroutine, v); }
  static Value Bool(bool v) { return Integral(Kind::kBool, v ? 1 : 0); }
  static Value Float(float v) { return Floating(Kind::kFloat, v); }
  static Value Double(double v) { return Floating(Kind::kDouble, v); }
  static Value DateTime(double v) { return Floating(Kind::kDateTime, v); }
  static Value FromText(Text v) { return Textual(Kind::kText, std::move(v)); }
  static Value FromBytes(Bytes v) { return Textual(Kind::kBytes, std::move(v)); }

  Kind kind() const { return kind_; }
  bool omitted() const { return kind_ == Kind::kOmitted; }
  bool is_text() const { return kind_ == Kind::kText; }
  // Byte, short, int, int64, float or double: the kinds that a numeric field accepts.
  bool is_numeric() const;

  // Payload accessors. Each REQUIRES the matching kind; integral kinds share one accessor.
  int64_t integer() const { return integer_; }
  double floating() const { return floating_; }
  bool boolean() const { return integer_ != 0; }
  const std::string& text() const { return text_; }

  bool operator==(const Value& other) const = default;

 private:
  static Value Integral(Kind k, int64_t v) {
    Value r;
    r.kind_ = k;
    r.integer_ = v;
    return r;
  }
  static Value Floating(Kind k, double v) {
    Value r;
    r.kind_ = k;
    r.floating_ = v;
    return r;
  }
  static Value Textual(Kind k, std::string v) {
    Value r;
    r.kind_ = k;
    r.text_ = std::move(v);
    return r;
  }

  Kind kind_ = Kind::kOmitted;
  int64_t integer_ = 0;
  double floating_ = 0;
  std::string text_;
};

inline bool Value::is_numeric() const {
  switch (kind_) {
    case Kind::kByte:
    case Kind::kShort:
    case Kind::kInt:
    case Kind::kInt64:
    case Kind::kFloat:
    case Kind::kDouble:
      return true;
    default:
      return false;
  }
}

}  // namespace sr

#endif  // SALARY_BASE_VALUE_H_
