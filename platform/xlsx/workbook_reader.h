#ifndef SALARY_PLATFORM_XLSX_WORKBOOK_READER_H_
#define SALARY_PLATFORM_XLSX_WORKBOOK_READER_H_

#include <string>
#include <string_view>
#include <vector>

// The seam through which the program reads a spreadsheet workbook (.xlsx): the cells of its first
// worksheet, as texts. The real reader (platform/xlsx, liborcus on Linux) is the only code that
// knows the file format; tests may hand the program another. The Windows build has no workbook
// library: its real reader reads nothing and says so through CanRead().
namespace sr::xlsx {

struct SheetCell {
  enum class Kind {
    kEmpty,
    kText,    // a text cell: `text` exactly as the workbook holds it
    kNumber,  // a number cell: `text` has every digit the workbook's number holds (see below)
    kOther,   // a truth value, date or time, written as text
  };
  Kind kind = Kind::kEmpty;
  std::string text;  // UTF-8
};

// The cells of one worksheet by row and column (both from 0). Rows may differ in length; a
// missing cell is empty.
using SheetRows = std::vector<std::vector<SheetCell>>;

class WorkbookReader {
 public:
  virtual ~WorkbookReader() = default;
  // Reads the first worksheet of the workbook whose file contents are `bytes`. On failure returns
  // false and sets *error to why (UTF-8, for the user); *rows is then unspecified.
  virtual bool ReadFirstSheet(std::string_view bytes, SheetRows* rows, std::string* error) = 0;
  // False when this reader reads no workbook at all, so that the program can say that importing
  // workbooks is not offered instead of calling the user's file damaged.
  virtual bool CanRead() const { return true; }
};

// The program's reader: over liborcus on Linux; on Windows one whose CanRead() is false. With
// liborcus, a number cell's text is the shortest decimal of the number rounded
// to 15 significant digits (what a spreadsheet shows of a double), without an exponent for
// magnitudes below 1e21: 1234.5 -> "1234.5", 0.1 + 0.2 -> "0.3", 123456789012345 -> itself.
WorkbookReader& RealWorkbookReader();

// The text of a number cell, as above (Linux build).
std::string NumberText(double value);

}  // namespace sr::xlsx

#endif  // SALARY_PLATFORM_XLSX_WORKBOOK_READER_H_
