#ifndef SALARY_APP_REGISTER_REGISTER_GRID_BINDING_H_
#define SALARY_APP_REGISTER_REGISTER_GRID_BINDING_H_

#include "app/register/salary_register.h"
#include "forms/grid/grid.h"

namespace sr::app {

// Keeps the register grid in step with the salary register, both ways: every change of the
// register is shown in the grid (texts, rows, the register's alignment), and what the user
// types, pastes, cuts or deletes in the grid goes into the register. The grid stays the view:
// cursor, selection, sizes and the cell editor are its own.
class RegisterGridBinding : public RegisterListener {
 public:
  // Shows `salary_register` in `grid` at once. Both must outlive the binding.
  RegisterGridBinding(SalaryRegister& salary_register, Grid& grid);
  ~RegisterGridBinding() override;
  RegisterGridBinding(const RegisterGridBinding&) = delete;
  RegisterGridBinding& operator=(const RegisterGridBinding&) = delete;

  // The grid's own editing changed the texts of cells inside `range` (its CellsEdited event):
  // they go into the register. Title cells are never edited in the grid.
  void TakeGridEdits(const CellRange& range);

  // While the results are stale the titles of the result columns (应发工资, 个人所得税, 扣款合计,
  // 实发工资) show kStaleResultsMark after them, in the grid only: the register's titles, which
  // name the register file's fields, stay as they are.
  void MarkResultsStale(bool stale);
  // The text the grid shows for a register cell: its text, with the mark on a stale result title.
  Text ShownText(int row, int column) const;

  // Whether the grid has the register's rows and shows every text of it (for tests).
  bool InStep() const;

  void RegisterChanging() override;
  void RegisterChanged(const RegisterChange& change) override;

 private:
  // Writes the register's texts of `range` into the cells whose text differs.
  void ShowCells(const RegisterRange& range);
  void ShowInsertedRows(const RegisterRange& rows);
  void ShowRemovedRows(const RegisterRange& rows);

  SalaryRegister& register_;
  Grid& grid_;
  bool taking_edits_ = false;  // the register changes because of the grid: nothing to show
  bool results_stale_ = false;
};

inline constexpr char kStaleResultsMark[] = "（未重算）";

// The register's alignment for every row the grid has: the title row and columns 0 and 1
// (number and name) centred, every other cell left. Run whenever the rows are replaced, since
// rows that a longer register or a sort added would otherwise keep another alignment.
void AlignRegisterGrid(Grid& grid);

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_REGISTER_GRID_BINDING_H_
