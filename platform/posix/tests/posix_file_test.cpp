// One handle at a time: reading, writing, length, truncation and the handle's own locks.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/fs/file_system.h"
#include "platform/posix/tests/test_folder.h"

namespace sr::posix {
namespace {

using namespace sr::fs;

class PosixFileTest : public ::testing::Test {
 protected:
  int Open(const std::string& name, Access access, Disposition disposition,
           std::unique_ptr<File>* file) {
    return RealFileSystem().Open(folder_ / name, access, Share::kDenyNone, disposition, file);
  }
  std::unique_ptr<File> Create(const std::string& name) {
    std::unique_ptr<File> file;
    EXPECT_EQ(Open(name, Access::kReadWrite, Disposition::kCreateAlways, &file), kOk);
    return file;
  }
  std::string Read(File& file, int64_t offset, size_t length, int* code = nullptr) {
    std::string bytes(length, '\0');
    size_t got = 99;
    int rc = file.ReadAt(offset, bytes.data(), length, &got);
    if (code != nullptr) *code = rc;
    bytes.resize(rc == kOk ? got : 0);
    return bytes;
  }

  TestFolder folder_;
};

TEST_F(PosixFileTest, WritesAndReadsAtOffsets) {
  auto file = Create("a.dat");
  ASSERT_EQ(file->WriteAt(0, "0123456789", 10), kOk);
  ASSERT_EQ(file->WriteAt(4, "ab", 2), kOk);
  ASSERT_EQ(file->WriteAt(12, "xy", 2), kOk);  // past the end: the gap reads as zeros
  EXPECT_EQ(Read(*file, 2, 4), "23ab");
  EXPECT_EQ(Read(*file, 8, 100), std::string("89\0\0xy", 6));  // short only at the end
  EXPECT_EQ(Read(*file, 50, 4), "");
  int64_t length = 0;
  ASSERT_EQ(file->Length(&length), kOk);
  EXPECT_EQ(length, 14);
  EXPECT_EQ(file->Sync(), kOk);
  file.reset();
  EXPECT_EQ(ReadWholeFile(folder_ / "a.dat"), std::string("0123ab6789\0\0xy", 14));
}

TEST_F(PosixFileTest, TruncateCutsAndExtends) {
  auto file = Create("t.dat");
  ASSERT_EQ(file->WriteAt(0, "abcdef", 6), kOk);
  ASSERT_EQ(file->Truncate(3), kOk);
  EXPECT_EQ(Read(*file, 0, 10), "abc");
  ASSERT_EQ(file->Truncate(5), kOk);
  EXPECT_EQ(Read(*file, 0, 10), std::string("abc\0\0", 5));
  EXPECT_EQ(file->Truncate(-1), kBadSeek);
}

TEST_F(PosixFileTest, CreateAlwaysEmptiesAnExistingFileAndOpenExistingKeepsIt) {
  WriteWholeFile(folder_ / "c.dat", "old contents");
  std::unique_ptr<File> file;
  ASSERT_EQ(Open("c.dat", Access::kRead, Disposition::kOpenExisting, &file), kOk);
  EXPECT_EQ(Read(*file, 0, 3), "old");
  file.reset();
  ASSERT_EQ(Open("c.dat", Access::kRead, Disposition::kCreateAlways, &file), kOk);
  int64_t length = -1;
  ASSERT_EQ(file->Length(&length), kOk);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(Open("missing.dat", Access::kRead, Disposition::kOpenExisting, &file), kNotFound);
}

TEST_F(PosixFileTest, AHandleDoesOnlyWhatItsAccessAllows) {
  WriteWholeFile(folder_ / "r.dat", "data");
  std::unique_ptr<File> reader, writer;
  ASSERT_EQ(Open("r.dat", Access::kRead, Disposition::kOpenExisting, &reader), kOk);
  EXPECT_EQ(reader->WriteAt(0, "x", 1), kAccessDenied);
  EXPECT_EQ(reader->Truncate(0), kAccessDenied);
  ASSERT_EQ(Open("r.dat", Access::kWrite, Disposition::kOpenExisting, &writer), kOk);
  int code = kOk;
  Read(*writer, 0, 1, &code);
  EXPECT_EQ(code, kAccessDenied);
  EXPECT_EQ(ReadWholeFile(folder_ / "r.dat"), "data");
}

TEST_F(PosixFileTest, PositionsOutsideTheDataRangeAreBadSeeks) {
  auto file = Create("s.dat");
  char byte = 0;
  size_t got = 0;
  EXPECT_EQ(file->ReadAt(-1, &byte, 1, &got), kBadSeek);
  EXPECT_EQ(file->WriteAt(-5, "x", 1), kBadSeek);
  EXPECT_EQ(file->WriteAt(int64_t{1} << 62, "x", 1), kBadSeek);  // the share-mode lock bytes
  EXPECT_EQ(file->Lock(-1, 1), kBadSeek);
  EXPECT_EQ(file->Lock(0, 0), kBadSeek);
  EXPECT_EQ(file->Lock(0, -1), kBadSeek);
}

TEST_F(PosixFileTest, UnlockReleasesExactlyWhatWasLocked) {
  auto file = Create("l.dat");
  ASSERT_EQ(file->Lock(16, 1), kOk);
  ASSERT_EQ(file->Lock(100, 50), kOk);
  EXPECT_EQ(file->Lock(16, 1), kLockViolation);  // a handle cannot lock its own bytes twice
  EXPECT_EQ(file->Lock(120, 100), kLockViolation);
  EXPECT_EQ(file->Unlock(100, 10), kUnknown);  // not a range it locked
  EXPECT_EQ(file->Unlock(17, 1), kUnknown);
  EXPECT_EQ(file->Unlock(100, 50), kOk);
  EXPECT_EQ(file->Unlock(100, 50), kUnknown);
  EXPECT_EQ(file->Lock(120, 100), kOk);
  // The handle itself reads and writes through its own locks.
  EXPECT_EQ(file->WriteAt(10, "abcdefgh", 8), kOk);
  EXPECT_EQ(Read(*file, 14, 4), "efgh");
}

}  // namespace
}  // namespace sr::posix
