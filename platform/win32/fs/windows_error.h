#ifndef SALARY_PLATFORM_WIN32_FS_WINDOWS_ERROR_H_
#define SALARY_PLATFORM_WIN32_FS_WINDOWS_ERROR_H_

#include <cstdint>

namespace sr::win32 {

// What the failed call was doing. Unlocking a range this handle did not lock is the caller's
// mistake, whatever the system calls it (Windows: ERROR_NOT_LOCKED; Wine: ERROR_LOCK_VIOLATION).
enum class ErrorContext { kFile, kUnlock };

// The one place where a Windows error code (GetLastError) becomes a file code (sr::fs::Code).
// Anything that fits no code gives kOther; 0 (a call failed without saying why) gives kUnknown.
int CodeForWindowsError(uint32_t error, ErrorContext context = ErrorContext::kFile);

// CodeForWindowsError of GetLastError().
int LastErrorCode(ErrorContext context = ErrorContext::kFile);

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_FS_WINDOWS_ERROR_H_
