#include "runtime/convert/conversions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "base/gbk.h"
#include "runtime/convert/date_time.h"
#include "runtime/convert/number_text.h"

namespace sr {
namespace {

// The one-byte counterpart of a full-width character, or 0 when it has none.
char HalfWidth(unsigned char lead, unsigned char trail) {
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
  if (lead != 0xA1) return 0;
  switch (trail) {
    case 0xA1:
      return ' ';  // ideographic space
    case 0xAB:
      return '~';  // full-width tilde
    case 0xEE:
    case 0xEF:
      return '*';  // the white and the black star
    default:
      return 0;
  }
}

Text BytesText(const Bytes& bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace

Text NormaliseFullWidth(const Text& text) {
  Text out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size(); ++pos) {
    unsigned char byte = static_cast<unsigned char>(text[pos]);
    if (!IsLeadByte(byte)) {
      out.push_back(text[pos]);
      continue;
    }
    if (pos + 1 == text.size()) break;  // a lead byte without its trail byte
    unsigned char trail = static_cast<unsigned char>(text[++pos]);
    if (char half = HalfWidth(byte, trail)) {
      out.push_back(half);
    } else {
      out.push_back(static_cast<char>(byte));
      out.push_back(static_cast<char>(trail));
    }
  }
  return out;
}

double ToNumber(const Text& text) { return ParseDecimal(NormaliseFullWidth(text)); }

double ToNumber(const Value& value) {
  switch (value.kind()) {
    case Kind::kByte:
    case Kind::kShort:
    case Kind::kInt:
    case Kind::kInt64:
    case Kind::kBool:
      return static_cast<double>(value.integer());
    case Kind::kFloat:
    case Kind::kDouble:
      return value.floating();
    case Kind::kText:
      return ToNumber(value.text());
    default:  // date-time, subroutine, bytes, omitted
      return 0;
  }
}

int32_t TruncateToInt(double value) {
  // A plain cast of an out of range double is undefined; the int32 limits are the sound answer.
  if (std::isnan(value)) return 0;
  if (value <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (value >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

int32_t ToInteger(const Text& text) { return ParseInteger(NormaliseFullWidth(text)); }

int32_t ToInteger(const Value& value) {
  switch (value.kind()) {
    case Kind::kByte:
    case Kind::kShort:
    case Kind::kInt:
    case Kind::kInt64:  // its low 32 bits
    case Kind::kBool:
      return static_cast<int32_t>(static_cast<uint32_t>(value.integer()));
    case Kind::kFloat:
    case Kind::kDouble:
      return TruncateToInt(value.floating());
    case Kind::kText:
      return ToInteger(value.text());
    default:  // date-time, subroutine, bytes, omitted
      return 0;
  }
}

Text ToText(double value) { return FormatGeneral(value, 13); }

Text ToText(int32_t value) { return std::to_string(value); }

Text ToText(const Value& value) {
  switch (value.kind()) {
    case Kind::kOmitted:
      return Text();
    case Kind::kByte:
    case Kind::kShort:
    case Kind::kInt:
    case Kind::kInt64:
    case Kind::kSubroutine:  // its unsigned 32-bit value
      return std::to_string(value.integer());
    case Kind::kFloat:
      return FormatGeneral(static_cast<float>(value.floating()), 6);
    case Kind::kDouble:
      return ToText(value.floating());
    case Kind::kBool:
      return value.boolean() ? "真" : "假";
    case Kind::kDateTime:
      return DateTimeText(value.floating());
    case Kind::kText:
      return value.text();
    case Kind::kBytes:
      return BytesText(value.text());
  }
  return Text();
}

namespace {

// 10^n; from a table up to 10^22, the powers a double holds exactly (and so pow gives them),
// since amounts are rounded to the fen many times for each row of a register.
double PowerOfTen(int n) {
  static const auto kExact = [] {
    std::array<double, 23> powers{};
    double p = 1;
    for (double& power : powers) power = p, p *= 10;
    return powers;
  }();
  return n < int(kExact.size()) ? kExact[n] : std::pow(10.0, n);
}

}  // namespace

double RoundToPlaces(double value, int places) {
  // A zero result is +0 whatever the sign: "-0" is no amount a user should see.
  if (value == 0) return 0;
  if (std::isnan(value)) return value;
  const double a = std::fabs(value);
  places = std::clamp(places, -400, 400);  // beyond, 10^places is infinite or zero anyway
  const double scale = PowerOfTen(std::abs(places));
  if (places < 0 && std::isinf(scale)) return 0;  // every finite value is below half of it
  const double t = places > 0 ? a * scale : places < 0 ? a / scale : a;
  if (std::isinf(t)) return value;  // finer than the value holds: nothing to round
  // The whole part by a cast where it is exact, as modf gives it: sums of money are rounded
  // over and over, and the library call is most of the cost.
  const double nudged = t + 1e-12;
  double whole = 0;
  double fraction = 0;
  if (nudged < 0x1p62) {
    whole = double(int64_t(nudged));
    fraction = nudged - whole;
  } else {
    fraction = std::modf(nudged, &whole);
  }
  if (fraction >= 0.5) whole += 1;
  const double r = places > 0 ? whole / scale : places < 0 ? whole * scale : whole;
  if (r == 0) return 0;
  return value < 0 ? -r : r;
}

}  // namespace sr
