// The headless grid peer reports the user's input on the cells to the grid's input, as the Qt
// view does.
#include "platform/headless/headless_grid.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/tests/fake_grid.h"
#include "platform/ui/tests/focus_contract.h"

namespace sr::headless {
namespace {

using Log = std::vector<std::string>;
using ui::testing::FakeGrid;
using ui::testing::FocusLog;
using ui::testing::FocusSpec;

// A shown window with a button (which takes the focus first) and a grid of 6 rows of 20 pixels
// and 4 columns of 60, one title row and one title column.
class HeadlessGridTest : public ::testing::Test {
 protected:
  HeadlessGridTest()
      : grid_({6, 4, 1, 1, 20, 60}),
        window_events_(&log_),
        button_(&log_, "button"),
        grid_events_(&log_, "grid") {
    ui::WindowSpec description;
    description.rect = {50, 50, 400, 300};
    window_ = backend_.CreateWindow(description, &window_events_);
    button_peer_ = window_->CreateControl(FocusSpec(ui::ControlKind::kButton, "button", 10),
                                          &button_, nullptr);
    ui::ControlSpec control = FocusSpec(ui::ControlKind::kGrid, "grid", 40);
    control.rect.height = 150;
    control.grid_source = &grid_;
    control.grid_input = &grid_;
    grid_peer_ = window_->CreateControl(control, &grid_events_, nullptr);
    window_->Show();
    log_.Take();
  }
  ~HeadlessGridTest() override {
    grid_peer_.reset();
    button_peer_.reset();
    window_.reset();
  }
  HeadlessGrid& peer() {
    return *HeadlessGrid::Of(static_cast<HeadlessControl*>(grid_peer_.get()));
  }

  HeadlessBackend backend_;
  FakeGrid grid_;
  FocusLog log_;
  FocusLog::Window window_events_;
  FocusLog::Control button_;
  FocusLog::Control grid_events_;
  std::unique_ptr<ui::WindowPeer> window_;
  std::unique_ptr<ui::ControlPeer> button_peer_;
  std::unique_ptr<ui::ControlPeer> grid_peer_;
};

TEST_F(HeadlessGridTest, IsTheSourcesViewWhileItExists) {
  ASSERT_NE(HeadlessGrid::Of(static_cast<HeadlessControl*>(grid_peer_.get())), nullptr);
  EXPECT_EQ(HeadlessGrid::Of(static_cast<HeadlessControl*>(button_peer_.get())), nullptr);
  EXPECT_EQ(grid_.view(), &peer());
  grid_peer_.reset();
  EXPECT_EQ(grid_.view(), nullptr);
}

TEST_F(HeadlessGridTest, MouseActionsReportTheCellAndItsMiddleAfterTakingTheFocus) {
  grid_.Take();
  peer().Click(2, 1);
  EXPECT_EQ(log_.Take(), (Log{"button lost", "grid got"}));
  EXPECT_EQ(grid_.Take(), (Log{"PressButton 2,1,90,50,0", "ReleaseButton 2,1,90,50,0"}));
  // A hidden column takes no room; the titles count like every other row and column.
  grid_.SetColumnWidth(1, 0);
  grid_.SetColumnWidth(2, 100);
  grid_.Take();
  peer().DoubleClick(0, 2);
  EXPECT_EQ(grid_.Take(), (Log{"PressButton 0,2,110,10,0", "ReleaseButton 0,2,110,10,0",
                               "DoubleClickButton 0,2,110,10,0", "ReleaseButton 0,2,110,10,0"}));
  button_peer_->SetFocus();
  log_.Take();
  grid_.Take();
  peer().RightClick(5, 3);
  EXPECT_EQ(log_.Take(), (Log{"button lost", "grid got"}));
  EXPECT_EQ(grid_.Take(), (Log{"PressRightButton 190,110,0"}));
}

TEST_F(HeadlessGridTest, KeysCharactersAndTheEditorsTextGoToTheGridsInput) {
  grid_.SetCursor(1, 1);
  grid_.Take();
  peer().PressKey(ui::kVkF2, ui::kShift);
  peer().Type("7");
  ASSERT_TRUE(grid_.Editing());
  peer().EditText("78");
  EXPECT_EQ(grid_.Take(), (Log{"PressKey 113,2", "TypeCharacter 7,0", "SetEditorText 78"}));
}

TEST_F(HeadlessGridTest, LosingTheFocusIsToldToTheGridsInputToo) {
  grid_peer_->SetFocus();
  log_.Take();
  grid_.Take();
  button_peer_->SetFocus();
  EXPECT_EQ(log_.Take(), (Log{"grid lost", "button got"}));
  EXPECT_EQ(grid_.Take(), Log{"LoseFocus"});
  grid_peer_->SetFocus();  // getting it is the model's business alone
  EXPECT_EQ(grid_.Take(), Log{});
}

TEST_F(HeadlessGridTest, APageIsTheDataRowsItsHeightShowsBelowTheTitles) {
  EXPECT_EQ(grid_.page_rows(), 6);  // (150 - 20) / 20
  grid_peer_->SetRect({10, 40, 120, 95});
  EXPECT_EQ(grid_.page_rows(), 3);
  grid_peer_->SetRect({10, 40, 120, 30});
  EXPECT_EQ(grid_.page_rows(), 1);  // never less than one row
}

}  // namespace
}  // namespace sr::headless
