#ifndef SALARY_APP_WITHHOLDING_TESTS_TEST_FOLDER_H_
#define SALARY_APP_WITHHOLDING_TESTS_TEST_FOLDER_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace sr::app::test {

// An empty folder of the running test's own (ASCII: the same in GBK), named `prefix`, the
// process and the test: tests running at once never share one.
inline std::filesystem::path FreshTestFolder(const std::string& prefix) {
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) /
      (prefix + "_" + std::to_string(::getpid()) + "_" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace sr::app::test

#endif  // SALARY_APP_WITHHOLDING_TESTS_TEST_FOLDER_H_
