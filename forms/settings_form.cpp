#include "forms/secondary_forms.h"

namespace sr::forms {

namespace {
constexpr int kFrameGrey = 0x808080;
const char kHelpText[] =
    "  要改变工资项目名称，请单击左边要修改的名称，然后在上面修改区内进行修改。\r\n\r\n"
    "  要设置某工资项为免税项目，双击该工资项。\r\n\r\n"
    "  要取消某工资项免税，双击该工资项。\r\n";
}  // namespace

SettingsForm::SettingsForm(SettingsWindowHandlers& handlers)
    : Window("设置窗口", "设置工资项目及免税项目", {50, 50, 364, 400}, /*sizable=*/false,
             /*has_icon=*/false),
      grid_(Add<GridControl>(nullptr, "高级表格1", ui::Rect{24, 24, 176, 328}, ItemGridConfig())),
      frame_(Add<ShapeBox>(nullptr, "外形框1", ui::Rect{208, 24, 128, 327}, kFrameGrey)),
      edit_(Add<EditBox>(&frame_, "编辑框1", ui::Rect{16, 8, 96, 24})),
      help_(Add<Label>(nullptr, "标签1", ui::Rect{224, 136, 96, 168}, kHelpText, ui::kDefaultColor,
                       /*multi_line=*/true)),
      confirm_(Add<Button>(nullptr, "按钮确认修改", ui::Rect{232, 64, 80, 24}, "确认")),
      cancel_(Add<Button>(nullptr, "按钮2", ui::Rect{232, 96, 80, 24}, "放弃")) {
  Bind(kWindowCreated, [this, &handlers](const EventArgs&) { handlers.OnCreated(*this); });
  edit_.Bind(kEditBoxChanged,
             [this, &handlers](const EventArgs&) { handlers.OnEditBoxChanged(*this); });
  grid_.Bind(kGridClicked, [this, &handlers](const EventArgs& args) {
    handlers.OnGridClicked(*this, args.a, args.b);
  });
  grid_.Bind(GenericEvent(ui::Input::kDoubleClick),
             [this, &handlers](const EventArgs&) { handlers.OnGridDoubleClick(*this); });
  confirm_.Bind(kButtonClicked,
                [this, &handlers](const EventArgs&) { handlers.OnConfirmClicked(*this); });
  cancel_.Bind(kButtonClicked,
               [this, &handlers](const EventArgs&) { handlers.OnCancelClicked(*this); });
}

}  // namespace sr::forms
