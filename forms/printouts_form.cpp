#include "forms/printouts_form.h"

namespace sr::forms {

PrintoutsForm::PrintoutsForm(PrintoutsWindowHandlers& handlers)
    : Window("打印窗口", "打印工资条和工资表", {50, 50, 436, 236}, /*sizable=*/false,
             /*has_icon=*/false),
      company_label_(Add<Label>(nullptr, "标签单位", ui::Rect{16, 20, 72, 16}, "单位名称：")),
      company_(Add<EditBox>(nullptr, "编辑框单位名称", ui::Rect{92, 16, 320, 24})),
      range_(Add<Label>(nullptr, "标签工资条", ui::Rect{16, 56, 396, 16}, "工资条：")),
      payslips_(Add<Button>(nullptr, "按钮工资条", ui::Rect{16, 78, 120, 26}, "打印工资条")),
      payslips_omitting_(Add<Button>(nullptr, "按钮工资条省略", ui::Rect{144, 78, 268, 26},
                                     "打印工资条（省略全员为空或0的项目）")),
      register_label_(Add<Label>(nullptr, "标签工资表", ui::Rect{16, 122, 396, 16},
                                 "工资表：全部人员、全部项目，横向打印，末页有合计")),
      register_a4_(
          Add<Button>(nullptr, "按钮工资表A4", ui::Rect{16, 144, 120, 26}, "A4 纸打印工资表")),
      register_a3_(
          Add<Button>(nullptr, "按钮工资表A3", ui::Rect{144, 144, 120, 26}, "A3 纸打印工资表")),
      close_(Add<Button>(nullptr, "按钮关闭", ui::Rect{332, 186, 80, 26}, "关闭")) {
  Bind(kWindowCreated, [this, &handlers](const EventArgs&) { handlers.OnCreated(*this); });
  Bind(kWindowCloseQuery, [this, &handlers](const EventArgs&) { handlers.OnCloseQuery(*this); });
  payslips_.Bind(kButtonClicked,
                 [this, &handlers](const EventArgs&) { handlers.OnPayslipsClicked(*this, false); });
  payslips_omitting_.Bind(kButtonClicked, [this, &handlers](const EventArgs&) {
    handlers.OnPayslipsClicked(*this, true);
  });
  register_a4_.Bind(kButtonClicked, [this, &handlers](const EventArgs&) {
    handlers.OnRegisterClicked(*this, false);
  });
  register_a3_.Bind(kButtonClicked, [this, &handlers](const EventArgs&) {
    handlers.OnRegisterClicked(*this, true);
  });
  close_.Bind(kButtonClicked,
              [this, &handlers](const EventArgs&) { handlers.OnCloseClicked(*this); });
}

}  // namespace sr::forms
