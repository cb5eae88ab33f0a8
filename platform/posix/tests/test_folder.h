#ifndef SALARY_PLATFORM_POSIX_TESTS_TEST_FOLDER_H_
#define SALARY_PLATFORM_POSIX_TESTS_TEST_FOLDER_H_

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace sr::posix {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
// Its path is plain ASCII, so it is the same in GBK and UTF-8.
class TestFolder {
 public:
  TestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sr-posix-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadWholeFile(const std::string& native) {
  std::ifstream in(native, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteWholeFile(const std::string& native, const std::string& bytes) {
  std::ofstream(native, std::ios::binary) << bytes;
}

}  // namespace sr::posix

#endif  // SALARY_PLATFORM_POSIX_TESTS_TEST_FOLDER_H_
