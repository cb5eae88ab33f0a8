// The tax rate table is saved whole: a save killed at any point leaves the old table or the new
// one, never a new threshold with old rates; a table kept private stays private, and a table
// reached through a symbolic link is written where the link leads.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/register/file_replacement.h"
#include "app/tax_rules/tax_table.h"
#include "app/tests/killed_save.h"
#include "app/tests/tax_test_support.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"

namespace sr::app::test {
namespace {

using app::testing::ChildEnd;

// Fields 1 to 6 of the nine records as texts, read without changing the file; a line naming
// the failure when the file does not open as the table.
std::vector<Text> ReadTable(const Text& path) {
  DatabaseTable table(fs::RealFileSystem());
  OpenOptions options = OpenOptions::WithPassword(kTaxTablePassword);
  options.read_only = 1;
  Text message;
  TaxTableValues values;
  if (!table.OpenDatabase(path, kTaxTableAlias, options) ||
      !ReadTaxTable(table, path, &values, &message)) {
    return {"<" + ToText(LastDatabaseError()) + " " + message + ">"};
  }
  std::vector<Text> texts;
  for (const auto& record : values) {
    for (const Value& value : record) texts.push_back(ToText(value));
  }
  return texts;
}

// The texts that the window would save, each field 1 to 5 different from `rows` (+1 + shift).
TaxTableTexts NewTexts(const std::vector<TaxRow>& rows, int shift) {
  TaxTableTexts texts;
  for (int k = 0; k < kTaxRecords; ++k) {
    for (int f = 0; f < 5; ++f) texts[k][f] = ToText(static_cast<int>(rows[k][f]) + 1 + shift);
  }
  return texts;
}

class TaxTableSaveTest : public ::testing::Test {
 protected:
  Text Path() const { return program_.PathOf(kTaxTableFileName); }
  bool Save(fs::FileSystem& files, const Text& path, const TaxTableTexts& texts) {
    DatabaseTable table(files);
    Text message;
    return SaveTaxTable(table, files, path, texts, &message);
  }

  TaxProgram program_;
};

// Kills the saving process before every call that changes a file and in the middle of every
// write, and reads the table after each kill. SR_TAX_KILL_ROUNDS sets how many tables (each
// with other values) go through every kill point; the default keeps the test short.
TEST_F(TaxTableSaveTest, KilledAtAnyPointLeavesTheOldOrTheNewTable) {
  const char* configured = std::getenv("SR_TAX_KILL_ROUNDS");
  const int rounds = configured != nullptr ? std::max(1, std::atoi(configured)) : 2;
  const Text pristine = program_.PathOf("pristine.dat"), sample = program_.PathOf("sample.dat");
  int kills = 0, kept_old = 0, saved_new = 0, mixed = 0;
  for (int round = 0; round < rounds; ++round) {
    std::vector<TaxRow> rows = InstalledTable();
    for (TaxRow& row : rows) {
      for (double& value : row) value += 7 * round;
    }
    program_.WriteTaxTable(rows);
    ASSERT_EQ(fs::RealFileSystem().CopyFile(Path(), pristine), fs::kOk);
    ASSERT_EQ(fs::RealFileSystem().CopyFile(Path(), sample), fs::kOk);
    const TaxTableTexts texts = NewTexts(rows, round);
    const std::vector<Text> old_table = ReadTable(pristine);
    const int steps = app::testing::CountFileChanges(
        [&](fs::FileSystem& files) { return Save(files, sample, texts); });
    const std::vector<Text> new_table = ReadTable(sample);
    ASSERT_NE(old_table, new_table);
    ASSERT_GT(steps, 3);
    for (const app::testing::Tear tear :
         {app::testing::Tear::kNone, app::testing::Tear::kHalfWritten}) {
      for (int kill_at = 1; kill_at <= steps + 1; ++kill_at) {
        ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine, Path()), fs::kOk);
        const ChildEnd end = app::testing::RunKilledAt(
            kill_at, tear, [&](fs::FileSystem& files) { return Save(files, Path(), texts); });
        EXPECT_EQ(end, kill_at <= steps ? ChildEnd::kKilled : ChildEnd::kSucceeded) << kill_at;
        kills += end == ChildEnd::kKilled ? 1 : 0;
        const std::vector<Text> table = ReadTable(Path());
        if (table == old_table) {
          ++kept_old;
        } else if (table == new_table) {
          ++saved_new;
        } else {
          ++mixed;
          ADD_FAILURE() << "round " << round
                        << (tear == app::testing::Tear::kHalfWritten ? ", torn" : "")
                        << ", kill at step " << kill_at << " of " << steps
                        << ": neither the old nor the new table";
        }
      }
    }
  }
  EXPECT_EQ(mixed, 0);
  RecordProperty("kills", kills);
  std::cout << "tax table kill test: " << kills << " kills in " << rounds << " rounds, " << kept_old
            << " old, " << saved_new << " new, " << mixed << " mixed\n";
}

TEST_F(TaxTableSaveTest, FailedSaveSaysWhyAndLeavesTheTableAndNoCopy) {
  program_.WriteTaxTable(InstalledTable());
  const std::vector<Text> before = ReadTable(Path());
  const TaxTableTexts texts = NewTexts(InstalledTable(), 0);
  // Another program has the table open: it cannot be replaced.
  DatabaseTable other(fs::RealFileSystem());
  ASSERT_TRUE(other.OpenDatabase(Path(), "", OpenOptions::WithPassword(kTaxTablePassword)));
  DatabaseTable table(fs::RealFileSystem());
  Text message;
  EXPECT_FALSE(SaveTaxTable(table, fs::RealFileSystem(), Path(), texts, &message));
  EXPECT_EQ(message,
            "无法保存税率表文件 " + Path() + "：" + DatabaseErrorMessage(fs::kSharingViolation));
  other.CloseAllDatabases();
  EXPECT_EQ(ReadTable(Path()), before);
  bool left = true;
  ASSERT_EQ(fs::RealFileSystem().Exists(SavingFilePath(Path()), &left), fs::kOk);
  EXPECT_FALSE(left);
  // No table at all.
  std::filesystem::remove(TaxProgram::Native(Path()));
  EXPECT_FALSE(SaveTaxTable(table, fs::RealFileSystem(), Path(), texts, &message));
  EXPECT_EQ(message, "无法保存税率表文件 " + Path() + "：" + DatabaseErrorMessage(fs::kNotFound));
  EXPECT_FALSE(std::filesystem::exists(TaxProgram::Native(Path())));
}

TEST_F(TaxTableSaveTest, SavedTableKeepsItsModeAndItsLink) {
  ASSERT_TRUE(std::filesystem::create_directory(TaxProgram::Native(program_.PathOf("实际"))));
  const Text real = program_.PathOf("实际/税率.dat");
  program_.WriteTaxTable(InstalledTable());
  std::filesystem::rename(TaxProgram::Native(Path()), TaxProgram::Native(real));
  std::filesystem::create_symlink(TaxProgram::Native("实际/税率.dat"), TaxProgram::Native(Path()));
  ASSERT_EQ(::chmod(TaxProgram::Native(real).c_str(), 0600), 0);
  const TaxTableTexts texts = NewTexts(InstalledTable(), 0);
  EXPECT_TRUE(Save(fs::RealFileSystem(), Path(), texts));
  EXPECT_TRUE(std::filesystem::is_symlink(TaxProgram::Native(Path())));
  struct stat info;
  ASSERT_EQ(::stat(TaxProgram::Native(real).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(ReadTable(real)[0], texts[0][0]);
}

}  // namespace
}  // namespace sr::app::test
