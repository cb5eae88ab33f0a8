#include "forms/withholding_list_form.h"

namespace sr::forms {

WithholdingListForm::WithholdingListForm(WithholdingListHandlers& handlers, const Text& caption,
                                         int rows, int columns)
    : Window("扣缴明细窗口", caption, {50, 50, 900, 520}, /*sizable=*/false,
             /*has_icon=*/false),
      grid_(Add<GridControl>(nullptr, "高级表格1", ui::Rect{8, 36, 876, 440},
                             GridConfig{rows, columns, 1, 0, false, 20, 80, 0, false})),
      print_(Add<Button>(nullptr, "按钮1", ui::Rect{8, 6, 72, 24}, "打印")),
      export_(Add<Button>(nullptr, "按钮2", ui::Rect{88, 6, 72, 24}, "导出")),
      statement_(Add<Button>(nullptr, "按钮3", ui::Rect{168, 6, 72, 24}, "个人累计")) {
  Bind(kWindowCreated, [this, &handlers](const EventArgs&) { handlers.OnCreated(*this); });
  print_.Bind(kButtonClicked,
              [this, &handlers](const EventArgs&) { handlers.OnPrintClicked(*this); });
  export_.Bind(kButtonClicked,
               [this, &handlers](const EventArgs&) { handlers.OnExportClicked(*this); });
  statement_.Bind(kButtonClicked,
                  [this, &handlers](const EventArgs&) { handlers.OnStatementClicked(*this); });
}

}  // namespace sr::forms
