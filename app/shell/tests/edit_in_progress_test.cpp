// A cell editor still open when a command reads the register: the command sees what the editor
// holds, on every route, and the register is marked modified when that changed the cell.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/tests/app_harness.h"

namespace sr::app {
namespace {

using testing::AppHarness;
using testing::Gbk;

class EditInProgressTest : public ::testing::Test {
 protected:
  // Opens the editor on (row, column) of the register and types `text` into it, leaving it open.
  void Type(int row, int column, const Text& text) {
    Grid& grid = harness_.grid();
    grid.SetCursor(row, column);
    ASSERT_TRUE(grid.BeginEdit());
    grid.SetEditorText(text);
  }

  bool Sent(const std::string& cell, const Text& text) {
    const std::vector<std::string>& calls = harness_.automation().calls();
    const auto range = std::find_if(calls.begin(), calls.end(), [&](const std::string& call) {
      return call.find("get 0xC5(\"" + cell + "\", \"" + cell + "\")") != std::string::npos;
    });
    return range != calls.end() && range + 1 != calls.end() &&
           (range + 1)->ends_with(" put 0x6(\"" + text + "\")");
  }

  AppHarness harness_;
};

TEST_F(EditInProgressTest, ExportSendsTheEditorsTextByToolbarAndMenu) {
  harness_.SetCell(1, 0, "001");  // a row with neither number nor name is not exported
  Type(1, 2, "6000");
  harness_.form().ToolbarClicked(forms::kToolExport);
  EXPECT_FALSE(harness_.grid().Editing());
  EXPECT_TRUE(Sent("c2", "6000"));
  harness_.automation().ClearCalls();
  Type(1, 3, "800");
  harness_.form().menu().Choose(forms::kMenuExport);
  EXPECT_TRUE(Sent("d2", "800"));
}

TEST_F(EditInProgressTest, SummaryTotalsAndPrintsTheEditorsText) {
  Type(1, 2, "6000");
  std::vector<Text> shown;
  harness_.WithSummaryWindow([this] { harness_.form().ToolbarClicked(forms::kToolSummary); },
                             [&](forms::SummaryForm& form) {
                               shown.push_back(form.grid().CellText(1, 2));
                               harness_.Press(u8"按钮_打印");
                             });
  EXPECT_EQ(shown, std::vector<Text>{"6000"});
  const std::vector<print::DrawnText>& printed = harness_.printer().texts();
  EXPECT_TRUE(std::any_of(printed.begin(), printed.end(),
                          [](const print::DrawnText& t) { return t.text == "6000"; }));
}

// Only a cell that the stored edit changed marks the register modified.
TEST_F(EditInProgressTest, AStoredEditThatChangedTheCellMarksTheRegisterModified) {
  harness_.SetCell(1, 21, "same");
  Type(1, 21, "same");
  harness_.context().state.modified = 0;
  harness_.WithSummaryWindow([this] { harness_.form().menu().Choose(forms::kMenuSummary); },
                             [](forms::SummaryForm&) {});
  EXPECT_EQ(harness_.context().state.modified, 0);
  Type(1, 21, Gbk(u8"改了"));
  harness_.context().state.modified = 0;
  harness_.WithSummaryWindow([this] { harness_.form().menu().Choose(forms::kMenuSummary); },
                             [](forms::SummaryForm&) {});
  EXPECT_EQ(harness_.context().state.modified, 1);
  EXPECT_EQ(harness_.grid().CellText(1, 21), Gbk(u8"改了"));
}

}  // namespace
}  // namespace sr::app
