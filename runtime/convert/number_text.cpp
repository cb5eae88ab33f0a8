#include "runtime/convert/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace sr {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The white space that atof and atoi skip in the C locale.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

Text NonFiniteText(double value) {
  if (std::isinf(value)) return value < 0 ? "-1.#INF" : "1.#INF";
  return std::signbit(value) ? "-1.#IND" : "1.#QNAN";
}

// "1e+15" -> "1e+015": the Windows runtime writes at least three exponent digits.
void WidenExponent(Text* text) {
  size_t e = text->find('e');
  if (e == Text::npos) return;
  size_t digits = e + 2;  // after 'e' and its sign
  size_t width = text->size() - digits;
  if (width < 3) text->insert(digits, 3 - width, '0');
}

// Length of the longest prefix of `s` that reads as a decimal number without a sign:
// digits, an optional point with digits, an optional exponent. 0 when there is none.
size_t DecimalPrefixLength(std::string_view s) {
  size_t i = 0;
  size_t mantissa_digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++mantissa_digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++mantissa_digits;
  }
  if (mantissa_digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

// The exponent digits of a number, as an int that stops growing long before it could overflow:
// such an exponent puts the value out of any range anyway.
int64_t SaturatedExponent(std::string_view digits) {
  int64_t exponent = 0;
  for (char c : digits) exponent = std::min<int64_t>(exponent * 10 + (c - '0'), int64_t{1} << 40);
  return exponent;
}

// from_chars leaves the value alone when it is out of range; strtod then gives what atof would
// (an infinity, or zero or a denormal). The decimal point is the one thing of a number that
// strtod reads by the process's locale, so the number goes to it without one: "12.5e-400"
// becomes "125e-401".
double ParseOutOfRange(std::string_view number) {
  const size_t e = std::min(number.find_first_of("eE"), number.size());
  std::string_view mantissa = number.substr(0, e);
  int64_t exponent = 0;
  if (e < number.size()) {
    std::string_view digits = number.substr(e + 1);
    const bool negative = digits[0] == '-';
    if (digits[0] == '+' || digits[0] == '-') digits.remove_prefix(1);
    exponent = negative ? -SaturatedExponent(digits) : SaturatedExponent(digits);
  }
  std::string plain;
  if (const size_t point = mantissa.find('.'); point != std::string_view::npos) {
    plain = std::string(mantissa.substr(0, point)).append(mantissa.substr(point + 1));
    exponent -= static_cast<int64_t>(mantissa.size() - point - 1);
  } else {
    plain = mantissa;
  }
  plain += "e" + std::to_string(exponent);
  return std::strtod(plain.c_str(), nullptr);
}

}  // namespace

Text FormatGeneral(double value, int precision) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  char buffer[64];
  auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  Text text(buffer, result.ptr);
  WidenExponent(&text);
  return text;
}

namespace {

// Where the number that atof reads begins: after the leading spaces and the sign.
size_t NumberStart(std::string_view text, bool* negative) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  *negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) *negative = text[i++] == '-';
  return i;
}

}  // namespace

double ParseDecimal(std::string_view text) {
  bool negative;
  const size_t i = NumberStart(text, &negative);
  std::string_view number = text.substr(i, DecimalPrefixLength(text.substr(i)));
  if (number.empty()) return 0;
  double value = 0;
  auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) value = ParseOutOfRange(number);
  return negative ? -value : value;
}

bool ParsesWholly(std::string_view text) {
  bool negative;
  const size_t start = NumberStart(text, &negative);
  const size_t length = DecimalPrefixLength(text.substr(start));
  if (length == 0) return false;
  size_t end = start + length;
  while (end < text.size() && IsSpace(text[end])) ++end;
  return end == text.size();
}

int32_t ParseInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate the magnitude and saturate: a too long number stays at the int32 limit.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  return static_cast<int32_t>(magnitude == kLimit ? kLimit - 1 : magnitude);
}

}  // namespace sr
