// A save killed at any point leaves the register as it was or as saved, never a mix and never
// an empty file; a save that runs out of disk leaves it as it was and says why.
#include <gtest/gtest.h>

#include "app/register/file_replacement.h"
#include "app/register/register_storage.h"
#include "app/tests/killed_save.h"
#include "app/tests/register_test_files.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

using testing::FillRegister;
using testing::Tear;

// What a register file holds: the names of its records in order ("" for the blank one).
std::vector<Text> Names(const Text& path) {
  DatabaseTable table(fs::RealFileSystem());
  if (!table.OpenDatabase(path, "check")) return {"<cannot open: " + std::to_string(LastDatabaseError()) + ">"};
  if (!HasRegisterShape(table, nullptr)) return {"<not a register>"};
  std::vector<Text> names;
  const int32_t count = table.GetRecordCount();
  table.GoFirst();
  for (int32_t r = 0; r < count; ++r, table.Skip()) {
    names.push_back(ToText(table.ReadField(2)) + "/" + ToText(table.ReadField(3)));
  }
  return names;
}

class CrashSafeSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::MakeTempFolder("crash_safe_save");
    relay_ = folder_ + "\\ZhongZhuan.rgq";
    target_ = folder_ + "\\工资.dat";
    pristine_ = folder_ + "\\pristine.dat";
    testing::MakeDatabase(relay_, testing::RelayFields());
    FillRegister(old_register_, 300, "甲", 0.5);
    FillRegister(new_register_, 420, "乙", 0.25);
    Text reason;
    ASSERT_TRUE(SaveRegisterFile(databases_, fs::RealFileSystem(), StructureSource::kRelayFile,
                                 relay_, pristine_, old_register_, nullptr, &reason))
        << reason;
    old_names_ = Names(pristine_);
    ASSERT_EQ(old_names_.size(), 301u);
    // The register as saved, written the same way somewhere else.
    const Text sample = folder_ + "\\sample.dat";
    ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, sample), fs::kOk);
    bool saved = false;
    steps_ = testing::CountFileChanges([&](fs::FileSystem& files) {
      DatabaseTable table(files);
      return saved = SaveRegisterFile(table, files, StructureSource::kSavedRegister, sample,
                                      sample, new_register_, nullptr, &reason);
    });
    ASSERT_TRUE(saved) << reason;
    RecordProperty("save_steps", steps_);
    new_names_ = Names(sample);
    ASSERT_EQ(new_names_.size(), 421u);
  }

  // Saves the new register over the old one in a child process killed at call `kill_at`.
  // Returns whether the child was killed.
  bool SaveInChild(int kill_at, Tear tear) {
    const testing::ChildEnd end =
        testing::RunKilledAt(kill_at, tear, [this](fs::FileSystem& files) {
          DatabaseTable table(files);
          Text reason;
          return SaveRegisterFile(table, files, StructureSource::kSavedRegister, target_, target_,
                                  new_register_, nullptr, &reason);
        });
    EXPECT_NE(end, testing::ChildEnd::kFailed) << "kill at " << kill_at;
    return end == testing::ChildEnd::kKilled;
  }

  void KillAtEveryStep(Tear tear) {
    ASSERT_GT(steps_, 3);
    int kills = 0;
    for (int kill_at = 1; kill_at <= steps_ + 1; ++kill_at) {
      // The old register, with whatever a killed save left beside it.
      ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, target_), fs::kOk);
      kills += SaveInChild(kill_at, tear) ? 1 : 0;
      const std::vector<Text> names = Names(target_);
      EXPECT_TRUE(names == old_names_ || names == new_names_)
          << "kill at step " << kill_at << " of " << steps_ << ": " << names.size()
          << " records, first " << (names.empty() ? "-" : names[0]);
      if (kill_at > steps_) {
        EXPECT_EQ(names, new_names_);  // not killed: saved
      }
    }
    EXPECT_EQ(kills, steps_);
  }

  DatabaseTable databases_{fs::RealFileSystem()};
  std::string folder_, relay_, target_, pristine_;
  SalaryRegister old_register_;
  SalaryRegister new_register_;
  std::vector<Text> old_names_, new_names_;
  int steps_ = 0;
};

TEST_F(CrashSafeSaveTest, KilledBeforeAnyFileChangeLeavesOldOrNewRegister) {
  KillAtEveryStep(Tear::kNone);
}

TEST_F(CrashSafeSaveTest, KilledInTheMiddleOfAWriteLeavesOldOrNewRegister) {
  KillAtEveryStep(Tear::kHalfWritten);
}

TEST_F(CrashSafeSaveTest, LeftoverOfAKilledSaveDoesNotStopTheNextSave) {
  ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, target_), fs::kOk);
  ASSERT_TRUE(SaveInChild(steps_, Tear::kNone));  // dies just before the file takes its name
  Text reason;
  EXPECT_TRUE(SaveRegisterFile(databases_, fs::RealFileSystem(), StructureSource::kSavedRegister,
                               target_, target_, new_register_, nullptr, &reason))
      << reason;
  EXPECT_EQ(Names(target_), new_names_);
  bool left = true;
  fs::RealFileSystem().Exists(SavingFilePath(target_), &left);
  EXPECT_FALSE(left);
}

TEST_F(CrashSafeSaveTest, FullDiskKeepsTheOldRegisterAndSaysSo) {
  ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, target_), fs::kOk);
  for (int64_t room : {0, 2000, 60000}) {
    // The disk fills up after `room` more bytes.
    fs::FaultInjectingFileSystem files(fs::RealFileSystem());
    files.LimitRoom(room);
    DatabaseTable table(files);
    Text reason;
    EXPECT_FALSE(SaveRegisterFile(table, files, StructureSource::kSavedRegister, target_, target_,
                                  new_register_, nullptr, &reason));
    EXPECT_EQ(reason, DatabaseErrorMessage(fs::kDiskFull)) << room;
    EXPECT_EQ(Names(target_), old_names_) << room;
    bool left = true;
    fs::RealFileSystem().Exists(SavingFilePath(target_), &left);
    EXPECT_FALSE(left) << room;
  }
}

}  // namespace
}  // namespace sr::app
