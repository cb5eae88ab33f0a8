// Share modes and byte-range locks between real processes (between the handles of one process,
// the file system contract checks them).

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "platform/fs/real_file_system.h"
#include "platform/posix/tests/child_process.h"
#include "platform/posix/tests/test_folder.h"

namespace sr::posix {
namespace {

using namespace sr::fs;

class SharingTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteWholeFile(path_, std::string(1000, 'x')); }

  int Open(Access access, Share share, std::unique_ptr<File>* file,
           Disposition disposition = Disposition::kOpenExisting) {
    return RealFileSystem().Open(path_, access, share, disposition, file);
  }
  std::unique_ptr<File> MustOpen(Access access, Share share) {
    std::unique_ptr<File> file;
    EXPECT_EQ(Open(access, share, &file), kOk);
    return file;
  }
  static int ReadCode(File& file, int64_t offset, size_t length) {
    std::string buffer(length, '\0');
    size_t got = 0;
    return file.ReadAt(offset, buffer.data(), length, &got);
  }

  TestFolder folder_;
  std::string path_ = folder_ / "shared.dat";
};

TEST_F(SharingTest, AnotherProcessIsRefusedUntilTheFirstCloses) {
  ChildProcess child([this](ChildProcess& me) {
    std::unique_ptr<File> file;
    me.Send(Open(Access::kReadWrite, Share::kDenyWrite, &file));
    me.Receive();
    file.reset();
    me.Send(kOk);
    me.Receive();
  });
  ASSERT_EQ(child.Receive(), kOk);
  std::unique_ptr<File> file;
  EXPECT_EQ(Open(Access::kReadWrite, Share::kDenyNone, &file), kSharingViolation);
  EXPECT_EQ(Open(Access::kRead, Share::kDenyWrite, &file), kSharingViolation);
  ASSERT_EQ(Open(Access::kRead, Share::kDenyNone, &file), kOk);  // reading is shared
  file.reset();
  child.Send(1);
  ASSERT_EQ(child.Receive(), kOk);
  EXPECT_EQ(Open(Access::kReadWrite, Share::kExclusive, &file), kOk);
  EXPECT_EQ(child.Wait(), 0);
}

TEST_F(SharingTest, ProcessOpeningAgainstOurShareModeIsRefused) {
  auto mine = MustOpen(Access::kReadWrite, Share::kExclusive);
  ChildProcess child([this](ChildProcess& me) {
    std::unique_ptr<File> file;
    me.Send(Open(Access::kRead, Share::kDenyNone, &file));
  });
  EXPECT_EQ(child.Receive(), kSharingViolation);
  EXPECT_EQ(child.Wait(), 0);
}

TEST_F(SharingTest, RangeLockedByAnotherProcessIsRefusedUntilItEnds) {
  ChildProcess child([this](ChildProcess& me) {
    std::unique_ptr<File> file;
    int code = Open(Access::kReadWrite, Share::kDenyNone, &file);
    if (code == kOk) code = file->Lock(100, 10);
    me.Send(code);
    me.Receive();
    _exit(0);  // ends with the lock still held, as a crashed program would
  });
  ASSERT_EQ(child.Receive(), kOk);
  auto file = MustOpen(Access::kReadWrite, Share::kDenyNone);
  EXPECT_EQ(ReadCode(*file, 95, 10), kLockViolation);
  EXPECT_EQ(file->WriteAt(109, "z", 1), kLockViolation);
  EXPECT_EQ(file->Lock(105, 1), kLockViolation);
  EXPECT_EQ(ReadCode(*file, 0, 100), kOk);
  EXPECT_EQ(file->WriteAt(110, "z", 1), kOk);
  child.Send(1);
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(ReadCode(*file, 95, 10), kOk);
  EXPECT_EQ(file->Lock(105, 1), kOk);
}

// A file that the process may not write is opened through a read-only descriptor, which can
// only take shared locks; those must still keep writers and other lockers out.
TEST_F(SharingTest, LockThroughReadOnlyDescriptorStopsWriters) {
  chmod(path_.c_str(), 0444);
  chmod(folder_.path().c_str(), 0755);
  ChildProcess child([this](ChildProcess& me) {
    if (geteuid() == 0 && setuid(65534) != 0) me.Send(999);  // root writes any file: drop it
    std::unique_ptr<File> file;
    me.Send(Open(Access::kReadWrite, Share::kDenyNone, &file));
    int code = Open(Access::kRead, Share::kDenyNone, &file);
    if (code == kOk && ReadCode(*file, 0, 10) != kOk) code = 998;
    if (code == kOk) code = file->Lock(0, 10);
    me.Send(code);
    me.Receive();
  });
  ASSERT_EQ(child.Receive(), kAccessDenied);
  ASSERT_EQ(child.Receive(), kOk);
  chmod(path_.c_str(), 0644);
  auto file = MustOpen(Access::kReadWrite, Share::kDenyNone);
  EXPECT_EQ(file->WriteAt(5, "w", 1), kLockViolation);
  EXPECT_EQ(file->Lock(9, 1), kLockViolation);
  EXPECT_EQ(file->Lock(10, 1), kOk);
  child.Send(1);
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(file->WriteAt(5, "w", 1), kOk);
}

TEST_F(SharingTest, OfTwoProcessesOpeningExclusivelyAtOnceExactlyOneWins) {
  for (int round = 0; round < 50; ++round) {
    auto racer = [this](ChildProcess& me) {
      std::unique_ptr<File> file;
      me.Receive();
      me.Send(Open(Access::kReadWrite, Share::kExclusive, &file));
      me.Receive();
    };
    ChildProcess first(racer), second(racer);
    first.Send(1);
    second.Send(1);
    int a = first.Receive(), b = second.Receive();
    EXPECT_TRUE((a == kOk && b == kSharingViolation) || (a == kSharingViolation && b == kOk))
        << "round " << round << ": " << a << ", " << b;
  }
}

}  // namespace
}  // namespace sr::posix
