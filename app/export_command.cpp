#include "app/export_command.h"

#include "app/column_letters.h"
#include "app/progress_display.h"
#include "forms/grid/grid.h"

namespace sr::app {

namespace {

const char kCreateFailed[] = "Excel 程序创建失败！可能没有安装 Excel 程序";

// Columns b and g hold identifiers (numbers of staff, accounts, ID cards): the apostrophe keeps
// them text, leading zeros and all digits included.
bool KeptAsText(int column) { return column == 2 || column == 7; }

}  // namespace

void ExportCommand::Run() {
  if (!excel_.Create()) {
    app_.framework.ShowMessage(kCreateFailed);
    return;
  }
  workbook_.Attach(excel_);
  workbook_.Activate();
  workbook_.SetSheetNumber(1);
  SendCells();
}

void ExportCommand::SendCells() {
  const Grid& grid = app_.grid();
  // The bar counts the open register's records, not the grid's rows; with none open it moves
  // on every row.
  const int records = app_.databases.GetRecordCount();
  ProgressDisplay progress(app_.form);
  progress.Show();
  progress.Count(records, 0);
  automation::DispatchRef held;  // the last cell's range, until the next one replaces it
  const int rows = grid.RowCount();
  const int columns = grid.ColumnCount();
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= columns; ++c) {
      const Text reference = CellReference(c, r);
      const Text& cell = grid.CellText(r - 1, c - 1);
      workbook_.SetFirstCell(reference);
      workbook_.SetSecondCell(reference);
      workbook_.SetValue(KeptAsText(c) ? "'" + cell : cell);
      held = workbook_.GetRange();
    }
    progress.Step();
  }
  excel_.SetVisible(true);
  workbook_.Release();
  excel_.Release();
  progress.Hide();
  held.Reset();
}

}  // namespace sr::app
