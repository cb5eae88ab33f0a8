#ifndef SALARY_PLATFORM_SHEET_SHEET_FORMAT_H_
#define SALARY_PLATFORM_SHEET_SHEET_FORMAT_H_

#include <map>

#include "platform/sheet/workbook.h"

// How the cells of a worksheet look: their number formats, bold type and the column widths
// that fit them.
namespace sr::sheet {

// The format code that a cell of a new sheet has.
inline constexpr char kGeneralFormat[] = "General";

// The number format of the cell: the last one put on a range holding it, else General.
Text NumberFormatAt(const Worksheet& sheet, int row, int column);
// Whether the cell is bold: the last bold setting put on a range holding it, else false.
bool BoldAt(const Worksheet& sheet, int row, int column);

// The text a cell shows. A number in General shows up to 11 significant digits; in a code such
// as "0.00" or "#,##0.00" it shows that many decimals, with thousands separators when the code
// has a comma. A text shows itself.
Text ShownText(const Cell& cell, const Text& format);

// The widths, in characters of the default font, that fit every filled cell of the columns
// `first` to `last` as it is shown (a two-byte character counts two, bold type a tenth more),
// with a character of margin. Columns without a filled cell are left out.
std::map<int, double> FittedWidths(const Worksheet& sheet, int first, int last);

}  // namespace sr::sheet

#endif  // SALARY_PLATFORM_SHEET_SHEET_FORMAT_H_
