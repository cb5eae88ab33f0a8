#ifndef SALARY_PLATFORM_SHEET_WORKBOOK_H_
#define SALARY_PLATFORM_SHEET_WORKBOOK_H_

#include <map>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "base/value.h"

namespace sr::sheet {

// The largest sheet that the xlsx format holds.
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
// The longest text a cell holds, in characters.
constexpr size_t kMaxCellChars = 32767;

// A cell's content: a number or a (GBK) text.
using Cell = std::variant<double, Text>;

// A rectangle of cells, 0-based and inclusive.
struct CellRange {
  int first_row = 0;
  int first_column = 0;
  int last_row = 0;
  int last_column = 0;
  bool operator==(const CellRange&) const = default;
};

struct Worksheet {
  Text name;
  std::map<std::pair<int, int>, Cell> cells;  // (row, column), 0-based
  // Formats put on ranges, in the order they were put; a later one covers an earlier one.
  std::vector<std::pair<CellRange, Text>> number_formats;  // Excel's format codes
  std::vector<std::pair<CellRange, bool>> bold;
  std::map<int, double> column_widths;  // by column, in characters; others keep the default
  // The window's split (rows above it, columns left of it) and whether the panes are frozen
  // there.
  int split_row = 0;
  int split_column = 0;
  bool frozen = false;
};

struct Workbook {
  int number = 0;  // Book1, Book2, ... in the order the application made them
  std::vector<Worksheet> sheets;
  int active_sheet = 0;  // the sheet its window shows
};

// Reads a cell reference as a user types it into Excel's Range: "a1", "B12", "$C$3", or a
// rectangle "a1:c3" (corners in any order). nullopt when it is no reference or lies outside the
// sheet.
std::optional<CellRange> ParseRange(const Text& reference);
// The rectangle spanned by two references (Range(first, second)).
std::optional<CellRange> SpanRanges(const Text& first, const Text& second);

// What a typed text becomes in a cell, as Excel decides: a leading apostrophe makes the rest a
// text; a text that reads wholly as a decimal number becomes that number; a text that starts
// with "=" stays a text (register data never becomes a formula); the empty text clears the
// cell (nullopt).
std::optional<Cell> CellFromTypedText(const Text& text);

// Puts `cell` (nullopt: clears) into every cell of `range`.
void WriteRange(Worksheet* sheet, const CellRange& range, const std::optional<Cell>& cell);

}  // namespace sr::sheet

#endif  // SALARY_PLATFORM_SHEET_WORKBOOK_H_
