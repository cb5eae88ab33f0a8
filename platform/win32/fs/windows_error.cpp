#include "platform/win32/fs/windows_error.h"

#include <windows.h>

#include "platform/fs/file_system.h"

namespace sr::win32 {

using namespace sr::fs;

int CodeForWindowsError(uint32_t error, ErrorContext context) {
  if (context == ErrorContext::kUnlock &&
      (error == ERROR_NOT_LOCKED || error == ERROR_LOCK_VIOLATION)) {
    return kUnknown;
  }
  switch (error) {
    case ERROR_SUCCESS:
    case ERROR_NOT_LOCKED:
      return kUnknown;
    case ERROR_FILE_NOT_FOUND:
      return kNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_CANT_RESOLVE_FILENAME:
      return kBadPath;
    case ERROR_TOO_MANY_OPEN_FILES:
      return kTooManyOpen;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_DELETE_PENDING:
    case ERROR_PRIVILEGE_NOT_HELD:
      return kAccessDenied;
    case ERROR_INVALID_HANDLE:
      return kInvalidHandle;
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_BUSY:
      return kRemoveCurrentDir;
    case ERROR_CANNOT_MAKE:
      return kDirectoryFull;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK:
    case ERROR_SEEK_ON_DEVICE:
      return kBadSeek;
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_DEV_NOT_EXIST:
      return kHardware;
    case ERROR_SHARING_VIOLATION:
      return kSharingViolation;
    case ERROR_LOCK_VIOLATION:
      return kLockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
      return kDiskFull;
    case ERROR_HANDLE_EOF:
      return kEndOfFile;
    default:
      return kOther;
  }
}

int LastErrorCode(ErrorContext context) { return CodeForWindowsError(GetLastError(), context); }

}  // namespace sr::win32
