// What the real file system does on Windows beyond the contract it shares with every file system
// (platform/fs/tests, run here too): devices, read-only and hidden files, and the attributes a
// replacing file inherits.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/fs/real_file_system.h"
#include "platform/fs/tests/file_system_contract.h"
#include "platform/fs/tests/on_disk.h"
#include "platform/fs/tests/test_folder.h"

namespace sr::fs {
namespace {

using testing::FileSystemContract;
using testing::RealFileSystemContract;

// Windows refuses a read or write of a range another handle locked; Wine, which these tests run
// under on Linux, does not.
bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

testing::FileSystemKind OnDiskKind() {
  return {"Win32", &testing::OnDisk::Make, !UnderWine()};
}

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract, ::testing::Values(OnDiskKind()),
                         FileSystemContract::Name);
INSTANTIATE_TEST_SUITE_P(Win32, RealFileSystemContract, ::testing::Values(OnDiskKind()),
                         FileSystemContract::Name);

class WindowsFileSystemTest : public ::testing::Test {
 protected:
  static DWORD Attributes(const Path& path) { return GetFileAttributesW(NativePath(path).c_str()); }
  static void SetAttributes(const Path& path, DWORD attributes) {
    ASSERT_TRUE(SetFileAttributesW(NativePath(path).c_str(), attributes));
  }

  FileSystem& fs_ = RealFileSystem();
  TestFolder folder_;
};

TEST_F(WindowsFileSystemTest, DevicesAreNoFiles) {
  std::unique_ptr<File> file;
  EXPECT_EQ(fs_.Open("NUL", Access::kRead, Share::kDenyNone, Disposition::kOpenExisting, &file),
            kAccessDenied);
  EXPECT_EQ(fs_.Open(folder_ / "NUL", Access::kReadWrite, Share::kDenyNone,
                     Disposition::kCreateAlways, &file),
            kAccessDenied)
      << "a device name in any folder";
  EXPECT_EQ(file, nullptr);
}

TEST_F(WindowsFileSystemTest, ReadOnlyFilesAreNotOverwrittenOrRemoved) {
  WriteWholeFile(folder_ / "mine.dat", "mine");
  WriteWholeFile(folder_ / "kept.dat", "kept");
  SetAttributes(folder_ / "kept.dat", FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(fs_.CopyFile(folder_ / "mine.dat", folder_ / "kept.dat"), kAccessDenied);
  EXPECT_EQ(fs_.ReplaceFile(folder_ / "mine.dat", folder_ / "kept.dat"), kAccessDenied);
  EXPECT_EQ(fs_.RemoveFile(folder_ / "kept.dat"), kAccessDenied);
  EXPECT_EQ(ReadWholeFile(folder_ / "kept.dat"), "kept");
  bool allowed = true;
  ASSERT_EQ(fs_.MayReplace(folder_ / "kept.dat", &allowed), kOk);
  EXPECT_FALSE(allowed);
  ASSERT_EQ(fs_.MayReplace(folder_ / "mine.dat", &allowed), kOk);
  EXPECT_TRUE(allowed);
  ASSERT_EQ(fs_.MayReplace(folder_ / "new.dat", &allowed), kOk);
  EXPECT_TRUE(allowed) << "a new file in a folder that takes files";
  SetAttributes(folder_ / "kept.dat", FILE_ATTRIBUTE_NORMAL);  // so the folder can go
}

// A hidden register stays hidden when a save, a sort or a copy puts a new file in its place.
TEST_F(WindowsFileSystemTest, ReplacedAndCopiedFilesKeepTheirAttributes) {
  for (const bool replace : {false, true}) {
    SCOPED_TRACE(replace ? "ReplaceFile" : "CopyFile");
    WriteWholeFile(folder_ / "old.dat", "old");
    SetAttributes(folder_ / "old.dat", FILE_ATTRIBUTE_HIDDEN);
    WriteWholeFile(folder_ / "new.dat", "new");
    const Path from = folder_ / "new.dat", to = folder_ / "old.dat";
    ASSERT_EQ(replace ? fs_.ReplaceFile(from, to) : fs_.CopyFile(from, to), kOk);
    EXPECT_EQ(ReadWholeFile(to), "new");
    EXPECT_TRUE(Attributes(to) & FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(to, FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileW(NativePath(to).c_str()));
  }
  WriteWholeFile(folder_ / "model.dat", "m");
  WriteWholeFile(folder_ / "copy.dat", "c");
  SetAttributes(folder_ / "model.dat", FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(fs_.CopyPermissions(folder_ / "model.dat", folder_ / "copy.dat"), kOk);
  EXPECT_TRUE(Attributes(folder_ / "copy.dat") & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(fs_.CopyPermissions(folder_ / "missing.dat", folder_ / "copy.dat"), kOk);
}

TEST_F(WindowsFileSystemTest, FullPathsNameTheDriveAndUseSlashes) {
  Path full;
  ASSERT_EQ(fs_.FullPath(folder_ / "a\\..\\b.dat", &full), kOk);
  EXPECT_EQ(full, folder_ / "b.dat");
  ASSERT_EQ(full.size() > 2 && full[1] == ':', true) << full;
  Path target;
  ASSERT_EQ(fs_.ResolveLinks(folder_ / "plain.dat", &target), kOk);
  EXPECT_EQ(target, folder_ / "plain.dat") << "no link: the name itself";
}

}  // namespace
}  // namespace sr::fs
