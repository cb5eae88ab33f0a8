// The backups that saves leave: which copies a year of saves keeps, and a disk too full for one.
#include <gtest/gtest.h>

#include <set>

#include "app/register/backups.h"
#include "platform/fs/forwarding_file_system.h"
#include "platform/fs/memory_file_system.h"

namespace sr::app::test {
namespace {

double At(int year, int month, int day, int hour = 9) {
  return MakeDateTime({year, month, day, hour, 0, 0});
}

// A save every fourth day of 2026 from February, then 25 on 2027-01-15: the last 20 copies stay,
// and the last of each month of the twelve up to January 2027; the rest go, and every copy is
// the file as it was when it was replaced.
TEST(BackupsTest, AYearOfSavesKeepsTheLastTwentyAndOneAMonth) {
  fs::MemoryFileSystem files;
  ASSERT_EQ(files.MakeFolder("/work"), fs::kOk);
  auto save = [&](double now) {
    ASSERT_TRUE(KeepBackup(files, "/work/备份", "/work/工资.dat", now).empty());
    ASSERT_EQ(files.WriteContents("/work/工资.dat", DateTimeText(now)), fs::kOk);
  };
  EXPECT_TRUE(KeepBackup(files, "/work/备份", "/work/工资.dat", At(2026, 1, 1)).empty());
  EXPECT_TRUE(ListBackups(files, "/work/备份").empty());  // nothing to keep yet
  for (double day = At(2026, 2, 1); day < At(2027, 1, 1); day += 4) save(day);
  for (int i = 0; i < 25; ++i) save(At(2027, 1, 15));

  const std::vector<Backup> kept = ListBackups(files, "/work/备份");
  std::set<int> months;
  for (size_t i = 20; i < kept.size(); ++i) {
    months.insert(kept[i].time.year * 100 + kept[i].time.month);
  }
  // The twelve months up to January 2027, whose newest copies are among the twenty.
  EXPECT_EQ(months, (std::set<int>{202602, 202603, 202604, 202605, 202606, 202607, 202608, 202609, 202610,
                                   202611, 202612}));
  ASSERT_EQ(kept.size(), 31u);
  EXPECT_EQ(kept[0].number, 25);
  EXPECT_EQ(kept[0].file_name, "工资.dat");
  std::string bytes;
  ASSERT_EQ(files.ReadContents("/work/备份/" + kept[20].name, &bytes), fs::kOk);
  EXPECT_EQ(bytes.substr(0, 11), DateTimeText(At(2026, 12, 27)).substr(0, 11));
}

class FullDisk : public fs::ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  int CopyFile(const fs::Path&, const fs::Path&) override { return fs::kDiskFull; }
};

TEST(BackupsTest, ADiskTooFullForTheCopyIsNamedAndLeavesTheFile) {
  fs::MemoryFileSystem memory;
  FullDisk files(memory);
  ASSERT_EQ(memory.WriteContents("/工资.dat", "register"), fs::kOk);
  const Text problem = KeepBackup(files, "/备份", "/工资.dat", At(2026, 5, 1));
  EXPECT_NE(problem.find("/工资.dat"), Text::npos);
  EXPECT_NE(problem.find("/备份"), Text::npos);
  EXPECT_TRUE(ListBackups(files, "/备份").empty());
  std::string bytes;
  ASSERT_EQ(memory.ReadContents("/工资.dat", &bytes), fs::kOk);
  EXPECT_EQ(bytes, "register");
}

}  // namespace
}  // namespace sr::app::test
