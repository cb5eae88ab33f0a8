#ifndef SALARY_PLATFORM_XLSX_WORKBOOK_READER_H_
#define SALARY_PLATFORM_XLSX_WORKBOOK_READER_H_

#include <cstdint>
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
    kNoValue,  // a formula whose result the workbook does not hold: `text` is empty
  };
  Kind kind = Kind::kEmpty;
  std::string text;  // UTF-8
};

// The cells of one worksheet by row and column (both from 0). Rows may differ in length; a
// missing cell is empty.
using SheetRows = std::vector<std::vector<SheetCell>>;

// Bounds that no register comes near (it has 22 columns and at most 5,000 people). A file beyond
// one is refused before more of it is read, so that a hostile or broken file costs little time
// and memory.
inline constexpr int64_t kMostFileBytes = 16 << 20;  // the file
inline constexpr int64_t kMostPartBytes = 32 << 20;  // a part of a workbook, inflated
// Inflated size over compressed size of a part of 1 MiB or more: a spreadsheet's XML compresses
// some 5 to 20 times; far more is a file made to swell.
inline constexpr int64_t kMostInflation = 100;
inline constexpr long kMostRows = 5001;         // the title row and 5,000 people
inline constexpr long kMostColumns = 64;        // the register's 22 and empty or extra ones
inline constexpr size_t kMostCellBytes = 1024;  // a cell's text, UTF-8
inline constexpr long kMostTexts = kMostRows * kMostColumns;  // a workbook's shared texts

// Why a reader did not read a workbook.
struct ReadFailure {
  enum class Limit { kNone, kPartBytes, kInflation, kRows, kColumns, kCellBytes, kTexts };
  Limit limit = Limit::kNone;  // kNone: no workbook, or a damaged one
  long row = -1, column = -1;  // the cell beyond the limit, from 0; -1 when there is none
  std::string detail;          // why, in the library's words (UTF-8, not for the user)
};

class WorkbookReader {
 public:
  virtual ~WorkbookReader() = default;
  // Reads the first worksheet of the workbook whose file contents are `bytes`. On failure returns
  // false and sets *failure; *rows is then unspecified. A cell holding anything beyond the
  // limits above fails with the limit; an empty one is left out.
  virtual bool ReadFirstSheet(std::string_view bytes, SheetRows* rows, ReadFailure* failure) = 0;
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
