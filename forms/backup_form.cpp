#include "forms/secondary_forms.h"

namespace sr::forms {

namespace {
// A title row, then one row a copy: the file, when it was replaced, the copy's name.
GridConfig BackupGridConfig() { return {1, 3, 1, 0, false, 20, 150, 0, true}; }
}  // namespace

BackupForm::BackupForm()
    : Window("备份窗口", "备份", {50, 50, 600, 420}, /*sizable=*/false, /*has_icon=*/true),
      folder_(Add<Label>(nullptr, "标签1", ui::Rect{12, 10, 570, 36}, "", ui::kDefaultColor,
                         /*multi_line=*/true)),
      grid_(Add<GridControl>(nullptr, "高级表格1", ui::Rect{12, 50, 570, 290},
                             BackupGridConfig())),
      restore_(Add<Button>(nullptr, "按钮恢复", ui::Rect{372, 352, 100, 26}, "恢复")),
      close_(Add<Button>(nullptr, "按钮关闭", ui::Rect{482, 352, 100, 26}, "关闭")) {}

}  // namespace sr::forms
