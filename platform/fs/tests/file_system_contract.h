#ifndef SALARY_PLATFORM_FS_TESTS_FILE_SYSTEM_CONTRACT_H_
#define SALARY_PLATFORM_FS_TESTS_FILE_SYSTEM_CONTRACT_H_

// The contract of file_system.h. Every file system meets FileSystemContract within one process:
// reading and writing through one handle, share modes and locks between handles, names, folders
// and whole files. A real file system also meets RealFileSystemContract: names reach the disk, and
// share modes and locks hold against other processes. Each implementation's tests run it over
// their own file system:
//
//   INSTANTIATE_TEST_SUITE_P(Memory, FileSystemContract,
//                            ::testing::Values(FileSystemKind{"Memory", &MakeMemory}),
//                            FileSystemContract::Name);

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "platform/fs/file_system.h"

namespace sr::fs::testing {

// A file system under test and a fresh, empty folder of it, removed afterwards.
class FileSystemUnderTest {
 public:
  virtual ~FileSystemUnderTest() = default;
  virtual FileSystem& files() = 0;
  // The folder's absolute path in ASCII with '/' separators, as FullPath gives it.
  virtual const Path& folder() const = 0;
  // Makes the folder `name` (a GBK name, relative to folder()).
  virtual void MakeFolder(const Path& name) = 0;
};

// An implementation: its name in the test names, and how to make one for a test.
struct FileSystemKind {
  const char* name;
  std::unique_ptr<FileSystemUnderTest> (*make)();
  // Whether a read or write of a range that another handle has locked is refused. Windows and
  // the others refuse it; Wine lets it through (it checks locks against locks only), so those
  // checks wait for a real Windows machine there.
  bool reads_and_writes_honour_locks = true;

  friend void PrintTo(const FileSystemKind& kind, std::ostream* out) { *out << kind.name; }
};

class FileSystemContract : public ::testing::TestWithParam<FileSystemKind> {
 public:
  static std::string Name(const ::testing::TestParamInfo<FileSystemKind>& info) {
    return info.param.name;
  }

 protected:
  void SetUp() override { under_test_ = GetParam().make(); }

  FileSystem& fs() { return under_test_->files(); }
  const Path& folder() const { return under_test_->folder(); }
  Path In(const Path& name) const { return folder() + "/" + name; }

  int Open(const Path& name, Access access, Share share, Disposition disposition,
           std::unique_ptr<File>* file) {
    return fs().Open(In(name), access, share, disposition, file);
  }
  std::unique_ptr<File> MustOpen(const Path& name, Access access, Share share,
                                 Disposition disposition = Disposition::kOpenExisting);
  // Writes a whole file through the seam, and reads one back ("<code N>" when it cannot).
  void WriteWhole(const Path& name, const std::string& bytes);
  std::string ReadWhole(const Path& name);
  // What a read gives: the bytes, or nothing with the code in *code.
  static std::string Read(File& file, int64_t offset, size_t length, int* code = nullptr);
  static int ReadCode(File& file, int64_t offset, size_t length);

  std::unique_ptr<FileSystemUnderTest> under_test_;
};

// The cases only a real file system meets. Its second processes open files through
// RealFileSystem(), so the kind under test must be the platform's real file system; the test
// program links the platform's child process helper (sr_native_child_process).
class RealFileSystemContract : public FileSystemContract {
 protected:
  // "shared.dat" in the folder, 1000 bytes, for the cases between processes.
  void SetUp() override;
  int OpenShared(Access access, Share share, std::unique_ptr<File>* file) {
    return Open("shared.dat", access, share, Disposition::kOpenExisting, file);
  }
  std::unique_ptr<File> MustOpenShared(Access access, Share share) {
    return MustOpen("shared.dat", access, share);
  }

  Path path_;  // the shared file's full path, for the other process
};

}  // namespace sr::fs::testing

#endif  // SALARY_PLATFORM_FS_TESTS_FILE_SYSTEM_CONTRACT_H_
