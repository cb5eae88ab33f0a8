#ifndef SALARY_PLATFORM_FS_TESTS_ON_DISK_H_
#define SALARY_PLATFORM_FS_TESTS_ON_DISK_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/fs/real_file_system.h"
#include "platform/fs/tests/file_system_contract.h"
#include "platform/fs/tests/test_folder.h"

namespace sr::fs::testing {

// The platform's real file system under the contract, in a fresh folder of the system's
// temporary folder.
class OnDisk : public FileSystemUnderTest {
 public:
  FileSystem& files() override { return RealFileSystem(); }
  const Path& folder() const override { return folder_.path(); }
  void MakeFolder(const Path& name) override {
    ASSERT_TRUE(std::filesystem::create_directory(NativePath(folder_ / name)));
  }

  static std::unique_ptr<FileSystemUnderTest> Make() { return std::make_unique<OnDisk>(); }

 private:
  TestFolder folder_;
};

}  // namespace sr::fs::testing

#endif  // SALARY_PLATFORM_FS_TESTS_ON_DISK_H_
