// The program's windows on the Win32 backend under Wine, worked as a clerk works them: real mouse
// clicks and key presses (SendInput, routed by Wine as it routes the hardware's), never messages
// sent to a control. Run alone on the test command's display: it owns the mouse and keyboard.
#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>
#undef CreateWindow

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/framework.h"
#include "forms/main_form.h"
#include "forms/pay_month_form.h"
#include "forms/people_form.h"
#include "forms/printouts_form.h"
#include "forms/secondary_forms.h"
#include "forms/tests/recording_handlers.h"
#include "forms/withholding_list_form.h"
#include "platform/win32/ui/win32_backend.h"

namespace sr::win32 {
namespace {

using forms::Control;
using forms::Window;

// Handlers that do nothing: the test binds what it watches itself.
struct NoHandlers : forms::TaxRateWindowHandlers,
                    forms::SettingsWindowHandlers,
                    forms::SummaryWindowHandlers,
                    forms::ImportWindowHandlers,
                    forms::PeopleWindowHandlers,
                    forms::PrintoutsWindowHandlers,
                    forms::WithholdingListHandlers {
  void OnCreated(forms::TaxRateForm&) override {}
  void OnCloseQuery(forms::TaxRateForm&) override {}
  void OnSaveClicked(forms::TaxRateForm&) override {}
  void OnCreated(forms::SettingsForm&) override {}
  void OnEditBoxChanged(forms::SettingsForm&) override {}
  void OnGridClicked(forms::SettingsForm&, int, int) override {}
  void OnGridDoubleClick(forms::SettingsForm&) override {}
  void OnConfirmClicked(forms::SettingsForm&) override {}
  void OnCancelClicked(forms::SettingsForm&) override {}
  void OnCreated(forms::SummaryForm&) override {}
  void OnPrintClicked(forms::SummaryForm&) override {}
  void OnCreated(forms::ImportForm&) override {}
  void OnAppendClicked(forms::ImportForm&) override {}
  void OnReplaceClicked(forms::ImportForm&) override {}
  void OnCancelClicked(forms::ImportForm&) override {}
  void OnCreated(forms::PeopleForm&) override {}
  void OnSaveClicked(forms::PeopleForm&) override {}
  void OnDiscardClicked(forms::PeopleForm&) override {}
  bool OnCloseQuery(forms::PeopleForm&) override { return true; }
  void OnCreated(forms::PrintoutsForm&) override {}
  void OnPayslipsClicked(forms::PrintoutsForm&, bool) override {}
  void OnRegisterClicked(forms::PrintoutsForm&, bool) override {}
  void OnCloseClicked(forms::PrintoutsForm&) override {}
  void OnCloseQuery(forms::PrintoutsForm&) override {}
  void OnCreated(forms::WithholdingListForm&) override {}
  void OnPrintClicked(forms::WithholdingListForm&) override {}
  void OnExportClicked(forms::WithholdingListForm&) override {}
  void OnStatementClicked(forms::WithholdingListForm&) override {}
};

struct NamedForm {
  const char* name;
  std::function<std::unique_ptr<Window>()> make;
};

std::vector<NamedForm> EveryWindow(NoHandlers& none, forms::RecordingHandlers& main) {
  return {
      {"主窗口", [&] { return std::make_unique<forms::MainForm>(main); }},
      {"查找", [] { return std::make_unique<forms::FindForm>(); }},
      {"税率", [&] { return std::make_unique<forms::TaxRateForm>(none); }},
      {"设置", [&] { return std::make_unique<forms::SettingsForm>(none); }},
      {"汇总", [&] { return std::make_unique<forms::SummaryForm>(none); }},
      {"导入预览", [&] { return std::make_unique<forms::ImportForm>(none); }},
      {"计算月份", [] { return std::make_unique<forms::PayMonthForm>(); }},
      {"人员信息", [&] { return std::make_unique<forms::PeopleForm>(none, 3, 4); }},
      {"打印", [&] { return std::make_unique<forms::PrintoutsForm>(none); }},
      {"备份", [] { return std::make_unique<forms::BackupForm>(); }},
      {"本月扣缴明细",
       [&] { return std::make_unique<forms::WithholdingListForm>(none, "本月扣缴明细", 3, 4); }},
  };
}

// The visible form window of this thread (one at a time here).
HWND ShownForm() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM out) {
        wchar_t kind[32] = {};
        GetClassNameW(window, kind, 32);
        if (IsWindowVisible(window) && lstrcmpW(kind, L"SalaryRegisterForm") == 0) {
          *reinterpret_cast<HWND*>(out) = window;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class WindowsUnderWine : public ::testing::Test {
 protected:
  // Loads `window` as the only window and brings it to the front; false without a display.
  bool Load(Window& window) {
    framework_ = std::make_unique<forms::Framework>(backend_);
    // Opened from another window, which owns it, as a secondary window is.
    if (opener_ == nullptr) {
      opener_ = CreateWindowExW(0, L"STATIC", L"opener", WS_POPUP | WS_VISIBLE, 900, 700, 20, 20,
                                nullptr, nullptr, nullptr, nullptr);
    }
    SetForegroundWindow(opener_);
    framework_->LoadMain(window);
    backend_.ProcessPendingEvents();
    form_ = ShownForm();
    if (form_ == nullptr) return false;
    SetForegroundWindow(form_);
    Pump([] { return false; }, 200);
    return true;
  }
  // Handles what comes in until `done` holds, or `ms` passed.
  void Pump(const std::function<bool()>& done = [] { return false; }, int ms = 2000) {
    for (int waited = 0; waited < ms && !done(); waited += 20) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      backend_.ProcessPendingEvents();
    }
  }
  void Close(std::unique_ptr<Window>& window) {
    window.reset();
    framework_.reset();
    backend_.ProcessPendingEvents();
    DestroyDisposedWindows();
  }
  // Where a control's middle is on the screen.
  POINT Middle(const Control& control) const {
    POINT at{control.left() + control.width() / 2, control.top() + control.height() / 2};
    for (const Control* box = control.container(); box != nullptr; box = box->container()) {
      at.x += box->left();
      at.y += box->top();
    }
    ClientToScreen(form_, &at);
    return at;
  }

  Win32Backend backend_;
  std::unique_ptr<forms::Framework> framework_;
  HWND form_ = nullptr;
  HWND opener_ = nullptr;
};

void ClickAt(POINT at) {
  // Moved there in the same stream as the press, so that the press lands where it was sent.
  INPUT press[3] = {};
  const DWORD steps[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 3; ++i) {
    press[i].type = INPUT_MOUSE;
    press[i].mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    press[i].mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    press[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | steps[i];
  }
  SendInput(3, press, sizeof(INPUT));
}

// Every button of every window, and every button of the main window's toolbar, clicked in its
// middle: each reports its own click. A control created before it and covering it (the frame
// box behind 设置's buttons) must not take the click.
TEST_F(WindowsUnderWine, EveryButtonOfEveryWindowTakesARealClick) {
  NoHandlers none;
  forms::RecordingHandlers main;
  for (const NamedForm& entry : EveryWindow(none, main)) {
    SCOPED_TRACE(entry.name);
    std::unique_ptr<Window> window = entry.make();
    std::vector<std::string> clicked, expected;
    std::vector<std::pair<std::string, POINT>> targets;
    if (!Load(*window)) GTEST_SKIP() << "no display for windows (the test command gives one)";
    for (const auto& control : window->controls()) {
      if (control->kind() == ui::ControlKind::kButton) {
        const std::string name = control->name();
        control->Bind(forms::kButtonClicked, [&clicked, name](const forms::EventArgs&) {
          clicked.push_back(name);
        });
        targets.emplace_back(name, Middle(*control));
      } else if (control->kind() == ui::ControlKind::kToolbar) {
        auto& toolbar = static_cast<forms::Toolbar&>(*control);
        toolbar.Bind(forms::kToolbarButtonClicked, [&clicked](const forms::EventArgs& args) {
          clicked.push_back("工具条 " + std::to_string(args.a));
        });
        HWND bar = FindWindowExW(form_, nullptr, TOOLBARCLASSNAMEW, nullptr);
        ASSERT_NE(bar, nullptr);
        for (int index = 0; index < toolbar.size(); ++index) {
          if (toolbar.entry(index).separator) continue;
          toolbar.ClearButtonState(index, ui::kToolbarDisabled);
          RECT item;
          SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
          POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
          ClientToScreen(bar, &at);
          targets.emplace_back("工具条 " + std::to_string(index), at);
        }
      }
    }
    for (const auto& [name, at] : targets) {
      ClickAt(at);
      Pump([&] { return clicked.size() > expected.size(); });
      expected.push_back(name);
      Pump([] { return false; }, 100);  // the button's release
    }
    EXPECT_EQ(clicked, expected);
    Close(window);
  }
}

// "Tab", "S-Tab" (with Shift), "C-Tab" (with Ctrl), "CS-Tab", "Enter" or "Esc", pressed and let go.
void Press(const std::string& chord) {
  const size_t dash = chord.find('-');
  const std::string held = dash == std::string::npos ? "" : chord.substr(0, dash);
  const std::string key = chord.substr(dash == std::string::npos ? 0 : dash + 1);
  std::vector<WORD> keys;
  if (held.find('C') != std::string::npos) keys.push_back(VK_CONTROL);
  if (held.find('S') != std::string::npos) keys.push_back(VK_SHIFT);
  keys.push_back(key == "Tab" ? VK_TAB : key == "Enter" ? VK_RETURN : VK_ESCAPE);
  std::vector<INPUT> strokes;
  for (WORD vk : keys) strokes.push_back({INPUT_KEYBOARD, {.ki = {vk, 0, 0, 0, 0}}});
  for (auto vk = keys.rbegin(); vk != keys.rend(); ++vk) {
    strokes.push_back({INPUT_KEYBOARD, {.ki = {*vk, 0, KEYEVENTF_KEYUP, 0, 0}}});
  }
  SendInput(static_cast<UINT>(strokes.size()), strokes.data(), sizeof(INPUT));
}

std::string Focused(const Window& window) {
  for (const auto& control : window.controls()) {
    if (control->has_focus()) return "focus " + control->name();
  }
  return "focus (none)";
}

struct KeyScript {
  const char* window;
  std::function<std::unique_ptr<Window>(NoHandlers&)> make;
  // Each key, and what follows it: the control that has the keyboard, a button's click or the
  // window's close box ("close"). The first line is where the keyboard is when the window opens.
  std::vector<std::pair<std::string, std::string>> steps;
};

// The dialog keyboard of the secondary windows: the keyboard starts on the first control that
// takes it; Tab and Shift+Tab go round the controls in the form's order (Ctrl+Tab out of a grid,
// which keeps Tab for its cells); Enter clicks the button that has the keyboard, else the first
// button; Esc asks to close, as the close box does.
TEST_F(WindowsUnderWine, SecondaryWindowsTakeTheDialogKeyboard) {
  NoHandlers none;
  const std::vector<KeyScript> scripts = {
      {"计算月份",
       [](NoHandlers&) { return std::make_unique<forms::PayMonthForm>(); },
       {{"", "focus 编辑框1"},
        {"Tab", "focus 按钮确定"},
        {"Tab", "focus 按钮取消"},
        {"Tab", "focus 编辑框1"},
        {"S-Tab", "focus 按钮取消"},
        {"Enter", "click 按钮取消"},
        {"Tab", "focus 编辑框1"},
        {"Enter", "click 按钮确定"},
        {"Esc", "close"}}},
      {"查找",
       [](NoHandlers&) { return std::make_unique<forms::FindForm>(); },
       {{"", "focus 编辑框1"},
        {"S-Tab", "focus 按钮查找"},
        {"Tab", "focus 编辑框1"},
        {"Enter", "click 按钮查找"},
        {"Esc", "close"}}},
      {"导入预览",
       [](NoHandlers& h) { return std::make_unique<forms::ImportForm>(h); },
       {{"", "focus 高级表格1"},
        {"Tab", "focus 高级表格1"},
        {"C-Tab", "focus 按钮追加"},
        {"Tab", "focus 按钮替换"},
        {"Tab", "focus 按钮取消"},
        {"Tab", "focus 高级表格1"},
        {"CS-Tab", "focus 按钮取消"},
        {"S-Tab", "focus 按钮替换"},
        {"Enter", "click 按钮替换"},
        {"Esc", "close"}}},
      {"设置",
       [](NoHandlers& h) { return std::make_unique<forms::SettingsForm>(h); },
       {{"", "focus 高级表格1"},
        {"C-Tab", "focus 编辑框1"},
        {"Tab", "focus 按钮确认修改"},
        {"Tab", "focus 按钮2"},
        {"Enter", "click 按钮2"},
        {"S-Tab", "focus 按钮确认修改"},
        {"S-Tab", "focus 编辑框1"},
        {"Enter", "click 按钮确认修改"},
        {"CS-Tab", "focus 高级表格1"},
        {"Esc", "close"}}},
  };
  for (const KeyScript& script : scripts) {
    SCOPED_TRACE(script.window);
    std::unique_ptr<Window> window = script.make(none);
    std::vector<std::string> happened;
    window->BindQuery(forms::kWindowCloseQuery, [&](const forms::EventArgs&) {
      happened.push_back("close");
      return false;
    });
    for (const auto& control : window->controls()) {
      if (control->kind() != ui::ControlKind::kButton) continue;
      const std::string name = control->name();
      control->Bind(forms::kButtonClicked,
                    [&, name](const forms::EventArgs&) { happened.push_back("click " + name); });
    }
    if (!Load(*window)) GTEST_SKIP() << "no display for windows (the test command gives one)";
    std::vector<std::string> seen, expected;
    for (const auto& [key, result] : script.steps) {
      const std::string before = Focused(*window);
      if (!key.empty()) Press(key);
      Pump([&] { return !happened.empty() || Focused(*window) != before; }, key.empty() ? 0 : 800);
      seen.push_back(key + ": " + (happened.empty() ? Focused(*window) : happened.back()));
      expected.push_back(key + ": " + result);
      happened.clear();
    }
    EXPECT_EQ(seen, expected);
    Close(window);
  }
}

// Closes the window in front a moment after it opened, from inside its own message loop.
void CloseSoon(UINT message, WPARAM w) {
  static UINT pending_message;
  static WPARAM pending_w;
  pending_message = message;
  pending_w = w;
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageW(GetActiveWindow(), pending_message, pending_w, 0);
  });
}

// After a modal window or a message box closes, the window it was opened from is active again
// and its control has the keyboard back.
TEST_F(WindowsUnderWine, TheOwnerIsActiveAgainAfterAModalWindowOrAMessageBox) {
  forms::RecordingHandlers handlers;
  std::unique_ptr<Window> main = std::make_unique<forms::MainForm>(handlers);
  if (!Load(*main)) GTEST_SKIP() << "no display for windows (the test command gives one)";
  HWND grid = FindWindowExW(form_, nullptr, L"SalaryRegisterGrid", nullptr);
  ASSERT_NE(grid, nullptr);
  SetFocus(grid);
  const std::vector<std::pair<const char*, std::function<void()>>> openers = {
      {"计算月份",
       [&] {
         forms::PayMonthForm form;
         form.Bind(forms::kWindowCreated,
                   [](const forms::EventArgs&) { CloseSoon(WM_CLOSE, 0); });
         framework_->ShowModal(form);
       }},
      {"message box",
       [&] {
         CloseSoon(WM_COMMAND, IDOK);
         framework_->ShowMessage("已保存");
       }},
  };
  for (const auto& [name, open] : openers) {
    SCOPED_TRACE(name);
    open();
    Pump([] { return false; }, 200);
    EXPECT_EQ(GetActiveWindow(), form_);
    EXPECT_EQ(GetForegroundWindow(), form_);
    EXPECT_EQ(GetFocus(), grid);
  }
  Close(main);
}

}  // namespace
}  // namespace sr::win32
