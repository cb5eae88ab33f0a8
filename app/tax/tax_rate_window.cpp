#include "app/tax/tax_rate_window.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "app/register/backups.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

const char kWindowTitle[] = "税率表";
constexpr int kCellText = 1;
constexpr int kCentre = 2;
constexpr int kFirstBracketRow = 5;  // bracket k stands in row k + 4

void Put(Grid& grid, int row, int column, const Text& text) {
  grid.SetCellValue(row, column, kCellText, Value::FromText(text));
}

void LayOut(Grid& grid, const TaxTableFile& table) {
  grid.SetColumnWidth(0, 40);
  grid.SetAlignment(0, 0, 14, 9, kCentre);
  for (int i = 1; i <= 13; ++i) Put(grid, i, 0, ToText(i));
  for (int i = 1; i <= 8; ++i) Put(grid, 0, i, ToText(i));
  grid.MergeCells(1, 1, 1, 8);
  grid.MergeCells(2, 1, 2, 2);
  grid.MergeCells(3, 1, 3, 8);
  grid.MergeCells(4, 2, 4, 4);
  grid.MergeCells(4, 5, 4, 6);
  grid.MergeCells(4, 7, 4, 8);
  grid.MergeCells(5, 1, 13, 1);
  grid.MergeCells(5, 3, 12, 3);
  Put(grid, 3, 1, table.title);
  Put(grid, 4, 1, table.threshold_caption);
  Put(grid, 4, 2, "个人所得税征税范围");
  Put(grid, 4, 5, "税率（%）");
  Put(grid, 4, 7, "速算率（元）");
  Put(grid, 5, 3, "至");
  Put(grid, 13, 3, "以上");
}

std::vector<TaxCell> BuildSavedCells() {
  std::vector<TaxCell> cells;
  for (int i = 1; i <= 8; ++i) cells.push_back({i + 1, 1, 2, i + 2});
  cells.push_back({1, 1, kFirstBracketRow, 1});
  for (int i = 1; i <= 9; ++i) cells.push_back({i, 2, i + 4, 2});
  for (int i = 1; i <= 8; ++i) cells.push_back({i, 3, i + 4, 4});
  for (int i = 1; i <= 9; ++i) cells.push_back({i, 4, i + 4, 5});
  for (int i = 1; i <= 8; ++i) cells.push_back({i + 1, 5, i + 5, 7});
  return cells;
}

Text Trimmed(const Text& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == Text::npos) return Text();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Digits with an optional sign, surrounding spaces allowed, within the 32-bit range.
bool IsWholeNumber(const Text& cell) {
  const Text text = Trimmed(NormaliseFullWidth(cell));
  size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (i == text.size() || text.size() - i > 10) return false;
  for (size_t j = i; j < text.size(); ++j) {
    if (text[j] < '0' || text[j] > '9') return false;
  }
  const int64_t value = std::stoll(text.substr(i));
  return value <= (text[0] == '-' ? 2147483648LL : 2147483647LL);
}

bool MayBeEmpty(const Grid& grid, const TaxCell& cell) {
  if (cell.field == 2 || cell.field == 3 || cell.row == 2) return true;
  const Text lower = Trimmed(grid.CellText(cell.record + 4, 2));
  const bool out_of_use = lower.empty() || (IsWholeNumber(lower) && ToInteger(lower) == 0);
  // Every cell of a bracket is saved into the bracket's record, whose lower bound is in row
  // record + 4.
  return cell.row >= kFirstBracketRow && cell.field != 1 && out_of_use;
}

Text CellName(int row, int column) {
  return Concat({"第 ", ToText(row), " 行第 ", ToText(column), " 列"});
}

Text JoinLines(const std::vector<Text>& lines) {
  Text joined;
  for (const Text& line : lines) joined += line + "\r\n";
  return joined;
}

}  // namespace

const std::vector<TaxCell>& SavedTaxCells() {
  static const std::vector<TaxCell> cells = BuildSavedCells();
  return cells;
}

std::vector<Text> CellsNotWhole(const Grid& grid) {
  std::vector<Text> problems;
  for (const TaxCell& cell : SavedTaxCells()) {
    if (!grid.CellExists(cell.row, cell.column)) continue;  // saved as 0, as it always was
    const Text& text = grid.CellText(cell.row, cell.column);
    if (Trimmed(text).empty() ? MayBeEmpty(grid, cell) : IsWholeNumber(text)) continue;
    problems.push_back(
        Concat({CellName(cell.row, cell.column), "：", text.empty() ? "（空）" : text}));
  }
  return problems;
}

std::vector<Text> QuickDeductionMismatches(const TaxTableTexts& texts) {
  std::vector<Text> lines;
  auto field = [&](int record, int f) { return ToInteger(texts[record - 1][f - 1]); };
  // Each boundary on its own, from the deduction stored below it: the tax jumps at boundary k
  // exactly when this bracket's deduction does not continue the one before.
  for (int k = 2; k <= kTaxRecords; ++k) {
    if (field(k, 2) <= 0 || field(k - 1, 2) <= 0) break;
    const double expected =
        field(k - 1, 5) + static_cast<double>(field(k, 2)) * (field(k, 4) - field(k - 1, 4)) / 100;
    if (std::fabs(field(k, 5) - expected) <= kAmountTolerance) continue;
    lines.push_back(Concat({"第 ", ToText(k), " 级（第 ", ToText(k + 4), " 行）的速算扣除数是 ",
                            ToText(field(k, 5)), "，按下限和税率应为 ", ToText(expected)}));
  }
  return lines;
}

void TaxRateWindow::Show() {
  DatabaseTable& databases = app_.databases;
  path_ = TaxTablePath(app_.seams.files, table_);
  Text message;
  TaxTableValues values;
  if (!OpenTaxTable(databases, path_, &message, table_) ||
      !ReadTaxTable(databases, path_, &values, &message)) {
    databases.CloseDatabase(table_.alias);
    app_.framework.ShowMessage(message, kWindowTitle, ui::MessageButtons::kOk,
                               ui::MessageIcon::kError);
    return;
  }
  for (int k = 0; k < kTaxRecords; ++k) {
    for (int f = 0; f < kTaxFields; ++f) loaded_[k][f] = ToText(values[k][f]);
  }
  kept_.clear();
  do {
    outcome_ = Outcome::kOpen;
    forms::TaxRateForm form(*this);
    app_.framework.ShowModal(form);
  } while (outcome_ == Outcome::kShowAgain);
}

void TaxRateWindow::OnCreated(forms::TaxRateForm& form) {
  // The resident table's window says which table it edits; the monthly one keeps its caption.
  if (&table_ != &kMonthlyTaxTable) form.SetCaption(table_.title);
  Grid& grid = form.grid();
  LayOut(grid, table_);
  if (kept_.empty()) {
    FillFromTable(grid);
    return;
  }
  // Shown again after the close box: the user's cells as they were left.
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = 0; c < grid.ColumnCount(); ++c) {
      Put(grid, r, c, kept_[static_cast<size_t>(r) * grid.ColumnCount() + c]);
    }
  }
  kept_.clear();
}

void TaxRateWindow::FillFromTable(Grid& grid) const {
  auto at = [this](int record, int field) { return loaded_[record - 1][field - 1]; };
  for (int i = 1; i <= 8; ++i) {
    Put(grid, 1, i + 2, at(i, 6));
    Put(grid, 2, i + 2, at(i + 1, 1));
  }
  Put(grid, kFirstBracketRow, 1, at(1, 1));
  for (int i = 1; i <= 9; ++i) {
    Put(grid, i + 4, 2, at(i, 2));
    Put(grid, i + 4, 5, at(i, 4));
  }
  for (int i = 1; i <= 8; ++i) {
    Put(grid, i + 4, 4, at(i, 3));
    Put(grid, i + 5, 7, at(i + 1, 5));
  }
}

void TaxRateWindow::OnSaveClicked(forms::TaxRateForm& form) {
  if (Save(form, /*from_close_box=*/false)) app_.framework.Close(form);
}

void TaxRateWindow::OnCloseQuery(forms::TaxRateForm& form) {
  if (outcome_ != Outcome::kOpen) return;  // closing after a save or a decision
  // Moving the cursor ends a cell edit in progress, so its text is saved too.
  form.grid().SetCursor(1, 2);
  form.grid().SetCursor(1, 1);
  Save(form, /*from_close_box=*/true);
}

bool TaxRateWindow::Save(forms::TaxRateForm& form, bool from_close_box) {
  Grid& grid = form.grid();
  if (grid.Editing()) grid.EndEdit();
  Text problem;
  const std::vector<Text> not_whole = CellsNotWhole(grid);
  if (!not_whole.empty()) {
    problem = Concat({"以下单元格不是整数，税率表没有保存：\r\n", JoinLines(not_whole)});
  } else {
    TaxTableTexts texts;
    for (const TaxCell& cell : SavedTaxCells()) {
      texts[cell.record - 1][cell.field - 1] = ToText(grid.GetCellValue(cell.row, cell.column));
    }
    grid.SetCursor(1, 2);
    DatabaseTable& databases = app_.databases;
    databases.CloseDatabase(table_.alias);
    BackUpBeforeSaving(app_, path_);
    const bool saved = SaveTaxTable(databases, app_.seams.files, path_, texts, &problem, table_);
    grid.SetCursor(1, 1);
    if (saved) {
      const std::vector<Text> mismatches = QuickDeductionMismatches(texts);
      if (!mismatches.empty()) {
        app_.framework.ShowMessage(
            Concat({"税率表已保存，但以下速算扣除数与下限和税率不符，税额会在级距边界上跳变：\r\n",
                    JoinLines(mismatches)}),
            kWindowTitle, ui::MessageButtons::kOk, ui::MessageIcon::kWarning);
      }
      outcome_ = Outcome::kDone;
      return true;
    }
  }
  if (!from_close_box) {
    app_.framework.ShowMessage(problem, kWindowTitle, ui::MessageButtons::kOk,
                               ui::MessageIcon::kWarning);
    return false;
  }
  const ui::MessageAnswer answer = app_.framework.ShowMessage(
      Concat({problem, "\r\n不保存就关闭税率表吗？"}), kWindowTitle, ui::MessageButtons::kYesNo);
  if (answer == ui::MessageAnswer::kYes) {
    outcome_ = Outcome::kDone;
    return false;
  }
  // The window cannot refuse to close, so it is shown again with the user's cells.
  kept_.clear();
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = 0; c < grid.ColumnCount(); ++c) kept_.push_back(grid.CellText(r, c));
  }
  outcome_ = Outcome::kShowAgain;
  return false;
}

}  // namespace sr::app
