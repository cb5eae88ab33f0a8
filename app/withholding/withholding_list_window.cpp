#include "app/withholding/withholding_list_window.h"

#include "runtime/automation/cell_reference.h"
#include "app/withholding/withholding_list.h"
#include "app/withholding/withholding_list_printout.h"
#include "forms/events.h"
#include "runtime/automation/excel.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

constexpr int kCellText = 1;
const char kAmountFormat[] = "#,##0.00";
constexpr int kFirstAmountListColumn = 6;  // 1-based sheet column of 收入额

}  // namespace

WithholdingListWindow::WithholdingListWindow(AppContext& app, std::vector<LedgerEntry> ledger,
                                             int year, int month)
    : app_(app), ledger_(std::move(ledger)) {
  rows_ = WithholdingListRows(ledger_, month);
  heading_ = Concat({ToText(year), "年", ToText(month), "月 个人所得税扣缴明细"});
}

void WithholdingListWindow::Show() {
  forms::WithholdingListForm form(*this, heading_, static_cast<int>(rows_.size()) + 1,
                                  static_cast<int>(WithholdingListTitles().size()));
  app_.framework.ShowModal(form);
}

void WithholdingListWindow::OnCreated(forms::WithholdingListForm& form) {
  const std::vector<Text>& titles = WithholdingListTitles();
  const int columns = static_cast<int>(titles.size());
  Grid& grid = form.grid();
  for (int c = 0; c < columns; ++c) grid.SetCellValue(0, c, kCellText, Value::FromText(titles[c]));
  grid.SetColumnWidth(3, 150);  // 证件号码
  for (size_t r = 0; r < rows_.size(); ++r) {
    for (int c = 0; c < columns; ++c) {
      grid.SetCellValue(static_cast<int>(r + 1), c, kCellText, Value::FromText(rows_[r][c]));
    }
  }
}

void WithholdingListWindow::OnPrintClicked(forms::WithholdingListForm&) {
  Printer printer(&app_.seams.print);
  PrintWithholdingList(rows_, heading_, printer);
}

void WithholdingListWindow::OnStatementClicked(forms::WithholdingListForm& form) {
  const int row = form.grid().GetCursorRow();
  if (row < 1 || row > static_cast<int>(rows_.size())) {
    app_.framework.ShowMessage("请先点一下要看的人员那一行。", "个人累计");
    return;
  }
  app_.framework.ShowMessage(YearStatement(ledger_, rows_[row - 1][0]), "个人累计",
                             ui::MessageButtons::kOk, ui::MessageIcon::kInformation);
}

void WithholdingListWindow::OnExportClicked(forms::WithholdingListForm&) {
  ExcelApp excel(&app_.seams.automation);
  if (!excel.Create()) {
    app_.framework.ShowMessage("Excel 程序创建失败！可能没有安装 Excel 程序");
    return;
  }
  ExcelWorkbooks workbook;
  workbook.Attach(excel);
  workbook.Activate();
  workbook.SetSheetNumber(1);
  const std::vector<Text>& titles = WithholdingListTitles();
  const int columns = static_cast<int>(titles.size());
  auto put = [&](int row, int column, const Text& text) {
    const Text reference = CellReference(column, row);
    workbook.SetFirstCell(reference);
    workbook.SetSecondCell(reference);
    workbook.SetValue(text);
  };
  for (int c = 1; c <= columns; ++c) put(1, c, titles[c - 1]);
  for (size_t r = 0; r < rows_.size(); ++r) {
    for (int c = 1; c <= columns; ++c) {
      // Numbers and ID numbers keep every digit as text; amounts become numbers that sum.
      const Text& text = rows_[r][c - 1];
      put(static_cast<int>(r + 2), c, c < kFirstAmountListColumn ? "'" + text : text);
    }
  }
  const int last_row = static_cast<int>(rows_.size()) + 1;
  if (last_row >= 2) {
    workbook.SetFirstCell(CellReference(kFirstAmountListColumn, 2));
    workbook.SetSecondCell(CellReference(columns, last_row));
    workbook.SetNumberFormat(kAmountFormat);
  }
  workbook.SetFirstCell(CellReference(1, 1));
  workbook.SetSecondCell(CellReference(columns, 1));
  workbook.SetBold(true);
  workbook.AutoFitColumns();
  workbook.FreezeRows(1);
  Text not_shown;
  const bool shown = excel.SetVisible(true, &not_shown);
  workbook.Release();
  excel.Release();
  if (!shown) {
    app_.framework.ShowMessage(Concat({"导出的工作簿没有显示出来：\r\n", not_shown}), "导出",
                               ui::MessageButtons::kOk, ui::MessageIcon::kWarning);
  }
}

}  // namespace sr::app
