#include <gtest/gtest.h>

#include <memory>

#include "platform/fs/forwarding_file_system.h"
#include "platform/posix/tests/test_folder.h"

namespace sr::fs {
namespace {

// Fails one chosen write (the Nth over all files) with a full disk; everything else reaches the
// real file system.
class FullDiskFileSystem : public ForwardingFileSystem {
 public:
  FullDiskFileSystem(FileSystem& target, int failing_write)
      : ForwardingFileSystem(target), writes_left_(failing_write) {}

 private:
  class FullDiskFile : public ForwardingFile {
   public:
    FullDiskFile(std::unique_ptr<File> target, int* writes_left)
        : ForwardingFile(std::move(target)), writes_left_(writes_left) {}
    int WriteAt(int64_t offset, const void* buffer, size_t length) override {
      if (--*writes_left_ == 0) return kDiskFull;
      return ForwardingFile::WriteAt(offset, buffer, length);
    }

   private:
    int* writes_left_;
  };

  std::unique_ptr<File> WrapFile(std::unique_ptr<File> file) override {
    return std::make_unique<FullDiskFile>(std::move(file), &writes_left_);
  }

  int writes_left_;
};

TEST(ForwardingFileSystemTest, InjectsAFaultIntoTheNthWriteOnly) {
  posix::TestFolder folder;
  FullDiskFileSystem fs(RealFileSystem(), 2);
  std::unique_ptr<File> file;
  ASSERT_EQ(fs.Open(folder / "f.dat", Access::kReadWrite, Share::kDenyNone,
                    Disposition::kCreateAlways, &file),
            kOk);
  EXPECT_EQ(file->WriteAt(0, "ab", 2), kOk);
  EXPECT_EQ(file->WriteAt(2, "cd", 2), kDiskFull);
  EXPECT_EQ(file->WriteAt(2, "ef", 2), kOk);
  int64_t length = 0;
  EXPECT_EQ(file->Length(&length), kOk);
  EXPECT_EQ(length, 4);
  file.reset();
  EXPECT_EQ(posix::ReadWholeFile(folder / "f.dat"), "abef");
  bool exists = false;
  EXPECT_EQ(fs.Exists(folder / "f.dat", &exists), kOk);
  EXPECT_TRUE(exists);
}

}  // namespace
}  // namespace sr::fs
