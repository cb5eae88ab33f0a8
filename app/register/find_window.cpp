#include "app/register/find_window.h"

#include "forms/events.h"
#include "forms/secondary_forms.h"
#include "runtime/convert/conversions.h"

namespace sr::app {

bool FindInRegister(Grid& grid, const Text& sought) {
  const int rows = grid.RowCount() - 1;  // person rows 1 .. RowCount - 1
  const int columns = grid.ColumnCount();
  if (sought.empty() || rows <= 0 || columns <= 0) return false;
  const int cells = rows * columns;
  // Cells numbered 0 .. cells - 1 from (1, 0); the search starts after the cursor cell.
  int start = 0;
  if (grid.GetCursorRow() >= 1 && grid.GetCursorColumn() >= 0) {
    start = ((grid.GetCursorRow() - 1) * columns + grid.GetCursorColumn() + 1) % cells;
  }
  for (int step = 0; step < cells; ++step) {
    const int cell = (start + step) % cells;
    const int row = cell / columns + 1;
    const int column = cell % columns;
    if (FindText(grid.CellText(row, column), sought) > 0) {
      grid.SetCursor(row, column);
      return true;
    }
  }
  return false;
}

void ShowFindWindow(forms::Framework& framework, Grid& register_grid) {
  forms::FindForm form;
  form.find_button().Bind(forms::kButtonClicked, [&](const forms::EventArgs&) {
    const Text& sought = form.edit_box().text();
    const int row = register_grid.GetCursorRow(), column = register_grid.GetCursorColumn();
    if (sought.empty()) {
      framework.ShowMessage("请输入要查找的内容", "查找");
    } else if (!FindInRegister(register_grid, sought)) {
      framework.ShowMessage(Concat({"找不到“", sought, "”"}), "查找");
    } else if (row >= 1 && register_grid.GetCursorRow() == row &&
               register_grid.GetCursorColumn() == column) {
      // The search came round to where it started: the cursor does not move, so say why.
      framework.ShowMessage(Concat({"只有当前单元格中有“", sought, "”，没有别的地方有。"}), "查找");
    }
  });
  framework.ShowModal(form);
}

}  // namespace sr::app
