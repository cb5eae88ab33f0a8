// The headless backend: scripted answers, dialogs, shortcut menus, modal loops and shortcuts.
#include "platform/headless/headless_backend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sr::headless {
namespace {

// A window model that records what its peer reports and closes on request.
class FakeWindow : public ui::WindowEvents {
 public:
  explicit FakeWindow(HeadlessBackend& backend, std::vector<ui::MenuEntrySpec> menu = {})
      : backend_(backend) {
    ui::WindowSpec description;
    description.name = "w";
    description.caption = "c";
    description.menu = std::move(menu);
    peer = backend.CreateWindow(description, this);
    peer->Show();
  }
  void OnCloseRequested() override {
    calls.push_back("close");
    if (refuse_close) return;
    backend_.EndModalLoop(*peer);
    peer.reset();
  }
  void OnRectChanged(const ui::Rect& rect) override {
    calls.push_back("rect " + std::to_string(rect.width));
  }
  void OnMenuChosen(int index) override { calls.push_back("menu " + std::to_string(index)); }

  HeadlessBackend& backend_;
  std::unique_ptr<ui::WindowPeer> peer;
  std::vector<std::string> calls;
  bool refuse_close = false;
};

TEST(HeadlessBackend, AnswersGoToTheQuestionsThatOfferThem) {
  HeadlessBackend backend;
  backend.QueueAnswer(ui::MessageAnswer::kNo);
  ui::MessageBoxSpec notice{"n", "t", ui::MessageButtons::kOk};
  ui::MessageBoxSpec question{"q", "t", ui::MessageButtons::kYesNo};
  // A notice does not take the answer meant for the question after it.
  EXPECT_EQ(backend.ShowMessageBox(notice, nullptr), ui::MessageAnswer::kOk);
  EXPECT_EQ(backend.ShowMessageBox(question, nullptr), ui::MessageAnswer::kNo);
  EXPECT_EQ(backend.pending_answers(), 0u);
  EXPECT_THROW(backend.ShowMessageBox(question, nullptr), ScriptError);
  ASSERT_EQ(backend.screen_log().size(), 3u);
  EXPECT_FALSE(backend.screen_log()[0].scripted);
  EXPECT_TRUE(backend.screen_log()[1].scripted);
  EXPECT_EQ(backend.screen_log()[2].text, "q");
}

TEST(HeadlessBackend, UnscriptedFileDialogIsCancelled) {
  HeadlessBackend backend;
  backend.QueueFileDialog({true, "/tmp/a.dat"});
  ui::FileDialogSpec description{ui::FileDialogKind::kOpen, "*.dat|*.dat", "/tmp"};
  ui::FileDialogResult first = backend.RunFileDialog(description, nullptr);
  EXPECT_TRUE(first.confirmed);
  EXPECT_EQ(first.path, "/tmp/a.dat");
  EXPECT_FALSE(backend.RunFileDialog(description, nullptr).confirmed);
  EXPECT_EQ(backend.screen_log().back().file_dialog.initial_directory, "/tmp");
}

TEST(HeadlessBackend, ShortcutMenuOffersOnlyEnabledEntriesOfItsDropDown) {
  HeadlessBackend backend;
  FakeWindow window(backend,
                    {{"a", 0}, {"x", 1}, {"-", 1}, {"y", 1, {}, true}, {"b", 0}, {"z", 1}});
  for (int choice : {1, 2, 3, 5, -1}) backend.QueuePopupChoice(choice);
  std::vector<int> chosen;
  for (int i = 0; i < 5; ++i) chosen.push_back(backend.PopupMenu(*window.peer, 0, 3, 3));
  EXPECT_EQ(chosen, (std::vector<int>{1, -1, -1, -1, -1}));
  EXPECT_EQ(backend.PopupMenu(*window.peer, 0, 3, 3), -1);  // nothing queued: dismissed
}

TEST(HeadlessBackend, ShortcutsChooseEnabledEntriesAndOtherKeysGoToTheFocus) {
  HeadlessBackend backend;
  FakeWindow window(backend,
                    {{"&B a", 0}, {"x", 1, {'X', ui::kCtrl}}, {"y", 1, {'Y', ui::kCtrl}, true}});
  struct Sink : ui::ControlEvents {
    void OnInput(ui::Input input, int a, int b, int c) override { inputs.push_back(input); }
    std::vector<ui::Input> inputs;
  } sink;
  ui::ControlSpec description;
  description.name = "e";
  auto control = window.peer->CreateControl(description, &sink, nullptr);
  EXPECT_EQ(backend.PressKey('X', ui::kCtrl), nullptr);
  EXPECT_EQ(backend.PressKey('Y', ui::kCtrl), nullptr);  // taken, but disabled: nothing runs
  EXPECT_EQ(window.calls, std::vector<std::string>{"menu 1"});
  EXPECT_EQ(backend.PressKey('A', ui::kAlt), nullptr);  // no mnemonic: goes to the focus (none)
  EXPECT_EQ(backend.screen_log().back().kind, ScreenEvent::Kind::kWindowShown);
  EXPECT_EQ(backend.PressKey('Z', 0), nullptr);  // nothing has the focus
  control->SetFocus();
  EXPECT_EQ(sink.inputs, std::vector<ui::Input>{ui::Input::kGotFocus});
  EXPECT_EQ(backend.PressKey('Z', 0), control.get());
  EXPECT_EQ(backend.PressKey('B', ui::kAlt), nullptr);  // the mnemonic opens the menu
  EXPECT_EQ(backend.screen_log().back().kind, ScreenEvent::Kind::kMenuOpened);
  EXPECT_EQ(backend.screen_log().back().entry, 0);
  control.reset();
  EXPECT_EQ(backend.PressKey('Z', 0), nullptr);  // the focus went with the control
}

TEST(HeadlessBackend, ModalLoopRunsItsScriptThenTheCloseBox) {
  HeadlessBackend backend;
  FakeWindow owner(backend);
  {
    FakeWindow modal(backend);
    bool ran = false;
    backend.QueueModalScript([&] {
      ran = true;
      EXPECT_EQ(backend.active_window(), modal.peer.get());
    });
    backend.RunModalLoop(*modal.peer);
    EXPECT_TRUE(ran);
    EXPECT_EQ(modal.calls, std::vector<std::string>{"close"});
    EXPECT_EQ(modal.peer, nullptr);
  }
  FakeWindow stubborn(backend);
  stubborn.refuse_close = true;
  EXPECT_THROW(backend.RunModalLoop(*stubborn.peer), ScriptError);
}

TEST(HeadlessBackend, ResizeByTheFrameReportsTheNewRect) {
  HeadlessBackend backend;
  FakeWindow window(backend);
  auto* peer = static_cast<HeadlessWindow*>(window.peer.get());
  peer->ResizeByUser(600, 400);
  EXPECT_EQ(window.calls, std::vector<std::string>{"rect 600"});
  EXPECT_EQ(peer->state().rect.height, 400);
}

TEST(HeadlessBackend, TerminateUnwindsWithTheExitCode) {
  HeadlessBackend backend;
  try {
    backend.Terminate(-1);
  } catch (const Terminated& t) {
    EXPECT_EQ(t.exit_code, -1);
  }
  EXPECT_TRUE(backend.terminated());
  EXPECT_EQ(backend.exit_code(), -1);
  EXPECT_EQ(backend.screen_log().back().kind, ScreenEvent::Kind::kTerminated);
}

}  // namespace
}  // namespace sr::headless
