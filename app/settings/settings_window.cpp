#include "app/settings/settings_window.h"

#include "app/register/register_storage.h"
#include "runtime/convert/conversions.h"
#include "runtime/recdb/format.h"

namespace sr::app {
namespace {

const char kWindowTitle[] = "设置工资项目及免税项目";
constexpr int kCellText = 1;
constexpr int kCentre = 2;
constexpr int kExclusive = 4;
constexpr int kItemNameColumn = 1;

Text ItemName(int item) { return Concat({"第 ", ToText(item), " 项“"}); }

bool IsItemRow(int row) { return row >= 1 && row <= kSalaryItems; }

// A name that no field has and no item is to get, for moving a field's name out of the way.
Text SpareName(const std::vector<Text>& taken) {
  Text name = "~";
  for (;;) {
    bool used = false;
    for (const Text& other : taken) used = used || recdb::NamesEqual(other, name);
    if (!used) return name;
    name += "~";
  }
}

}  // namespace

Text ToggleTaxExempt(const Text& name) {
  const int position = FindText(name, kTaxExemptMark, 1);
  if (position == -1) return name + kTaxExemptMark;
  return ReplaceText(name, kTaxExemptMark, Text(), position, -1, true);
}

std::vector<Text> CheckItemNames(const std::vector<Text>& names, const std::vector<Text>& fields) {
  if (fields.size() < static_cast<size_t>(ItemField(kSalaryItems))) {
    return {Concat({"文件只有 ", ToText(static_cast<int>(fields.size())), " 个字段，不是工资表"})};
  }
  std::vector<Text> finals = fields;
  for (int k = 1; k <= kSalaryItems; ++k) {
    if (!names[k - 1].empty()) finals[ItemField(k) - 1] = names[k - 1];
  }
  std::vector<Text> problems;
  for (int k = 1; k <= kSalaryItems; ++k) {
    const Text& name = names[k - 1];
    if (name.empty() || name == fields[ItemField(k) - 1]) continue;
    if (name.size() > static_cast<size_t>(recdb::kMaxNameLength)) {
      problems.push_back(Concat({ItemName(k), name, "”太长：名称连同“(免税)”最多 16 个字节（8 个汉字）"}));
      continue;
    }
    for (size_t f = 0; f < finals.size(); ++f) {
      if (static_cast<int>(f) + 1 != ItemField(k) && recdb::NamesEqual(finals[f], name)) {
        problems.push_back(Concat({ItemName(k), name, "”与“", finals[f], "”重名（不分大小写）"}));
        break;
      }
    }
  }
  return problems;
}

Text SettingsWindow::RegisterFile() const {
  const ProgramState& state = app_.state;
  if (state.untitled == 1) return SideFilePath(state.program_directory, kRelayFileName);
  return state.register_path;
}

void SettingsWindow::ReopenShared() {
  app_.databases.CloseAllDatabases();
  bool view_only = false;
  OpenRegisterDatabase(app_.databases, app_.seams.files, file_, &view_only);
}

void SettingsWindow::Show() {
  DatabaseTable& databases = app_.databases;
  file_ = RegisterFile();
  databases.CloseAllDatabases();
  // Renaming a field needs the file to itself.
  if (!databases.OpenDatabase(file_, kRegisterAlias, OpenOptions::WithShareMode(kExclusive))) {
    const int code = LastDatabaseError();
    ReopenShared();
    app_.framework.ShowMessage(
        Concat({"无法独占打开文件 ", file_, "：", DatabaseErrorMessage(code),
                "\r\n工资项目只能在没有其他程序使用该文件时设置。"}),
        kWindowTitle, ui::MessageButtons::kOk, ui::MessageIcon::kWarning);
    return;
  }
  forms::SettingsForm form(*this);
  app_.framework.ShowModal(form);
  // Whichever way the window closed, the register is shared again.
  ReopenShared();
}

void SettingsWindow::OnCreated(forms::SettingsForm& form) {
  Grid& grid = form.grid();
  grid.SetColumnWidth(0, 42);
  grid.SetCellValue(0, 0, kCellText, Value::FromText("序号"));
  grid.SetCellValue(0, 1, kCellText, Value::FromText("工资项目名称"));
  grid.SetAlignment(0, 0, 15, 1, kCentre);
  app_.databases.SelectDatabase(kRegisterAlias);
  for (int k = 1; k <= kSalaryItems; ++k) {
    grid.SetCellValue(k, 0, kCellText, Value::FromText(ToText(k)));
    grid.SetCellValue(k, kItemNameColumn, kCellText,
                      Value::FromText(app_.databases.GetFieldName(ItemField(k))));
  }
}

void SettingsWindow::OnEditBoxChanged(forms::SettingsForm& form) {
  Grid& grid = form.grid();
  const int row = grid.GetCursorRow();
  if (!IsItemRow(row)) return;
  grid.SetCellValue(row, kItemNameColumn, kCellText, Value::FromText(form.edit_box().text()));
}

void SettingsWindow::OnGridClicked(forms::SettingsForm& form, int x, int y) {
  Grid& grid = form.grid();
  const int row = grid.GetCursorRow();
  if (!IsItemRow(row)) return;
  form.edit_box().SetText(grid.CellText(row, kItemNameColumn));
  form.edit_box().SetFocus();
}

void SettingsWindow::OnGridDoubleClick(forms::SettingsForm& form) {
  Grid& grid = form.grid();
  const int row = grid.GetCursorRow();
  if (!IsItemRow(row)) return;
  const Text name = ToggleTaxExempt(grid.CellText(row, kItemNameColumn));
  grid.SetCellValue(row, kItemNameColumn, kCellText, Value::FromText(name));
  form.edit_box().SetText(name);
  form.edit_box().SetFocus();
}

void SettingsWindow::OnConfirmClicked(forms::SettingsForm& form) {
  DatabaseTable& databases = app_.databases;
  databases.SelectDatabase(kRegisterAlias);
  std::vector<Text> fields;
  for (int f = 1;; ++f) {
    Text name = databases.GetFieldName(f);
    if (name.empty()) break;
    fields.push_back(name);
  }
  std::vector<Text> names;
  for (int k = 1; k <= kSalaryItems; ++k) names.push_back(form.grid().CellText(k, kItemNameColumn));
  const std::vector<Text> problems = CheckItemNames(names, fields);
  if (!problems.empty()) {
    Text text = "以下工资项目名称不能使用，没有做任何修改：\r\n";
    for (const Text& line : problems) text += line + "\r\n";
    app_.framework.ShowMessage(text, kWindowTitle, ui::MessageButtons::kOk,
                               ui::MessageIcon::kWarning);
    return;
  }
  const std::vector<Text> failures = Rename(names);
  if (!failures.empty()) {
    Text text = Concat({"文件 ", file_, " 拒绝了以下改名，这些项目保持原名：\r\n"});
    for (const Text& line : failures) text += line + "\r\n";
    app_.framework.ShowMessage(text, kWindowTitle, ui::MessageButtons::kOk,
                               ui::MessageIcon::kError);
  }
  app_.framework.Close(form);
}

bool SettingsWindow::RenameItem(int item, const Text& name, std::vector<Text>* failures) {
  if (app_.databases.RenameField(ItemField(item), name)) return true;
  if (failures != nullptr) {
    failures->push_back(
        Concat({ItemName(item), name, "”：", DatabaseErrorMessage(LastDatabaseError())}));
  }
  return false;
}

std::vector<Text> SettingsWindow::Rename(const std::vector<Text>& names) {
  DatabaseTable& databases = app_.databases;
  std::vector<Text> current;
  for (int f = 1; !databases.GetFieldName(f).empty(); ++f) {
    current.push_back(databases.GetFieldName(f));
  }
  std::vector<Text> taken = current;
  taken.insert(taken.end(), names.begin(), names.end());
  std::vector<int> changed;
  for (int k = 1; k <= kSalaryItems; ++k) {
    if (!names[k - 1].empty() && names[k - 1] != current[ItemField(k) - 1]) changed.push_back(k);
  }
  // Names that change places (A to B and B to A) would collide midway: a field whose present
  // name another item is to take first moves to a spare name.
  for (int k : changed) {
    for (int other : changed) {
      if (other == k || !recdb::NamesEqual(names[other - 1], current[ItemField(k) - 1])) continue;
      const Text spare = SpareName(taken);
      if (RenameItem(k, spare, nullptr)) taken.push_back(spare);
      break;
    }
  }
  std::vector<Text> failures;
  for (int k : changed) {
    if (!RenameItem(k, names[k - 1], &failures)) {
      RenameItem(k, current[ItemField(k) - 1], nullptr);  // back from a spare name, if it had one
    }
  }
  // Every item applied shows the name its field now has, renamed or not, so that the titles on
  // screen (which the calculation reads for the tax-exempt mark) are the names in the file.
  for (int k = 1; k <= kSalaryItems; ++k) {
    if (names[k - 1].empty()) continue;
    app_.salary_register.SetTitle(ItemField(k) - 1, databases.GetFieldName(ItemField(k)));
  }
  return failures;
}

void SettingsWindow::OnCancelClicked(forms::SettingsForm& form) { app_.framework.Close(form); }

}  // namespace sr::app
