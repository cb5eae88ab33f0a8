#include "tools/regdb/value_text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "runtime/convert/conversions.h"
#include "runtime/convert/date_time.h"

namespace sr::regdb {
namespace {

using recdb::FieldType;

// Messages are UTF-8, while plain literals in this program are GBK.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string_view Trimmed(const Text& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == Text::npos) return {};
  size_t last = text.find_last_not_of(" \t");
  return std::string_view(text).substr(first, last - first + 1);
}

bool ParseWhole(std::string_view text, int64_t low, int64_t high, int64_t* out,
                std::string* why) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *out);
  if (text.empty() || ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range)) {
    *why = "not a whole number";
    return false;
  }
  if (ec == std::errc::result_out_of_range || *out < low || *out > high) {
    *why = "out of range " + std::to_string(low) + " to " + std::to_string(high);
    return false;
  }
  return true;
}

bool ParseUnsigned32(std::string_view text, int64_t* out, std::string* why) {
  return ParseWhole(text, 0, UINT32_MAX, out, why);
}

bool ParseReal(std::string_view text, double limit, double* out, std::string* why) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *out);
  if (text.empty() || ptr != end || ec != std::errc() || !std::isfinite(*out)) {
    *why = "not a finite decimal number";
    return false;
  }
  if (std::fabs(*out) > limit) {
    *why = "out of range for the type";
    return false;
  }
  return true;
}

bool ParseBool(std::string_view text, bool* out, std::string* why) {
  if (text == "真" || text == "true" || text == "1") {
    *out = true;
  } else if (text == "假" || text == "false" || text == "0") {
    *out = false;
  } else {
    *why = Utf8(u8"not a bool (真/假, true/false, 1/0)");
    return false;
  }
  return true;
}

// Reads a number at the front of `text` and advances past it.
bool TakeInt(std::string_view* text, int* out) {
  const char* end = text->data() + text->size();
  auto [ptr, ec] = std::from_chars(text->data(), end, *out);
  if (ec != std::errc() || ptr == text->data()) return false;
  text->remove_prefix(ptr - text->data());
  return true;
}

// Consumes `unit` at the front of `text`.
bool Take(std::string_view* text, std::string_view unit) {
  if (text->substr(0, unit.size()) != unit) return false;
  text->remove_prefix(unit.size());
  return true;
}

bool IsDateValid(const DateTimeParts& p) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (p.year < 100 || p.year > 9999 || p.month < 1 || p.month > 12) return false;
  bool leap = (p.year % 4 == 0 && p.year % 100 != 0) || p.year % 400 == 0;
  int days = kDays[p.month - 1] + (p.month == 2 && leap ? 1 : 0);
  return p.day >= 1 && p.day <= days && p.hour >= 0 && p.hour <= 23 && p.minute >= 0 &&
         p.minute <= 59 && p.second >= 0 && p.second <= 59;
}

// "2024年1月31日[8时[30分[15秒]]]" as DateTimeText writes it, or "2024-01-31[ 08:30[:15]]".
bool ParseDateTime(std::string_view text, double* out, std::string* why) {
  DateTimeParts p;
  p.hour = p.minute = p.second = 0;
  std::string_view t = text;
  bool ok = TakeInt(&t, &p.year);
  if (ok && Take(&t, "年")) {
    ok = TakeInt(&t, &p.month) && Take(&t, "月") && TakeInt(&t, &p.day) && Take(&t, "日");
    if (ok && !t.empty()) ok = TakeInt(&t, &p.hour) && Take(&t, "时");
    if (ok && !t.empty()) ok = TakeInt(&t, &p.minute) && Take(&t, "分");
    if (ok && !t.empty()) ok = TakeInt(&t, &p.second) && Take(&t, "秒");
  } else if (ok && Take(&t, "-")) {
    ok = TakeInt(&t, &p.month) && Take(&t, "-") && TakeInt(&t, &p.day);
    if (ok && !t.empty()) {
      ok = Take(&t, " ") && TakeInt(&t, &p.hour) && Take(&t, ":") && TakeInt(&t, &p.minute);
    }
    if (ok && !t.empty()) ok = Take(&t, ":") && TakeInt(&t, &p.second);
  } else {
    ok = false;
  }
  if (!ok || !t.empty() || !IsDateValid(p)) {
    *why = Utf8(u8"not a date-time (2024年1月31日8时30分, or 2024-01-31 08:30:00)");
    return false;
  }
  *out = MakeDateTime(p);
  return true;
}

bool ParseHex(std::string_view text, Bytes* out, std::string* why) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (text.size() % 2 != 0) {
    *why = "bytes need an even number of hexadecimal digits";
    return false;
  }
  out->clear();
  for (size_t i = 0; i < text.size(); i += 2) {
    int high = digit(text[i]), low = digit(text[i + 1]);
    if (high < 0 || low < 0) {
      *why = "bytes must be hexadecimal digits";
      return false;
    }
    out->push_back(static_cast<char>(high * 16 + low));
  }
  return true;
}

bool ParseNumeric(FieldType type, std::string_view text, Value* value, std::string* why) {
  int64_t whole = 0;
  double real = 0;
  switch (type) {
    case FieldType::kByte:
      if (!ParseWhole(text, 0, UINT8_MAX, &whole, why)) return false;
      *value = Value::Byte(static_cast<uint8_t>(whole));
      return true;
    case FieldType::kShort:
      if (!ParseWhole(text, INT16_MIN, INT16_MAX, &whole, why)) return false;
      *value = Value::Short(static_cast<int16_t>(whole));
      return true;
    case FieldType::kInt:
      if (!ParseWhole(text, INT32_MIN, INT32_MAX, &whole, why)) return false;
      *value = Value::Int(static_cast<int32_t>(whole));
      return true;
    case FieldType::kInt64:
      if (!ParseWhole(text, INT64_MIN, INT64_MAX, &whole, why)) return false;
      *value = Value::Int64(whole);
      return true;
    case FieldType::kFloat:
      if (!ParseReal(text, FLT_MAX, &real, why)) return false;
      *value = Value::Float(static_cast<float>(real));
      return true;
    default:  // double
      if (!ParseReal(text, DBL_MAX, &real, why)) return false;
      *value = Value::Double(real);
      return true;
  }
}

Value EmptyValue(FieldType type) {
  switch (type) {
    case FieldType::kText:
    case FieldType::kMemo:
      return Value::FromText("");
    case FieldType::kBytes:
      return Value::FromBytes("");
    case FieldType::kBool:
      return Value::Bool(false);
    case FieldType::kDateTime:
      return Value::DateTime(0);
    case FieldType::kSubroutine:
      return Value::Subroutine(0);
    default: {
      Value zero;
      std::string unused;
      ParseNumeric(type, "0", &zero, &unused);
      return zero;
    }
  }
}

}  // namespace

Text FieldValueText(const Value& value) {
  if (value.kind() != Kind::kBytes) return ToText(value);
  static const char kHex[] = "0123456789ABCDEF";
  Text hex;
  for (unsigned char c : value.text()) {
    hex += kHex[c >> 4];
    hex += kHex[c & 15];
  }
  return hex;
}

bool ParseFieldValue(const recdb::FieldDescriptor& field, const Text& text, Value* value,
                     std::string* why) {
  const FieldType type = field.type;
  if (type == FieldType::kText || type == FieldType::kMemo) {
    // Text is taken as it is, spaces included; only its length is checked.
    if (type == FieldType::kText && text.size() > static_cast<size_t>(field.text_width)) {
      *why = "text of " + std::to_string(text.size()) + " bytes is longer than the width " +
             std::to_string(field.text_width);
      return false;
    }
    *value = Value::FromText(text);
    return true;
  }
  std::string_view trimmed = Trimmed(text);
  if (trimmed.empty()) {
    *value = EmptyValue(type);
    return true;
  }
  switch (type) {
    case FieldType::kBool: {
      bool flag = false;
      if (!ParseBool(trimmed, &flag, why)) return false;
      *value = Value::Bool(flag);
      return true;
    }
    case FieldType::kDateTime: {
      double when = 0;
      if (!ParseDateTime(trimmed, &when, why)) return false;
      *value = Value::DateTime(when);
      return true;
    }
    case FieldType::kSubroutine: {
      int64_t whole = 0;
      if (!ParseUnsigned32(trimmed, &whole, why)) return false;
      *value = Value::Subroutine(static_cast<uint32_t>(whole));
      return true;
    }
    case FieldType::kBytes: {
      Bytes bytes;
      if (!ParseHex(trimmed, &bytes, why)) return false;
      *value = Value::FromBytes(bytes);
      return true;
    }
    default:
      return ParseNumeric(type, trimmed, value, why);
  }
}

}  // namespace sr::regdb
