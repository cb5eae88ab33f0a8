// A calculation killed at any point of the ledger's save leaves the old ledger or the new one,
// each readable and complete, whether the whole ledger is written anew or a month is appended
// or written again in place.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/tests/killed_save.h"
#include "app/withholding/ledger.h"
#include "app/withholding/tests/ledger_lines.h"
#include "app/withholding/tests/test_folder.h"
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

using Save = std::function<bool(fs::FileSystem& files, const Text& path)>;

class LedgerKillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshTestFolder("ledger_kill").string();
    path_ = LedgerPath(folder_, 2026);
    pristine_ = folder_ + "/pristine.dat";
    for (int month = 1; month <= 2; ++month) {
      for (int p = 0; p < 60; ++p) old_.push_back(Entry(month, p, 10000 + p, 75));
    }
    ASSERT_TRUE(SaveWhole(fs::RealFileSystem(), pristine_, old_));
    old_lines_ = LedgerLines(pristine_);
    ASSERT_EQ(old_lines_.size(), 120u);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // `people` fresh records of `month`.
  static std::vector<LedgerEntry> Month(int month, int people) {
    std::vector<LedgerEntry> entries;
    for (int p = 0; p < people; ++p) entries.push_back(Entry(month, p, 20000 + p, 400 + p));
    return entries;
  }

  static bool SaveWhole(fs::FileSystem& files, const Text& path,
                        const std::vector<LedgerEntry>& entries) {
    DatabaseTable databases(files);
    Text message;
    return SaveLedger(databases, files, path, entries, &message);
  }

  // The month saved as a calculation saves it, over the old ledger as it was read.
  Save SaveMonth(int month, const std::vector<LedgerEntry>& fresh) {
    DatabaseTable databases(fs::RealFileSystem());
    Text message;
    auto ledger = std::make_shared<LedgerOfMonth>();
    EXPECT_TRUE(LoadLedgerOfMonth(databases, fs::RealFileSystem(), pristine_, 2026, month,
                                  ledger.get(), &message));
    return [ledger, fresh](fs::FileSystem& files, const Text& path) {
      DatabaseTable databases(files);
      Text message;
      return SaveLedgerOfMonth(databases, files, path, *ledger, fresh, &message);
    };
  }

  // The number of file changes that `save` makes, and the ledger it leaves.
  void Measure(const Save& save) {
    const Text sample = folder_ + "/sample.dat";
    ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, sample), fs::kOk);
    steps_ = app::testing::CountFileChanges(
        [&](fs::FileSystem& files) { return save(files, sample); });
    new_lines_ = LedgerLines(sample);
    ASSERT_NE(new_lines_, old_lines_);
  }

  // Kills `save` of the new ledger over the old one at every file-changing call, and reads the
  // ledger after each kill.
  void KillAtEveryStep(Tear tear, const Save& save) {
    ASSERT_NO_FATAL_FAILURE(Measure(save));
    ASSERT_GT(steps_, 3);
    int kills = 0;
    for (int kill_at = 1; kill_at <= steps_ + 1; ++kill_at) {
      ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, path_), fs::kOk);
      const ChildEnd end = app::testing::RunKilledAt(
          kill_at, tear, [&](fs::FileSystem& files) { return save(files, path_); });
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

  // What a save killed at its last step leaves beside the ledger does not stop the next save.
  void SaveAgainAfterAKill(const Save& save) {
    ASSERT_NO_FATAL_FAILURE(Measure(save));
    ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, path_), fs::kOk);
    ASSERT_EQ(app::testing::RunKilledAt(
                  steps_, Tear::kNone,
                  [&](fs::FileSystem& files) { return save(files, path_); }),
              ChildEnd::kKilled);
    EXPECT_TRUE(save(fs::RealFileSystem(), path_));
    EXPECT_EQ(LedgerLines(path_), new_lines_);
  }

  Save WholeLedgerWithMarch() {
    const std::vector<LedgerEntry> entries = ReplaceMonth(old_, 3, Month(3, 60));
    return [entries](fs::FileSystem& files, const Text& path) {
      return SaveWhole(files, path, entries);
    };
  }

  Text folder_, path_, pristine_;
  std::vector<LedgerEntry> old_;
  std::vector<Text> old_lines_, new_lines_;
  int steps_ = 0;
};

TEST_F(LedgerKillTest, KilledBeforeAnyFileChangeLeavesTheOldOrTheNewLedger) {
  KillAtEveryStep(Tear::kNone, WholeLedgerWithMarch());
}

TEST_F(LedgerKillTest, KilledInTheMiddleOfAWriteLeavesTheOldOrTheNewLedger) {
  KillAtEveryStep(Tear::kHalfWritten, WholeLedgerWithMarch());
}

TEST_F(LedgerKillTest, TheNextSaveAfterAKillSucceeds) {
  SaveAgainAfterAKill(WholeLedgerWithMarch());
}

// In place: a new month after the last one, and the last month again with fewer people (the
// file gets shorter) and with more (longer than before).
TEST_F(LedgerKillTest, MonthAppendedInPlaceKilledAtAnyStepOrHalfWayThroughAWrite) {
  for (Tear tear : {Tear::kNone, Tear::kHalfWritten}) {
    KillAtEveryStep(tear, SaveMonth(3, Month(3, 60)));
  }
}

TEST_F(LedgerKillTest, LastMonthWrittenAgainInPlaceKilledAtAnyStepOrHalfWayThroughAWrite) {
  for (int people : {45, 75}) {
    SCOPED_TRACE(people);
    for (Tear tear : {Tear::kNone, Tear::kHalfWritten}) {
      KillAtEveryStep(tear, SaveMonth(2, Month(2, people)));
    }
  }
}

TEST_F(LedgerKillTest, TheNextSaveInPlaceAfterAKillSucceeds) {
  SaveAgainAfterAKill(SaveMonth(3, Month(3, 60)));
  SaveAgainAfterAKill(SaveMonth(2, Month(2, 30)));
}

}  // namespace
}  // namespace sr::app::test
