// An open file on Windows: a handle whose share mode and byte-range locks the system enforces
// against every other handle, in this process or another.
#include "platform/win32/fs/windows_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/fs/wide_path.h"
#include "platform/win32/fs/windows_error.h"

namespace sr::win32 {
namespace {

using fs::Access;
using fs::Disposition;
using fs::Share;

// The data range of the file seam, the same on every platform.
constexpr int64_t kDataLimit = int64_t{1} << 62;
// ReadFile and WriteFile take a DWORD count: larger transfers go in parts.
constexpr size_t kMaxPart = size_t{1} << 30;

bool OutsideData(int64_t offset, int64_t length) {
  return offset < 0 || length < 0 || offset > kDataLimit - length;
}

OVERLAPPED At(int64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

class WindowsFile : public fs::File {
 public:
  WindowsFile(HANDLE handle, Access access) : handle_(handle), access_(access) {}
  ~WindowsFile() override { CloseHandle(handle_); }
  WindowsFile(const WindowsFile&) = delete;
  WindowsFile& operator=(const WindowsFile&) = delete;

  int ReadAt(int64_t offset, void* buffer, size_t length, size_t* got) override {
    *got = 0;
    if (OutsideData(offset, static_cast<int64_t>(length))) return fs::kBadSeek;
    if (access_ == Access::kWrite) return fs::kAccessDenied;
    auto* bytes = static_cast<char*>(buffer);
    while (*got < length) {
      OVERLAPPED at = At(offset + static_cast<int64_t>(*got));
      const auto part = static_cast<DWORD>(std::min(length - *got, kMaxPart));
      DWORD done = 0;
      if (!ReadFile(handle_, bytes + *got, part, &done, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        return LastErrorCode();
      }
      if (done == 0) break;
      *got += done;
    }
    return fs::kOk;
  }

  int WriteAt(int64_t offset, const void* buffer, size_t length) override {
    if (OutsideData(offset, static_cast<int64_t>(length))) return fs::kBadSeek;
    if (access_ == Access::kRead) return fs::kAccessDenied;
    const auto* bytes = static_cast<const char*>(buffer);
    for (size_t written = 0; written < length;) {
      OVERLAPPED at = At(offset + static_cast<int64_t>(written));
      const auto part = static_cast<DWORD>(std::min(length - written, kMaxPart));
      DWORD done = 0;
      if (!WriteFile(handle_, bytes + written, part, &done, &at)) return LastErrorCode();
      written += done;
    }
    return fs::kOk;
  }

  int Length(int64_t* length) override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_, &size)) return LastErrorCode();
    *length = size.QuadPart;
    return fs::kOk;
  }

  int Truncate(int64_t length) override {
    if (OutsideData(length, 0)) return fs::kBadSeek;
    if (access_ == Access::kRead) return fs::kAccessDenied;
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = length;
    if (!SetFileInformationByHandle(handle_, FileEndOfFileInfo, &end, sizeof end)) {
      return LastErrorCode();
    }
    return fs::kOk;
  }

  int Lock(int64_t offset, int64_t length) override {
    if (length <= 0 || OutsideData(offset, length)) return fs::kBadSeek;
    OVERLAPPED at = At(offset);
    if (!LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                    static_cast<DWORD>(length), static_cast<DWORD>(length >> 32), &at)) {
      return LastErrorCode();
    }
    return fs::kOk;
  }

  int Unlock(int64_t offset, int64_t length) override {
    if (length <= 0 || OutsideData(offset, length)) return fs::kBadSeek;
    OVERLAPPED at = At(offset);
    if (!UnlockFileEx(handle_, 0, static_cast<DWORD>(length), static_cast<DWORD>(length >> 32),
                      &at)) {
      return LastErrorCode(ErrorContext::kUnlock);
    }
    return fs::kOk;
  }

  // Windows flushes only through a handle that may write, while the seam's Sync also makes
  // durable what other handles wrote (a save opens its finished file again to sync it), so a
  // handle that may only read flushes through a writing twin of itself.
  int Sync() override {
    if (FlushFileBuffers(handle_)) return fs::kOk;
    if (GetLastError() != ERROR_ACCESS_DENIED || access_ != Access::kRead) return LastErrorCode();
    HANDLE writer = ReOpenFile(handle_, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0);
    if (writer == INVALID_HANDLE_VALUE) return LastErrorCode();
    const int code = FlushFileBuffers(writer) ? fs::kOk : LastErrorCode();
    CloseHandle(writer);
    return code;
  }

 private:
  HANDLE handle_;
  // What the caller asked for: a created file's handle may write even when asked to read.
  Access access_;
};

DWORD AccessFlags(Access access) {
  switch (access) {
    case Access::kRead:
      return GENERIC_READ;
    case Access::kWrite:
      return GENERIC_WRITE;
    case Access::kReadWrite:
      break;
  }
  return GENERIC_READ | GENERIC_WRITE;
}

// The seam's share modes are the system's. No other handle may delete or rename an open file (no
// FILE_SHARE_DELETE), as Windows programs have always assumed.
DWORD ShareFlags(Share share) {
  switch (share) {
    case Share::kDenyNone:
      return FILE_SHARE_READ | FILE_SHARE_WRITE;
    case Share::kDenyRead:
      return FILE_SHARE_WRITE;
    case Share::kDenyWrite:
      return FILE_SHARE_READ;
    case Share::kExclusive:
      break;
  }
  return 0;
}

}  // namespace

int OpenWideFile(const std::wstring& wide, Access access, Share share, Disposition disposition,
                 std::unique_ptr<fs::File>* file) {
  const bool create = disposition == Disposition::kCreateAlways;
  // Emptying a file is writing it: with write access the share check refuses a create while
  // another handle denies writing (Wine lets a read-only CREATE_ALWAYS empty such a file).
  const DWORD desired = AccessFlags(access) | (create ? GENERIC_WRITE : 0);
  HANDLE handle =
      CreateFileW(wide.c_str(), desired, ShareFlags(share), nullptr,
                  create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return PathFailureCode(GetLastError(), wide);
  if (GetFileType(handle) != FILE_TYPE_DISK) {  // a console, a pipe, a device name such as NUL
    CloseHandle(handle);
    return fs::kAccessDenied;
  }
  *file = std::make_unique<WindowsFile>(handle, access);
  return fs::kOk;
}

}  // namespace sr::win32
