#ifndef SALARY_APP_PRINTOUTS_PRINTOUT_CELLS_H_
#define SALARY_APP_PRINTOUTS_PRINTOUT_CELLS_H_

#include <vector>

#include "app/paper/paper_table.h"
#include "app/register/salary_register.h"

// What the payslips and the whole register print of a cell, and how wide it is on paper.
namespace sr::app {

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

// The width in 0.1 mm of each of `columns`: the widest of its title, its printed cells in
// `rows` and `extra` texts (a totals row), plus `padding` on each side.
std::vector<int> ColumnWidths(const SalaryRegister& salary_register, const std::vector<int>& rows,
                              const std::vector<int>& columns,
                              const std::vector<Text>& extra_by_column, int padding,
                              TextMeasure& measure);

}  // namespace sr::app

#endif  // SALARY_APP_PRINTOUTS_PRINTOUT_CELLS_H_
