#include "platform/fs/tests/file_system_contract.h"

namespace sr::fs::testing {

std::unique_ptr<File> FileSystemContract::MustOpen(const Path& name, Access access, Share share,
                                                   Disposition disposition) {
  std::unique_ptr<File> file;
  EXPECT_EQ(Open(name, access, share, disposition, &file), kOk) << name;
  return file;
}

void FileSystemContract::WriteWhole(const Path& name, const std::string& bytes) {
  std::unique_ptr<File> file =
      MustOpen(name, Access::kWrite, Share::kDenyNone, Disposition::kCreateAlways);
  if (file != nullptr) {
    EXPECT_EQ(file->WriteAt(0, bytes.data(), bytes.size()), kOk) << name;
  }
}

std::string FileSystemContract::ReadWhole(const Path& name) {
  std::unique_ptr<File> file;
  int code = Open(name, Access::kRead, Share::kDenyNone, Disposition::kOpenExisting, &file);
  int64_t length = 0;
  if (code == kOk) code = file->Length(&length);
  std::string bytes = code == kOk ? Read(*file, 0, static_cast<size_t>(length), &code) : "";
  return code == kOk ? bytes : "<code " + std::to_string(code) + ">";
}

std::string FileSystemContract::Read(File& file, int64_t offset, size_t length, int* code) {
  std::string bytes(length, '\0');
  size_t got = 99;
  const int rc = file.ReadAt(offset, bytes.data(), length, &got);
  if (code != nullptr) *code = rc;
  bytes.resize(rc == kOk ? got : 0);
  return bytes;
}

int FileSystemContract::ReadCode(File& file, int64_t offset, size_t length) {
  int code = kOk;
  Read(file, offset, length, &code);
  return code;
}

void RealFileSystemContract::SetUp() {
  FileSystemContract::SetUp();
  WriteWhole("shared.dat", std::string(1000, 'x'));
  path_ = In("shared.dat");
}

namespace {

// One handle at a time: reading, writing, length, truncation and the handle's own locks.

TEST_P(FileSystemContract, WritesAndReadsAtOffsets) {
  auto file = MustOpen("a.dat", Access::kReadWrite, Share::kDenyNone, Disposition::kCreateAlways);
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
  EXPECT_EQ(ReadWhole("a.dat"), std::string("0123ab6789\0\0xy", 14));
}

// A save writes its file, closes it and syncs it through a handle that only reads.
TEST_P(FileSystemContract, SyncThroughAHandleThatOnlyReads) {
  WriteWhole("w.dat", "data");
  auto file = MustOpen("w.dat", Access::kRead, Share::kDenyNone);
  EXPECT_EQ(file->Sync(), kOk);
}

TEST_P(FileSystemContract, TruncateCutsAndExtends) {
  auto file = MustOpen("t.dat", Access::kReadWrite, Share::kDenyNone, Disposition::kCreateAlways);
  ASSERT_EQ(file->WriteAt(0, "abcdef", 6), kOk);
  ASSERT_EQ(file->Truncate(3), kOk);
  EXPECT_EQ(Read(*file, 0, 10), "abc");
  ASSERT_EQ(file->Truncate(5), kOk);
  EXPECT_EQ(Read(*file, 0, 10), std::string("abc\0\0", 5));
  EXPECT_EQ(file->Truncate(-1), kBadSeek);
}

TEST_P(FileSystemContract, CreateAlwaysEmptiesAnExistingFileAndOpenExistingKeepsIt) {
  WriteWhole("c.dat", "old contents");
  auto file = MustOpen("c.dat", Access::kRead, Share::kDenyNone);
  EXPECT_EQ(Read(*file, 0, 3), "old");
  file = MustOpen("c.dat", Access::kRead, Share::kDenyNone, Disposition::kCreateAlways);
  int64_t length = -1;
  ASSERT_EQ(file->Length(&length), kOk);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(Open("missing.dat", Access::kRead, Share::kDenyNone, Disposition::kOpenExisting, &file),
            kNotFound);
}

TEST_P(FileSystemContract, AHandleDoesOnlyWhatItsAccessAllows) {
  WriteWhole("r.dat", "data");
  auto reader = MustOpen("r.dat", Access::kRead, Share::kDenyNone);
  EXPECT_EQ(reader->WriteAt(0, "x", 1), kAccessDenied);
  EXPECT_EQ(reader->Truncate(0), kAccessDenied);
  auto writer = MustOpen("r.dat", Access::kWrite, Share::kDenyNone);
  EXPECT_EQ(ReadCode(*writer, 0, 1), kAccessDenied);
  reader.reset();
  writer.reset();
  EXPECT_EQ(ReadWhole("r.dat"), "data");
}

TEST_P(FileSystemContract, PositionsOutsideTheDataRangeAreBadSeeks) {
  auto file = MustOpen("s.dat", Access::kReadWrite, Share::kDenyNone, Disposition::kCreateAlways);
  char byte = 0;
  size_t got = 0;
  EXPECT_EQ(file->ReadAt(-1, &byte, 1, &got), kBadSeek);
  EXPECT_EQ(file->WriteAt(-5, "x", 1), kBadSeek);
  EXPECT_EQ(file->WriteAt(int64_t{1} << 62, "x", 1), kBadSeek);
  EXPECT_EQ(file->Lock(-1, 1), kBadSeek);
  EXPECT_EQ(file->Lock(0, 0), kBadSeek);
  EXPECT_EQ(file->Lock(0, -1), kBadSeek);
}

TEST_P(FileSystemContract, UnlockReleasesExactlyWhatWasLocked) {
  auto file = MustOpen("l.dat", Access::kReadWrite, Share::kDenyNone, Disposition::kCreateAlways);
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

// Share modes and byte-range locks between handles.

TEST_P(FileSystemContract, SecondHandleFollowsWindowsShareRules) {
  WriteWhole("shared.dat", std::string(1000, 'x'));
  const struct {
    Access first_access;
    Share first_share;
    Access second_access;
    Share second_share;
    int expected;
  } cases[] = {
      {Access::kRead, Share::kDenyNone, Access::kReadWrite, Share::kDenyNone, kOk},
      {Access::kReadWrite, Share::kDenyWrite, Access::kRead, Share::kDenyNone, kOk},
      {Access::kReadWrite, Share::kDenyWrite, Access::kWrite, Share::kDenyNone, kSharingViolation},
      {Access::kRead, Share::kDenyNone, Access::kRead, Share::kDenyWrite, kOk},
      {Access::kWrite, Share::kDenyNone, Access::kRead, Share::kDenyWrite, kSharingViolation},
      {Access::kRead, Share::kDenyNone, Access::kWrite, Share::kDenyRead, kSharingViolation},
      {Access::kWrite, Share::kDenyRead, Access::kWrite, Share::kDenyNone, kOk},
      {Access::kWrite, Share::kDenyRead, Access::kRead, Share::kDenyNone, kSharingViolation},
      {Access::kRead, Share::kExclusive, Access::kRead, Share::kDenyNone, kSharingViolation},
      {Access::kRead, Share::kDenyNone, Access::kRead, Share::kExclusive, kSharingViolation},
  };
  int index = 0;
  for (const auto& c : cases) {
    auto first = MustOpen("shared.dat", c.first_access, c.first_share);
    std::unique_ptr<File> second;
    EXPECT_EQ(
        Open("shared.dat", c.second_access, c.second_share, Disposition::kOpenExisting, &second),
        c.expected)
        << "case " << index;
    EXPECT_EQ(second != nullptr, c.expected == kOk) << "case " << index;
    ++index;
  }
}

TEST_P(FileSystemContract, RefusedOpenLeavesNoTraceAndCreateDoesNotTruncate) {
  WriteWhole("shared.dat", std::string(1000, 'x'));
  auto first = MustOpen("shared.dat", Access::kReadWrite, Share::kDenyWrite);
  std::unique_ptr<File> second;
  EXPECT_EQ(
      Open("shared.dat", Access::kReadWrite, Share::kDenyNone, Disposition::kCreateAlways, &second),
      kSharingViolation);
  EXPECT_EQ(
      Open("shared.dat", Access::kRead, Share::kDenyNone, Disposition::kCreateAlways, &second),
      kSharingViolation)
      << "creating is writing, whatever access the caller asks for";
  int64_t length = 0;
  ASSERT_EQ(first->Length(&length), kOk);
  EXPECT_EQ(length, 1000);
  // The refused open must not have left marks that block a compatible open later.
  first.reset();
  EXPECT_NE(MustOpen("shared.dat", Access::kReadWrite, Share::kExclusive), nullptr);
}

TEST_P(FileSystemContract, LocksHoldBetweenHandles) {
  WriteWhole("shared.dat", std::string(1000, 'x'));
  auto a = MustOpen("shared.dat", Access::kReadWrite, Share::kDenyNone);
  auto b = MustOpen("shared.dat", Access::kReadWrite, Share::kDenyNone);
  ASSERT_EQ(a->Lock(16, 1), kOk);
  if (GetParam().reads_and_writes_honour_locks) {
    EXPECT_EQ(ReadCode(*b, 10, 10), kLockViolation);
    EXPECT_EQ(b->WriteAt(16, "y", 1), kLockViolation);
  }
  EXPECT_EQ(b->Lock(0, 100), kLockViolation);
  EXPECT_EQ(ReadCode(*b, 0, 16), kOk);  // the bytes before the lock are free
  EXPECT_EQ(b->WriteAt(17, "y", 1), kOk);
  EXPECT_EQ(ReadCode(*a, 16, 1), kOk);
  ASSERT_EQ(a->Unlock(16, 1), kOk);
  EXPECT_EQ(ReadCode(*b, 10, 10), kOk);
  ASSERT_EQ(a->Lock(16, 1), kOk);
  a.reset();  // closing a handle releases its locks
  EXPECT_EQ(b->Lock(0, 100), kOk);
}

// Names, folders and whole files.

TEST_P(FileSystemContract, GbkNameWithTrailByte5CIsOneCharacter) {
  under_test_->MakeFolder("工资");
  // Backslashes separate; the 0x5C inside "\x95\x5c" (U+661E) does not.
  const Path name = folder() +
                    "\\工资\\\x95\x5c"
                    "1.dat";
  auto file = MustOpen(name.substr(folder().size() + 1), Access::kReadWrite, Share::kDenyNone,
                       Disposition::kCreateAlways);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->WriteAt(0, "ok", 2), kOk);
  file.reset();
  EXPECT_EQ(ReadWhole("工资/\x95\x5c"
                      "1.dat"),
            "ok");
  Path full;
  ASSERT_EQ(fs().FullPath(name, &full), kOk);
  EXPECT_EQ(full, folder() +
                      "/工资/\x95\x5c"
                      "1.dat");
  bool exists = false;
  ASSERT_EQ(fs().Exists(full, &exists), kOk);
  EXPECT_TRUE(exists);
}

TEST_P(FileSystemContract, BadNamesGiveTheirCodesNeverACrash) {
  std::unique_ptr<File> file;
  auto open = [&](const Path& path) {
    return fs().Open(path, Access::kRead, Share::kDenyNone, Disposition::kOpenExisting, &file);
  };
  EXPECT_EQ(open(""), kBadPath);
  EXPECT_EQ(open(In("missing.dat")), kNotFound);
  EXPECT_EQ(open(In("no-folder/missing.dat")), kBadPath);  // the folder is missing too
  EXPECT_EQ(open(In(std::string(300, 'n'))), kBadPath);
  EXPECT_EQ(open(In("cut\xb1")), kBadPath);  // a lead byte without its trail byte
  EXPECT_EQ(open(folder()), kAccessDenied);  // a folder is not a file
  WriteWhole("plain.dat", "x");
  EXPECT_EQ(open(In("plain.dat/inner.dat")), kBadPath);  // a file is not a folder
  EXPECT_EQ(
      fs().Open(folder(), Access::kReadWrite, Share::kDenyNone, Disposition::kCreateAlways, &file),
      kAccessDenied);
  EXPECT_EQ(file, nullptr);
  bool exists = true;
  EXPECT_EQ(fs().Exists(In("no-folder/missing.dat"), &exists), kOk);
  EXPECT_FALSE(exists);
  EXPECT_EQ(fs().Exists("", &exists), kBadPath);
  bool is_folder = false;  // a folder, a file and a missing name, each by its own answer
  for (const auto& [path, expected] : {std::pair{folder(), true}, {In("plain.dat"), false},
                                       {In("no-folder/missing.dat"), false}}) {
    EXPECT_EQ(fs().IsFolder(path, &is_folder), kOk) << path;
    EXPECT_EQ(is_folder, expected) << path;
  }
}

TEST_P(FileSystemContract, CurrentDirectoryRoundTripsAndRelativeNamesFollowIt) {
  Path before;
  ASSERT_EQ(fs().GetCurrentDirectory(&before), kOk);
  under_test_->MakeFolder("目录");
  ASSERT_EQ(fs().SetCurrentDirectory(folder() + "\\目录"), kOk);
  Path now, full;
  EXPECT_EQ(fs().GetCurrentDirectory(&now), kOk);
  EXPECT_EQ(fs().FullPath("..\\a\\.\\b.dat", &full), kOk);
  EXPECT_EQ(fs().SetCurrentDirectory(In("missing")), kNotFound);
  WriteWhole("目录/here.dat", "relative");
  std::unique_ptr<File> file;
  const int relative =
      fs().Open("here.dat", Access::kRead, Share::kDenyNone, Disposition::kOpenExisting, &file);
  file.reset();
  ASSERT_EQ(fs().SetCurrentDirectory(before), kOk);
  EXPECT_EQ(now, folder() + "/目录");
  EXPECT_EQ(full, folder() + "/a/b.dat");
  EXPECT_EQ(relative, kOk);
}

TEST_P(FileSystemContract, CopyReplacesTheTargetWhole) {
  WriteWhole("from.dat", "new contents");
  WriteWhole("to.dat", "old contents that were longer");
  ASSERT_EQ(fs().CopyFile(In("from.dat"), In("to.dat")), kOk);
  EXPECT_EQ(ReadWhole("to.dat"), "new contents");
  EXPECT_EQ(ReadWhole("from.dat"), "new contents");
  ASSERT_EQ(fs().CopyFile(In("from.dat"), In("fresh.dat")), kOk);
  EXPECT_EQ(ReadWhole("fresh.dat"), "new contents");
  EXPECT_EQ(fs().CopyFile(In("missing.dat"), In("to.dat")), kNotFound);
  EXPECT_EQ(fs().CopyFile(In("from.dat"), In("no-folder/to.dat")), kBadPath);
  EXPECT_EQ(fs().CopyFile(In("from.dat"), folder()), kAccessDenied);
}

TEST_P(FileSystemContract, FilesInUseAreNotCopiedOverReplacedOrRemoved) {
  WriteWhole("a.dat", "a");
  WriteWhole("b.dat", "b");
  auto open = MustOpen("b.dat", Access::kRead, Share::kDenyNone);
  EXPECT_EQ(fs().CopyFile(In("a.dat"), In("b.dat")), kSharingViolation);
  EXPECT_EQ(fs().ReplaceFile(In("a.dat"), In("b.dat")), kSharingViolation);
  EXPECT_EQ(fs().ReplaceFile(In("b.dat"), In("c.dat")), kSharingViolation);
  EXPECT_EQ(fs().RemoveFile(In("b.dat")), kSharingViolation);
  EXPECT_EQ(Read(*open, 0, 10), "b");
  open.reset();
  EXPECT_EQ(fs().ReplaceFile(In("a.dat"), In("b.dat")), kOk);
  EXPECT_EQ(ReadWhole("b.dat"), "a");
  bool exists = true;
  ASSERT_EQ(fs().Exists(In("a.dat"), &exists), kOk);
  EXPECT_FALSE(exists);
  EXPECT_EQ(fs().RemoveFile(In("b.dat")), kOk);
  EXPECT_EQ(fs().RemoveFile(In("b.dat")), kNotFound);
  EXPECT_EQ(fs().RemoveFile(folder()), kAccessDenied);
}

}  // namespace
}  // namespace sr::fs::testing
