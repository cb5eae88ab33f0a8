#ifndef SALARY_APP_PAPER_PAPER_TABLE_H_
#define SALARY_APP_PAPER_PAPER_TABLE_H_

#include <unordered_map>
#include <vector>

#include "base/value.h"
#include "runtime/print/printer.h"

// What every printout of the program does on paper: its font, measuring texts, a table's cells
// and rules, splitting columns into runs that fit a page and rows into pages, and the page line.
namespace sr::app {

// The font of the program's printouts, and its sizes in points.
inline constexpr char kPrintoutFace[] = "宋体";
inline constexpr double kCellPoints = 9;
inline constexpr double kHeadingPoints = 12;

// A printout's heading: the company, `what` ("工资条", "工资表") and the pay month, as far as
// they are known, an ideographic space between them.
Text PrintoutHeading(const Text& company, const Text& what, const Text& pay_month);

// Selects the printouts' face, measures the heading's line height and leaves the cell font
// selected; returns that height in 0.1 mm. REQUIRES: a job is open on `printer`.
int SelectPrintoutFont(Printer& printer);

// Measures texts in the printer's current font, remembering each text's width: a table repeats
// its amounts, and asking the device for each is the slow part of laying out.
class TextMeasure {
 public:
  explicit TextMeasure(Printer& printer) : printer_(printer) {}
  int Width(const Text& text);
  int Height() { return printer_.TextHeight("W"); }

 private:
  Printer& printer_;
  std::unordered_map<Text, int> widths_;
};

// Splits `widths` (in order) into runs whose sum fits `available`; a column wider than that
// gets a run of its own. `fixed` is added to every run's width (key columns repeated on each).
std::vector<std::vector<int>> SplitIntoRuns(const std::vector<int>& widths, int available,
                                            int fixed = 0);

// Prints `text` inside the cell [left, left + width) whose top is `top`: amounts to the right,
// titles centred, other texts to the left, `padding` from the cell's side.
enum class CellAlign { kLeft, kCentre, kRight };
void PrintCellText(Printer& printer, TextMeasure& measure, const Text& text, int left, int width,
                   int top, int padding, CellAlign align);

// One line of a ruled table from x 0: each text inside its cell (cell i `widths[i]` wide, aligned
// by `aligns[i]`), a bar before, between and after the cells and a rule under them.
struct TableLine {
  const std::vector<int>& widths;
  const std::vector<CellAlign>& aligns;
  int row_height = 0;
  int padding = 0;
};
void PrintTableLine(Printer& printer, TextMeasure& measure, const TableLine& line, int top,
                    const std::vector<Text>& texts);

// The rows of one page: `count` rows from index `first`, and whether the totals row follows.
struct RowPage {
  int first = 0;
  int count = 0;
  bool totals = false;
};

// `rows` rows on pages of `rows_per_page` lines each, in order, the totals row taking a line of
// the last page (a page of its own when the last one is full). REQUIRES: rows_per_page >= 1.
std::vector<RowPage> PagesOfRows(int rows, int rows_per_page);

// "第 3 页 共 7 页".
Text PageLine(int page, int pages);

// What every page of a table repeats outside the table: `heading` centred at the top in the
// heading's size, and the page line of page `page` (from 1) of `pages` centred at the foot in the
// cell size, which stays selected. REQUIRES: a job is open on `printer`.
void PrintPageFrame(Printer& printer, TextMeasure& measure, const Text& heading, int page,
                    int pages);

}  // namespace sr::app

#endif  // SALARY_APP_PAPER_PAPER_TABLE_H_
