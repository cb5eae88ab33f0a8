#include "platform/fs/memory_file_system.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/fs/fault_injecting_file_system.h"
#include "platform/fs/tests/file_system_contract.h"

namespace sr::fs {
namespace {

// The contract runs over the memory file system itself and over the fault-injecting wrapper on
// top of it with no fault armed, which must then be invisible: every call and every opened file
// reach the disk below unchanged.
class InMemory : public testing::FileSystemUnderTest {
 public:
  explicit InMemory(bool wrapped) : wrapped_(wrapped) {
    EXPECT_EQ(files_.MakeFolder(folder_), kOk);
  }
  FileSystem& files() override {
    return wrapped_ ? static_cast<FileSystem&>(unarmed_) : files_;
  }
  const Path& folder() const override { return folder_; }
  void MakeFolder(const Path& name) override {
    EXPECT_EQ(files_.MakeFolder(folder_ + "/" + name), kOk);
  }

 private:
  bool wrapped_;
  MemoryFileSystem files_;
  FaultInjectingFileSystem unarmed_{files_};
  Path folder_ = "/work/test";
};

using testing::FileSystemContract;
using testing::FileSystemKind;

std::unique_ptr<testing::FileSystemUnderTest> MakeInMemory() {
  return std::make_unique<InMemory>(false);
}
std::unique_ptr<testing::FileSystemUnderTest> MakeUnarmedOverMemory() {
  return std::make_unique<InMemory>(true);
}

INSTANTIATE_TEST_SUITE_P(Memory, FileSystemContract,
                         ::testing::Values(FileSystemKind{"Memory", &MakeInMemory},
                                           FileSystemKind{"UnarmedFaultInjecting",
                                                          &MakeUnarmedOverMemory}),
                         FileSystemContract::Name);

std::unique_ptr<File> MustOpen(FileSystem& files, const Path& path, Disposition disposition) {
  std::unique_ptr<File> file;
  EXPECT_EQ(files.Open(path, Access::kReadWrite, Share::kDenyNone, disposition, &file), kOk);
  return file;
}

TEST(MemoryFileSystemTest, EachInstanceIsADiskOfItsOwnStartingAtTheRoot) {
  MemoryFileSystem one, other;
  Path cwd;
  ASSERT_EQ(one.GetCurrentDirectory(&cwd), kOk);
  EXPECT_EQ(cwd, "/");
  ASSERT_EQ(one.WriteContents("a.dat", "one"), kOk);
  bool exists = true;
  ASSERT_EQ(other.Exists("/a.dat", &exists), kOk);
  EXPECT_FALSE(exists);
  std::string bytes;
  EXPECT_EQ(one.ReadContents("/a.dat", &bytes), kOk);
  EXPECT_EQ(bytes, "one");
}

TEST(MemoryFileSystemTest, ContentsAreReachedPastLocksAndShareModesAndChangedInPlace) {
  MemoryFileSystem files;
  ASSERT_EQ(files.WriteContents("/f.dat", "before"), kOk);
  std::unique_ptr<File> held;
  ASSERT_EQ(files.Open("/f.dat", Access::kReadWrite, Share::kExclusive, Disposition::kOpenExisting,
                       &held),
            kOk);
  ASSERT_EQ(held->Lock(0, 100), kOk);
  std::string bytes;
  ASSERT_EQ(files.ReadContents("/f.dat", &bytes), kOk);
  EXPECT_EQ(bytes, "before");
  ASSERT_EQ(files.WriteContents("/f.dat", "after!"), kOk);
  char read[6];
  size_t got = 0;
  ASSERT_EQ(held->ReadAt(0, read, sizeof read, &got), kOk);
  EXPECT_EQ(std::string(read, got), "after!");  // the open handle sees the new bytes
  EXPECT_EQ(files.ReadContents("/missing.dat", &bytes), kNotFound);
  EXPECT_EQ(files.ReadContents("/", &bytes), kAccessDenied);
  EXPECT_EQ(files.WriteContents("/no/f.dat", "x"), kBadPath);
}

TEST(MemoryFileSystemTest, FoldersAreMadeAlongTheWayButNotThroughAFile) {
  MemoryFileSystem files;
  ASSERT_EQ(files.MakeFolder("/a\\b/c"), kOk);
  for (const char* folder : {"/a", "/a/b", "/a/b/c"}) {
    bool exists = false;
    ASSERT_EQ(files.Exists(folder, &exists), kOk);
    EXPECT_TRUE(exists) << folder;
  }
  ASSERT_EQ(files.WriteContents("/a/file", "x"), kOk);
  EXPECT_EQ(files.MakeFolder("/a/file/d"), kBadPath);
  EXPECT_EQ(files.SetCurrentDirectory("/a/file"), kBadPath);
  EXPECT_EQ(files.MakeFolder("/a/file"), kBadPath);
}

// A file of the memory disk is at most 4 GiB; a write beyond is a full disk, not an allocation
// of the whole range.
TEST(MemoryFileSystemTest, FilesBeyondFourGibibytesAreAFullDisk) {
  MemoryFileSystem files;
  auto file = MustOpen(files, "/big.dat", Disposition::kCreateAlways);
  EXPECT_EQ(file->WriteAt(int64_t{1} << 40, "x", 1), kDiskFull);
  EXPECT_EQ(file->Truncate(int64_t{1} << 40), kDiskFull);
  int64_t length = -1;
  ASSERT_EQ(file->Length(&length), kOk);
  EXPECT_EQ(length, 0);
}

// Handles used from several threads at once keep each other out of a locked range, as the
// record database's lock waits rely on.
TEST(MemoryFileSystemTest, LocksExcludeHandlesOfOtherThreads) {
  MemoryFileSystem files;
  ASSERT_EQ(files.WriteContents("/t.dat", std::string(16, '\0')), kOk);
  constexpr int kThreads = 4, kRounds = 2000;
  int inside = 0, most_inside = 0, entries = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      auto file = MustOpen(files, "/t.dat", Disposition::kOpenExisting);
      for (int round = 0; round < kRounds;) {
        if (file->Lock(4, 1) != kOk) continue;
        most_inside = std::max(most_inside, ++inside);
        ++entries;
        --inside;
        EXPECT_EQ(file->Unlock(4, 1), kOk);
        ++round;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(most_inside, 1);
  EXPECT_EQ(entries, kThreads * kRounds);
}

}  // namespace
}  // namespace sr::fs
