#include "app/shell/main_window.h"

#include <algorithm>

#include "app/printouts/printout_settings.h"
#include "app/printouts/printouts_window.h"
#include "app/register/amount_cells.h"
#include "app/tax_rules/fen.h"
#include "app/tax_rules/tax_table.h"
#include "app/withholding/ledger.h"
#include "app/withholding/people_file.h"
#include "forms/grid/grid.h"
#include "platform/ui/keys.h"

namespace sr::app {

MainWindow::MainWindow(forms::Framework& framework, const Seams& seams, DatabaseTable& databases,
                       ProgramState& state)
    : form_(*this),
      binding_(register_model_, form_.grid()),
      history_(register_model_),
      stale_results_(register_model_, RoundToFen),
      context_{framework, seams, databases, state, form_, register_model_, &history_,
               &stale_results_},
      register_(context_),
      editing_(context_, register_),
      tax_(context_),
      withholding_(context_, &register_),
      summary_(context_),
      export_(context_),
      import_(context_, register_) {
  history_.SetOnStepsChanged([this] { ShowStepsAvailable(); });
  register_.SetFileListener(&withholding_);
  register_.SetResultsCheck([this] { return ResultsMayGoOut(); });
  state.own_files = {{kRelayFileName, "新建工资表所用的中转文件"},
                     {kScratchFileName, "排序所用的临时文件"},
                     {kTaxTableFileName, "程序所用的税率表"},
                     {kResidentTaxTable.file_name, "程序所用的居民预扣率表"},
                     {kPeopleFileName, "程序所用的人员信息文件"},
                     {kLedgerFileNames, "程序所用的扣缴台账"},
                     {kPrintoutSettingsFile, "程序所用的打印设置文件"}};
  stale_results_.SetOnChanged([this] { ShowResultsState(); });
}

namespace {

constexpr char kStaleCaption[] = "（结果未重新计算）";

// The amount columns that 计算 reads (the pay items) or, with the results, those 汇总 totals.
std::vector<int> AmountColumns(bool with_results) {
  std::vector<int> columns;
  for (int column = 0; column < kRegisterColumns; ++column) {
    const ColumnRole role = RoleOf(column);
    const bool item = role == ColumnRole::kIncome || role == ColumnRole::kDeduction;
    if (item || (with_results && IsAmountColumn(column))) columns.push_back(column);
  }
  return columns;
}

}  // namespace

void MainWindow::Calculate() {
  if (!MayReadAmountsAsNumbers(context_, AmountColumns(false), "计算", "个人收入所得税计算")) {
    return;
  }
  withholding_.Calculate();
  stale_results_.CalculationEnded();
}

void MainWindow::Summary() {
  if (MayReadAmountsAsNumbers(context_, AmountColumns(true), "汇总", "工资汇总")) summary_.Run();
}

void MainWindow::ShowResultsState() {
  const bool stale = stale_results_.Stale();
  binding_.MarkResultsStale(stale);
  Text caption = form_.caption();
  const Text mark = kStaleCaption;
  const bool marked = caption.size() >= mark.size() &&
                      caption.compare(caption.size() - mark.size(), mark.size(), mark) == 0;
  if (marked) caption.resize(caption.size() - mark.size());
  if (stale) caption += mark;
  if (caption != form_.caption()) form_.SetCaption(caption);
}

bool MainWindow::ResultsMayGoOut() {
  if (!stale_results_.Stale()) return true;
  const ui::MessageAnswer answer = context_.framework.ShowMessage(
      "表中有金额在上次计算之后改过，应发工资、个人所得税、扣款合计和实发工资还是上次计算的结果。"
      "\r\n\r\n先重新计算吗？\r\n是：先计算；否：用旧的结果继续，打印件上会注明；取消：什么也不做。",
      "计算结果已过时", ui::MessageButtons::kYesNoCancel, ui::MessageIcon::kQuestion);
  if (answer == ui::MessageAnswer::kNo) return true;
  if (answer != ui::MessageAnswer::kYes) return false;
  AsOneAction([this] { Calculate(); });
  return !stale_results_.Stale();
}

void MainWindow::TakeStep(std::optional<RegisterRange> (UndoHistory::*step)()) {
  StoreEditInProgress();
  const std::optional<RegisterRange> where = (history_.*step)();
  if (!where) return;
  context_.state.modified = history_.AtSavedPoint() ? 0 : 1;
  register_.UpdateHeadCount();
  Grid& grid = form_.grid();
  const int column = grid.GetCursorColumn() < 0 ? where->first_column : grid.GetCursorColumn();
  grid.SetCursor(std::min(where->first_row, grid.RowCount() - 1),
                 where->columns() == kRegisterColumns ? column : where->first_column);
}

void MainWindow::ShowStepsAvailable() {
  form_.menu().SetDisabled(forms::kMenuUndo, !history_.CanUndo());
  form_.menu().SetDisabled(forms::kMenuRedo, !history_.CanRedo());
}

void MainWindow::StoreEditInProgress() {
  // A text that changed reaches OnGridCellsEdited, which marks the register modified.
  form_.grid().EndEdit();
}

void MainWindow::OnPrintouts() {
  AfterStoringEdit([this] { PrintoutsWindow(context_, {}).Show(); }, kResultsGoOut);
}

void MainWindow::OnPrintChosenPayslips() {
  StoreEditInProgress();
  std::vector<int> rows = ChosenRows(form_.grid());
  if (rows.empty()) {
    context_.framework.ShowMessage("请先在表格中选定要打印工资条的人员所在的行。", "打印工资条",
                                   ui::MessageButtons::kOk, ui::MessageIcon::kInformation);
    return;
  }
  if (ResultsMayGoOut()) AsOneAction([&] { PrintoutsWindow(context_, std::move(rows)).Show(); });
}

void MainWindow::OnGridEditBegins() { MarkEdited(); }

void MainWindow::OnGridTypingRefused() {
  context_.framework.ShowMessage("表格现在是只读的：要修改，请先点工具条上的“修改”。", "修改",
                                 ui::MessageButtons::kOk, ui::MessageIcon::kInformation);
}

void MainWindow::OnGridKeyDown(int key, int modifiers) {
  if (key == ui::kVkDelete) context_.state.modified = 1;
}

// Typing, paste and cut by any route (menu, shortcut menu, Ctrl+V, Shift+Insert, Ctrl+X) and the
// Delete key: a change that Exit must not drop without a question.
void MainWindow::OnGridCellsEdited(const CellRange& range) {
  binding_.TakeGridEdits(range);
  MarkEdited();
  register_.UpdateHeadCount();  // a number or a name typed makes a person, or unmakes one
  // An amount finer than a fen is said when it is typed, not first when it is taxed.
  const Text finer = FinerThanFenWarning(FinerThanFenCells(
      context_.salary_register, range.first_row, range.last_row, range.first_column,
      range.last_column));
  if (!finer.empty()) {
    context_.framework.ShowMessage(finer, "输入金额", ui::MessageButtons::kOk,
                                   ui::MessageIcon::kWarning);
  }
}

void MainWindow::MarkEdited() {
  form_.menu().SetDisabled(forms::kMenuSave, false);
  context_.state.modified = 1;
}

}  // namespace sr::app
