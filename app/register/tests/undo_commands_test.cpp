// Undo and redo in the program, by the routes a user takes: random scripts of edits by every
// route (typing, paste by Ctrl+V, Shift+Insert, the menu and the shortcut menu, cut, the Delete
// key, insert and delete row, sort, calculation) mixed with undos and redos by key and menu, each
// compared with a replay from the start of the edits that remain in effect.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/tests/register_test_files.h"
#include "app/tests/scenario_support.h"
#include "base/gbk.h"
#include "platform/headless/headless_grid.h"

namespace sr::app {
namespace {

// Ten people with a number and a name, saved and opened again (so no step is left to undo),
// and the tax rate table for the calculation.
const char kStart[] = R"(
answer-always 计算结果已过时 no
make-relay
make-tax-table
menu 文件 新建
enter 1 0 1
enter 1 1 j
enter 2 0 2
enter 2 1 a
enter 3 0 3
enter 3 1 h
enter 4 0 4
enter 4 1 b
enter 5 0 5
enter 5 1 g
enter 6 0 6
enter 6 1 c
enter 7 0 7
enter 7 1 f
enter 8 0 8
enter 8 1 d
enter 9 0 9
enter 9 1 e
enter 10 0 10
enter 10 1 i
choose-file r.dat
menu 文件 保存
choose-file r.dat
menu 文件 打开
toolbar 修改
)";

// Script lines of one edit, drawn from `random`. Only rows 1 to 3 and amount columns are aimed
// at, and at most `*deletes_left` rows deleted, so that every person stays a person and every
// aimed-at row exists after a sort (which keeps only people and one blank row).
std::string Edit(std::mt19937& random, int* deletes_left) {
  auto pick = [&](int n) { return static_cast<int>(random() % n); };
  auto cell = [&] { return std::to_string(1 + pick(3)) + " " + std::to_string(2 + pick(8)); };
  switch (pick(11)) {
    case 0:
    case 1:
      return "enter " + cell() + " " + std::to_string(pick(20000)) + "\n";
    case 2: {
      static const char* const kPastes[] = {"key Ctrl+V\n", "key Shift+Insert\n",
                                            "menu 编辑 粘贴\n"};
      return "click " + cell() + "\nkey Shift+Right\nkey Shift+Down\nkey Ctrl+C\nclick " + cell() +
             "\n" + kPastes[pick(3)];
    }
    case 3:
      return "click 1 2\nkey Ctrl+C\nclick " + cell() + "\npopup 编辑 粘贴\nright-click " + cell() +
             "\n";
    case 4:
      return "click " + cell() + "\nkey Shift+Down\nkey Ctrl+X\n";
    case 5:
      return "click " + cell() + "\nkey Shift+Right\nkey Delete\n";
    case 6:
      return "click " + cell() + (pick(2) == 0 ? "\nkey F5\n" : "\ntoolbar 插入\n");
    case 7:
      if (*deletes_left == 0) return "";
      --*deletes_left;
      return "click " + cell() + "\nanswer yes\nkey Ctrl+D\n";
    case 8:
      // Unsaved changes are saved first; a sort at the saved point asks nothing.
      return "click 1 " + std::to_string(pick(2)) + "\nanswer yes\nmenu 编辑 排序\n";
    default:
      return "toolbar 计算\n";
  }
}

bool IsSort(const std::string& edit) { return edit.find("排序") != std::string::npos; }

// The register grid's texts below the titles, row after row ("|" after each cell, a line per
// row). The titles are no step's: the result columns' carry the stale mark, which follows the
// last calculation rather than the steps.
std::string Texts(const ui::GridSource& grid) {
  std::string texts;
  for (int row = 1; row < grid.RowCount(); ++row) {
    for (int column = 0; column < grid.ColumnCount(); ++column) {
      texts += grid.CellText(row, column) + "|";
    }
    texts += "\n";
  }
  return texts;
}

// The first row where two register texts differ, both versions in UTF-8 ("" when equal).
std::string FirstDifference(const std::string& actual, const std::string& expected) {
  size_t a = 0, e = 0, row = 0;
  while (a < actual.size() || e < expected.size()) {
    const size_t a_end = std::min(actual.find('\n', a), actual.size());
    const size_t e_end = std::min(expected.find('\n', e), expected.size());
    const std::string got = actual.substr(a, a_end - a), want = expected.substr(e, e_end - e);
    if (got != want) {
      return "row " + std::to_string(row) + ": got " + ToUtf8(got) + " expected " + ToUtf8(want);
    }
    a = a_end + 1, e = e_end + 1, ++row;
  }
  return "";
}

class UndoCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = testing::MakeTempFolder("undo_commands"); }

  // Runs the start and then each of `moves`, and returns the register's texts after the start
  // and after every move.
  std::vector<std::string> Run(const std::vector<std::string>& moves) {
    std::vector<std::string> states;
    std::string script = std::string(kStart) + "capture\n", transcript;
    for (const std::string& move : moves) script += move + "capture\n";
    script = ToUtf8(script);  // the texts here are GBK, as the program's; scripts are UTF-8
    const int code = testing::RunScript(
        folder_, std::u8string(script.begin(), script.end()), &transcript,
        [&](scenario::Runner& runner) {
          runner.AddAction("capture", [&](scenario::Runner& r, const scenario::Line&) {
            states.push_back(Texts(r.ActiveGrid().source()));
          });
        });
    EXPECT_EQ(code, 0) << transcript;
    return states;
  }

  std::string folder_;
};

struct Step {
  std::string lines;
  size_t before;  // the state it started from
  size_t after;   // the state it made
};

TEST_F(UndoCommandsTest, RandomEditsUndosAndRedosMatchAReplayOfTheEditsInEffect) {
  for (unsigned sequence = 1; sequence <= 10; ++sequence) {
    SCOPED_TRACE(sequence);
    std::mt19937 random(sequence);
    std::vector<std::string> moves;
    int deletes_left = 5;
    while (moves.size() < 24) {
      const unsigned roll = random() % 10;
      if (roll < 6) {
        const std::string edit = Edit(random, &deletes_left);
        if (!edit.empty()) moves.push_back(edit);
      } else if (roll < 9) {
        moves.push_back(random() % 2 == 0 ? "key Ctrl+Z\n" : "menu 编辑 撤销\n");
      } else {
        moves.push_back(random() % 2 == 0 ? "key Ctrl+Y\n" : "menu 编辑 重做\n");
      }
    }
    const std::vector<std::string> states = Run(moves);
    ASSERT_EQ(states.size(), moves.size() + 1);
    // An edit is a step when it changed the register (a sort always replaces the rows); undo and
    // redo must bring back exactly the state before or after it.
    std::vector<Step> done, undone;
    for (size_t i = 0; i < moves.size(); ++i) {
      const std::string& move = moves[i];
      if (move.find("Ctrl+Z") != std::string::npos || move.find("撤销") != std::string::npos) {
        if (done.empty()) {
          EXPECT_EQ(FirstDifference(states[i + 1], states[i]), "") << "move " << i;
          continue;
        }
        undone.push_back(done.back());
        done.pop_back();
        EXPECT_EQ(FirstDifference(states[i + 1], states[undone.back().before]), "")
            << "undo, move " << i;
      } else if (move.find("Ctrl+Y") != std::string::npos || move.find("重做") != std::string::npos) {
        if (undone.empty()) {
          EXPECT_EQ(FirstDifference(states[i + 1], states[i]), "") << "move " << i;
          continue;
        }
        done.push_back(undone.back());
        undone.pop_back();
        EXPECT_EQ(FirstDifference(states[i + 1], states[done.back().after]), "")
            << "redo, move " << i;
      } else if (states[i + 1] != states[i] || IsSort(move)) {
        done.push_back({move, i, i + 1});
        undone.clear();
      }
    }
    std::vector<std::string> replay;
    for (const Step& edit : done) replay.push_back(edit.lines);
    EXPECT_EQ(FirstDifference(Run(replay).back(), states.back()), "") << "moves:\n" << [&] {
      std::string all;
      for (const std::string& move : moves) all += move + "--\n";
      return all;
    }();
  }
}

}  // namespace
}  // namespace sr::app
