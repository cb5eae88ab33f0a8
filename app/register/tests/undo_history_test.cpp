// Undo and redo on the register alone: random sequences of edits, undos and redos compared with
// a replay of the edits that remain from the start; steps per action, depth and the saved point.
#include "app/register/undo_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace sr::app {
namespace {

constexpr int kPeople = 12;

std::vector<RowTexts> Snapshot(const SalaryRegister& reg) {
  std::vector<RowTexts> rows;
  for (int row = 1; row < reg.RowCount(); ++row) rows.push_back(reg.Row(row));
  return rows;
}

// One edit as a command makes it, drawn from a seed so that it can be made again on a replay.
// Each kind stands for a route of the program: a typed cell, a paste or cut (a rectangle), an
// insert or delete of a row, a sort or load (every row replaced), a calculation (many single
// cells in one action).
void MakeEdit(SalaryRegister& reg, unsigned seed) {
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % n); };
  auto text = [&] { return pick(4) == 0 ? Text() : std::to_string(pick(1000)); };
  const int rows = reg.RowCount() - 1;
  switch (pick(6)) {
    case 0:
      reg.SetCellText(1 + pick(rows), pick(kRegisterColumns), text());
      break;
    case 1: {
      const int row = 1 + pick(rows), column = pick(kRegisterColumns);
      const int last_row = std::min(rows, row + pick(3));
      const int last_column = std::min(kRegisterColumns - 1, column + pick(4));
      std::vector<Text> texts((last_row - row + 1) * (last_column - column + 1));
      for (Text& t : texts) t = text();
      reg.SetCellTexts({row, column, last_row, last_column}, texts);
      break;
    }
    case 2: {
      RegisterAction action(reg);
      const int row = reg.InsertRow(1 + pick(rows + 1));
      reg.SetCellText(row, 0, text());
      break;
    }
    case 3:
      if (rows > 2) reg.RemoveRows(1 + pick(rows - 1), 1 + pick(2) % (rows - 1));
      break;
    case 4: {
      std::vector<RowTexts> sorted = Snapshot(reg);
      std::stable_sort(sorted.begin(), sorted.end(),
                       [](const RowTexts& a, const RowTexts& b) { return a[1] < b[1]; });
      if (pick(2) == 0) sorted.resize(sorted.size() + 1);
      reg.ReplaceRows(std::move(sorted));
      break;
    }
    default: {
      RegisterAction action(reg);
      for (int row = 1; row < reg.RowCount(); ++row) reg.SetAmount(row, 20, row * 1.5 + pick(9));
      reg.SetTitle(3, "奖金" + std::to_string(pick(9)));  // titles are no part of a step
      break;
    }
  }
}

// Counts the changes of cells and rows, to know whether an edit made a step.
struct ChangeCounter : RegisterListener {
  int changes = 0;
  void RegisterChanged(const RegisterChange& change) override {
    changes += change.kind != RegisterChange::Kind::kTitles ? 1 : 0;
  }
};

SalaryRegister* Fresh(SalaryRegister& reg) {
  reg.SetRowCount(kPeople + 1);
  for (int row = 1; row <= kPeople; ++row) {
    reg.SetCellText(row, 0, std::to_string(100 + row));
    reg.SetCellText(row, 1, std::string(1, static_cast<char>('z' - row)));
  }
  return &reg;
}

TEST(UndoHistoryTest, RandomEditsUndosAndRedosMatchAReplayOfTheRemainingEdits) {
  for (unsigned sequence = 1; sequence <= 40; ++sequence) {
    SCOPED_TRACE(sequence);
    SalaryRegister reg;
    Fresh(reg);
    UndoHistory history(reg);
    ChangeCounter counter;
    reg.AddListener(&counter);
    std::vector<unsigned> done, undone;  // the edits in effect; those that redo would bring back
    std::mt19937 random(sequence);
    for (int move = 0; move < 60; ++move) {
      const unsigned roll = random() % 10;
      if (roll < 5) {
        const unsigned seed = random();
        const int before = counter.changes;
        MakeEdit(reg, seed);
        if (counter.changes == before) continue;  // nothing changed: no step, redo stays
        done.push_back(seed);
        undone.clear();
      } else if (roll < 8) {
        ASSERT_EQ(history.Undo().has_value(), !done.empty());
        if (!done.empty()) undone.push_back(done.back()), done.pop_back();
      } else {
        ASSERT_EQ(history.Redo().has_value(), !undone.empty());
        if (!undone.empty()) done.push_back(undone.back()), undone.pop_back();
      }
      SalaryRegister replay;
      Fresh(replay);
      for (unsigned seed : done) MakeEdit(replay, seed);
      ASSERT_EQ(Snapshot(reg), Snapshot(replay)) << "after move " << move;
      ASSERT_EQ(history.CanUndo(), !done.empty());
      ASSERT_EQ(history.CanRedo(), !undone.empty());
    }
  }
}

TEST(UndoHistoryTest, OneStepPerActionHoweverManyChangesAndNoneForAnActionThatChangedNothing) {
  SalaryRegister reg;
  Fresh(reg);
  UndoHistory history(reg);
  {
    RegisterAction action(reg);
    for (int row = 1; row <= kPeople; ++row) reg.SetAmount(row, 2, row);
    reg.RemoveRow(3);
    reg.InsertRow(1);
  }
  {
    RegisterAction nothing(reg);
    reg.SetCellText(1, 0, reg.CellText(1, 0));  // the same texts: no change
    reg.SetCellTexts({1, 0, 2, 1}, {reg.CellText(1, 0), reg.Name(1), reg.Number(2), reg.Name(2)});
  }
  EXPECT_EQ(history.UndoSteps(), 1);
  history.Undo();
  EXPECT_EQ(reg.RowCount(), kPeople + 1);
  EXPECT_EQ(reg.CellText(3, 0), "103");
  EXPECT_EQ(reg.CellText(5, 2), "");
  EXPECT_FALSE(history.CanUndo());
}

TEST(UndoHistoryTest, KeepsTheNewestStepsUpToItsDepth) {
  SalaryRegister reg;
  Fresh(reg);
  UndoHistory history(reg);
  for (int step = 1; step <= 150; ++step) reg.SetCellText(1, 2, std::to_string(step));
  int undone = 0;
  while (history.Undo()) ++undone;
  EXPECT_EQ(undone, UndoHistory::kDefaultDepth);
  EXPECT_EQ(reg.CellText(1, 2), "50");  // the 100 newest steps are gone, the older ones stay
}

TEST(UndoHistoryTest, SavedPointFollowsUndoRedoSaveAndANewBranch) {
  SalaryRegister reg;
  Fresh(reg);
  UndoHistory history(reg);
  EXPECT_TRUE(history.AtSavedPoint());
  reg.SetCellText(1, 2, "1");
  EXPECT_FALSE(history.AtSavedPoint());
  history.Undo();
  EXPECT_TRUE(history.AtSavedPoint());
  history.Redo();
  reg.SetCellText(1, 2, "2");
  history.MarkSaved();  // a save: the saved point moves here
  history.Undo();
  EXPECT_FALSE(history.AtSavedPoint());
  history.Redo();
  EXPECT_TRUE(history.AtSavedPoint());
  history.Undo();
  reg.SetCellText(1, 3, "3");  // the saved state is now out of reach
  history.Undo();
  EXPECT_FALSE(history.AtSavedPoint());
  while (history.Undo()) EXPECT_FALSE(history.AtSavedPoint());
  while (history.Redo()) EXPECT_FALSE(history.AtSavedPoint());
}

TEST(UndoHistoryTest, ASaveInsideAnActionMarksTheRegisterAsTheActionLeavesIt) {
  // A sort saves first and then replaces the rows with the file it wrote.
  SalaryRegister reg;
  Fresh(reg);
  UndoHistory history(reg);
  reg.SetCellText(1, 2, "5");
  {
    RegisterAction sort(reg);
    history.MarkSaved();
    std::vector<RowTexts> rows = Snapshot(reg);
    std::reverse(rows.begin(), rows.end());
    reg.ReplaceRows(rows);
  }
  EXPECT_TRUE(history.AtSavedPoint());
  history.Undo();
  EXPECT_FALSE(history.AtSavedPoint());
  EXPECT_EQ(reg.CellText(1, 0), "101");
}

TEST(UndoHistoryTest, ResetForgetsEveryStep) {
  SalaryRegister reg;
  Fresh(reg);
  UndoHistory history(reg);
  int told = 0;
  history.SetOnStepsChanged([&] { ++told; });
  reg.SetCellText(1, 2, "1");
  history.Undo();
  history.Reset();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
  EXPECT_TRUE(history.AtSavedPoint());
  EXPECT_EQ(told, 3);
}

}  // namespace
}  // namespace sr::app
