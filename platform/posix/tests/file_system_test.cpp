// Names, folders and whole-file operations of the real file system.

#include "platform/fs/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/posix/tests/child_process.h"
#include "platform/posix/tests/test_folder.h"

namespace sr::posix {
namespace {

using namespace sr::fs;

const char* U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class FileSystemTest : public ::testing::Test {
 protected:
  FileSystem& fs_ = RealFileSystem();
  TestFolder folder_;
};

TEST_F(FileSystemTest, GbkNameWithTrailByte5CReachesTheRealFile) {
  ASSERT_TRUE(std::filesystem::create_directory(folder_ / U8(u8"工资")));
  // Backslashes separate; the 0x5C inside "\x95\x5c" (U+661E) does not.
  const Path name = folder_.path() +
                    "\\工资\\\x95\x5c"
                    "1.dat";
  std::unique_ptr<File> file;
  ASSERT_EQ(fs_.Open(name, Access::kReadWrite, Share::kDenyNone, Disposition::kCreateAlways, &file),
            kOk);
  ASSERT_EQ(file->WriteAt(0, "ok", 2), kOk);
  file.reset();
  EXPECT_EQ(ReadWholeFile(folder_ / U8(u8"工资/昞1.dat")), "ok");

  Path full;
  ASSERT_EQ(fs_.FullPath(name, &full), kOk);
  EXPECT_EQ(full, folder_.path() +
                      "/工资/\x95\x5c"
                      "1.dat");
  bool exists = false;
  ASSERT_EQ(fs_.Exists(full, &exists), kOk);
  EXPECT_TRUE(exists);
}

TEST_F(FileSystemTest, BadNamesGiveTheirCodesNeverACrash) {
  std::unique_ptr<File> file;
  auto open = [&](const Path& path) {
    return fs_.Open(path, Access::kRead, Share::kDenyNone, Disposition::kOpenExisting, &file);
  };
  EXPECT_EQ(open(""), kBadPath);
  EXPECT_EQ(open(folder_ / "missing.dat"), kNotFound);
  EXPECT_EQ(open(folder_ / "no-folder/missing.dat"), kBadPath);  // the folder is missing too
  EXPECT_EQ(open(folder_ / std::string(300, 'n')), kBadPath);
  EXPECT_EQ(open(folder_ / "cut\xb1"), kBadPath);  // a lead byte without its trail byte
  EXPECT_EQ(open(folder_.path()), kAccessDenied);  // a folder is not a file
  WriteWholeFile(folder_ / "plain.dat", "x");
  EXPECT_EQ(open(folder_ / "plain.dat/inner.dat"), kBadPath);  // a file is not a folder
  EXPECT_EQ(fs_.Open(folder_.path(), Access::kReadWrite, Share::kDenyNone,
                     Disposition::kCreateAlways, &file),
            kAccessDenied);
  EXPECT_EQ(file, nullptr);
}

TEST_F(FileSystemTest, FifoIsRefusedWithoutHanging) {
  ASSERT_EQ(mkfifo((folder_ / "pipe").c_str(), 0600), 0);
  std::unique_ptr<File> file;
  EXPECT_EQ(fs_.Open(folder_ / "pipe", Access::kRead, Share::kDenyNone, Disposition::kOpenExisting,
                     &file),
            kAccessDenied);
}

TEST_F(FileSystemTest, CurrentDirectoryRoundTripsAndRelativeNamesFollowIt) {
  Path before;
  ASSERT_EQ(fs_.GetCurrentDirectory(&before), kOk);
  ASSERT_TRUE(std::filesystem::create_directory(folder_ / U8(u8"目录")));
  ASSERT_EQ(fs_.SetCurrentDirectory(folder_.path() + "\\目录"), kOk);
  Path now, full;
  EXPECT_EQ(fs_.GetCurrentDirectory(&now), kOk);
  EXPECT_EQ(fs_.FullPath("..\\a\\.\\b.dat", &full), kOk);
  EXPECT_EQ(fs_.SetCurrentDirectory(folder_ / "missing"), kNotFound);
  ASSERT_EQ(fs_.SetCurrentDirectory(before), kOk);
  EXPECT_EQ(now, folder_.path() + "/目录");
  EXPECT_EQ(full, folder_.path() + "/a/b.dat");
}

TEST_F(FileSystemTest, CopyReplacesTheTargetWholeAndKeepsItsPermissions) {
  WriteWholeFile(folder_ / "from.dat", "new contents");
  WriteWholeFile(folder_ / "to.dat", "old contents that were longer");
  chmod((folder_ / "to.dat").c_str(), 0640);
  ASSERT_EQ(fs_.CopyFile(folder_ / "from.dat", folder_ / "to.dat"), kOk);
  EXPECT_EQ(ReadWholeFile(folder_ / "to.dat"), "new contents");
  EXPECT_EQ(ReadWholeFile(folder_ / "from.dat"), "new contents");
  struct stat info;
  ASSERT_EQ(stat((folder_ / "to.dat").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  ASSERT_EQ(fs_.CopyFile(folder_ / "from.dat", folder_ / "fresh.dat"), kOk);
  EXPECT_EQ(ReadWholeFile(folder_ / "fresh.dat"), "new contents");
  EXPECT_EQ(fs_.CopyFile(folder_ / "missing.dat", folder_ / "to.dat"), kNotFound);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 3);  // no scratch copy left behind
}

TEST_F(FileSystemTest, FilesInUseAreNotCopiedOverReplacedOrRemoved) {
  WriteWholeFile(folder_ / "a.dat", "a");
  WriteWholeFile(folder_ / "b.dat", "b");
  std::unique_ptr<File> open;
  ASSERT_EQ(fs_.Open(folder_ / "b.dat", Access::kRead, Share::kDenyNone, Disposition::kOpenExisting,
                     &open),
            kOk);
  EXPECT_EQ(fs_.CopyFile(folder_ / "a.dat", folder_ / "b.dat"), kSharingViolation);
  EXPECT_EQ(fs_.ReplaceFile(folder_ / "a.dat", folder_ / "b.dat"), kSharingViolation);
  EXPECT_EQ(fs_.ReplaceFile(folder_ / "b.dat", folder_ / "c.dat"), kSharingViolation);
  EXPECT_EQ(fs_.RemoveFile(folder_ / "b.dat"), kSharingViolation);
  EXPECT_EQ(ReadWholeFile(folder_ / "b.dat"), "b");
  open.reset();
  EXPECT_EQ(fs_.ReplaceFile(folder_ / "a.dat", folder_ / "b.dat"), kOk);
  EXPECT_EQ(ReadWholeFile(folder_ / "b.dat"), "a");
  bool exists = true;
  ASSERT_EQ(fs_.Exists(folder_ / "a.dat", &exists), kOk);
  EXPECT_FALSE(exists);
  EXPECT_EQ(fs_.RemoveFile(folder_ / "b.dat"), kOk);
  EXPECT_EQ(fs_.RemoveFile(folder_ / "b.dat"), kNotFound);
  EXPECT_EQ(fs_.RemoveFile(folder_.path()), kAccessDenied);
}

TEST_F(FileSystemTest, FilesThatMayNotBeWrittenAreNotOverwrittenOrRemoved) {
  WriteWholeFile(folder_ / "mine.dat", "mine");
  WriteWholeFile(folder_ / "kept.dat", "kept");
  chmod((folder_ / "kept.dat").c_str(), 0444);
  chmod(folder_.path().c_str(), 0777);  // the folder itself may be written
  ChildProcess child([this](ChildProcess& me) {
    if (geteuid() == 0 && setuid(65534) != 0) me.Send(999);  // root writes any file: drop it
    me.Send(fs_.CopyFile(folder_ / "mine.dat", folder_ / "kept.dat"));
    me.Send(fs_.ReplaceFile(folder_ / "mine.dat", folder_ / "kept.dat"));
    me.Send(fs_.RemoveFile(folder_ / "kept.dat"));
  });
  EXPECT_EQ(child.Receive(), kAccessDenied);
  EXPECT_EQ(child.Receive(), kAccessDenied);
  EXPECT_EQ(child.Receive(), kAccessDenied);
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(ReadWholeFile(folder_ / "kept.dat"), "kept");
}

// Running out of descriptors or file size, provoked for real in a child process.
TEST_F(FileSystemTest, SystemLimitsGiveTheirCodes) {
  ChildProcess child([this](ChildProcess& me) {
    std::unique_ptr<File> file;
    int code = fs_.Open(folder_ / "big.dat", Access::kReadWrite, Share::kDenyNone,
                        Disposition::kCreateAlways, &file);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit size = {10, 10};
    setrlimit(RLIMIT_FSIZE, &size);
    if (code == kOk) code = file->WriteAt(0, "0123456789abcdef", 16);
    me.Send(code);
    struct rlimit files = {32, 32};
    setrlimit(RLIMIT_NOFILE, &files);
    while (open("/dev/null", O_RDONLY) >= 0) {
    }
    me.Send(fs_.Open(folder_ / "big.dat", Access::kRead, Share::kDenyNone,
                     Disposition::kOpenExisting, &file));
  });
  EXPECT_EQ(child.Receive(), kDiskFull);
  EXPECT_EQ(child.Receive(), kTooManyOpen);
  EXPECT_EQ(child.Wait(), 0);
}

}  // namespace
}  // namespace sr::posix
