#include "forms/secondary_forms.h"

namespace sr::forms {

namespace {
// Two title rows: the file's titles, then the register item each matched.
GridConfig PreviewGridConfig() { return {2, 1, 2, 0, false, 20, 80, 0, false}; }
constexpr int kRed = 0xFF0000;
}  // namespace

ImportForm::ImportForm(ImportWindowHandlers& handlers)
    : Window("导入窗口", "导入预览", {50, 50, 760, 520}, /*sizable=*/false, /*has_icon=*/false),
      summary_(Add<Label>(nullptr, "标签1", ui::Rect{12, 10, 730, 36}, "", kRed,
                          /*multi_line=*/true)),
      grid_(Add<GridControl>(nullptr, "高级表格1", ui::Rect{12, 50, 730, 390},
                             PreviewGridConfig())),
      append_(Add<Button>(nullptr, "按钮追加", ui::Rect{412, 452, 100, 26}, "追加")),
      replace_(Add<Button>(nullptr, "按钮替换", ui::Rect{522, 452, 100, 26}, "替换")),
      cancel_(Add<Button>(nullptr, "按钮取消", ui::Rect{632, 452, 100, 26}, "取消")) {
  Bind(kWindowCreated, [this, &handlers](const EventArgs&) { handlers.OnCreated(*this); });
  append_.Bind(kButtonClicked,
               [this, &handlers](const EventArgs&) { handlers.OnAppendClicked(*this); });
  replace_.Bind(kButtonClicked,
                [this, &handlers](const EventArgs&) { handlers.OnReplaceClicked(*this); });
  cancel_.Bind(kButtonClicked,
               [this, &handlers](const EventArgs&) { handlers.OnCancelClicked(*this); });
}

}  // namespace sr::forms
