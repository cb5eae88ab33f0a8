#include "forms/secondary_forms.h"

namespace sr::forms {

FindForm::FindForm()
    : Window("查找窗口", "查找", {50, 50, 362, 148}, /*sizable=*/false, /*has_icon=*/true),
      prompt_(Add<Label>(nullptr, "标签1", ui::Rect{23, 23, 112, 12}, "请输入要查找的内容")),
      edit_(Add<EditBox>(nullptr, "编辑框1", ui::Rect{72, 48, 120, 24})),
      find_(Add<Button>(nullptr, "按钮查找", ui::Rect{215, 49, 81, 24}, "开始查找")) {
  PressOnEnter(edit_, find_);
}

}  // namespace sr::forms
