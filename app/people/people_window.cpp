#include "app/people/people_window.h"

#include "app/withholding/register_month.h"
#include "forms/events.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

const char kTitle[] = "人员信息";
constexpr int kCellText = 1;
constexpr int kSpareRows = 50;  // empty rows below the people for new ones

GridConfig PeopleGridConfig(int rows) {
  return {rows + 1, kPeopleColumns, 1, 0, /*editable=*/true, 20, 72, /*enter_moves=*/1, false};
}

}  // namespace

void PeopleWindow::Show() {
  std::vector<PersonTexts> rows;
  Text message;
  if (FileExists(app_.seams.files, path_)) {
    std::vector<RecordValues> records;
    if (!ReadRecordFile(app_.databases, path_, kPeopleAlias, PeopleFields(), &records,
                        &message)) {
      app_.framework.ShowMessage(message, kTitle, ui::MessageButtons::kOk,
                                 ui::MessageIcon::kError);
      return;
    }
    for (const RecordValues& record : records) rows.push_back(TextsOfRecord(record));
  }
  forms::TableForm form("人员信息窗口", kTitle,
                        PeopleGridConfig(static_cast<int>(rows.size()) + kSpareRows), "保存",
                        "放弃", "");
  Fill(form.grid(), rows);
  form.first_button().Bind(forms::kButtonClicked,
                           [&](const forms::EventArgs&) { Save(form); });
  form.second_button().Bind(forms::kButtonClicked,
                            [&](const forms::EventArgs&) { app_.framework.Close(form); });
  app_.framework.ShowModal(form);
}

void PeopleWindow::Fill(Grid& grid, const std::vector<PersonTexts>& rows) const {
  const std::vector<recdb::FieldDescriptor> fields = PeopleFields();
  for (int c = 0; c < kPeopleColumns; ++c) {
    grid.SetCellValue(0, c, kCellText, Value::FromText(fields[c].name));
  }
  grid.SetColumnWidth(kPersonIdNumber, 150);
  grid.SetColumnWidth(kPersonFirstAdditional + 3, 96);  // 住房贷款利息, the longest title
  for (size_t r = 0; r < rows.size(); ++r) {
    for (int c = 0; c < kPeopleColumns; ++c) {
      grid.SetCellValue(static_cast<int>(r + 1), c, kCellText, Value::FromText(rows[r][c]));
    }
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

void PeopleWindow::Save(forms::TableForm& form) {
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
    return;
  }
  std::vector<RecordValues> records;
  for (const PersonTexts& row : rows) {
    bool empty = true;
    for (const Text& text : row) empty = empty && PersonKey(text).empty();
    if (!empty) records.push_back(RecordOfTexts(row));
  }
  if (!WriteRecordFile(app_.databases, app_.seams.files, path_, kPeopleAlias, PeopleFields(),
                       records, &message)) {
    app_.framework.ShowMessage(message, kTitle, ui::MessageButtons::kOk, ui::MessageIcon::kError);
    return;
  }
  app_.framework.Close(form);
}

}  // namespace sr::app
