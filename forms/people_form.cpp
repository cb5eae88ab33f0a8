#include "forms/people_form.h"

namespace sr::forms {

PeopleForm::PeopleForm(PeopleWindowHandlers& handlers, int rows, int columns)
    : Window("人员信息窗口", "人员信息", {50, 50, 900, 520}, /*sizable=*/false,
             /*has_icon=*/false),
      grid_(Add<GridControl>(nullptr, "高级表格1", ui::Rect{8, 36, 876, 440},
                             GridConfig{rows, columns, 1, 0, /*editable=*/true, 20, 72,
                                        /*enter_moves=*/1, false})),
      save_(Add<Button>(nullptr, "按钮1", ui::Rect{8, 6, 72, 24}, "保存")),
      discard_(Add<Button>(nullptr, "按钮2", ui::Rect{88, 6, 72, 24}, "放弃")) {
  Bind(kWindowCreated, [this, &handlers](const EventArgs&) { handlers.OnCreated(*this); });
  BindQuery(kWindowCloseQuery,
            [this, &handlers](const EventArgs&) { return handlers.OnCloseQuery(*this); });
  save_.Bind(kButtonClicked,
             [this, &handlers](const EventArgs&) { handlers.OnSaveClicked(*this); });
  discard_.Bind(kButtonClicked,
                [this, &handlers](const EventArgs&) { handlers.OnDiscardClicked(*this); });
}

}  // namespace sr::forms
