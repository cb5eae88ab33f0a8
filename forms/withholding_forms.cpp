#include "forms/withholding_forms.h"

namespace sr::forms {

PayMonthForm::PayMonthForm()
    : Window("计算月份窗口", "计算月份", {50, 50, 362, 148}, /*sizable=*/false,
             /*has_icon=*/false),
      prompt_(Add<Label>(nullptr, "标签1", ui::Rect{23, 16, 320, 24}, "")),
      edit_(Add<EditBox>(nullptr, "编辑框1", ui::Rect{23, 48, 120, 24})),
      ok_(Add<Button>(nullptr, "按钮确定", ui::Rect{160, 49, 72, 24}, "确定")),
      cancel_(Add<Button>(nullptr, "按钮取消", ui::Rect{248, 49, 72, 24}, "取消")) {}

TableForm::TableForm(const Text& name, const Text& caption, const GridConfig& grid,
                     const Text& first, const Text& second, const Text& third)
    : Window(name, caption, {50, 50, 900, 520}, /*sizable=*/false, /*has_icon=*/false),
      grid_(Add<GridControl>(nullptr, "高级表格1", ui::Rect{8, 36, 876, 440}, grid)),
      first_(Add<Button>(nullptr, "按钮1", ui::Rect{8, 6, 72, 24}, first)),
      second_(Add<Button>(nullptr, "按钮2", ui::Rect{88, 6, 72, 24}, second)),
      third_(Add<Button>(nullptr, "按钮3", ui::Rect{168, 6, 72, 24}, third)) {
  for (Button* button : {&first_, &second_, &third_}) {
    if (button->caption().empty()) button->SetVisible(false);
  }
}

}  // namespace sr::forms
