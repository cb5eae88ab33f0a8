#include "platform/win32/fs/file_attributes.h"

#include <windows.h>

#include <atomic>
#include <vector>

#include "platform/fs/file_system.h"
#include "platform/win32/fs/wide_path.h"
#include "platform/win32/fs/windows_error.h"

namespace sr::win32 {
namespace {

constexpr DWORD kHandedOn = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool Refusal(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
         error == ERROR_PRIVILEGE_NOT_HELD;
}

// Whether the volume keeps no access control lists for the file (FAT, some network shares).
bool NoAccessControl(DWORD error) {
  return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION;
}

int HandOnAccessControl(const std::wstring& from, const std::wstring& to) {
  const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION;
  DWORD size = 0;
  GetFileSecurityW(from.c_str(), what, nullptr, 0, &size);
  if (size == 0) {
    const DWORD error = GetLastError();
    return NoAccessControl(error) ? fs::kOk : CodeForWindowsError(error);
  }
  std::vector<char> descriptor(size);
  if (!GetFileSecurityW(from.c_str(), what, descriptor.data(), size, &size) ||
      !SetFileSecurityW(to.c_str(), what, descriptor.data())) {
    const DWORD error = GetLastError();
    return NoAccessControl(error) ? fs::kOk : CodeForWindowsError(error);
  }
  return fs::kOk;
}

// Creates and at once deletes a file in `folder`: the one sure test that it takes new files,
// whatever decides it (access control, a read-only medium, a share's own rules).
bool FolderTakesFiles(const std::wstring& folder) {
  static std::atomic<unsigned> counter{0};
  const std::wstring separator = folder.ends_with(L'\\') ? L"" : L"\\";
  const std::wstring probe = folder + separator + L".sr-probe-" +
                             std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(counter++);
  HANDLE handle = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    CloseHandle(handle);
    return true;
  }
  return !Refusal(GetLastError());
}

}  // namespace

int FollowLinks(const std::wstring& wide, std::wstring* target) {
  *target = wide;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return fs::kOk;
  }
  HANDLE handle =
      CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return fs::kOk;
    return error == ERROR_CANT_RESOLVE_FILENAME ? fs::kBadPath : CodeForWindowsError(error);
  }
  std::vector<wchar_t> final_path(MAX_PATH);
  DWORD length = 0;
  while ((length = GetFinalPathNameByHandleW(handle, final_path.data(),
                                             static_cast<DWORD>(final_path.size()),
                                             FILE_NAME_NORMALIZED)) >= final_path.size()) {
    final_path.resize(length + 1);
  }
  const DWORD error = GetLastError();
  CloseHandle(handle);
  if (length == 0) return CodeForWindowsError(error);
  *target = std::wstring(final_path.data(), length);
  return fs::kOk;
}

int HandOnAttributes(const std::wstring& from, const std::wstring& to) {
  const DWORD old = GetFileAttributesW(from.c_str());
  if (old == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? fs::kOk : CodeForWindowsError(error);
  }
  if (int code = HandOnAccessControl(from, to)) return code;
  const DWORD now = GetFileAttributesW(to.c_str());
  if (now == INVALID_FILE_ATTRIBUTES) return LastErrorCode();
  const DWORD wanted = (now & ~kHandedOn) | (old & kHandedOn);
  if (wanted != now && !SetFileAttributesW(to.c_str(), wanted)) return LastErrorCode();
  return fs::kOk;
}

bool MayReplaceWide(const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Another handle's share mode says nothing about this process's right to write.
    HANDLE handle = CreateFileW(target.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
    } else if (Refusal(GetLastError())) {
      return false;
    }
  }
  return FolderTakesFiles(WideParent(target));
}

}  // namespace sr::win32
