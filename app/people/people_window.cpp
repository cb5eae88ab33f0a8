#include "app/people/people_window.h"

#include "app/register/backups.h"
#include "app/tax_rules/fen.h"
#include "app/withholding/register_month.h"
#include "forms/events.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

const char kTitle[] = "人员信息";
constexpr int kCellText = 1;
constexpr int kSpareRows = 50;  // empty rows below the people for new ones

}  // namespace

void PeopleWindow::Show() {
  loaded_.clear();
  Text message;
  if (FileExists(app_.seams.files, path_)) {
    std::vector<RecordValues> records;
    if (!ReadRecordFile(app_.databases, path_, kPeopleAlias, PeopleFields(), &records,
                        &message)) {
      app_.framework.ShowMessage(message, kTitle, ui::MessageButtons::kOk,
                                 ui::MessageIcon::kError);
      return;
    }
    for (const RecordValues& record : records) loaded_.push_back(TextsOfRecord(record));
  }
  loaded_.resize(loaded_.size() + kSpareRows);
  may_close_ = false;
  forms::PeopleForm form(*this, static_cast<int>(loaded_.size()) + 1, kPeopleColumns);
  app_.framework.ShowModal(form);
}

void PeopleWindow::OnCreated(forms::PeopleForm& form) {
  Grid& grid = form.grid();
  const std::vector<recdb::FieldDescriptor> fields = PeopleFields();
  for (int c = 0; c < kPeopleColumns; ++c) {
    grid.SetCellValue(0, c, kCellText, Value::FromText(fields[c].name));
  }
  grid.SetColumnWidth(kPersonIdNumber, 150);
  grid.SetColumnWidth(kPersonFirstAdditional + 3, 96);  // 住房贷款利息, the longest title
  for (size_t r = 0; r < loaded_.size(); ++r) {
    for (int c = 0; c < kPeopleColumns; ++c) {
      if (loaded_[r][c].empty()) continue;
      grid.SetCellValue(static_cast<int>(r + 1), c, kCellText, Value::FromText(loaded_[r][c]));
    }
  }
}

void PeopleWindow::OnSaveClicked(forms::PeopleForm& form) {
  if (!Save(form)) return;
  may_close_ = true;
  app_.framework.Close(form);
}

void PeopleWindow::OnDiscardClicked(forms::PeopleForm& form) {
  may_close_ = true;
  app_.framework.Close(form);
}

bool PeopleWindow::OnCloseQuery(forms::PeopleForm& form) {
  if (may_close_) return true;
  if (form.grid().Editing()) form.grid().EndEdit();
  if (!Changed(form)) return true;
  switch (app_.framework.ShowMessage("人员信息已修改，是否保存？", kTitle,
                                     ui::MessageButtons::kYesNoCancel,
                                     ui::MessageIcon::kQuestion)) {
    case ui::MessageAnswer::kYes:
      return Save(form);
    case ui::MessageAnswer::kNo:
      return true;
    default:
      return false;
  }
}

std::vector<PersonTexts> PeopleWindow::RowsOf(Grid& grid) const {
  std::vector<PersonTexts> rows;
  for (int r = 1; r < grid.RowCount(); ++r) {
    PersonTexts row;
    for (int c = 0; c < kPeopleColumns; ++c) row[c] = grid.CellText(r, c);
    rows.push_back(row);
  }
  return rows;
}

bool PeopleWindow::Changed(forms::PeopleForm& form) const {
  return RowsOf(form.grid()) != loaded_;
}

bool PeopleWindow::Save(forms::PeopleForm& form) {
  if (form.grid().Editing()) form.grid().EndEdit();
  const std::vector<PersonTexts> rows = RowsOf(form.grid());
  std::vector<Person> people;
  const std::vector<Text> problems = PeopleFromTexts(rows, &people);
  Text message;
  if (!problems.empty()) {
    message = Concat({"人员信息有错，没有保存：\r\n"});
    for (size_t i = 0; i < problems.size() && i < 20; ++i) message += problems[i] + "\r\n";
    app_.framework.ShowMessage(message, kTitle, ui::MessageButtons::kOk,
                               ui::MessageIcon::kWarning);
    return false;
  }
  std::vector<RecordValues> records;
  for (const PersonTexts& row : rows) {
    bool empty = true;
    for (const Text& text : row) empty = empty && PersonKey(text).empty();
    if (!empty) records.push_back(RecordOfTexts(row));
  }
  BackUpBeforeSaving(app_, path_);
  if (!WriteRecordFile(app_.databases, app_.seams.files, path_, kPeopleAlias, PeopleFields(),
                       records, &message)) {
    app_.framework.ShowMessage(message, kTitle, ui::MessageButtons::kOk, ui::MessageIcon::kError);
    return false;
  }
  const std::vector<Text> finer = FinerThanFenAmounts(rows);
  if (!finer.empty()) {
    message = Concat({"人员信息已保存。", kFinerThanFenNote, "\r\n"});
    for (size_t i = 0; i < finer.size() && i < 20; ++i) message += finer[i] + "\r\n";
    app_.framework.ShowMessage(message, kTitle, ui::MessageButtons::kOk,
                               ui::MessageIcon::kWarning);
  }
  return true;
}

}  // namespace sr::app
