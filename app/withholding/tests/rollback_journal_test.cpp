// The rollback journal beside a file changed in place, and what another program instance does
// with it meanwhile.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/withholding/record_file.h"
#include "app/withholding/record_tail.h"
#include "app/withholding/rollback_journal.h"
#include "app/withholding/tests/test_folder.h"
#include "base/gbk.h"
#include "base/text.h"
#include "platform/fs/forwarding_file_system.h"
#include "platform/fs/real_file_system.h"

namespace sr::app::test {
namespace {

// Runs `before` once, just before the file `path` is first opened for writing.
class BeforeWritingOpen : public fs::ForwardingFileSystem {
 public:
  BeforeWritingOpen(const Text& path, std::function<void()> before)
      : ForwardingFileSystem(fs::RealFileSystem()), path_(path), before_(std::move(before)) {}

  int Open(const fs::Path& path, fs::Access access, fs::Share share, fs::Disposition disposition,
           std::unique_ptr<fs::File>* file) override {
    if (path == path_ && access != fs::Access::kRead && before_) std::exchange(before_, {})();
    return ForwardingFileSystem::Open(path, access, share, disposition, file);
  }

 private:
  Text path_;
  std::function<void()> before_;
};

class RollbackJournalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshTestFolder("journal_test");
    path_ = FromUtf8((folder_ / "ledger.dat").string());
    Put("old contents");
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void Put(const std::string& bytes) {
    std::ofstream(ToUtf8(path_), std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string Contents() const {
    std::ifstream in(ToUtf8(path_), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::filesystem::path folder_;
  Text path_;
  fs::FileSystem& files_ = fs::RealFileSystem();
};

// Another instance that finds the journal while this one is still saving must not roll back
// the save once it is done: the journal counts only while the file is held.
TEST_F(RollbackJournalTest, ASaveFinishedMeanwhileIsNotRolledBack) {
  std::unique_ptr<fs::File> file;
  ASSERT_EQ(files_.Open(path_, fs::Access::kReadWrite, fs::Share::kExclusive,
                        fs::Disposition::kOpenExisting, &file),
            fs::kOk);
  RollbackJournal saving(files_, path_);
  ASSERT_EQ(saving.Begin(12, {{0, "old"}}), fs::kOk);
  ASSERT_EQ(file->WriteAt(0, "new", 3), fs::kOk);
  // The other instance sees the journal; this one commits and lets the file go just before the
  // other opens the file.
  BeforeWritingOpen other(path_, [&] {
    EXPECT_EQ(saving.Commit(*file), fs::kOk);
    file.reset();
  });
  ASSERT_TRUE(FileExists(other, JournalPath(path_)));
  EXPECT_EQ(RollbackJournal(other, path_).Recover(), fs::kOk);
  EXPECT_EQ(Contents(), "new contents");
  EXPECT_FALSE(FileExists(files_, JournalPath(path_)));
}

// A journal that is whole but does not fit a file (a length or an offset below 0) puts nothing
// back, and the reading names the journal.
TEST_F(RollbackJournalTest, AJournalThatDoesNotFitLeavesTheFileAsItIs) {
  for (auto [length, offset] : {std::pair<int64_t, int64_t>{-1, 0}, {12, -4}}) {
    SCOPED_TRACE(offset);
    ASSERT_EQ(RollbackJournal(files_, path_).Begin(length, {{0, "XYZ"}, {offset, "ABC"}}),
              fs::kOk);
    Text message;
    EXPECT_FALSE(RecoverRecordFile(files_, path_, &message));
    EXPECT_EQ(Contents(), "old contents");
    EXPECT_NE(message.find(JournalPath(path_)), Text::npos) << ToUtf8(message);
    EXPECT_NE(message.find("损坏"), Text::npos) << ToUtf8(message);
    EXPECT_TRUE(FileExists(files_, JournalPath(path_)));
    ASSERT_EQ(files_.RemoveFile(JournalPath(path_)), fs::kOk);
  }
}

#ifndef _WIN32
// A damaged journal is named where it lies: beside the file that a link leads to.
TEST_F(RollbackJournalTest, ADamagedJournalOfALinkedFileIsNamedBesideItsTarget) {
  const std::filesystem::path elsewhere = folder_ / "elsewhere";
  std::filesystem::create_directory(elsewhere);
  const Text link = FromUtf8((elsewhere / "link.dat").string());
  std::filesystem::create_symlink(ToUtf8(path_), ToUtf8(link));
  std::ofstream(ToUtf8(JournalPath(path_)), std::ios::binary) << "SRJOURN1 but nothing sound";
  Text message;
  EXPECT_FALSE(RecoverRecordFile(files_, link, &message));
  EXPECT_NE(message.find(Concat({"文件 ", link, " "})), Text::npos) << ToUtf8(message);
  EXPECT_NE(message.find(JournalPath(path_) + " 已损坏"), Text::npos) << ToUtf8(message);
  EXPECT_EQ(Contents(), "old contents");
}
#endif

// While another instance holds the file, its journal is not a save cut short: the reading says
// that the file is in use, and changes nothing.
TEST_F(RollbackJournalTest, AJournalOfAFileInUseIsLeftToItsSave) {
  std::unique_ptr<fs::File> file;
  ASSERT_EQ(files_.Open(path_, fs::Access::kReadWrite, fs::Share::kExclusive,
                        fs::Disposition::kOpenExisting, &file),
            fs::kOk);
  ASSERT_EQ(RollbackJournal(files_, path_).Begin(12, {{0, "XYZ"}}), fs::kOk);
  Text message;
  EXPECT_FALSE(RecoverRecordFile(files_, path_, &message));
  EXPECT_NE(message.find("另一个程序使用"), Text::npos) << ToUtf8(message);
  file.reset();
  EXPECT_EQ(Contents(), "old contents");
  EXPECT_TRUE(FileExists(files_, JournalPath(path_)));
}

}  // namespace
}  // namespace sr::app::test
