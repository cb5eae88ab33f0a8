#include "forms/secondary_forms.h"

namespace sr::forms {

SummaryForm::SummaryForm(SummaryWindowHandlers& handlers)
    : Window("汇总窗口", "工资汇总", {50, 50, 350, 487}, /*sizable=*/false, /*has_icon=*/false),
      grid_(Add<GridControl>(nullptr, "高级表格1", ui::Rect{16, 8, 248, 432}, SummaryGridConfig())),
      print_(Add<Button>(nullptr, "按钮_打印", ui::Rect{272, 16, 64, 24}, "打印")) {
  Bind(kWindowCreated, [this, &handlers](const EventArgs&) { handlers.OnCreated(*this); });
  print_.Bind(kButtonClicked,
              [this, &handlers](const EventArgs&) { handlers.OnPrintClicked(*this); });
}

}  // namespace sr::forms
