#include "platform/win32/fs/windows_error.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/fs/file_system.h"

namespace sr::win32 {
namespace {

TEST(WindowsErrorTest, MapsEachFailureToItsCode) {
  EXPECT_EQ(CodeForWindowsError(ERROR_FILE_NOT_FOUND), fs::kNotFound);
  EXPECT_EQ(CodeForWindowsError(ERROR_PATH_NOT_FOUND), fs::kBadPath);
  EXPECT_EQ(CodeForWindowsError(ERROR_INVALID_NAME), fs::kBadPath);
  EXPECT_EQ(CodeForWindowsError(ERROR_TOO_MANY_OPEN_FILES), fs::kTooManyOpen);
  EXPECT_EQ(CodeForWindowsError(ERROR_ACCESS_DENIED), fs::kAccessDenied);
  EXPECT_EQ(CodeForWindowsError(ERROR_WRITE_PROTECT), fs::kAccessDenied);
  EXPECT_EQ(CodeForWindowsError(ERROR_INVALID_HANDLE), fs::kInvalidHandle);
  EXPECT_EQ(CodeForWindowsError(ERROR_CURRENT_DIRECTORY), fs::kRemoveCurrentDir);
  EXPECT_EQ(CodeForWindowsError(ERROR_NEGATIVE_SEEK), fs::kBadSeek);
  EXPECT_EQ(CodeForWindowsError(ERROR_CRC), fs::kHardware);
  EXPECT_EQ(CodeForWindowsError(ERROR_SHARING_VIOLATION), fs::kSharingViolation);
  EXPECT_EQ(CodeForWindowsError(ERROR_LOCK_VIOLATION), fs::kLockViolation);
  EXPECT_EQ(CodeForWindowsError(ERROR_DISK_FULL), fs::kDiskFull);
  EXPECT_EQ(CodeForWindowsError(ERROR_HANDLE_EOF), fs::kEndOfFile);
  EXPECT_EQ(CodeForWindowsError(ERROR_SUCCESS), fs::kUnknown);
  EXPECT_EQ(CodeForWindowsError(ERROR_OUTOFMEMORY), fs::kOther);
}

TEST(WindowsErrorTest, UnlockingWhatIsNotLockedIsTheCallersMistakeOnWindowsAndWine) {
  EXPECT_EQ(CodeForWindowsError(ERROR_NOT_LOCKED, ErrorContext::kUnlock), fs::kUnknown);
  EXPECT_EQ(CodeForWindowsError(ERROR_LOCK_VIOLATION, ErrorContext::kUnlock), fs::kUnknown);
  EXPECT_EQ(CodeForWindowsError(ERROR_INVALID_HANDLE, ErrorContext::kUnlock), fs::kInvalidHandle);
}

}  // namespace
}  // namespace sr::win32
