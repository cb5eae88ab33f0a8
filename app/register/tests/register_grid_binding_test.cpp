// The register grid as the salary register's view and editor in the running program: what the
// user types, pastes, cuts and deletes reaches the register as typed; what commands change in the
// register reaches the grid, rows included.
#include "app/register/register_grid_binding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tests/app_harness.h"
#include "platform/ui/keys.h"

namespace sr::app {
namespace {

using testing::AppHarness;
using testing::Gbk;

class RegisterGridBindingTest : public ::testing::Test {
 protected:
  Grid& grid() { return harness_.grid(); }
  SalaryRegister& reg() { return harness_.salary_register(); }
  bool InStep() { return harness_.main_window().binding().InStep(); }

  // Types `text` into the cell as the user would and ends with Enter.
  void Type(int row, int column, const std::string& text) {
    grid().SetCursor(row, column);
    for (char c : text) grid().TypeCharacter(Text(1, c), 0);
    grid().PressKey(ui::kVkReturn, 0);
  }

  AppHarness harness_;
};

TEST_F(RegisterGridBindingTest, ANewRegisterIsInStepWithItsGrid) {
  EXPECT_EQ(reg().RowCount(), 5001);
  EXPECT_TRUE(InStep());
}

// "1,500" stays "1,500" on screen and in the register until it is stored, and counts as 1.
TEST_F(RegisterGridBindingTest, TypedTextReachesTheRegisterAsTyped) {
  Type(1, 2, "1,500");
  EXPECT_EQ(grid().CellText(1, 2), "1,500");
  EXPECT_EQ(reg().CellText(1, 2), "1,500");
  EXPECT_EQ(reg().Amount(1, 2), 1);
  std::vector<Text> totals;
  harness_.backend().QueueAnswer(ui::MessageAnswer::kYes);  // to sum "1,500" as 1 all the same
  harness_.WithSummaryWindow(
      [this] { harness_.form().ToolbarClicked(forms::kToolSummary); },
      [&](forms::SummaryForm& form) { totals.push_back(form.grid().CellText(1, 2)); });
  EXPECT_EQ(totals, std::vector<Text>{"1"});
  EXPECT_EQ(grid().CellText(1, 2), "1,500");
  EXPECT_EQ(harness_.context().state.modified, 1);
}

TEST_F(RegisterGridBindingTest, PasteCutAndDeleteReachTheRegister) {
  harness_.backend().memory_clipboard().SetText("7\t" + Gbk(u8"张三") + "\t3000\n8\t" +
                                                Gbk(u8"李四") + "\t2500");
  grid().SetCursor(2, 0);
  harness_.form().menu().Choose(forms::kMenuPaste);
  EXPECT_EQ(reg().Name(2), Gbk(u8"张三"));
  EXPECT_EQ(reg().CellText(3, 2), "2500");
  EXPECT_EQ(reg().CountPeople(), 2);

  grid().Select({2, 2, 3, 2});
  grid().PressKey('X', ui::kCtrl);
  EXPECT_EQ(reg().CellText(2, 2), "");
  EXPECT_EQ(reg().CellText(3, 2), "");

  grid().SetCursor(3, 1);
  grid().PressKey(ui::kVkDelete, 0);
  EXPECT_EQ(reg().Name(3), "");
  EXPECT_EQ(reg().CountPeople(), 1);
  EXPECT_TRUE(InStep());
}

TEST_F(RegisterGridBindingTest, WhatCommandsChangeInTheRegisterShowsInTheGrid) {
  reg().SetCellTexts({1, 0, 3, 1}, {"1", "甲", "2", "乙", "3", "丙"});
  reg().SetTitle(8, Gbk(u8"奖金(免税)"));
  EXPECT_EQ(grid().CellText(0, 8), Gbk(u8"奖金(免税)"));
  EXPECT_EQ(grid().CellText(3, 1), "丙");
  reg().InsertRow(2);
  EXPECT_EQ(grid().CellText(2, 1), "");
  EXPECT_EQ(grid().CellText(3, 1), "乙");
  reg().RemoveRow(1);
  EXPECT_EQ(grid().CellText(1, 1), "");
  EXPECT_TRUE(InStep());
  reg().SetRowCount(3);
  EXPECT_EQ(grid().RowCount(), 3);
  reg().InsertRows(3, std::vector<RowTexts>(4));
  EXPECT_EQ(grid().RowCount(), 7);
  RowTexts person;
  person[0] = "9";
  person[21] = Gbk(u8"备注");
  reg().ReplaceRows({person, person});
  EXPECT_EQ(grid().RowCount(), 3);
  EXPECT_EQ(grid().CellText(2, 21), Gbk(u8"备注"));
  // Every row has the register's alignment again.
  EXPECT_EQ(grid().CellAlignment(2, 0), Alignment::kCentre);
  EXPECT_EQ(grid().CellAlignment(2, 2), Alignment::kLeft);
  EXPECT_TRUE(InStep());
}

// Rows that were never written hold no texts in the register; the grid rows they replace must
// still be emptied, far rows included.
TEST_F(RegisterGridBindingTest, UnwrittenRowsEmptyTheGridRowsTheyReplace) {
  reg().SetCellTexts({1, 0, 2, 1}, {"1", "甲", "2", "乙"});
  reg().SetCellText(5000, 21, Gbk(u8"备注"));
  reg().ReplaceRows(std::vector<RowTexts>(5000));
  EXPECT_EQ(grid().CellText(1, 1), "");
  EXPECT_EQ(grid().CellText(2, 0), "");
  EXPECT_EQ(grid().CellText(5000, 21), "");
  int person_rows_with_text = 0;
  for (int row = 1; row < grid().RowCount(); ++row) person_rows_with_text += grid().RowHasText(row);
  EXPECT_EQ(person_rows_with_text, 0);
  EXPECT_TRUE(InStep());
}

// A text still in the cell editor is the user's: it reaches the register before a command
// changes the rows under it.
TEST_F(RegisterGridBindingTest, AnOpenEditorIsStoredBeforeTheRegisterChanges) {
  reg().SetCellText(3, 1, "丙");
  grid().SetCursor(3, 2);
  ASSERT_TRUE(grid().BeginEdit());
  grid().SetEditorText("77");
  reg().RemoveRow(1);
  EXPECT_FALSE(grid().Editing());
  EXPECT_EQ(reg().CellText(2, 2), "77");
  EXPECT_EQ(reg().Name(2), "丙");
  EXPECT_TRUE(InStep());
}

// Delete Row and Insert Blank Row work on the register; the cursor row is the one they take.
TEST_F(RegisterGridBindingTest, DeleteAndInsertRowFollowTheCursor) {
  reg().SetCellTexts({1, 0, 3, 1}, {"1", "甲", "2", "乙", "3", "丙"});
  grid().SetCursor(2, 4);
  harness_.backend().QueueAnswer(ui::MessageAnswer::kYes);
  harness_.form().menu().Choose(forms::kMenuDeleteRow);
  EXPECT_EQ(reg().Name(2), "丙");
  EXPECT_EQ(reg().RowCount(), 5000);
  EXPECT_EQ(grid().GetCursorRow(), 2);
  harness_.form().menu().Choose(forms::kMenuInsertBlankRow);
  EXPECT_EQ(reg().Name(2), "");
  EXPECT_EQ(reg().Name(3), "丙");
  EXPECT_TRUE(InStep());
  EXPECT_EQ(harness_.form().head_count_label().caption(), Gbk(u8"表内人数: 2 人"));
}

// What an undo stack would hear: each command's changes bracketed as one step, typing a step of
// its own, and a text still in the editor stored before the command's step begins.
TEST_F(RegisterGridBindingTest, EachUserActionIsOneStep) {
  struct Steps : RegisterListener {
    std::string heard;
    void ActionBegins() override { heard += '('; }
    void ActionEnds() override { heard += ')'; }
    void RegisterChanged(const RegisterChange& change) override {
      heard += change.kind == RegisterChange::Kind::kCells ? 'c' : 'r';
    }
  } steps;
  reg().AddListener(&steps);
  Type(1, 1, "x");
  harness_.backend().memory_clipboard().SetText("1\t2");
  grid().SetCursor(2, 0);
  harness_.form().menu().Choose(forms::kMenuPaste);
  grid().SetCursor(3, 2);
  ASSERT_TRUE(grid().BeginEdit());
  grid().SetEditorText("5");
  harness_.form().menu().Choose(forms::kMenuInsertBlankRow);
  reg().RemoveListener(&steps);
  EXPECT_EQ(steps.heard, "c(c)c(r)");
}

// The cursor may rest on a title cell (a click on a column title puts it there). Delete Row
// there once took the title row away, and with it the first person from the next Save; the
// titles stay now and nobody is deleted.
TEST_F(RegisterGridBindingTest, DeleteRowOnTheTitleRowDeletesNothing) {
  reg().SetCellTexts({1, 0, 1, 1}, {"1", "甲"});
  grid().PressButton(0, 3, 5, 5, 0);
  grid().ReleaseButton(0, 3, 5, 5, 0);
  ASSERT_EQ(grid().GetCursorRow(), 0);
  harness_.backend().QueueAnswer(ui::MessageAnswer::kYes);
  harness_.form().menu().Choose(forms::kMenuDeleteRow);
  EXPECT_EQ(grid().TitleRowCount(), 1);
  EXPECT_EQ(grid().RowCount(), 5001);
  EXPECT_EQ(reg().Name(1), "甲");
  EXPECT_TRUE(InStep());
}

}  // namespace
}  // namespace sr::app
