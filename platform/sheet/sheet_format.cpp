#include "platform/sheet/sheet_format.h"

#include <algorithm>
#include <cstdio>

namespace sr::sheet {

namespace {

constexpr double kMargin = 1.0;
constexpr double kBoldFactor = 1.1;
constexpr double kMaxWidth = 255.0;  // Excel's widest column

// The value of the last entry of `ranges` that holds the cell, or `fallback`.
template <class T>
T LastCovering(const std::vector<std::pair<CellRange, T>>& ranges, int row, int column,
               T fallback) {
  for (auto it = ranges.rbegin(); it != ranges.rend(); ++it) {
    const CellRange& r = it->first;
    if (row >= r.first_row && row <= r.last_row && column >= r.first_column &&
        column <= r.last_column) {
      return it->second;
    }
  }
  return fallback;
}

// "1234567.5" -> "1,234,567.5": separators in the whole part of a plain decimal text.
Text GroupThousands(const Text& plain) {
  const size_t begin = (!plain.empty() && plain[0] == '-') ? 1 : 0;
  const size_t end = std::min(plain.find('.'), plain.size());
  Text grouped = plain.substr(0, begin);
  for (size_t i = begin; i < end; ++i) {
    grouped += plain[i];
    const size_t left = end - i - 1;
    if (left > 0 && left % 3 == 0) grouped += ',';
  }
  return grouped + plain.substr(end);
}

Text ShownNumber(double number, const Text& format) {
  char buffer[400];
  const Text section = format.substr(0, format.find(';'));
  if (section.empty() || section == kGeneralFormat) {
    std::snprintf(buffer, sizeof buffer, "%.11g", number);
    return buffer;
  }
  const size_t point = section.find('.');
  int decimals = 0;
  for (size_t i = point; point != Text::npos && i + 1 < section.size() && section[i + 1] == '0';
       ++i) {
    ++decimals;
  }
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, number);
  const bool grouping = section.substr(0, point).find(',') != Text::npos;
  return grouping ? GroupThousands(buffer) : Text(buffer);
}

}  // namespace

Text NumberFormatAt(const Worksheet& sheet, int row, int column) {
  return LastCovering(sheet.number_formats, row, column, Text(kGeneralFormat));
}

bool BoldAt(const Worksheet& sheet, int row, int column) {
  return LastCovering(sheet.bold, row, column, false);
}

Text ShownText(const Cell& cell, const Text& format) {
  if (const double* number = std::get_if<double>(&cell)) return ShownNumber(*number, format);
  return std::get<Text>(cell);
}

std::map<int, double> FittedWidths(const Worksheet& sheet, int first, int last) {
  std::map<int, double> widths;
  for (const auto& [position, cell] : sheet.cells) {
    const auto [row, column] = position;
    if (column < first || column > last) continue;
    // GBK: a one-byte character is one character wide, a two-byte one two.
    double width = static_cast<double>(ShownText(cell, NumberFormatAt(sheet, row, column)).size());
    if (BoldAt(sheet, row, column)) width *= kBoldFactor;
    double& fitted = widths[column];
    fitted = std::min(std::max(fitted, width + kMargin), kMaxWidth);
  }
  return widths;
}

}  // namespace sr::sheet
