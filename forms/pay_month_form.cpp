#include "forms/pay_month_form.h"

namespace sr::forms {

PayMonthForm::PayMonthForm()
    : Window("计算月份窗口", "计算月份", {50, 50, 362, 148}, /*sizable=*/false,
             /*has_icon=*/false),
      prompt_(Add<Label>(nullptr, "标签1", ui::Rect{23, 16, 320, 24}, "")),
      edit_(Add<EditBox>(nullptr, "编辑框1", ui::Rect{23, 48, 120, 24})),
      ok_(Add<Button>(nullptr, "按钮确定", ui::Rect{160, 49, 72, 24}, "确定")),
      cancel_(Add<Button>(nullptr, "按钮取消", ui::Rect{248, 49, 72, 24}, "取消")) {
  PressOnEnter(edit_, ok_);
}

}  // namespace sr::forms
