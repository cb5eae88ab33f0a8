#ifndef SALARY_PLATFORM_UI_TESTS_FOCUS_CONTRACT_H_
#define SALARY_PLATFORM_UI_TESTS_FOCUS_CONTRACT_H_

// The keyboard focus as every user-interface backend moves it, and what the control models hear
// of it. The Qt backend and the headless backend run these same checks, each through a driver of
// its own, so that a scenario on the headless backend sees what the program on Qt does.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/tests/fake_grid.h"

namespace sr::ui::testing {

// What the checks need from a backend besides ui::Backend.
class FocusDriver {
 public:
  virtual ~FocusDriver() = default;
  virtual Backend& backend() = 0;
  // Runs `act` once the next modal window is up and has the keyboard; `act` ends its loop.
  virtual void WhileNextModalWindowIsUp(std::function<void()> act) = 0;
  // Runs `act` while the next message box is up; the box is answered OK afterwards.
  virtual void WhileNextMessageBoxIsUp(std::function<void()> act) = 0;
  // Runs `act` while the next shortcut menu is up; the menu is dismissed afterwards.
  virtual void WhileNextMenuIsUp(std::function<void()> act) = 0;
  // The user picks entry `index` of the active window's menu from its menu bar with the mouse.
  virtual void ChooseFromMenuBar(WindowPeer& window, int index) = 0;
  // Lets what the backend delivers a little later (window activation) arrive.
  virtual void Settle() = 0;
};

// Everything the models hear, in order, as "name got" / "name lost" / "menu N" / markers.
class FocusLog {
 public:
  // A control model that logs its focus. (A grid's peer reports the loss of the focus to the
  // grid's input as well, which ends the cell edit.)
  class Control : public ControlEvents {
   public:
    Control(FocusLog* log, std::string name) : log_(log), name_(std::move(name)) {}
    void OnInput(Input input, int, int, int) override {
      if (input == Input::kGotFocus) log_->Add(name_ + " got");
      if (input == Input::kLostFocus) log_->Add(name_ + " lost");
    }

   private:
    FocusLog* log_;
    std::string name_;
  };

  class Window : public WindowEvents {
   public:
    explicit Window(FocusLog* log) : log_(log) {}
    void OnCloseRequested() override {}
    void OnRectChanged(const Rect&) override {}
    void OnMenuChosen(int index) override { log_->Add("menu " + std::to_string(index)); }

   private:
    FocusLog* log_;
  };

  void Add(std::string entry) { entries_.push_back(std::move(entry)); }
  // What was logged since the last call.
  std::vector<std::string> Take() { return std::exchange(entries_, {}); }

 private:
  std::vector<std::string> entries_;
};

inline ControlSpec FocusSpec(ControlKind kind, const char* name, int top, bool enabled = true) {
  ControlSpec description;
  description.kind = kind;
  description.name = name;
  description.rect = {10, top, 120, 24};
  description.enabled = enabled;
  description.can_focus = kind != ControlKind::kLabel;
  return description;
}

// A shown window holding a grid (the window's first control that takes the focus) whose cell
// (1, 1) is being edited with the text "7", and a button below it.
class WindowWithEditedGrid {
 public:
  WindowWithEditedGrid(FocusDriver& driver, FocusLog& log)
      : grid_({5, 3, 1, 1, 20, 60}),
        window_events_(&log),
        grid_events_(&log, "grid"),
        button_events_(&log, "button") {
    WindowSpec description;
    description.name = "main";
    description.rect = {50, 50, 400, 300};
    description.sizable = true;
    description.menu = {{"&E", 0, {}, false}, {"a", 1, {}, false}};
    window_ = driver.backend().CreateWindow(description, &window_events_);
    ControlSpec grid = FocusSpec(ControlKind::kGrid, "grid", 10);
    grid.rect.height = 150;
    grid.grid_source = &grid_;
    grid.grid_input = &grid_;
    grid_peer_ = window_->CreateControl(grid, &grid_events_, nullptr);
    button_ = window_->CreateControl(FocusSpec(ControlKind::kButton, "button", 200),
                                     &button_events_, nullptr);
    window_->Show();
    driver.Settle();
    EXPECT_EQ(log.Take(), std::vector<std::string>{"grid got"});
    grid_.SetCursor(1, 1);
    grid_.TypeCharacter("7", 0);  // as the user types on the cursor cell
    EXPECT_TRUE(grid_.Editing());
    driver.Settle();
    EXPECT_EQ(log.Take(), std::vector<std::string>{});  // the cell editor is part of the grid
  }
  ~WindowWithEditedGrid() {
    button_.reset();
    grid_peer_.reset();
    window_.reset();
  }

  WindowPeer& window() { return *window_; }
  ControlPeer& button() { return *button_; }
  // The grid's peer reported the loss of the focus: the editor is closed and the cell holds what
  // was typed.
  void ExpectEditStored() const {
    EXPECT_FALSE(grid_.Editing());
    EXPECT_EQ(grid_.CellText(1, 1), "7");
  }

 private:
  FakeGrid grid_;
  FocusLog::Window window_events_;
  FocusLog::Control grid_events_;
  FocusLog::Control button_events_;
  std::unique_ptr<WindowPeer> window_;
  std::unique_ptr<ControlPeer> grid_peer_;
  std::unique_ptr<ControlPeer> button_;
};

// A shown window gives the focus to its first control that can take it; a focus change inside
// the window that has the keyboard is reported at once, the loser first.
inline void CheckAShownWindowFocusesItsFirstControlThatTakesIt(FocusDriver& driver) {
  FocusLog log;
  FocusLog::Window window_events(&log);
  FocusLog::Control label(&log, "label"), edit(&log, "edit"), button(&log, "button"),
      second(&log, "second");
  WindowSpec description;
  description.rect = {50, 50, 300, 200};
  std::unique_ptr<WindowPeer> window = driver.backend().CreateWindow(description, &window_events);
  std::vector<std::unique_ptr<ControlPeer>> peers;
  peers.push_back(
      window->CreateControl(FocusSpec(ControlKind::kLabel, "label", 10), &label, nullptr));
  peers.push_back(
      window->CreateControl(FocusSpec(ControlKind::kEditBox, "edit", 40, false), &edit, nullptr));
  peers.push_back(
      window->CreateControl(FocusSpec(ControlKind::kButton, "button", 70), &button, nullptr));
  peers.push_back(
      window->CreateControl(FocusSpec(ControlKind::kEditBox, "second", 100), &second, nullptr));
  window->Show();
  driver.Settle();
  EXPECT_EQ(log.Take(), std::vector<std::string>{"button got"});
  peers[3]->SetFocus();
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"button lost", "second got"}));
  peers[2]->SetFocus();
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"second lost", "button got"}));
  while (!peers.empty()) peers.pop_back();  // last first, as the models destroy them
  window.reset();
  EXPECT_EQ(log.Take(), std::vector<std::string>{});  // a closing window reports nothing
}

// A modal window takes the keyboard when it opens: the grid below ends its edit and loses the
// focus, the modal window's first control gets it, and the grid gets it back once the modal
// window has closed and its owner is enabled again.
inline void CheckAModalWindowTakesTheFocusAndGivesItBack(FocusDriver& driver) {
  FocusLog log;
  WindowWithEditedGrid main(driver, log);
  FocusLog::Window modal_events(&log);
  FocusLog::Control label(&log, "label"), edit(&log, "edit");
  WindowSpec description;
  description.name = "modal";
  description.rect = {80, 80, 300, 200};
  std::unique_ptr<WindowPeer> modal = driver.backend().CreateWindow(description, &modal_events);
  std::unique_ptr<ControlPeer> label_peer =
      modal->CreateControl(FocusSpec(ControlKind::kLabel, "label", 10), &label, nullptr);
  std::unique_ptr<ControlPeer> edit_peer =
      modal->CreateControl(FocusSpec(ControlKind::kEditBox, "edit", 40), &edit, nullptr);
  main.window().SetEnabled(false);
  modal->Show();
  driver.WhileNextModalWindowIsUp([&] {
    log.Add("modal up");
    main.ExpectEditStored();
    driver.backend().EndModalLoop(*modal);  // closed, as the framework closes a window
    edit_peer.reset();
    label_peer.reset();
    modal.reset();
  });
  driver.backend().RunModalLoop(*modal);
  main.window().SetEnabled(true);
  driver.Settle();
  EXPECT_EQ(log.Take(),
            (std::vector<std::string>{"grid lost", "edit got", "modal up", "grid got"}));
}

// A control focused in a window that does not have the keyboard gets the focus when that window
// gets the keyboard back.
inline void CheckFocusGivenInAWindowBelowWaitsForIt(FocusDriver& driver) {
  FocusLog log;
  WindowWithEditedGrid main(driver, log);
  FocusLog::Window modal_events(&log);
  WindowSpec description;
  description.rect = {80, 80, 300, 200};
  std::unique_ptr<WindowPeer> modal = driver.backend().CreateWindow(description, &modal_events);
  main.window().SetEnabled(false);
  modal->Show();
  driver.WhileNextModalWindowIsUp([&] {
    main.button().SetFocus();
    log.Add("modal up");
    driver.backend().EndModalLoop(*modal);
    modal.reset();
  });
  driver.backend().RunModalLoop(*modal);
  main.window().SetEnabled(true);
  driver.Settle();
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"grid lost", "modal up", "button got"}));
}

// A message box has the keyboard while it is up.
inline void CheckAMessageBoxTakesTheFocusWhileItIsUp(FocusDriver& driver) {
  FocusLog log;
  WindowWithEditedGrid main(driver, log);
  driver.WhileNextMessageBoxIsUp([&] {
    log.Add("box up");
    main.ExpectEditStored();
  });
  MessageBoxSpec box;
  box.text = "text";
  box.title = "title";
  driver.backend().ShowMessageBox(box, &main.window());
  driver.Settle();
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"grid lost", "box up", "grid got"}));
}

// So does a shortcut menu, and the menu bar's drop-down, which closes before its entry runs.
inline void CheckAMenuTakesTheFocusWhileItIsUp(FocusDriver& driver) {
  FocusLog log;
  WindowWithEditedGrid main(driver, log);
  driver.WhileNextMenuIsUp([&] {
    log.Add("menu up");
    main.ExpectEditStored();
  });
  EXPECT_EQ(driver.backend().PopupMenu(main.window(), 0, 3, 3), -1);
  driver.Settle();
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"grid lost", "menu up", "grid got"}));
}

inline void CheckAMenuBarEntryRunsOnceTheFocusIsBack(FocusDriver& driver) {
  FocusLog log;
  WindowWithEditedGrid main(driver, log);
  driver.ChooseFromMenuBar(main.window(), 1);
  driver.Settle();
  main.ExpectEditStored();
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"grid lost", "grid got", "menu 1"}));
}

}  // namespace sr::ui::testing

// The contract's tests, for a test fixture whose `driver_` is its backend's FocusDriver.
#define SR_FOCUS_CONTRACT_TESTS(Fixture)                                            \
  TEST_F(Fixture, AShownWindowFocusesItsFirstControlThatTakesIt) {                  \
    ::sr::ui::testing::CheckAShownWindowFocusesItsFirstControlThatTakesIt(driver_); \
  }                                                                                 \
  TEST_F(Fixture, AModalWindowTakesTheFocusAndGivesItBack) {                        \
    ::sr::ui::testing::CheckAModalWindowTakesTheFocusAndGivesItBack(driver_);       \
  }                                                                                 \
  TEST_F(Fixture, FocusGivenInAWindowBelowWaitsForIt) {                             \
    ::sr::ui::testing::CheckFocusGivenInAWindowBelowWaitsForIt(driver_);            \
  }                                                                                 \
  TEST_F(Fixture, AMessageBoxTakesTheFocusWhileItIsUp) {                            \
    ::sr::ui::testing::CheckAMessageBoxTakesTheFocusWhileItIsUp(driver_);           \
  }                                                                                 \
  TEST_F(Fixture, AMenuTakesTheFocusWhileItIsUp) {                                  \
    ::sr::ui::testing::CheckAMenuTakesTheFocusWhileItIsUp(driver_);                 \
  }                                                                                 \
  TEST_F(Fixture, AMenuBarEntryRunsOnceTheFocusIsBack) {                            \
    ::sr::ui::testing::CheckAMenuBarEntryRunsOnceTheFocusIsBack(driver_);           \
  }

#endif  // SALARY_PLATFORM_UI_TESTS_FOCUS_CONTRACT_H_
