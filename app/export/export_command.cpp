#include "app/export/export_command.h"

#include <algorithm>

#include "runtime/automation/cell_reference.h"
#include "app/progress_display.h"
#include "app/register/register_layout.h"
#include "runtime/convert/conversions.h"

namespace sr::app {

namespace {

const char kCreateFailed[] = "Excel 程序创建失败！可能没有安装 Excel 程序";
const char kExportTitle[] = "导出到Excel电子表格";
const char kAmountFormat[] = "#,##0.00";
// The identifying columns (number and name) and the remark go behind an apostrophe, so that a
// number such as "0001" or an 18-digit ID keeps every digit as text; every amount column is
// sent plain and becomes a number that sums. `column` is the register's (0-based).
bool KeptAsText(int column) { return !IsAmountColumn(column); }

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
  const SalaryRegister& salary_register = app_.salary_register;
  // The bar counts the open register's records, not the grid's rows; with none open it moves
  // on every row.
  const int records = app_.databases.GetRecordCount();
  ProgressDisplay progress(app_.form);
  progress.Show();
  progress.Count(records, 0);
  automation::DispatchRef held;  // the last cell's range, until the next one replaces it
  const int columns = kRegisterColumns;
  // The titles, then the rows that stand for somebody, one after the other: a row with neither
  // number nor name is left out (the calculation writes its zeros into every empty row).
  int sent = 0;
  for (int row = 0; row < salary_register.RowCount(); ++row) {
    if (row == 0 || salary_register.HasNumberOrName(row)) {
      ++sent;
      for (int c = 1; c <= columns; ++c) {
        const Text reference = CellReference(c, sent);
        const Text& cell = salary_register.CellText(row, c - 1);
        workbook_.SetFirstCell(reference);
        workbook_.SetSecondCell(reference);
        workbook_.SetValue(KeptAsText(c - 1) ? "'" + cell : cell);
        held = workbook_.GetRange();
      }
    }
    progress.Step();
  }
  FormatSheet(sent, columns);
  Text not_shown;
  const bool shown = excel_.SetVisible(true, &not_shown);
  workbook_.Release();
  excel_.Release();
  progress.Hide();
  held.Reset();
  if (!shown) {
    app_.framework.ShowMessage(Concat({"导出的工作簿没有显示出来：\r\n", not_shown}), kExportTitle,
                               ui::MessageButtons::kOk, ui::MessageIcon::kWarning);
  }
}

void ExportCommand::FormatSheet(int rows, int columns) {
  // Amounts with two decimals and thousands separators; empty amount cells stay empty.
  if (rows >= 2 && columns > kFirstAmountColumn) {
    workbook_.SetFirstCell(CellReference(kFirstAmountColumn + 1, 2));
    workbook_.SetSecondCell(CellReference(std::min(columns, kLastAmountColumn + 1), rows));
    workbook_.SetNumberFormat(kAmountFormat);
  }
  // The titles bold and always in view, every column as wide as its title and its amounts.
  workbook_.SetFirstCell(CellReference(1, 1));
  workbook_.SetSecondCell(CellReference(columns, 1));
  workbook_.SetBold(true);
  workbook_.AutoFitColumns();
  workbook_.FreezeRows(1);
}

}  // namespace sr::app
