// The Windows peers under a real window system (Wine on Xvfb in the test command): windows
// found by caption, controls and menus reporting into their models, the grid window reporting
// into the grid's input, the clipboard in both text formats.
#include "platform/win32/ui/win32_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/tests/fake_grid.h"
#include "platform/win32/text/wide_text.h"
#include "platform/win32/ui/win32_backend.h"
#include "platform/win32/ui/window_menu.h"
// commctrl.h and dlgs.h need windows.h before them.
#include <commctrl.h>
#include <dlgs.h>

namespace sr::win32 {
namespace {

using ui::ControlKind;
using ui::Input;

// Everything the models hear, in order.
struct Log : ui::ControlEvents, ui::WindowEvents {
  void OnInput(Input input, int a, int b, int c) override {
    if (input != Input::kMouseMoved) lines.push_back("input " + std::to_string(int(input)));
  }
  void OnClicked() override { lines.push_back("clicked"); }
  void OnTextEdited(const ui::Text& text) override { lines.push_back("edited " + text); }
  void OnToolbarButtonClicked(int index) override {
    lines.push_back("toolbar " + std::to_string(index));
  }
  void OnCloseRequested() override { lines.push_back("close"); }
  void OnRectChanged(const ui::Rect&) override {}
  void OnMenuChosen(int index) override { lines.push_back("menu " + std::to_string(index)); }
  std::vector<std::string> Take() { return std::exchange(lines, {}); }
  std::vector<std::string> lines;
};

std::vector<ui::MenuEntrySpec> TestMenu() {
  return {{"&E 编辑 ", 0, {}, false},
          {"&D 删除", 1, {'D', ui::kCtrl}, false},
          {"-", 1, {}, false},
          {"添加空行", 1, {ui::kVkF5, 0}, false},
          {"另一个", 1, {ui::kVkF5, 0}, false},
          {"查找", 1, {ui::kVkF3, 0}, true}};
}

TEST(WindowMenuTest, ShortcutsBecomeAcceleratorsAndShowBesideTheCaption) {
  const std::vector<ACCEL> table = MenuAccelerators(TestMenu());
  ASSERT_EQ(table.size(), 3u);  // the second F5 loses; the bar and the separator take none
  EXPECT_EQ(table[0].fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ(table[0].key, 'D');
  EXPECT_EQ(table[0].cmd, 1 + kFirstMenuCommand);
  EXPECT_EQ(table[1].fVirt, FVIRTKEY);
  EXPECT_EQ(table[1].key, ui::kVkF5);
  EXPECT_EQ(table[1].cmd, 3 + kFirstMenuCommand);
  EXPECT_EQ(table[2].key, ui::kVkF3);
  EXPECT_EQ(MenuItemText(TestMenu()[1]), L"&D 删除\tCtrl+D");
  EXPECT_EQ(MenuItemText(TestMenu()[3]), L"添加空行\tF5");
}

class Win32UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::WindowSpec info;
    info.caption = "设置工资项目及免税项目";
    info.rect = {50, 50, 364, 400};
    info.menu = TestMenu();
    window_ = backend_.CreateWindow(info, &log_);
    hwnd_ = FindWindowW(nullptr, L"设置工资项目及免税项目");
    if (hwnd_ == nullptr) GTEST_SKIP() << "no display for windows (the test command gives one)";
    ui::ControlSpec button;
    button.kind = ControlKind::kButton;
    button.text = "确认";
    button.rect = {232, 64, 80, 24};
    button_ = window_->CreateControl(button, &button_log_, nullptr);
    ui::ControlSpec grid;
    grid.kind = ControlKind::kGrid;
    grid.rect = {10, 10, 200, 150};
    grid.grid_source = &grid_;
    grid.grid_input = &grid_;
    grid_peer_ = window_->CreateControl(grid, &grid_log_, nullptr);
    window_->Show();
    backend_.ProcessPendingEvents();
    grid_.Take();
  }
  void TearDown() override {
    grid_peer_.reset();
    button_.reset();
    window_.reset();
    backend_.ProcessPendingEvents();
  }
  HWND Child(const wchar_t* kind) { return FindWindowExW(hwnd_, nullptr, kind, nullptr); }

  Win32Backend backend_;
  Log log_, button_log_, grid_log_;
  ui::testing::FakeGrid grid_{{5, 3, 1, 1, 20, 60}};
  std::unique_ptr<ui::WindowPeer> window_;
  std::unique_ptr<ui::ControlPeer> button_, grid_peer_;
  HWND hwnd_ = nullptr;
};

TEST_F(Win32UiTest, TheWindowHasTheFormsFrameAndCaption) {
  RECT frame;
  GetWindowRect(hwnd_, &frame);
  EXPECT_EQ(frame.left, 50);
  EXPECT_EQ(frame.right - frame.left, 364);
  EXPECT_EQ(frame.bottom - frame.top, 400);
  window_->SetCaption("新建");
  wchar_t caption[32];
  GetWindowTextW(hwnd_, caption, 32);
  EXPECT_STREQ(caption, L"新建");
  // Closing by the frame only asks: the window stays until its model lets it go.
  SendMessageW(hwnd_, WM_CLOSE, 0, 0);
  EXPECT_EQ(log_.Take(), std::vector<std::string>{"close"});
  EXPECT_TRUE(IsWindowVisible(hwnd_));
}

TEST_F(Win32UiTest, AButtonReportsTheMouseAndThenTheClick) {
  HWND button = Child(L"BUTTON");
  ASSERT_NE(button, nullptr);
  SetFocus(Child(L"SalaryRegisterGrid"));  // the window gave the button the keyboard first
  button_log_.Take();
  SendMessageW(button, BM_CLICK, 0, 0);
  // Pressed, it takes the keyboard, as a button does on Windows.
  EXPECT_EQ(button_log_.Take(),
            (std::vector<std::string>{"input -1", "input -7", "input -2", "clicked"}));
}

TEST_F(Win32UiTest, AcceleratorsChooseEnabledEntriesOnly) {
  PostMessageW(Child(L"SalaryRegisterGrid"), WM_KEYDOWN, VK_F5, 0);
  backend_.ProcessPendingEvents();
  EXPECT_EQ(log_.Take(), std::vector<std::string>{"menu 3"});
  window_->SetMenuEntryDisabled(3, true);
  PostMessageW(Child(L"SalaryRegisterGrid"), WM_KEYDOWN, VK_F5, 0);
  backend_.ProcessPendingEvents();
  PostMessageW(hwnd_, WM_COMMAND, 5 + kFirstMenuCommand, 0);  // 查找 is disabled by its form
  backend_.ProcessPendingEvents();
  EXPECT_EQ(log_.Take(), std::vector<std::string>{});
  window_->SetMenuEntryDisabled(5, false);
  PostMessageW(hwnd_, WM_COMMAND, 5 + kFirstMenuCommand, 0);
  backend_.ProcessPendingEvents();
  EXPECT_EQ(log_.Take(), std::vector<std::string>{"menu 5"});
}

TEST_F(Win32UiTest, TheGridReportsCellsUnderTheMouseAndTypedCharacters) {
  HWND grid = Child(L"SalaryRegisterGrid");
  ASSERT_NE(grid, nullptr);
  // Row 2, column 1: below the 20-pixel title row, right of the 60-pixel title column.
  const LPARAM at = MAKELPARAM(60 + 30, 2 * 20 + 5);
  SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(grid, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(grid_.Take(),
            (std::vector<std::string>{"PressButton 2,1,90,45,0", "ReleaseButton 2,1,90,45,0"}));
  grid_.SetCursor(2, 1);
  SendMessageW(grid, WM_CHAR, L'工', 0);
  EXPECT_EQ(grid_.Take(), std::vector<std::string>{"TypeCharacter 工,0"});
  ASSERT_TRUE(grid_.Editing());
  HWND editor = FindWindowExW(grid, nullptr, L"EDIT", nullptr);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(IsWindowVisible(editor));
  wchar_t text[16];
  GetWindowTextW(editor, text, 16);
  EXPECT_STREQ(text, L"工");
  // Enter ends the edit through the grid's input, not inside the edit box.
  SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(grid_.Take(), std::vector<std::string>{"PressKey 13,0"});
  EXPECT_FALSE(grid_.Editing());
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(grid_.CellText(2, 1), "工");
}

TEST_F(Win32UiTest, TheClipboardHoldsGbkAndUnicodeText) {
  backend_.clipboard().SetText("工资\t1,500");
  ui::Text back;
  ASSERT_TRUE(backend_.clipboard().GetText(&back));
  EXPECT_EQ(back, "工资\t1,500");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE gbk = GetClipboardData(CF_TEXT);
  ASSERT_NE(gbk, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(gbk)), "工资\t1,500");
  GlobalUnlock(gbk);
  CloseClipboard();
}

// The main window's labels sit on the toolbar's row (head count, program name): the toolbar,
// which spans the whole width, must neither cover them nor paint over them.
TEST_F(Win32UiTest, LabelsOnTheToolbarsRowStayInFrontOfIt) {
  ui::ControlSpec toolbar;
  toolbar.kind = ControlKind::kToolbar;
  toolbar.toolbar_entries = {{false, "新建", "新建", 0, 0}};
  Log toolbar_log, label_log;
  auto toolbar_peer = window_->CreateControl(toolbar, &toolbar_log, nullptr);
  ui::ControlSpec label;
  label.kind = ControlKind::kLabel;
  label.text = "表内人数: 0 人";
  label.rect = {200, 4, 120, 16};
  auto label_peer = window_->CreateControl(label, &label_log, nullptr);
  backend_.ProcessPendingEvents();
  HWND bar = Child(TOOLBARCLASSNAMEW);
  HWND text = Child(L"STATIC");
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(text, nullptr);
  POINT inside_label{260, 12};
  EXPECT_EQ(ChildWindowFromPointEx(hwnd_, inside_label, CWP_SKIPINVISIBLE), text);
  EXPECT_TRUE(GetWindowLongW(bar, GWL_STYLE) & WS_CLIPSIBLINGS);
}

// The head count's box runs under the program's name: the name, created later, is in front,
// and the head count clips it out when its new text is painted.
TEST_F(Win32UiTest, AnOverlappingLaterLabelStaysInFrontOfAnEarlierOne) {
  ui::ControlSpec count, name;
  count.kind = name.kind = ControlKind::kLabel;
  count.text = "表内人数: 0 人";
  count.rect = {10, 200, 200, 16};
  name.text = "工资个税管理程序";
  name.rect = {150, 200, 120, 26};
  name.multi_line = true;
  Log count_log, name_log;
  auto count_peer = window_->CreateControl(count, &count_log, nullptr);
  auto name_peer = window_->CreateControl(name, &name_log, nullptr);
  count_peer->SetText("表内人数: 2 人");
  backend_.ProcessPendingEvents();
  // Siblings are found front to back.
  HWND front = FindWindowExW(hwnd_, nullptr, L"STATIC", nullptr);
  HWND back = FindWindowExW(hwnd_, front, L"STATIC", nullptr);
  ASSERT_NE(back, nullptr);
  wchar_t text[32] = {};
  GetWindowTextW(front, text, 32);
  EXPECT_EQ(std::wstring(text), L"工资个税管理程序");
  EXPECT_TRUE(GetWindowLongW(back, GWL_STYLE) & WS_CLIPSIBLINGS);
  POINT shared{180, 208};
  EXPECT_EQ(ChildWindowFromPointEx(hwnd_, shared, CWP_SKIPINVISIBLE), front);
}

// Answers the first file dialog that `thread` opens: notes the entries of its file-type list,
// types `name` and presses its OK button. Whatever stays open after that (a refusal, the dialog
// itself) is cancelled.
std::vector<std::wstring> AnswerFileDialog(DWORD thread, const std::wstring& name) {
  auto front = [thread] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(thread, &info);
    wchar_t kind[16] = {};
    if (info.hwndActive != nullptr) GetClassNameW(info.hwndActive, kind, 16);
    return std::wstring(kind) == L"#32770" ? info.hwndActive : nullptr;
  };
  HWND dialog = nullptr;
  for (int i = 0; i < 250 && (dialog = front()) == nullptr; ++i) Sleep(20);
  std::vector<std::wstring> types;
  if (dialog == nullptr) return types;
  Sleep(300);  // the dialog fills its lists
  HWND type_list = GetDlgItem(dialog, cmb1);
  const int count = static_cast<int>(SendMessageW(type_list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    SendMessageW(type_list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    types.push_back(text);
  }
  HWND name_box = GetDlgItem(dialog, cmb13) != nullptr ? GetDlgItem(dialog, cmb13)
                                                       : GetDlgItem(dialog, edt1);
  SetWindowTextW(name_box, name.c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 100; ++i) {
    Sleep(20);
    if (HWND left = front()) PostMessageW(left, WM_COMMAND, IDCANCEL, 0);
  }
  return types;
}

// A name typed without an extension gets the filter's (".dat") in both dialogs, so that a
// register saved as "一月工资" is found again by 打开, which also offers all files.
TEST_F(Win32UiTest, FileDialogsAddTheFiltersExtensionAndOpenOffersAllFiles) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("sr-dialogs-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(folder);
  const std::wstring wanted = (folder / L"一月工资.dat").wstring();
  struct Case {
    ui::FileDialogKind kind;
    std::vector<std::wstring> types;
  };
  for (const Case& c : {Case{ui::FileDialogKind::kSave, {L"*.dat"}},
                        Case{ui::FileDialogKind::kOpen, {L"*.dat", L"所有文件 (*.*)"}}}) {
    SCOPED_TRACE(c.kind == ui::FileDialogKind::kOpen ? "open" : "save");
    std::vector<std::wstring> types;
    std::thread answer(
        [&, thread = GetCurrentThreadId()] { types = AnswerFileDialog(thread, L"一月工资"); });
    ui::FileDialogSpec dialog{c.kind, "*.dat|*.dat", folder.string()};
    const ui::FileDialogResult result = backend_.RunFileDialog(dialog, window_.get());
    answer.join();
    EXPECT_EQ(types, c.types);
    EXPECT_TRUE(result.confirmed);
    std::optional<std::wstring> chosen = GbkToWide(result.path);
    EXPECT_EQ(std::filesystem::path(chosen.value_or(L"")), std::filesystem::path(wanted));
    // The register exists now, for the open dialog to find.
    CloseHandle(CreateFileW(wanted.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace sr::win32
