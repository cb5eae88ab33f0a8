#include "forms/main_form.h"

#include <vector>

#include "forms/framework.h"

namespace sr::forms {

namespace {

using ui::KeyChord;
using Command = void (MainWindowHandlers::*)();

constexpr int kBlue = 0x0000FF;
constexpr int kGrey = 0x808080;
constexpr int kWhite = 0xFFFFFF;

const char kFileDialogFilter[] = "*.dat|*.dat";

// The smallest frame at which nothing overlaps. The credit label, at W - 150, must start right
// of the head count's longest text, "表内人数: 99999 人": 19 half-width places of 6 pixels in
// the form's font after the label's left edge at 528, and a gap. The toolbar's buttons end
// left of the head count. The grid, H - 100 high, keeps its titles and five rows inside its
// frame and above the horizontal scroll bar that its 22 columns need at that width.
constexpr int kMinimumWidth = 528 + 19 * 6 + 8 + 150;
constexpr int kMinimumHeight = 100 + 20 + 5 * 20 + 4 + 16;
const char kCreditText[] = "工资个税管理程序\r\n版本 1.0";

struct ToolbarButton {
  int index;
  const char* caption;
  const char* tooltip;
  int image;
  bool disabled;
  Command command;
};

const ToolbarButton kToolbarButtons[] = {
    {kToolNew, "新建", "新建学生名单", 14, false, &MainWindowHandlers::OnNew},
    {kToolOpen, "打开", "打开学生名单", 1, false, &MainWindowHandlers::OnOpen},
    {kToolSave, "保存", "保存所作的修改", 11, false, &MainWindowHandlers::OnSave},
    {kToolModify, "修改", "允许对表格进行修改", 4, false, &MainWindowHandlers::OnModify},
    {kToolFind, "查找", "查找", 2, false, &MainWindowHandlers::OnFind},
    {kToolDeleteRow, "删除", "删除一条记录", 13, true, &MainWindowHandlers::OnDeleteRow},
    {kToolInsertBlankRow, "插入", "加入一空行", 21, false, &MainWindowHandlers::OnInsertBlankRow},
    {kToolCalculate, "计算", "计算", 5, false, &MainWindowHandlers::OnCalculate},
    {kToolSummary, "汇总", "汇总", 6, false, &MainWindowHandlers::OnSummary},
    {kToolTaxRate, "税率", "设置税率表", 26, false, &MainWindowHandlers::OnTaxRate},
    {kToolSettings, "设置", "修改表头名称和免税标志", 8, false, &MainWindowHandlers::OnSettings},
    {kToolExport, "导出", "导出到Excel电子表格", 3, false, &MainWindowHandlers::OnExport},
    {kToolExit, "退出", "退出", 10, false, &MainWindowHandlers::OnExit},
};

// Every click on the toolbar enables these buttons afterwards.
constexpr int kEnabledAfterAnyClick[] = {kToolSave, kToolDeleteRow, kToolCalculate, kToolSummary};

std::vector<ui::ToolbarEntrySpec> ToolbarEntries() {
  std::vector<ui::ToolbarEntrySpec> entries(kToolbarSize);
  for (ui::ToolbarEntrySpec& entry : entries) entry.separator = true;
  for (const ToolbarButton& button : kToolbarButtons) {
    entries[button.index] = {false, button.caption, button.tooltip, button.image,
                             button.disabled ? ui::kToolbarDisabled : 0};
  }
  return entries;
}

struct MenuRow {
  const char* caption;
  int level;
  KeyChord shortcut;
  bool disabled;
  Command command;
};

constexpr KeyChord Ctrl(char letter) { return {letter, ui::kCtrl}; }

// The main menu in order; the row number is the entry's index (MainMenuEntry). Ctrl+E belongs
// to "&E 退出" alone: the edit menu opens with its mnemonic, Alt+E. Import, undo and redo were
// added later, on keys that nothing else had taken (Ctrl+I, Ctrl+Z, Ctrl+Y); undo and redo are
// enabled while there is a step to take.
const MenuRow kMenuRows[] = {
    {"&F 文件 ", 0, {}, false, nullptr},
    {"&A 新建", 1, Ctrl('A'), false, &MainWindowHandlers::OnNew},
    {"-", 1, {}, false, nullptr},
    {"&O 打开", 1, Ctrl('O'), false, &MainWindowHandlers::OnOpen},
    {"-", 1, {}, false, nullptr},
    {"&S 保存", 1, Ctrl('S'), true, &MainWindowHandlers::OnSave},
    {"&R 另存为", 1, {}, false, &MainWindowHandlers::OnSaveAs},
    {"&I 导入", 1, Ctrl('I'), false, &MainWindowHandlers::OnImport},
    {"-", 1, {}, false, nullptr},
    {"&P 打印工资条和工资表...", 1, Ctrl('P'), false, &MainWindowHandlers::OnPrintouts},
    {"-", 1, {}, false, nullptr},
    {"&E 退出", 1, Ctrl('E'), false, &MainWindowHandlers::OnExit},
    {"&E 编辑 ", 0, {}, false, nullptr},
    {"&Z 撤销", 1, Ctrl('Z'), true, &MainWindowHandlers::OnUndo},
    {"&Y 重做", 1, Ctrl('Y'), true, &MainWindowHandlers::OnRedo},
    {"-", 1, {}, false, nullptr},
    {"修改", 1, {}, false, &MainWindowHandlers::OnModify},
    {"&D 删除", 1, Ctrl('D'), false, &MainWindowHandlers::OnDeleteRow},
    {"-", 1, {}, false, nullptr},
    {"添加空行", 1, {ui::kVkF5, 0}, false, &MainWindowHandlers::OnInsertBlankRow},
    {"-", 1, {}, false, nullptr},
    {"查找", 1, {ui::kVkF3, 0}, false, &MainWindowHandlers::OnFind},
    {"-", 1, {}, false, nullptr},
    {"复制       ", 1, Ctrl('C'), false, &MainWindowHandlers::OnCopy},
    {"粘贴", 1, Ctrl('V'), false, &MainWindowHandlers::OnPaste},
    {"-", 1, {}, false, nullptr},
    {"排序", 1, {}, false, &MainWindowHandlers::OnSort},
    {"-", 1, {}, false, nullptr},
    {"打印所选行的工资条...", 1, {}, false, &MainWindowHandlers::OnPrintChosenPayslips},
    {"-", 1, {}, false, nullptr},
    {"为什么扣这些税", 1, {}, false, &MainWindowHandlers::OnWhyTax},
    {"&T 统计 ", 0, {}, false, nullptr},
    {"个人收入所得税计算", 1, {}, false, &MainWindowHandlers::OnCalculate},
    {"-", 1, {}, false, nullptr},
    {"汇总表", 1, {}, false, &MainWindowHandlers::OnSummary},
    {"-", 1, {}, false, nullptr},
    {"导出到Excel电子表格", 1, {}, false, &MainWindowHandlers::OnExport},
    {"&设置", 0, {}, false, nullptr},
    {"设置税率", 1, {}, false, &MainWindowHandlers::OnTaxRate},
    {"&W 个税 ", 0, {}, false, nullptr},
    {"居民预扣率表", 1, {}, false, &MainWindowHandlers::OnResidentTaxRate},
    {"人员信息", 1, {}, false, &MainWindowHandlers::OnPeople},
    {"导入往月数据", 1, {}, false, &MainWindowHandlers::OnImportTakeOver},
    {"本月扣缴明细", 1, {}, false, &MainWindowHandlers::OnWithholdingList},
    {"&B 备份 ", 0, {}, false, nullptr},
    {"查看和恢复备份...", 1, {}, false, &MainWindowHandlers::OnBackups},
};
static_assert(sizeof(kMenuRows) / sizeof(kMenuRows[0]) == kMainMenuSize);

}  // namespace

MainForm::MainForm(MainWindowHandlers& handlers)
    : Window("主窗口", "", {50, 50, 980, 562}, /*sizable=*/true, /*has_icon=*/true),
      handlers_(handlers),
      toolbar_(Add<Toolbar>(nullptr, "工具条1", ui::Rect{0, -22, 974, 28}, ToolbarEntries())),
      dark_line_(Add<ShapeBox>(nullptr, "外形框1", ui::Rect{1, 39, 224, 1}, kGrey, kGrey)),
      light_line_(Add<ShapeBox>(nullptr, "外形框2", ui::Rect{1, 40, 224, 1}, kWhite, kWhite)),
      grid_(Add<GridControl>(nullptr, "高级表格1", ui::Rect{2, 43, 26, 26}, RegisterGridConfig())),
      head_count_(Add<Label>(nullptr, "标签1", ui::Rect{528, 14, 352, 12}, "", kBlue)),
      credit_(Add<Label>(nullptr, "标签2", ui::Rect{856, 13, 120, 26}, kCreditText, kGrey,
                         /*multi_line=*/true)),
      progress_(Add<ProgressBar>(nullptr, "进度条1", ui::Rect{196, 48, 16, 16})),
      open_dialog_("通用对话框打开", ui::FileDialogKind::kOpen, kFileDialogFilter),
      save_dialog_("通用对话框保存", ui::FileDialogKind::kSave, kFileDialogFilter) {
  progress_.SetVisible(false);
  SetMinimumSize(kMinimumWidth, kMinimumHeight);
  BuildMenu();
  BindEvents();
}

void MainForm::BuildMenu() {
  for (const MenuRow& row : kMenuRows) {
    int index = menu().Add(row.caption, row.level, row.shortcut, row.disabled);
    if (row.command != nullptr) {
      Command command = row.command;
      menu().Bind(index, [this, command] { (handlers_.*command)(); });
    }
  }
}

void MainForm::BindEvents() {
  Bind(kWindowCreated, [this](const EventArgs&) { handlers_.OnCreated(); });
  Bind(kWindowSizeChanged, [this](const EventArgs&) { Layout(); });
  BindQuery(kWindowCloseQuery, [this](const EventArgs&) { return handlers_.OnCloseQuery(); });
  grid_.Bind(GenericEvent(ui::Input::kRightButtonDown), [this](const EventArgs&) {
    if (framework() != nullptr) framework()->PopupMenu(*this, kMenuEdit);
  });
  grid_.Bind(kGridEditBegins, [this](const EventArgs&) { handlers_.OnGridEditBegins(); });
  grid_.Bind(kGridTypingRefused, [this](const EventArgs&) { handlers_.OnGridTypingRefused(); });
  grid_.Bind(kGridCellsEdited, [this](const EventArgs& args) {
    handlers_.OnGridCellsEdited(CellRange{args.a, args.b, args.c, args.d});
  });
  grid_.Bind(GenericEvent(ui::Input::kKeyDown),
             [this](const EventArgs& args) { handlers_.OnGridKeyDown(args.a, args.b); });
  toolbar_.Bind(kToolbarButtonClicked, [this](const EventArgs& args) { ToolbarClicked(args.a); });
}

void MainForm::Layout() {
  // Computed in floating point and cut to integers, as the form's properties take them.
  double w = width();
  double h = height();
  grid_.SetWidth(static_cast<int>(w - 12));
  grid_.SetHeight(static_cast<int>(h - 100));
  dark_line_.SetWidth(static_cast<int>(w));
  light_line_.SetWidth(static_cast<int>(w));
  credit_.SetLeft(static_cast<int>(w - 150));
}

void MainForm::ToolbarClicked(int index) {
  for (const ToolbarButton& button : kToolbarButtons) {
    if (button.index == index) (handlers_.*button.command)();
  }
  for (int button : kEnabledAfterAnyClick) toolbar_.ClearButtonState(button, ui::kToolbarDisabled);
}

}  // namespace sr::forms
