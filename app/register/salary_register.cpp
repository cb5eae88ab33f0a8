#include "app/register/salary_register.h"

#include <algorithm>
#include <utility>

#include "runtime/convert/conversions.h"

namespace sr::app {

bool IsTaxExempt(const Text& title) { return FindText(title, kTaxExemptMark, 1) != -1; }

void SalaryRegister::AddListener(RegisterListener* listener) { listeners_.push_back(listener); }

void SalaryRegister::RemoveListener(RegisterListener* listener) {
  std::erase(listeners_, listener);
}

void SalaryRegister::Changing() {
  for (RegisterListener* listener : listeners_) listener->RegisterChanging();
}

void SalaryRegister::Changed(const RegisterChange& change) {
  for (RegisterListener* listener : listeners_) listener->RegisterChanged(change);
}

void SalaryRegister::BeginAction() {
  if (action_depth_++ > 0) return;
  for (RegisterListener* listener : listeners_) listener->ActionBegins();
}

void SalaryRegister::EndAction() {
  if (--action_depth_ > 0) return;
  for (RegisterListener* listener : listeners_) listener->ActionEnds();
}

bool SalaryRegister::SetTitle(int column, Text title) {
  return CellExists(0, column) && SetCellText(0, column, std::move(title));
}

void SalaryRegister::SetTitles(RowTexts titles) {
  Changing();
  std::swap(titles_, titles);
  RegisterChange change{RegisterChange::Kind::kTitles, {0, 0, 0, kRegisterColumns - 1}};
  change.previous_texts.assign(std::make_move_iterator(titles.begin()),
                               std::make_move_iterator(titles.end()));
  Changed(change);
}

PayItem SalaryRegister::Item(int column) const {
  return PayItem{column, ItemOfColumn(column), RoleOf(column), titles_[column], IsExempt(column)};
}

std::vector<PayItem> SalaryRegister::SalaryItems() const {
  std::vector<PayItem> items;
  for (int k = 1; k <= kSalaryItems; ++k) items.push_back(Item(ItemColumn(k)));
  return items;
}

double SalaryRegister::Amount(int row, int column) const { return ToNumber(CellText(row, column)); }

bool SalaryRegister::IsPerson(int row) const {
  return row >= 1 && row < RowCount() && !Number(row).empty() && !Name(row).empty();
}

bool SalaryRegister::HasNumberOrName(int row) const {
  return row >= 1 && row < RowCount() && (!Number(row).empty() || !Name(row).empty());
}

int SalaryRegister::CountPeople() const {
  int people = 0;
  for (int row = 1; row < RowCount(); ++row) people += IsPerson(row) ? 1 : 0;
  return people;
}

bool SalaryRegister::SetCellText(int row, int column, Text text) {
  if (!CellExists(row, column)) return false;
  if (CellText(row, column) == text) return true;
  Changing();
  Text& cell = row == 0 ? titles_[column] : rows_[row - 1][column];
  std::swap(cell, text);
  RegisterChange change{row == 0 ? RegisterChange::Kind::kTitles : RegisterChange::Kind::kCells,
                        {row, column, row, column}};
  change.previous_texts.push_back(std::move(text));
  Changed(change);
  return true;
}

bool SalaryRegister::SetAmount(int row, int column, double amount) {
  return SetCellText(row, column, ToText(amount));
}

bool SalaryRegister::HoldsTexts(const RegisterRange& range, const std::vector<Text>& texts) const {
  auto text = texts.begin();
  for (int row = range.first_row; row <= range.last_row; ++row) {
    for (int column = range.first_column; column <= range.last_column; ++column) {
      if (rows_[row - 1][column] != *text++) return false;
    }
  }
  return true;
}

bool SalaryRegister::SetCellTexts(const RegisterRange& range, std::vector<Text> texts) {
  if (range.rows() < 1 || range.columns() < 1 || range.first_row < 1 ||
      !CellExists(range.last_row, range.last_column) || range.first_column < 0 ||
      texts.size() != static_cast<size_t>(range.rows()) * range.columns()) {
    return false;
  }
  if (HoldsTexts(range, texts)) return true;  // as SetCellText: no change, nothing to hear
  Changing();
  auto text = texts.begin();
  for (int row = range.first_row; row <= range.last_row; ++row) {
    RowTexts& cells = rows_[row - 1];
    for (int column = range.first_column; column <= range.last_column; ++column, ++text) {
      // An empty text over an empty cell changes nothing; skipping it keeps a row that was
      // never written free of storage.
      if (text->empty() && std::as_const(cells)[column].empty()) continue;
      std::swap(cells[column], *text);
    }
  }
  RegisterChange change{RegisterChange::Kind::kCells, range};
  change.previous_texts = std::move(texts);
  Changed(change);
  return true;
}

int SalaryRegister::InsertRows(int before, std::vector<RowTexts> rows) {
  if (before < 1 || before >= RowCount()) before = RowCount();
  if (rows.empty()) return before;
  Changing();
  const int count = static_cast<int>(rows.size());
  rows_.insert(rows_.begin() + (before - 1), std::make_move_iterator(rows.begin()),
               std::make_move_iterator(rows.end()));
  Changed(
      {RegisterChange::Kind::kRowsInserted, {before, 0, before + count - 1, kRegisterColumns - 1}});
  return before;
}

bool SalaryRegister::RemoveRows(int first, int count) {
  if (count < 1 || first < 1 || first + count > RowCount()) return false;
  Changing();
  const auto begin = rows_.begin() + (first - 1);
  RegisterChange change{RegisterChange::Kind::kRowsRemoved,
                        {first, 0, first + count - 1, kRegisterColumns - 1}};
  change.previous_rows.assign(std::make_move_iterator(begin),
                              std::make_move_iterator(begin + count));
  rows_.erase(begin, begin + count);
  Changed(change);
  return true;
}

bool SalaryRegister::SetRowCount(int count) {
  if (count < 1) return false;
  if (count > RowCount()) {
    InsertRows(RowCount(), std::vector<RowTexts>(count - RowCount()));
  } else if (count < RowCount()) {
    RemoveRows(count, RowCount() - count);
  }
  return true;
}

void SalaryRegister::ReplaceRows(std::vector<RowTexts> rows) {
  Changing();
  std::swap(rows_, rows);
  RegisterChange change{RegisterChange::Kind::kRowsReplaced,
                        {1, 0, RowCount() - 1, kRegisterColumns - 1}};
  change.previous_rows = std::move(rows);
  Changed(change);
}

}  // namespace sr::app
