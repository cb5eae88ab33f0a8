// The main window's form: menu and toolbar tables, control placement, layout and wiring.
#include "forms/main_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/gbk.h"
#include "forms/framework.h"
#include "forms/tests/recording_handlers.h"
#include "platform/headless/headless_backend.h"

namespace sr::forms {
namespace {

// Test literals are UTF-8; the program's texts are GBK.
Text G(const char8_t* utf8) { return FromUtf8(reinterpret_cast<const char*>(utf8)); }

struct ExpectedMenuEntry {
  const char8_t* caption;
  int level;
  ui::KeyChord shortcut;
  bool disabled;
};

TEST(MainFormMenu, EntriesAreExactWithSpacesShortcutsAndSeparators) {
  const ui::KeyChord none;
  const std::vector<ExpectedMenuEntry> expected = {
      {u8"&F 文件 ", 0, none, false},
      {u8"&A 新建", 1, {'A', ui::kCtrl}, false},
      {u8"-", 1, none, false},
      {u8"&O 打开", 1, {'O', ui::kCtrl}, false},
      {u8"-", 1, none, false},
      {u8"&S 保存", 1, {'S', ui::kCtrl}, true},
      {u8"&R 另存为", 1, none, false},
      {u8"&I 导入", 1, {'I', ui::kCtrl}, false},
      {u8"-", 1, none, false},
      {u8"&P 打印工资条和工资表...", 1, {'P', ui::kCtrl}, false},
      {u8"-", 1, none, false},
      {u8"&E 退出", 1, {'E', ui::kCtrl}, false},
      {u8"&E 编辑 ", 0, none, false},
      {u8"&Z 撤销", 1, {'Z', ui::kCtrl}, true},
      {u8"&Y 重做", 1, {'Y', ui::kCtrl}, true},
      {u8"-", 1, none, false},
      {u8"修改", 1, none, false},
      {u8"&D 删除", 1, {'D', ui::kCtrl}, false},
      {u8"-", 1, none, false},
      {u8"添加空行", 1, {ui::kVkF5, 0}, false},
      {u8"-", 1, none, false},
      {u8"查找", 1, {ui::kVkF3, 0}, false},
      {u8"-", 1, none, false},
      {u8"复制       ", 1, {'C', ui::kCtrl}, false},
      {u8"粘贴", 1, {'V', ui::kCtrl}, false},
      {u8"-", 1, none, false},
      {u8"排序", 1, none, false},
      {u8"-", 1, none, false},
      {u8"打印所选行的工资条...", 1, none, false},
      {u8"-", 1, none, false},
      {u8"为什么扣这些税", 1, none, false},
      {u8"&T 统计 ", 0, none, false},
      {u8"个人收入所得税计算", 1, none, false},
      {u8"-", 1, none, false},
      {u8"汇总表", 1, none, false},
      {u8"-", 1, none, false},
      {u8"导出到Excel电子表格", 1, none, false},
      {u8"&设置", 0, none, false},
      {u8"设置税率", 1, none, false},
      {u8"&W 个税 ", 0, none, false},
      {u8"居民预扣率表", 1, none, false},
      {u8"人员信息", 1, none, false},
      {u8"导入往月数据", 1, none, false},
      {u8"本月扣缴明细", 1, none, false},
      {u8"&B 备份 ", 0, none, false},
      {u8"查看和恢复备份...", 1, none, false},
  };
  RecordingHandlers handlers;
  MainForm form(handlers);
  ASSERT_EQ(form.menu().size(), static_cast<int>(expected.size()));
  for (int i = 0; i < form.menu().size(); ++i) {
    const MenuItem& item = form.menu().item(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(item.caption, G(expected[i].caption));
    EXPECT_EQ(item.level, expected[i].level);
    EXPECT_EQ(item.shortcut, expected[i].shortcut);
    EXPECT_EQ(item.disabled, expected[i].disabled);
    // Entries with a command are exactly the drop-down entries that are not separators.
    EXPECT_EQ(item.on_chosen != nullptr, item.level == 1 && !item.separator());
  }
  // Ctrl+E is bound once: the file menu's exit, not the edit menu's bar entry.
  int ctrl_e = 0;
  for (const MenuItem& item : form.menu().items())
    ctrl_e += item.shortcut == ui::KeyChord{'E', ui::kCtrl};
  EXPECT_EQ(ctrl_e, 1);
}

TEST(MainFormMenu, EveryCommandEntryRunsItsHandler) {
  RecordingHandlers handlers;
  MainForm form(handlers);
  const std::vector<std::pair<int, std::string>> commands = {
      {kMenuNew, "New"},
      {kMenuOpen, "Open"},
      {kMenuSaveAs, "SaveAs"},
      {kMenuImport, "Import"},
      {kMenuExit, "Exit"},
      {kMenuModify, "Modify"},
      {kMenuDeleteRow, "DeleteRow"},
      {kMenuInsertBlankRow, "InsertBlankRow"},
      {kMenuFind, "Find"},
      {kMenuCopy, "Copy"},
      {kMenuPaste, "Paste"},
      {kMenuSort, "Sort"},
      {kMenuCalculate, "Calculate"},
      {kMenuSummary, "Summary"},
      {kMenuExport, "Export"},
      {kMenuTaxRate, "TaxRate"},
      {kMenuPrintouts, "Printouts"},
      {kMenuPrintChosenPayslips, "PrintChosenPayslips"},
      {kMenuResidentTaxRate, "ResidentTaxRate"},
      {kMenuPeople, "People"},
      {kMenuWhyTax, "WhyTax"},
      {kMenuImportTakeOver, "ImportTakeOver"},
      {kMenuWithholdingList, "WithholdingList"},
      {kMenuBackups, "Backups"},
  };
  for (const auto& [index, name] : commands) {
    handlers.calls.clear();
    form.menu().Choose(index);
    EXPECT_EQ(handlers.calls, std::vector<std::string>{name}) << index;
  }
}

TEST(MainFormMenu, DisabledEntriesBarEntriesAndSeparatorsDoNothing) {
  RecordingHandlers handlers;
  MainForm form(handlers);
  form.menu().Choose(kMenuSave);  // disabled in the form
  form.menu().Choose(kMenuFile);
  form.menu().Choose(2);  // a separator
  form.menu().Choose(-1);
  form.menu().Choose(kMainMenuSize);
  EXPECT_TRUE(handlers.calls.empty());
  form.menu().SetDisabled(kMenuSave, false);
  form.menu().Choose(kMenuSave);
  EXPECT_EQ(handlers.calls, std::vector<std::string>{"Save"});
}

struct ExpectedButton {
  int index;
  const char8_t* caption;
  const char8_t* tooltip;
  int image;
  bool enabled;
  const char* command;
};

TEST(MainFormToolbar, HasThirteenButtonsBetweenSeparators) {
  const std::vector<ExpectedButton> buttons = {
      {1, u8"新建", u8"新建学生名单", 14, true, "New"},
      {3, u8"打开", u8"打开学生名单", 1, true, "Open"},
      {5, u8"保存", u8"保存所作的修改", 11, true, "Save"},
      {7, u8"修改", u8"允许对表格进行修改", 4, true, "Modify"},
      {9, u8"查找", u8"查找", 2, true, "Find"},
      {11, u8"删除", u8"删除一条记录", 13, false, "DeleteRow"},
      {13, u8"插入", u8"加入一空行", 21, true, "InsertBlankRow"},
      {15, u8"计算", u8"计算", 5, true, "Calculate"},
      {17, u8"汇总", u8"汇总", 6, true, "Summary"},
      {19, u8"税率", u8"设置税率表", 26, true, "TaxRate"},
      {21, u8"设置", u8"修改表头名称和免税标志", 8, true, "Settings"},
      {23, u8"导出", u8"导出到Excel电子表格", 3, true, "Export"},
      {25, u8"退出", u8"退出", 10, true, "Exit"},
  };
  RecordingHandlers handlers;
  MainForm form(handlers);
  Toolbar& toolbar = form.toolbar();
  ASSERT_EQ(toolbar.size(), 27);
  for (int i = 0; i < 27; i += 2) EXPECT_TRUE(toolbar.entry(i).separator) << i;
  for (const ExpectedButton& b : buttons) {
    SCOPED_TRACE(b.index);
    const ui::ToolbarEntrySpec& entry = toolbar.entry(b.index);
    EXPECT_FALSE(entry.separator);
    EXPECT_EQ(entry.caption, G(b.caption));
    EXPECT_EQ(entry.tooltip, G(b.tooltip));
    EXPECT_EQ(entry.image, b.image);
    EXPECT_EQ(toolbar.ButtonEnabled(b.index), b.enabled);
  }
  // Each button runs its own command (the delete button once it is enabled).
  toolbar.ClearButtonState(kToolDeleteRow, ui::kToolbarDisabled);
  for (const ExpectedButton& b : buttons) {
    handlers.calls.clear();
    toolbar.OnToolbarButtonClicked(b.index);
    EXPECT_EQ(handlers.calls, std::vector<std::string>{b.command}) << b.index;
  }
}

TEST(MainFormToolbar, AnyClickEnablesSaveDeleteCalculateAndSummary) {
  RecordingHandlers handlers;
  MainForm form(handlers);
  Toolbar& toolbar = form.toolbar();
  for (int index : {5, 11, 15, 17}) toolbar.SetButtonState(index, ui::kToolbarDisabled);
  toolbar.SetButtonState(7, ui::kToolbarDisabled | ui::kToolbarChecked);
  toolbar.OnToolbarButtonClicked(11);  // disabled: ignored, enables nothing
  EXPECT_FALSE(toolbar.ButtonEnabled(11));
  EXPECT_TRUE(handlers.calls.empty());

  form.ToolbarClicked(2);  // a separator: no command, but the rule still runs
  EXPECT_TRUE(handlers.calls.empty());
  for (int index : {5, 11, 15, 17}) EXPECT_TRUE(toolbar.ButtonEnabled(index)) << index;
  // Only the disabled bit of those four is cleared; other buttons keep their state.
  EXPECT_EQ(toolbar.ButtonState(7), ui::kToolbarDisabled | ui::kToolbarChecked);
}

TEST(MainFormLayout, ControlsStartWhereTheFormPutsThem) {
  RecordingHandlers handlers;
  MainForm form(handlers);
  EXPECT_EQ(form.caption(), "");
  EXPECT_EQ(form.rect(), (ui::Rect{50, 50, 980, 562}));
  EXPECT_TRUE(form.sizable());
  EXPECT_EQ(form.grid_control().rect(), (ui::Rect{2, 43, 26, 26}));
  EXPECT_EQ(form.dark_line().rect(), (ui::Rect{1, 39, 224, 1}));
  EXPECT_EQ(form.light_line().rect(), (ui::Rect{1, 40, 224, 1}));
  EXPECT_EQ(form.head_count_label().rect(), (ui::Rect{528, 14, 352, 12}));
  EXPECT_EQ(form.head_count_label().caption(), "");
  EXPECT_EQ(form.credit_label().rect(), (ui::Rect{856, 13, 120, 26}));
  EXPECT_FALSE(form.progress_bar().visible());
  EXPECT_EQ(form.progress_bar().rect(), (ui::Rect{196, 48, 16, 16}));
  EXPECT_EQ(form.open_dialog().filter(), "*.dat|*.dat");
  EXPECT_EQ(form.save_dialog().kind(), ui::FileDialogKind::kSave);
  // The register grid's initial configuration.
  const Grid& grid = form.grid();
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.ColumnCount(), 22);
  EXPECT_FALSE(grid.Editable());
  EXPECT_EQ(grid.EnterMoves(), 1);
  EXPECT_EQ(grid.DefaultColumnWidth(), 80);
}

TEST(MainFormLayout, EverySizeChangeFitsGridLinesAndCredit) {
  RecordingHandlers handlers;
  MainForm form(handlers);
  form.SetSize(600, 400);
  EXPECT_EQ(form.grid_control().width(), 588);
  EXPECT_EQ(form.grid_control().height(), 300);
  EXPECT_EQ(form.dark_line().width(), 600);
  EXPECT_EQ(form.light_line().width(), 600);
  EXPECT_EQ(form.credit_label().left(), 450);
  // Positions other than those stay.
  EXPECT_EQ(form.grid_control().left(), 2);
  EXPECT_EQ(form.grid_control().top(), 43);
  form.OnRectChanged({10, 10, 1024, 768});
  EXPECT_EQ(form.grid_control().rect(), (ui::Rect{2, 43, 1012, 668}));
  EXPECT_EQ(form.credit_label().left(), 874);
}

class LoadedMainForm : public ::testing::Test {
 protected:
  LoadedMainForm() : framework_(backend_), form_(handlers_) { framework_.LoadMain(form_); }

  headless::HeadlessBackend backend_;
  Framework framework_;
  RecordingHandlers handlers_;
  MainForm form_;
};

TEST_F(LoadedMainForm, StartUpRunsCreatedThenLaysOutForTheFormSize) {
  EXPECT_EQ(handlers_.calls, std::vector<std::string>{"Created"});
  EXPECT_EQ(form_.grid_control().rect(), (ui::Rect{2, 43, 968, 462}));
  auto* window = backend_.FindWindow(form_.name());
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->shown());
  EXPECT_EQ(window->Find(form_.grid_control().name())->state().rect.width, 968);
}

TEST_F(LoadedMainForm, ResizingByTheFrameRunsTheLayoutDownToTheMinimumSize) {
  headless::HeadlessWindow* window = backend_.FindWindow(form_.name());
  window->ResizeByUser(820, 400);
  EXPECT_EQ(form_.width(), 820);
  auto* grid_peer = window->Find(form_.grid_control().name());
  EXPECT_EQ(grid_peer->state().rect, (ui::Rect{2, 43, 808, 300}));
  // Smaller than the minimum, the frame stops there: the credit label stays right of the head
  // count's place, and the grid keeps its titles and a few rows.
  window->ResizeByUser(300, 100);
  EXPECT_EQ(form_.width(), form_.minimum_width());
  EXPECT_EQ(form_.height(), form_.minimum_height());
  EXPECT_GE(form_.credit_label().left(),
            form_.head_count_label().left() + 19 * 6);  // "表内人数: 99999 人" in the form font
  EXPECT_GE(form_.grid_control().height(), 20 + 5 * 20);
}

TEST_F(LoadedMainForm, GridEventsReachTheirHandlers) {
  handlers_.calls.clear();
  Grid& grid = form_.grid();
  grid.SetRowCount(3);
  grid.SetEditable(true);
  grid.SetCursor(1, 1);
  grid.PressKey(ui::kVkDelete, 0);
  grid.PressKey(ui::kVkF2, 0);  // opens the editor
  grid.TypeCharacter("x", 0);
  grid.PressKey(ui::kVkReturn, 0);
  EXPECT_EQ(handlers_.calls, (std::vector<std::string>{"GridKeyDown 46 0", "GridKeyDown 113 0",
                                                       "GridEditBegins", "GridCellsEdited"}));
}

TEST_F(LoadedMainForm, RightClickOnTheGridPopsUpTheEditMenuAndRunsTheChoice) {
  handlers_.calls.clear();
  backend_.QueuePopupChoice(kMenuFind);
  form_.grid().PressRightButton(30, 40, 0);
  ASSERT_FALSE(backend_.screen_log().empty());
  const headless::ScreenEvent& popup = backend_.screen_log().back();
  EXPECT_EQ(popup.kind, headless::ScreenEvent::Kind::kPopupMenu);
  EXPECT_EQ(popup.entry, kMenuEdit);
  EXPECT_EQ(popup.chosen, kMenuFind);
  EXPECT_EQ(handlers_.calls, std::vector<std::string>{"Find"});
  // An entry of another drop-down cannot be chosen from it.
  backend_.QueuePopupChoice(kMenuNew);
  form_.grid().PressRightButton(30, 40, 0);
  EXPECT_EQ(backend_.screen_log().back().chosen, -1);
  EXPECT_EQ(handlers_.calls, std::vector<std::string>{"Find"});
}

TEST_F(LoadedMainForm, CtrlERunsExitAndDisabledShortcutsDoNothing) {
  handlers_.calls.clear();
  backend_.PressKey('E', ui::kCtrl);
  backend_.PressKey('S', ui::kCtrl);  // "&S 保存" is still disabled
  backend_.PressKey(ui::kVkF5, 0);
  EXPECT_EQ(handlers_.calls, (std::vector<std::string>{"Exit", "InsertBlankRow"}));
  form_.menu().SetDisabled(kMenuSave, false);
  EXPECT_FALSE(backend_.FindWindow(form_.name())->state().menu[kMenuSave].disabled);
  backend_.PressKey('S', ui::kCtrl);
  EXPECT_EQ(handlers_.calls.back(), "Save");
}

TEST_F(LoadedMainForm, ClosingByTheFrameRaisesCloseQueryOnceAndEndsTheMainLoop) {
  handlers_.calls.clear();
  backend_.FindWindow(form_.name())->events()->OnCloseRequested();
  EXPECT_EQ(handlers_.calls, std::vector<std::string>{"CloseQuery"});
  EXPECT_FALSE(form_.is_open());
  EXPECT_TRUE(backend_.quit());
  EXPECT_EQ(backend_.exit_code(), 0);
  EXPECT_EQ(backend_.FindWindow(form_.name()), nullptr);
}

TEST_F(LoadedMainForm, ACloseQueryThatRefusesKeepsTheWindowAndTheNextCloseAsksAgain) {
  handlers_.calls.clear();
  handlers_.may_close = false;
  backend_.FindWindow(form_.name())->events()->OnCloseRequested();
  EXPECT_TRUE(form_.is_open());
  EXPECT_FALSE(backend_.quit());
  ASSERT_NE(backend_.FindWindow(form_.name()), nullptr);
  handlers_.may_close = true;
  framework_.Close(form_);
  EXPECT_EQ(handlers_.calls, (std::vector<std::string>{"CloseQuery", "CloseQuery"}));
  EXPECT_FALSE(form_.is_open());
  EXPECT_TRUE(backend_.quit());
}

}  // namespace
}  // namespace sr::forms
