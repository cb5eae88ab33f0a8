// The contract's cases that only a real file system meets: a GBK name reaches the file the
// system shows, and share modes and byte-range locks hold against another process. The other
// process is a second, real one (a fork on Linux, the test program started again on Windows)
// that opens its files through RealFileSystem().

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/fs/real_file_system.h"
#include "platform/fs/tests/child_process.h"
#include "platform/fs/tests/file_system_contract.h"
#include "platform/fs/tests/test_folder.h"

namespace sr::fs::testing {
namespace {

int OpenIn(const Path& path, Access access, Share share, std::unique_ptr<File>* file) {
  return RealFileSystem().Open(path, access, share, Disposition::kOpenExisting, file);
}

TEST_P(RealFileSystemContract, GbkNameWithTrailByte5CReachesTheRealFile) {
  under_test_->MakeFolder("工资");
  WriteWhole("工资\\\x95\x5c"
             "1.dat",
             "ok");
  // What the system itself shows under the name's Unicode form (U+661E for 0x95 0x5C).
  const std::u8string native = u8"工资/昞1.dat";
  EXPECT_EQ(ReadWholeFile(In(FromUtf8(std::string(native.begin(), native.end())))), "ok");
}

SR_CHILD_ROLE(HoldDenyingWritesUntilTold) {
  std::unique_ptr<File> file;
  me.Send(OpenIn(args[0], Access::kReadWrite, Share::kDenyWrite, &file));
  me.Receive();
  file.reset();
  me.Send(kOk);
  me.Receive();
}

TEST_P(RealFileSystemContract, AnotherProcessIsRefusedUntilTheFirstCloses) {
  ChildProcess child("HoldDenyingWritesUntilTold", {path_});
  ASSERT_EQ(child.Receive(), kOk);
  std::unique_ptr<File> file;
  EXPECT_EQ(OpenShared(Access::kReadWrite, Share::kDenyNone, &file), kSharingViolation);
  EXPECT_EQ(OpenShared(Access::kRead, Share::kDenyWrite, &file), kSharingViolation);
  ASSERT_EQ(OpenShared(Access::kRead, Share::kDenyNone, &file), kOk);  // reading is shared
  file.reset();
  child.Send(1);
  ASSERT_EQ(child.Receive(), kOk);
  EXPECT_EQ(OpenShared(Access::kReadWrite, Share::kExclusive, &file), kOk);
  EXPECT_EQ(child.Wait(), 0);
}

SR_CHILD_ROLE(OpenForReading) {
  std::unique_ptr<File> file;
  me.Send(OpenIn(args[0], Access::kRead, Share::kDenyNone, &file));
}

TEST_P(RealFileSystemContract, ProcessOpeningAgainstOurShareModeIsRefused) {
  auto mine = MustOpenShared(Access::kReadWrite, Share::kExclusive);
  ChildProcess child("OpenForReading", {path_});
  EXPECT_EQ(child.Receive(), kSharingViolation);
  EXPECT_EQ(child.Wait(), 0);
}

SR_CHILD_ROLE(LockAndVanishWhenTold) {
  std::unique_ptr<File> file;
  int code = OpenIn(args[0], Access::kReadWrite, Share::kDenyNone, &file);
  if (code == kOk) code = file->Lock(100, 10);
  me.Send(code);
  me.Receive();
  ChildProcess::Vanish();  // with the lock still held, as a crashed program would
}

TEST_P(RealFileSystemContract, RangeLockedByAnotherProcessIsRefusedUntilItEnds) {
  ChildProcess child("LockAndVanishWhenTold", {path_});
  ASSERT_EQ(child.Receive(), kOk);
  auto file = MustOpenShared(Access::kReadWrite, Share::kDenyNone);
  EXPECT_EQ(file->Lock(105, 1), kLockViolation);
  EXPECT_EQ(file->Lock(95, 10), kLockViolation);
  if (GetParam().reads_and_writes_honour_locks) {
    EXPECT_EQ(ReadCode(*file, 95, 10), kLockViolation);
    EXPECT_EQ(file->WriteAt(109, "z", 1), kLockViolation);
  }
  EXPECT_EQ(ReadCode(*file, 0, 100), kOk);
  EXPECT_EQ(file->WriteAt(110, "z", 1), kOk);
  child.Send(1);
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(ReadCode(*file, 95, 10), kOk);
  EXPECT_EQ(file->Lock(105, 1), kOk);
}

constexpr Access kAccesses[] = {Access::kRead, Access::kWrite, Access::kReadWrite};
constexpr Share kShares[] = {Share::kDenyNone, Share::kDenyRead, Share::kDenyWrite,
                             Share::kExclusive};

// Windows' rule: each handle's access must be allowed by the other's share mode.
bool Compatible(Access first_access, Share first_share, Access second_access,
                Share second_share) {
  auto allows = [](Share share, Access access) {
    const bool reads = access != Access::kWrite, writes = access != Access::kRead;
    const bool denies_read = share == Share::kDenyRead || share == Share::kExclusive;
    const bool denies_write = share == Share::kDenyWrite || share == Share::kExclusive;
    return !(reads && denies_read) && !(writes && denies_write);
  };
  return allows(first_share, second_access) && allows(second_share, first_access);
}

// Tries every access with every share mode, one after the other, and sends a bit per try that
// was refused as a sharing violation (or the code of any other failure).
SR_CHILD_ROLE(TryEveryOpen) {
  int refused = 0, bit = 0;
  for (Share share : kShares) {
    for (Access access : kAccesses) {
      std::unique_ptr<File> file;
      const int code = OpenIn(args[0], access, share, &file);
      if (code == kSharingViolation) refused |= 1 << bit;
      if (code != kOk && code != kSharingViolation) refused = code;
      if (refused < 0) break;
      ++bit;
    }
  }
  me.Send(refused);
}

TEST_P(RealFileSystemContract, EveryShareModeMeetsEveryOtherAsOnWindowsAcrossProcesses) {
  for (Share held_share : kShares) {
    for (Access held_access : kAccesses) {
      auto held = MustOpenShared(held_access, held_share);
      int expected = 0, bit = 0;
      for (Share share : kShares) {
        for (Access access : kAccesses) {
          if (!Compatible(held_access, held_share, access, share)) expected |= 1 << bit;
          ++bit;
        }
      }
      ChildProcess child("TryEveryOpen", {path_});
      EXPECT_EQ(child.Receive(), expected)
          << "held with share mode " << static_cast<int>(held_share) << " and access "
          << static_cast<int>(held_access);
      EXPECT_EQ(child.Wait(), 0);
    }
  }
}

SR_CHILD_ROLE(OpenExclusivelyWhenTold) {
  std::unique_ptr<File> file;
  me.Receive();
  me.Send(OpenIn(args[0], Access::kReadWrite, Share::kExclusive, &file));
  me.Receive();
}

TEST_P(RealFileSystemContract, OfTwoProcessesOpeningExclusivelyAtOnceExactlyOneWins) {
  for (int round = 0; round < 50; ++round) {
    ChildProcess first("OpenExclusivelyWhenTold", {path_}),
        second("OpenExclusivelyWhenTold", {path_});
    first.Send(1);
    second.Send(1);
    int a = first.Receive(), b = second.Receive();
    EXPECT_TRUE((a == kOk && b == kSharingViolation) || (a == kSharingViolation && b == kOk))
        << "round " << round << ": " << a << ", " << b;
  }
}

}  // namespace
}  // namespace sr::fs::testing
