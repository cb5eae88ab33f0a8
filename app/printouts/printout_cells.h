#ifndef SALARY_APP_PRINTOUTS_PRINTOUT_CELLS_H_
#define SALARY_APP_PRINTOUTS_PRINTOUT_CELLS_H_

#include <unordered_map>
#include <vector>

#include "app/register/salary_register.h"
#include "base/value.h"
#include "runtime/print/printer.h"

// What the payslips and the whole register print of a cell, and how wide it is on paper.
namespace sr::app {

// The font of every printout of this room, and its sizes in points.
inline constexpr char kPrintoutFace[] = "宋体";
inline constexpr double kCellPoints = 9;
inline constexpr double kHeadingPoints = 12;

// The text printed for a register cell: number, name and remark as they are; an amount as
// ToText of the number it stands for ("1234.5"), the way the summary prints its totals, and an
// empty cell empty.
Text PrintedCell(const SalaryRegister& salary_register, int row, int column);

// The person rows (number and name filled) among `rows`, in order; all of the register's
// when `rows` is empty.
std::vector<int> PersonRows(const SalaryRegister& salary_register, const std::vector<int>& rows);

// The columns a payslip shows for `rows`: number and name always; every other column unless
// `omit_empty` and each of `rows` has it empty or 0.
std::vector<int> PayslipColumns(const SalaryRegister& salary_register, const std::vector<int>& rows,
                                bool omit_empty);

// A printout's heading: the company, `what` ("工资条", "工资表") and the pay month, as far as
// they are known, an ideographic space between them.
Text PrintoutHeading(const Text& company, const Text& what, const Text& pay_month);

// Selects the printouts' face, measures the heading's line height and leaves the cell font
// selected; returns that height in 0.1 mm. REQUIRES: a job is open on `printer`.
int SelectPrintoutFont(Printer& printer);

// Measures texts in the printer's current font, remembering each text's width: a register
// repeats its amounts, and asking the device for each is the slow part of laying out.
class TextMeasure {
 public:
  explicit TextMeasure(Printer& printer) : printer_(printer) {}
  int Width(const Text& text);
  int Height() { return printer_.TextHeight("W"); }

 private:
  Printer& printer_;
  std::unordered_map<Text, int> widths_;
};

// The width in 0.1 mm of each of `columns`: the widest of its title, its printed cells in
// `rows` and `extra` texts (a totals row), plus `padding` on each side.
std::vector<int> ColumnWidths(const SalaryRegister& salary_register, const std::vector<int>& rows,
                              const std::vector<int>& columns,
                              const std::vector<Text>& extra_by_column, int padding,
                              TextMeasure& measure);

// Splits `widths` (in order) into runs whose sum fits `available`; a column wider than that
// gets a run of its own. `fixed` is added to every run's width (key columns repeated on each).
std::vector<std::vector<int>> SplitIntoRuns(const std::vector<int>& widths, int available,
                                            int fixed = 0);

// Prints `text` inside the cell [left, left + width) whose top is `top`: amounts to the right,
// titles centred, other texts to the left, `padding` from the cell's side.
enum class CellAlign { kLeft, kCentre, kRight };
void PrintCellText(Printer& printer, TextMeasure& measure, const Text& text, int left, int width,
                   int top, int padding, CellAlign align);

}  // namespace sr::app

#endif  // SALARY_APP_PRINTOUTS_PRINTOUT_CELLS_H_
