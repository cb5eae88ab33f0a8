#ifndef SALARY_PLATFORM_FS_TESTS_TEST_FOLDER_H_
#define SALARY_PLATFORM_FS_TESTS_TEST_FOLDER_H_

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "base/gbk.h"
#include "platform/fs/file_system.h"

namespace sr::fs {

// The native form of a GBK path, for the standard library's files: tests set up and look at
// files behind the seam's back with it.
inline std::filesystem::path NativePath(const Path& path) {
  const std::string utf8 = ToUtf8(path);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
// Its path is plain ASCII, so it is the same in GBK and in the system's own encoding; path()
// separates with '/', as the seam's FullPath does.
class TestFolder {
 public:
  TestFolder() {
    std::random_device random;
    std::filesystem::path folder;
    do {
      folder = std::filesystem::temp_directory_path() / ("sr-fs-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(folder));
    native_ = std::filesystem::absolute(folder);
    const std::u8string utf8 = native_.generic_u8string();
    path_ = FromUtf8(std::string(utf8.begin(), utf8.end()));
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(native_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const Path& path() const { return path_; }
  Path operator/(const Path& name) const { return path_ + "/" + name; }

 private:
  std::filesystem::path native_;
  Path path_;
};

inline std::string ReadWholeFile(const Path& path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteWholeFile(const Path& path, const std::string& bytes) {
  std::ofstream(NativePath(path), std::ios::binary) << bytes;
}

}  // namespace sr::fs

#endif  // SALARY_PLATFORM_FS_TESTS_TEST_FOLDER_H_
