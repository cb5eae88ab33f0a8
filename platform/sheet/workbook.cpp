#include "platform/sheet/workbook.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace sr::sheet {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One corner such as "$AB$12"; returns 0-based (row, column).
std::optional<std::pair<int, int>> ParseCell(const Text& text) {
  size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  int64_t column = 0;
  size_t letters = 0;
  while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])) && letters < 4) {
    column = column * 26 + (std::tolower(static_cast<unsigned char>(text[i])) - 'a' + 1);
    ++i;
    ++letters;
  }
  if (letters == 0) return std::nullopt;
  if (i < text.size() && text[i] == '$') ++i;
  int64_t row = 0;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i]) && digits < 8) {
    row = row * 10 + (text[i] - '0');
    ++i;
    ++digits;
  }
  if (digits == 0 || i != text.size()) return std::nullopt;
  if (row < 1 || row > kMaxRows || column > kMaxColumns) return std::nullopt;
  return std::make_pair(static_cast<int>(row - 1), static_cast<int>(column - 1));
}

CellRange Span(std::pair<int, int> a, std::pair<int, int> b) {
  return CellRange{std::min(a.first, b.first), std::min(a.second, b.second),
                   std::max(a.first, b.first), std::max(a.second, b.second)};
}

// True when the whole text (spaces around it allowed) is a decimal number: sign, digits with
// at most one point, an optional exponent.
bool ReadsAsNumber(const Text& text, double* number) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == Text::npos) return false;
  size_t end = text.find_last_not_of(' ') + 1;
  Text core = text.substr(begin, end - begin);
  size_t i = 0;
  if (core[i] == '+' || core[i] == '-') ++i;
  size_t digits = 0;
  bool point = false;
  for (; i < core.size(); ++i) {
    if (IsDigit(core[i])) {
      ++digits;
    } else if (core[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < core.size() && (core[i] == 'e' || core[i] == 'E')) {
    ++i;
    if (i < core.size() && (core[i] == '+' || core[i] == '-')) ++i;
    size_t exponent_digits = 0;
    while (i < core.size() && IsDigit(core[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  if (i != core.size()) return false;
  // from_chars, not strtod: the process locale (Qt sets it from the environment) must not
  // turn the point into a decimal comma. Out of range, Excel too keeps the text.
  size_t skip = core[0] == '+' ? 1 : 0;
  auto result = std::from_chars(core.data() + skip, core.data() + core.size(), *number);
  return result.ec == std::errc() && std::isfinite(*number);
}

}  // namespace

std::optional<CellRange> ParseRange(const Text& reference) {
  size_t colon = reference.find(':');
  if (colon == Text::npos) {
    auto cell = ParseCell(reference);
    if (!cell) return std::nullopt;
    return Span(*cell, *cell);
  }
  auto a = ParseCell(reference.substr(0, colon));
  auto b = ParseCell(reference.substr(colon + 1));
  if (!a || !b) return std::nullopt;
  return Span(*a, *b);
}

std::optional<CellRange> SpanRanges(const Text& first, const Text& second) {
  auto a = ParseRange(first);
  auto b = ParseRange(second);
  if (!a || !b) return std::nullopt;
  return CellRange{std::min(a->first_row, b->first_row), std::min(a->first_column, b->first_column),
                   std::max(a->last_row, b->last_row), std::max(a->last_column, b->last_column)};
}

std::optional<Cell> CellFromTypedText(const Text& text) {
  if (text.empty()) return std::nullopt;
  if (text[0] == '\'') {
    if (text.size() == 1) return std::nullopt;
    return Cell(text.substr(1));
  }
  double number = 0;
  if (ReadsAsNumber(text, &number)) return Cell(number);
  return Cell(text);
}

void WriteRange(Worksheet* sheet, const CellRange& range, const std::optional<Cell>& cell) {
  for (int r = range.first_row; r <= range.last_row; ++r) {
    for (int c = range.first_column; c <= range.last_column; ++c) {
      if (cell) {
        sheet->cells[{r, c}] = *cell;
      } else {
        sheet->cells.erase({r, c});
      }
    }
  }
}

}  // namespace sr::sheet
