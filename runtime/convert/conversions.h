#ifndef SALARY_RUNTIME_CONVERT_CONVERSIONS_H_
#define SALARY_RUNTIME_CONVERT_CONVERSIONS_H_

#include <cstdint>

#include "base/text.h"
#include "base/value.h"

namespace sr {

// Conversions between typed values, numbers and texts. None of them fails: malformed input gives
// 0 for a number and the empty text for a text.

// Two amounts closer than this count as equal; an amount within it of 0 counts as zero.
inline constexpr double kAmountTolerance = 0.0000001;

// Replaces the full-width forms of ASCII characters (lead byte 0xA3), the ideographic space, the
// full-width tilde and the two stars by their one-byte counterparts; every other character is
// copied. A lead byte at the very end of the text is dropped.
Text NormaliseFullWidth(const Text& text);

// Double unchanged; integral kinds and float exactly; bool 1 or 0; text normalised and then read
// like atof in the C locale, decimal only (no hex, inf or nan), the longest prefix that forms a
// number, 0 when there is none. Date-time, bytes, subroutine and omitted give 0.
double ToNumber(const Value& value);
double ToNumber(const Text& text);

// Int, bool, byte, short as they are; int64 its low 32 bits; float and double truncated toward
// zero (clamped to the int32 range, NaN gives 0); text normalised and then read like atoi
// (clamped to the int32 range). Any other kind gives 0.
int32_t ToInteger(const Value& value);
int32_t ToInteger(const Text& text);

// A computed double used as an integer (a row, a column, a rate from the tax table): truncated
// toward zero, clamped to the int32 range; NaN gives 0. Never rounds.
int32_t TruncateToInt(double value);

// The text a value shows: double "%.13g", float "%.6g" (exponent with a sign and at least three
// digits, as 1e+015), int and short "%d", byte and subroutine "%u", int64 in decimal, bool
// "真"/"假", date-time as DateTimeText, text a copy, bytes up to the first zero byte, omitted the
// empty text.
Text ToText(const Value& value);
Text ToText(double value);
Text ToText(int32_t value);

// Half away from zero with a bias of 1e-12, at `places` decimal places (negative places round to
// tens, hundreds, ...). A result of zero is always +0, so it never shows as "-0".
double RoundToPlaces(double value, int places = 0);

// 1-based byte position of the first occurrence of `sought` at or after byte `start` (values
// below 1 count as 1), or -1. Matches start only on character boundaries; `ignore_case` folds
// ASCII letters only.
int FindText(const Text& text, const Text& sought, int start = 1, bool ignore_case = false);

// Replaces occurrences of `sought` found from byte `start` on, at most `count` of them (a negative
// count means all). Bytes before `start` are copied unchanged. Returns a copy of `text` when
// `text` or `sought` is empty, `start` is past the end, or `count` is 0.
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement = Text(),
                 int start = 1, int count = -1, bool case_sensitive = true);

}  // namespace sr

#endif  // SALARY_RUNTIME_CONVERT_CONVERSIONS_H_
