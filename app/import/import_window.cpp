#include "app/import/import_window.h"

#include "forms/grid/grid.h"
#include "runtime/convert/conversions.h"

namespace sr::app {

namespace {
constexpr int kTextKind = 1;
constexpr int kFirstDataRow = 2;
constexpr int kColumnWidth = 140;

void Show(Grid& grid, int row, int column, const Text& text) {
  grid.SetCellValue(row, column, kTextKind, Value::FromText(text));
}
}  // namespace

ImportWindow::ImportWindow(forms::Framework& framework, const ImportPlan& plan, const Text& path,
                           const SalaryRegister& salary_register)
    : framework_(framework), plan_(plan), path_(path), register_(salary_register) {}

void ImportWindow::OnCreated(forms::ImportForm& form) {
  Grid& grid = form.grid();
  const int columns = static_cast<int>(plan_.columns.size());
  grid.SetColumnCount(columns > 0 ? columns : 1);
  grid.SetRowCount(kFirstDataRow + static_cast<int>(plan_.rows.size()));
  for (int c = 0; c < columns; ++c) {
    const int column = plan_.columns[c];
    grid.SetColumnWidth(c, kColumnWidth);  // "→ 养老保险(免税)" in full
    Show(grid, 0, c, plan_.file_titles[c]);
    Show(grid, 1, c, column < 0 ? Text("（不导入）") : Concat({"→ ", register_.Title(column)}));
    for (size_t r = 0; r < plan_.rows.size() && column >= 0; ++r) {
      Show(grid, kFirstDataRow + static_cast<int>(r), c, plan_.rows[r][column]);
    }
  }
  const Text people = ToText(static_cast<double>(plan_.rows.size()));
  form.summary_label().SetCaption(
      plan_.ok() ? Concat({"文件 ", path_, "：", people,
                           " 行。追加：接在表内已有的行之后；替换：换掉表内所有的行。"})
                 : Concat({"不能导入：", plan_.problem}));
  form.append_button().SetEnabled(plan_.ok());
  form.replace_button().SetEnabled(plan_.ok());
}

void ImportWindow::Choose(forms::ImportForm& form, ImportMode mode) {
  if (!plan_.ok()) return;
  choice_ = mode;
  framework_.Close(form);
}

}  // namespace sr::app
