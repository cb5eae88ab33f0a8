#ifndef SALARY_PLATFORM_WIN32_AUTOMATION_TESTS_TEST_CLASS_H_
#define SALARY_PLATFORM_WIN32_AUTOMATION_TESTS_TEST_CLASS_H_

#include <string>

namespace sr::win32::test {

// The test object of test_dispatch.cpp registered under `prog_id` in HKEY_CLASSES_ROOT (Wine
// looks for classes nowhere else) with a class id of its own, for as long as this lives.
class TestClass {
 public:
  explicit TestClass(const std::wstring& prog_id);
  ~TestClass();
  TestClass(const TestClass&) = delete;
  TestClass& operator=(const TestClass&) = delete;

  // False when the registry refused the keys.
  bool registered() const { return registered_; }

 private:
  std::wstring prog_id_;
  std::wstring clsid_;
  bool registered_ = false;
};

// A ProgID that no other test process uses.
std::wstring UniqueProgId();

}  // namespace sr::win32::test

#endif  // SALARY_PLATFORM_WIN32_AUTOMATION_TESTS_TEST_CLASS_H_
