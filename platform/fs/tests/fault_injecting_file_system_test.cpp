#include "platform/fs/fault_injecting_file_system.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/fs/memory_file_system.h"

namespace sr::fs {
namespace {

using Tear = FaultInjectingFileSystem::Tear;

class FaultInjectingTest : public ::testing::Test {
 protected:
  std::unique_ptr<File> Create(const Path& path) {
    std::unique_ptr<File> file;
    EXPECT_EQ(
        faulty_.Open(path, Access::kReadWrite, Share::kDenyNone, Disposition::kCreateAlways, &file),
        kOk);
    return file;
  }
  std::string Contents(const Path& path) {
    std::string bytes;
    return disk_.ReadContents(path, &bytes) == kOk ? bytes : "<none>";
  }

  MemoryFileSystem disk_;
  FaultInjectingFileSystem faulty_{disk_};
};

TEST_F(FaultInjectingTest, FailsTheNthWriteOnly) {
  auto file = Create("/f.dat");
  faulty_.FailWrite(2);
  EXPECT_EQ(file->WriteAt(0, "ab", 2), kOk);
  EXPECT_EQ(file->WriteAt(2, "cd", 2), kDiskFull);
  EXPECT_EQ(file->WriteAt(2, "ef", 2), kOk);
  faulty_.FailWrite(1, kHardware);
  EXPECT_EQ(file->WriteAt(4, "gh", 2), kHardware);
  EXPECT_EQ(file->WriteAt(4, "ij", 2), kOk);
  EXPECT_EQ(Contents("/f.dat"), "abefij");
  EXPECT_EQ(faulty_.writes(), 5);
}

TEST_F(FaultInjectingTest, AFullDiskRefusesTheWriteThatDoesNotFitWhole) {
  auto file = Create("/f.dat");
  faulty_.LimitRoom(5);
  EXPECT_EQ(file->WriteAt(0, "abc", 3), kOk);
  EXPECT_EQ(file->WriteAt(3, "def", 3), kDiskFull);
  EXPECT_EQ(file->WriteAt(3, "de", 2), kOk);
  EXPECT_EQ(file->WriteAt(0, "x", 1), kDiskFull);  // overwriting takes room as well
  EXPECT_EQ(Contents("/f.dat"), "abcde");
  faulty_.ClearFaults();
  EXPECT_EQ(file->WriteAt(5, "f", 1), kOk);
}

// Every kind of change counts, and after the stop none reaches the disk while reads still work.
TEST_F(FaultInjectingTest, StopAfterNChangesDropsEveryLaterChange) {
  ASSERT_EQ(disk_.WriteContents("/old.dat", "old"), kOk);
  faulty_.StopAfter(3);
  auto file = Create("/f.dat");                    // 1
  EXPECT_EQ(file->WriteAt(0, "abcdef", 6), kOk);   // 2
  EXPECT_EQ(file->Truncate(4), kOk);               // 3
  EXPECT_EQ(file->WriteAt(0, "X", 1), kHardware);  // 4
  EXPECT_EQ(file->Truncate(1), kHardware);         // 5
  EXPECT_EQ(file->Sync(), kHardware);              // 6
  EXPECT_EQ(faulty_.CopyFile("/old.dat", "/copy.dat"), kHardware);
  EXPECT_EQ(faulty_.ReplaceFile("/old.dat", "/moved.dat"), kHardware);
  EXPECT_EQ(faulty_.RemoveFile("/old.dat"), kHardware);
  EXPECT_EQ(faulty_.CopyPermissions("/old.dat", "/f.dat"), kHardware);
  std::unique_ptr<File> created;
  EXPECT_EQ(faulty_.Open("/new.dat", Access::kWrite, Share::kDenyNone, Disposition::kCreateAlways,
                         &created),
            kHardware);
  EXPECT_EQ(faulty_.changes(), 11);
  char bytes[8];
  size_t got = 0;
  ASSERT_EQ(file->ReadAt(0, bytes, sizeof bytes, &got), kOk);
  EXPECT_EQ(std::string(bytes, got), "abcd");
  EXPECT_EQ(file->Lock(0, 1), kOk);
  for (const char* name : {"/copy.dat", "/moved.dat", "/new.dat"}) {
    EXPECT_EQ(Contents(name), "<none>") << name;
  }
  EXPECT_EQ(Contents("/old.dat"), "old");
}

// Writes each write's bytes to stderr, so that a death test sees what reached the file.
class EchoingFileSystem : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;

 protected:
  std::unique_ptr<File> WrapFile(std::unique_ptr<File> file) override {
    class Echo : public ForwardingFile {
     public:
      using ForwardingFile::ForwardingFile;
      int WriteAt(int64_t offset, const void* buffer, size_t length) override {
        std::fprintf(stderr, "[%.*s]", static_cast<int>(length), static_cast<const char*>(buffer));
        return ForwardingFile::WriteAt(offset, buffer, length);
      }
    };
    return std::make_unique<Echo>(std::move(file));
  }
};

void WriteTwice(FileSystem& files) {
  std::unique_ptr<File> file;
  files.Open("/f.dat", Access::kWrite, Share::kDenyNone, Disposition::kCreateAlways, &file);
  file->WriteAt(0, "abcd", 4);
  file->WriteAt(4, "efgh", 4);
  std::fprintf(stderr, "survived");
}

TEST(FaultInjectingDeathTest, KillPointEndsTheProcessBeforeTheChangeOrInTheMiddleOfAWrite) {
  MemoryFileSystem disk;
  EchoingFileSystem echo(disk);
  FaultInjectingFileSystem faulty(echo);
  const auto killed = ::testing::ExitedWithCode(FaultInjectingFileSystem::kKilledExitCode);
  faulty.KillAt(3);  // the create, the first write, then the second write
  EXPECT_EXIT(WriteTwice(faulty), killed, "^\\[abcd\\]$");
  faulty.KillAt(3, Tear::kHalfWritten);
  EXPECT_EXIT(WriteTwice(faulty), killed, "^\\[abcd\\]\\[ef\\]$");
  faulty.KillAt(1);
  EXPECT_EXIT(WriteTwice(faulty), killed, "^$");
  faulty.ClearFaults();
  EXPECT_EXIT(
      {
        WriteTwice(faulty);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "survived");
}

}  // namespace
}  // namespace sr::fs
