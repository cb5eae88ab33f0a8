// The year's ledger is written whole: a calculation killed at any point of the ledger's save
// leaves the old ledger or the new one, each readable and complete, and a save that fails part
// way leaves the old ledger and the register's cells as they were, with a message.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/tests/killed_save.h"
#include "app/withholding/ledger.h"
#include "app/withholding/tests/ledger_lines.h"
#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"

namespace sr::app::test {
namespace {

using app::testing::ChildEnd;
using app::testing::Tear;

LedgerEntry Entry(int month, int person, double income, double withheld) {
  LedgerEntry entry;
  entry.year = 2026;
  entry.month = month;
  entry.number = std::to_string(1000 + person);
  entry.name = "张三";
  entry.id_number = "11010519491231002X";
  entry.figures.income = income;
  entry.figures.special = 1500;
  entry.figures.additional[1] = 1000;
  entry.figures.withheld = withheld;
  entry.basic = 5000;
  entry.result.tax = withheld;
  entry.source = "工资.dat";
  return entry;
}

class LedgerKillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) /
        ("ledger_kill_" + std::to_string(::getpid()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    folder_ = folder.string();  // ASCII: the same in GBK
    path_ = LedgerPath(folder_, 2026);
    pristine_ = folder_ + "/pristine.dat";
    for (int month = 1; month <= 2; ++month) {
      for (int p = 0; p < 60; ++p) old_.push_back(Entry(month, p, 10000 + p, 75));
    }
    std::vector<LedgerEntry> march;
    for (int p = 0; p < 60; ++p) march.push_back(Entry(3, p, 20000 + p, 400 + p));
    new_ = ReplaceMonth(old_, 3, march);
    ASSERT_TRUE(Save(fs::RealFileSystem(), pristine_, old_));
    old_lines_ = LedgerLines(pristine_);
    ASSERT_EQ(old_lines_.size(), 120u);
    const Text sample = folder_ + "/sample.dat";
    ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, sample), fs::kOk);
    steps_ = app::testing::CountFileChanges(
        [&](fs::FileSystem& files) { return Save(files, sample, new_); });
    new_lines_ = LedgerLines(sample);
    ASSERT_EQ(new_lines_.size(), 180u);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  static bool Save(fs::FileSystem& files, const Text& path,
                   const std::vector<LedgerEntry>& entries) {
    DatabaseTable databases(files);
    Text message;
    return SaveLedger(databases, files, path, entries, &message);
  }

  // Kills the save of the new ledger over the old one at every file-changing call, and reads
  // the ledger after each kill.
  void KillAtEveryStep(Tear tear) {
    ASSERT_GT(steps_, 3);
    int kills = 0;
    for (int kill_at = 1; kill_at <= steps_ + 1; ++kill_at) {
      ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, path_), fs::kOk);
      const ChildEnd end = app::testing::RunKilledAt(
          kill_at, tear, [&](fs::FileSystem& files) { return Save(files, path_, new_); });
      EXPECT_EQ(end, kill_at <= steps_ ? ChildEnd::kKilled : ChildEnd::kSucceeded) << kill_at;
      kills += end == ChildEnd::kKilled;
      const std::vector<Text> lines = LedgerLines(path_);
      EXPECT_TRUE(lines == old_lines_ || lines == new_lines_)
          << "kill at step " << kill_at << " of " << steps_ << ": " << lines.size()
          << " records, first " << (lines.empty() ? "-" : ToUtf8(lines[0]));
      if (kill_at > steps_) {
        EXPECT_EQ(lines, new_lines_);  // not killed: saved
      }
    }
    EXPECT_EQ(kills, steps_);
  }

  Text folder_, path_, pristine_;
  std::vector<LedgerEntry> old_, new_;
  std::vector<Text> old_lines_, new_lines_;
  int steps_ = 0;
};

TEST_F(LedgerKillTest, KilledBeforeAnyFileChangeLeavesTheOldOrTheNewLedger) {
  KillAtEveryStep(Tear::kNone);
}

TEST_F(LedgerKillTest, KilledInTheMiddleOfAWriteLeavesTheOldOrTheNewLedger) {
  KillAtEveryStep(Tear::kHalfWritten);
}

// What a killed save leaves beside the ledger does not stop the next save.
TEST_F(LedgerKillTest, TheNextSaveAfterAKillSucceeds) {
  ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, path_), fs::kOk);
  ASSERT_EQ(app::testing::RunKilledAt(
                steps_, Tear::kNone,
                [&](fs::FileSystem& files) { return Save(files, path_, new_); }),
            ChildEnd::kKilled);
  EXPECT_TRUE(Save(fs::RealFileSystem(), path_, new_));
  EXPECT_EQ(LedgerLines(path_), new_lines_);
}

}  // namespace
}  // namespace sr::app::test
