#include "forms/secondary_forms.h"

namespace sr::forms {

TaxRateForm::TaxRateForm(TaxRateWindowHandlers& handlers)
    : Window("税率表窗口", "税率表", {50, 50, 563, 439}, /*sizable=*/false, /*has_icon=*/false),
      grid_(Add<GridControl>(nullptr, "高级表格税率表", ui::Rect{8, 32, 544, 368},
                             TaxTableGridConfig())),
      save_(Add<Button>(nullptr, "按钮税率保存", ui::Rect{20, 4, 72, 24}, "保存")) {
  Bind(kWindowCreated, [this, &handlers](const EventArgs&) { handlers.OnCreated(*this); });
  Bind(kWindowCloseQuery, [this, &handlers](const EventArgs&) { handlers.OnCloseQuery(*this); });
  save_.Bind(kButtonClicked,
             [this, &handlers](const EventArgs&) { handlers.OnSaveClicked(*this); });
}

}  // namespace sr::forms
