// What the real file system does on Linux beyond the contract it shares with every file system
// (platform/fs/tests, run here too): modes, owners, symbolic links, special files, system limits,
// and files that the process may not write.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/fs/real_file_system.h"
#include "platform/fs/tests/child_process.h"
#include "platform/fs/tests/file_system_contract.h"
#include "platform/fs/tests/on_disk.h"
#include "platform/fs/tests/test_folder.h"

namespace sr::fs {
namespace {

using testing::FileSystemContract;
using testing::RealFileSystemContract;

constexpr testing::FileSystemKind kOnDisk{"Posix", &testing::OnDisk::Make};

INSTANTIATE_TEST_SUITE_P(Posix, FileSystemContract, ::testing::Values(kOnDisk),
                         FileSystemContract::Name);
INSTANTIATE_TEST_SUITE_P(Posix, RealFileSystemContract, ::testing::Values(kOnDisk),
                         FileSystemContract::Name);

class PosixFileSystemTest : public ::testing::Test {
 protected:
  FileSystem& fs_ = RealFileSystem();
  TestFolder folder_;
};

TEST_F(PosixFileSystemTest, FifoIsRefusedWithoutHanging) {
  ASSERT_EQ(mkfifo((folder_ / "pipe").c_str(), 0600), 0);
  std::unique_ptr<File> file;
  EXPECT_EQ(fs_.Open(folder_ / "pipe", Access::kRead, Share::kDenyNone, Disposition::kOpenExisting,
                     &file),
            kAccessDenied);
}

TEST_F(PosixFileSystemTest, CopyKeepsTheModeOfTheFileItReplaces) {
  WriteWholeFile(folder_ / "from.dat", "new contents");
  WriteWholeFile(folder_ / "to.dat", "old contents that were longer");
  chmod((folder_ / "to.dat").c_str(), 0640);
  ASSERT_EQ(fs_.CopyFile(folder_ / "from.dat", folder_ / "to.dat"), kOk);
  EXPECT_EQ(ReadWholeFile(folder_ / "to.dat"), "new contents");
  struct stat info;
  ASSERT_EQ(stat((folder_ / "to.dat").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// Root writes any file: a child that is to meet refusals gives root up first.
bool GiveUpRoot() { return geteuid() != 0 || setuid(65534) == 0; }

SR_CHILD_ROLE(OverwriteOrRemoveKept) {
  if (!GiveUpRoot()) me.Send(999);
  FileSystem& fs = RealFileSystem();
  me.Send(fs.CopyFile(args[0] + "/mine.dat", args[0] + "/kept.dat"));
  me.Send(fs.ReplaceFile(args[0] + "/mine.dat", args[0] + "/kept.dat"));
  me.Send(fs.RemoveFile(args[0] + "/kept.dat"));
}

TEST_F(PosixFileSystemTest, FilesThatMayNotBeWrittenAreNotOverwrittenOrRemoved) {
  WriteWholeFile(folder_ / "mine.dat", "mine");
  WriteWholeFile(folder_ / "kept.dat", "kept");
  chmod((folder_ / "kept.dat").c_str(), 0444);
  chmod(folder_.path().c_str(), 0777);  // the folder itself may be written
  ChildProcess child("OverwriteOrRemoveKept", {folder_.path()});
  EXPECT_EQ(child.Receive(), kAccessDenied);
  EXPECT_EQ(child.Receive(), kAccessDenied);
  EXPECT_EQ(child.Receive(), kAccessDenied);
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(ReadWholeFile(folder_ / "kept.dat"), "kept");
}

struct stat StatOf(const std::string& native) {
  struct stat info = {};
  EXPECT_EQ(stat(native.c_str(), &info), 0) << native;
  return info;
}

// A register kept at mode 600 must not become readable by everybody when it is saved, sorted or
// copied over: the file in its place keeps its mode, owner and group.
TEST_F(PosixFileSystemTest, ReplacedAndCopiedFilesKeepModeOwnerAndGroup) {
  const bool root = geteuid() == 0;
  for (const bool replace : {false, true}) {
    SCOPED_TRACE(replace ? "ReplaceFile" : "CopyFile");
    WriteWholeFile(folder_ / "old.dat", "old");
    ASSERT_EQ(chmod((folder_ / "old.dat").c_str(), 0600), 0);
    if (root) {
      ASSERT_EQ(chown((folder_ / "old.dat").c_str(), 65534, 65534), 0);
    }
    WriteWholeFile(folder_ / "new.dat", "new");
    ASSERT_EQ(chmod((folder_ / "new.dat").c_str(), 0644), 0);
    const Path from = folder_ / "new.dat", to = folder_ / "old.dat";
    ASSERT_EQ(replace ? fs_.ReplaceFile(from, to) : fs_.CopyFile(from, to), kOk);
    EXPECT_EQ(ReadWholeFile(folder_ / "old.dat"), "new");
    const struct stat info = StatOf(folder_ / "old.dat");
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    if (root) {
      EXPECT_EQ(info.st_uid, 65534u);
      EXPECT_EQ(info.st_gid, 65534u);
    }
  }
  // A file that replaces nothing keeps the mode it was made with.
  WriteWholeFile(folder_ / "new.dat", "new");
  ASSERT_EQ(chmod((folder_ / "new.dat").c_str(), 0640), 0);
  ASSERT_EQ(fs_.ReplaceFile(folder_ / "new.dat", folder_ / "fresh.dat"), kOk);
  EXPECT_EQ(StatOf(folder_ / "fresh.dat").st_mode & 0777, 0640u);
}

TEST_F(PosixFileSystemTest, CopyPermissionsHandsModeOwnerAndGroupToAnotherFile) {
  WriteWholeFile(folder_ / "model.dat", "m");
  WriteWholeFile(folder_ / "copy.dat", "c");
  ASSERT_EQ(chmod((folder_ / "model.dat").c_str(), 0604), 0);
  if (geteuid() == 0) {
    ASSERT_EQ(chown((folder_ / "model.dat").c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(fs_.CopyPermissions(folder_ / "model.dat", folder_ / "copy.dat"), kOk);
  const struct stat model = StatOf(folder_ / "model.dat"), copy = StatOf(folder_ / "copy.dat");
  EXPECT_EQ(copy.st_mode, model.st_mode);
  EXPECT_EQ(copy.st_uid, model.st_uid);
  EXPECT_EQ(copy.st_gid, model.st_gid);
  // No model: the file stays as it is.
  EXPECT_EQ(fs_.CopyPermissions(folder_ / "missing.dat", folder_ / "copy.dat"), kOk);
  EXPECT_EQ(StatOf(folder_ / "copy.dat").st_mode, model.st_mode);
}

// Saving through a symbolic link writes the file the link names; the link stays a link.
TEST_F(PosixFileSystemTest, ReplacingThroughALinkReplacesTheFileItNames) {
  ASSERT_TRUE(std::filesystem::create_directory(folder_ / "real"));
  WriteWholeFile(folder_ / "real/pay.dat", "old");
  ASSERT_EQ(chmod((folder_ / "real/pay.dat").c_str(), 0600), 0);
  ASSERT_EQ(symlink("real/pay.dat", (folder_ / "hop.dat").c_str()), 0);  // relative
  ASSERT_EQ(symlink((folder_ / "hop.dat").c_str(), (folder_ / "link.dat").c_str()), 0);
  Path target;
  ASSERT_EQ(fs_.ResolveLinks(folder_ / "link.dat", &target), kOk);
  EXPECT_EQ(target, folder_ / "real/pay.dat");
  auto is_link = [&](const char* name) {
    struct stat info;
    return lstat((folder_ / name).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
  };
  WriteWholeFile(folder_ / "real/new.dat", "replaced");
  ASSERT_EQ(fs_.ReplaceFile(folder_ / "real/new.dat", folder_ / "link.dat"), kOk);
  EXPECT_TRUE(is_link("link.dat"));
  EXPECT_TRUE(is_link("hop.dat"));
  EXPECT_EQ(ReadWholeFile(folder_ / "real/pay.dat"), "replaced");
  EXPECT_EQ(StatOf(folder_ / "real/pay.dat").st_mode & 0777, 0600u);
  WriteWholeFile(folder_ / "copied.dat", "copied");
  ASSERT_EQ(fs_.CopyFile(folder_ / "copied.dat", folder_ / "link.dat"), kOk);
  EXPECT_TRUE(is_link("link.dat"));
  EXPECT_EQ(ReadWholeFile(folder_ / "real/pay.dat"), "copied");
  EXPECT_EQ(StatOf(folder_ / "real/pay.dat").st_mode & 0777, 0600u);
  // A link to a file not yet there names that file; a loop of links names nothing.
  ASSERT_EQ(symlink("real/later.dat", (folder_ / "later.dat").c_str()), 0);
  ASSERT_EQ(fs_.ResolveLinks(folder_ / "later.dat", &target), kOk);
  EXPECT_EQ(target, folder_ / "real/later.dat");
  ASSERT_EQ(symlink("loop.dat", (folder_ / "loop.dat").c_str()), 0);
  EXPECT_EQ(fs_.ResolveLinks(folder_ / "loop.dat", &target), kBadPath);
  EXPECT_EQ(fs_.ReplaceFile(folder_ / "copied.dat", folder_ / "loop.dat"), kBadPath);
}

SR_CHILD_ROLE(AskMayReplace) {
  if (!GiveUpRoot()) me.Send(999);
  for (const char* name : {"open.dat", "missing.dat", "read-only.dat", "closed/open.dat",
                           "closed/missing.dat", "others.dat"}) {
    bool allowed = false;
    me.Send(RealFileSystem().MayReplace(args[0] + "/" + name, &allowed) == kOk ? allowed : -1);
  }
}

// Root may replace anything on a writable disk, so the user's view is taken by a child process
// that has given up root.
TEST_F(PosixFileSystemTest, MayReplaceAsksWhetherTheFileAndItsFolderMayBeWritten) {
  ASSERT_EQ(chmod(folder_.path().c_str(), 0777), 0);
  ASSERT_TRUE(std::filesystem::create_directory(folder_ / "closed"));
  WriteWholeFile(folder_ / "open.dat", "o");
  WriteWholeFile(folder_ / "read-only.dat", "r");
  WriteWholeFile(folder_ / "closed/open.dat", "c");
  WriteWholeFile(folder_ / "others.dat", "x");
  ASSERT_EQ(chmod((folder_ / "open.dat").c_str(), 0666), 0);
  ASSERT_EQ(chmod((folder_ / "read-only.dat").c_str(), 0444), 0);
  ASSERT_EQ(chmod((folder_ / "closed/open.dat").c_str(), 0666), 0);
  ASSERT_EQ(chmod((folder_ / "closed").c_str(), 0555), 0);
  ASSERT_EQ(chmod((folder_ / "others.dat").c_str(), 0644), 0);
  const bool root = geteuid() == 0;
  ChildProcess child("AskMayReplace", {folder_.path()});
  EXPECT_EQ(child.Receive(), 1) << "a writable file in a writable folder";
  EXPECT_EQ(child.Receive(), 1) << "a new file in a writable folder";
  EXPECT_EQ(child.Receive(), 0) << "mode 444";
  EXPECT_EQ(child.Receive(), 0) << "a folder that takes no files";
  EXPECT_EQ(child.Receive(), 0) << "a new file in that folder";
  // Only root can make a file another user's.
  EXPECT_EQ(child.Receive(), root ? 0 : 1) << "another owner's file";
  EXPECT_EQ(child.Wait(), 0);
}

SR_CHILD_ROLE(ProvokeLimits) {
  FileSystem& fs = RealFileSystem();
  std::unique_ptr<File> file;
  int code =
      fs.Open(args[0], Access::kReadWrite, Share::kDenyNone, Disposition::kCreateAlways, &file);
  signal(SIGXFSZ, SIG_IGN);
  struct rlimit size = {10, 10};
  setrlimit(RLIMIT_FSIZE, &size);
  if (code == kOk) code = file->WriteAt(0, "0123456789abcdef", 16);
  me.Send(code);
  struct rlimit files = {32, 32};
  setrlimit(RLIMIT_NOFILE, &files);
  while (open("/dev/null", O_RDONLY) >= 0) {
  }
  me.Send(fs.Open(args[0], Access::kRead, Share::kDenyNone, Disposition::kOpenExisting, &file));
}

// Running out of descriptors or file size, provoked for real in a child process.
TEST_F(PosixFileSystemTest, SystemLimitsGiveTheirCodes) {
  ChildProcess child("ProvokeLimits", {folder_ / "big.dat"});
  EXPECT_EQ(child.Receive(), kDiskFull);
  EXPECT_EQ(child.Receive(), kTooManyOpen);
  EXPECT_EQ(child.Wait(), 0);
}

SR_CHILD_ROLE(LockThroughReadOnlyDescriptor) {
  if (!GiveUpRoot()) me.Send(999);
  std::unique_ptr<File> file;
  me.Send(RealFileSystem().Open(args[0], Access::kReadWrite, Share::kDenyNone,
                                Disposition::kOpenExisting, &file));
  int code = RealFileSystem().Open(args[0], Access::kRead, Share::kDenyNone,
                                   Disposition::kOpenExisting, &file);
  char buffer[10];
  size_t got = 0;
  if (code == kOk && file->ReadAt(0, buffer, sizeof buffer, &got) != kOk) code = 998;
  if (code == kOk) code = file->Lock(0, 10);
  me.Send(code);
  me.Receive();
}

// A file that the process may not write is opened through a read-only descriptor, which can
// only take shared locks; those must still keep writers and other lockers out.
TEST_F(PosixFileSystemTest, LockThroughReadOnlyDescriptorStopsWriters) {
  const Path path = folder_ / "shared.dat";
  WriteWholeFile(path, std::string(1000, 'x'));
  chmod(path.c_str(), 0444);
  chmod(folder_.path().c_str(), 0755);
  ChildProcess child("LockThroughReadOnlyDescriptor", {path});
  ASSERT_EQ(child.Receive(), kAccessDenied);
  ASSERT_EQ(child.Receive(), kOk);
  chmod(path.c_str(), 0644);
  std::unique_ptr<File> file;
  ASSERT_EQ(fs_.Open(path, Access::kReadWrite, Share::kDenyNone, Disposition::kOpenExisting, &file),
            kOk);
  EXPECT_EQ(file->WriteAt(5, "w", 1), kLockViolation);
  EXPECT_EQ(file->Lock(9, 1), kLockViolation);
  EXPECT_EQ(file->Lock(10, 1), kOk);
  child.Send(1);
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(file->WriteAt(5, "w", 1), kOk);
}

}  // namespace
}  // namespace sr::fs
