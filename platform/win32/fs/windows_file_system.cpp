// The real file system on Windows: GBK names become UTF-16 paths here, share modes and byte-range
// locks are the system's own, and a save puts its new file in place with one rename that is
// written through to the disk.
#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

#include "platform/fs/file_system.h"
#include "platform/win32/fs/file_attributes.h"
#include "platform/win32/fs/wide_path.h"
#include "platform/win32/fs/windows_error.h"
#include "platform/win32/fs/windows_file.h"

namespace sr::win32 {
namespace {

using fs::Access;
using fs::Disposition;
using fs::Path;
using fs::Share;

constexpr size_t kCopyChunk = 1 << 16;

// Fails with kSharingViolation while any handle has `wide` open; a missing file gives kNotFound.
// The system refuses the rename or delete that follows in the same case, but with a less telling
// code.
int CheckNobodyHasOpen(const std::wstring& wide) {
  std::unique_ptr<fs::File> holder;
  return OpenWideFile(wide, Access::kRead, Share::kExclusive, Disposition::kOpenExisting, &holder);
}

// As CheckNobodyHasOpen, and kAccessDenied for a read-only file, which Windows neither overwrites
// nor removes. The attribute is asked for itself: opening for writing would not tell under Wine
// run by root, which writes any file.
int CheckMayOverwrite(const std::wstring& wide) {
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return fs::kAccessDenied;
  }
  return CheckNobodyHasOpen(wide);
}

// A name beside `wide` that no other copy in progress uses.
std::wstring ScratchName(const std::wstring& wide) {
  static std::atomic<unsigned> counter{0};
  return wide + L".sr-copy-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(counter++);
}

// Copies all of `source` into the new file `scratch` and makes it durable.
int CopyContents(fs::File& source, const std::wstring& scratch) {
  std::unique_ptr<fs::File> target;
  if (int code = OpenWideFile(scratch, Access::kWrite, Share::kExclusive,
                              Disposition::kCreateAlways, &target)) {
    return code;
  }
  std::vector<char> buffer(kCopyChunk);
  for (int64_t offset = 0;;) {
    size_t got = 0;
    if (int code = source.ReadAt(offset, buffer.data(), buffer.size(), &got)) return code;
    if (got == 0) break;
    if (int code = target->WriteAt(offset, buffer.data(), got)) return code;
    offset += static_cast<int64_t>(got);
  }
  return target->Sync();
}

// Puts `from` in the place of `to` with one rename, written through before it returns. The file
// that takes the place of another first gets its access control list and attributes; ReplaceFileW
// would hand them on by itself, but it cannot write through.
int PutInPlace(const std::wstring& from, const std::wstring& to) {
  if (int code = HandOnAttributes(to, from)) return code;
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return PathFailureCode(GetLastError(), to);
  }
  return fs::kOk;
}

// The wide path of the file that `path` finally names (symbolic links followed).
int WideTarget(const Path& path, std::wstring* target) {
  std::wstring wide;
  if (int code = ToWidePath(path, &wide)) return code;
  return FollowLinks(wide, target);
}

class WindowsFileSystem : public fs::FileSystem {
 public:
  int Open(const Path& path, Access access, Share share, Disposition disposition,
           std::unique_ptr<fs::File>* file) override {
    std::wstring wide;
    if (int code = ToWidePath(path, &wide)) return code;
    return OpenWideFile(wide, access, share, disposition, file);
  }

  int FullPath(const Path& path, Path* full) override {
    std::wstring wide;
    if (int code = ToWidePath(path, &wide)) return code;
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD size = 0;
    while ((size = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(),
                                    nullptr)) >= buffer.size()) {
      buffer.resize(size + 1);
    }
    if (size == 0) return LastErrorCode();
    return FromWidePath(std::wstring(buffer.data(), size), full);
  }

  // The copy is written beside the target and renamed over it, so a crash leaves either the old
  // file or the whole new one, never a half-copied file.
  int CopyFile(const Path& from, const Path& to) override {
    std::wstring wide_from, wide_to;
    if (int code = ToWidePath(from, &wide_from)) return code;
    if (int code = WideTarget(to, &wide_to)) return code;
    std::unique_ptr<fs::File> source;
    if (int code = OpenWideFile(wide_from, Access::kRead, Share::kDenyWrite,
                                Disposition::kOpenExisting, &source)) {
      return code;
    }
    int code = CheckMayOverwrite(wide_to);
    if (code != fs::kOk && code != fs::kNotFound) return code;
    const std::wstring scratch = ScratchName(wide_to);
    code = CopyContents(*source, scratch);
    if (code == fs::kOk) code = PutInPlace(scratch, wide_to);
    if (code != fs::kOk) DeleteFileW(scratch.c_str());
    return code;
  }

  int ReplaceFile(const Path& from, const Path& to) override {
    std::wstring wide_from, wide_to;
    if (int code = ToWidePath(from, &wide_from)) return code;
    if (int code = WideTarget(to, &wide_to)) return code;
    if (int code = CheckNobodyHasOpen(wide_from)) return code;
    int code = CheckMayOverwrite(wide_to);
    if (code != fs::kOk && code != fs::kNotFound) return code;
    return PutInPlace(wide_from, wide_to);
  }

  // The file leaves its name by a rename written through to the disk before it is deleted: a
  // plain delete reaches the disk some seconds later, and a journal that came back after a power
  // cut would undo a save already reported as done.
  int RemoveFile(const Path& path) override {
    std::wstring wide;
    if (int code = ToWidePath(path, &wide)) return code;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return fs::kAccessDenied;
    }
    if (int code = CheckMayOverwrite(wide)) return code;
    const std::wstring scratch = ScratchName(wide);
    if (!MoveFileExW(wide.c_str(), scratch.c_str(), MOVEFILE_WRITE_THROUGH)) {
      return PathFailureCode(GetLastError(), wide);
    }
    if (DeleteFileW(scratch.c_str())) return fs::kOk;
    const int code = PathFailureCode(GetLastError(), wide);
    MoveFileExW(scratch.c_str(), wide.c_str(), MOVEFILE_WRITE_THROUGH);  // not removed after all
    return code;
  }

  int Exists(const Path& path, bool* exists) override {
    *exists = false;
    std::wstring wide;
    if (int code = ToWidePath(path, &wide)) return code;
    if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) {
      *exists = true;
      return fs::kOk;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return fs::kOk;
    return CodeForWindowsError(error);
  }

  int IsFolder(const Path& path, bool* folder) override {
    *folder = false;
    std::wstring wide;
    if (int code = ToWidePath(path, &wide)) return code;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      *folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      return fs::kOk;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return fs::kOk;
    return CodeForWindowsError(error);
  }

  int ResolveLinks(const Path& path, Path* target) override {
    std::wstring wide;
    if (int code = WideTarget(path, &wide)) return code;
    return FromWidePath(wide, target);
  }

  int MayReplace(const Path& path, bool* allowed) override {
    *allowed = false;
    std::wstring wide;
    if (int code = WideTarget(path, &wide)) return code;
    *allowed = MayReplaceWide(wide);
    return fs::kOk;
  }

  int CopyPermissions(const Path& from, const Path& to) override {
    std::wstring wide_from, wide_to;
    if (int code = ToWidePath(from, &wide_from)) return code;
    if (int code = ToWidePath(to, &wide_to)) return code;
    return HandOnAttributes(wide_from, wide_to);
  }

  int MakeFolder(const Path& path) override {
    std::wstring wide;
    if (int code = ToWidePath(path, &wide)) return code;
    if (CreateDirectoryW(wide.c_str(), nullptr)) return fs::kOk;
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS) return PathFailureCode(error, wide);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
               ? fs::kOk
               : fs::kAccessDenied;
  }

  // A name that GBK cannot hold is some other program's file, and is left out.
  int ListFolder(const Path& path, std::vector<Path>* names) override {
    names->clear();
    std::wstring wide;
    if (int code = ToWidePath(path, &wide)) return code;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((wide + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND ? fs::kOk : PathFailureCode(error, wide);
    }
    do {
      Path name;
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          FromWidePath(found.cFileName, &name) == fs::kOk) {
        names->push_back(std::move(name));
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return fs::kOk;
  }

  int GetCurrentDirectory(Path* directory) override {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring wide(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, wide.data());
    if (length == 0 || length >= size) return LastErrorCode();
    wide.resize(length);
    return FromWidePath(std::move(wide), directory);
  }

  int SetCurrentDirectory(const Path& directory) override {
    std::wstring wide;
    if (int code = ToWidePath(directory, &wide)) return code;
    return SetCurrentDirectoryW(wide.c_str()) ? fs::kOk : PathFailureCode(GetLastError(), wide);
  }
};

}  // namespace
}  // namespace sr::win32

namespace sr::fs {

FileSystem& RealFileSystem() {
  static win32::WindowsFileSystem file_system;
  return file_system;
}

// A new file takes its folder's access list, which the user's own folders keep to the user.
void KeepNewFilesPrivate() {}

}  // namespace sr::fs
