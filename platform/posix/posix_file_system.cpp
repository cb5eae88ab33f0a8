// The real file system: GBK names become native UTF-8 paths here, and every call reaches the
// kernel through posix_file.cpp or the few path calls below.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <vector>

#include "platform/fs/real_file_system.h"
#include "platform/posix/file_attributes.h"
#include "platform/posix/native_path.h"
#include "platform/posix/posix_error.h"
#include "platform/posix/posix_file.h"

namespace sr::posix {
namespace {

using fs::Access;
using fs::Disposition;
using fs::Path;
using fs::Share;

constexpr size_t kCopyChunk = 1 << 16;

int NativeCurrentDirectory(std::string* cwd) {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return CodeForErrno(errno, ErrnoContext::kPath);
    buffer.resize(buffer.size() * 2);
  }
  *cwd = buffer.data();
  return fs::kOk;
}

// Holds `native` open exclusively, as Windows does while it deletes, renames or overwrites a
// file: any other handle makes this fail with kSharingViolation, and no handle can be opened
// meanwhile. A file that is to be removed or overwritten must be writable (kReadWrite), as on
// Windows, where a read-only file cannot be deleted or replaced.
int HoldExclusively(const std::string& native, Access access, std::unique_ptr<fs::File>* holder) {
  return OpenNativeFile(native, access, Share::kExclusive, Disposition::kOpenExisting, holder);
}

// Makes a rename or a new name in `folder` durable.
void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);  // some file systems cannot sync a folder; the rename itself has been done
  close(fd);
}

int Rename(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) return PathFailureCode(errno, to);
  SyncFolder(fs::Utf8PathParent(to));
  return fs::kOk;
}

// A name beside `native` that no other copy in progress uses.
std::string ScratchName(const std::string& native) {
  static std::atomic<unsigned> counter{0};
  return native + ".sr-copy-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
}

// Copies all of `source` into the new file `fd`, then makes it durable.
int CopyContents(fs::File& source, int fd) {
  std::vector<char> buffer(kCopyChunk);
  int64_t offset = 0;
  for (;;) {
    size_t got = 0;
    if (int code = source.ReadAt(offset, buffer.data(), buffer.size(), &got)) return code;
    if (got == 0) break;
    for (size_t done = 0; done < got;) {
      ssize_t n = write(fd, buffer.data() + done, got - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return CodeForErrno(errno, ErrnoContext::kIo);
      done += n;
    }
    offset += got;
  }
  if (fdatasync(fd) != 0) return CodeForErrno(errno, ErrnoContext::kIo);
  return fs::kOk;
}

// The native path of the file that `path` finally names (symbolic links followed).
int NativeTarget(const Path& path, std::string* target) {
  std::string native;
  if (int code = fs::ToUtf8Path(path, &native)) return code;
  return FollowLinks(native, target);
}

// Gives the file open as `fd` the owner, group and mode of the open file `old`.
int HandOnAttributesOf(fs::File& old, int fd) {
  struct stat info;
  if (fstat(static_cast<PosixFile&>(old).fd(), &info) != 0) {
    return CodeForErrno(errno, ErrnoContext::kIo);
  }
  return HandOnAttributes(info, fd);
}

// What stat says of `path` (links followed); a path that is not there is no failure.
int StatOf(const Path& path, bool* exists, struct stat* info) {
  *exists = false;
  std::string native;
  if (int code = fs::ToUtf8Path(path, &native)) return code;
  if (stat(native.c_str(), info) == 0) {
    *exists = true;
    return fs::kOk;
  }
  if (errno == ENOENT || errno == ENOTDIR) return fs::kOk;
  return CodeForErrno(errno, ErrnoContext::kPath);
}

class PosixFileSystem : public fs::FileSystem {
 public:
  int Open(const Path& path, Access access, Share share, Disposition disposition,
           std::unique_ptr<fs::File>* file) override {
    std::string native;
    if (int code = fs::ToUtf8Path(path, &native)) return code;
    return OpenNativeFile(native, access, share, disposition, file);
  }

  int FullPath(const Path& path, Path* full) override {
    std::string native, cwd;
    if (int code = fs::ToUtf8Path(path, &native)) return code;
    if (native[0] != '/') {
      if (int code = NativeCurrentDirectory(&cwd)) return code;
    }
    return fs::FromUtf8Path(fs::AbsoluteUtf8Path(native, cwd), full);
  }

  // The copy is written beside the target and renamed over it, so a crash leaves either the old
  // file or the whole new one, never a half-copied file.
  int CopyFile(const Path& from, const Path& to) override {
    std::string native_from, native_to;
    if (int code = fs::ToUtf8Path(from, &native_from)) return code;
    if (int code = NativeTarget(to, &native_to)) return code;
    std::unique_ptr<fs::File> source, target;
    if (int code = OpenNativeFile(native_from, Access::kRead, Share::kDenyWrite,
                                  Disposition::kOpenExisting, &source)) {
      return code;
    }
    int code = HoldExclusively(native_to, Access::kReadWrite, &target);
    if (code != fs::kOk && code != fs::kNotFound) return code;
    std::string scratch = ScratchName(native_to);
    // Nobody else may read the copy before it has the permissions of the file it replaces, and
    // a copy that replaces nothing stays its owner's alone.
    int fd = open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return PathFailureCode(errno, scratch);
    code = target != nullptr ? HandOnAttributesOf(*target, fd) : fs::kOk;
    if (code == fs::kOk) code = CopyContents(*source, fd);
    close(fd);
    if (code == fs::kOk) code = Rename(scratch, native_to);
    if (code != fs::kOk) unlink(scratch.c_str());
    return code;
  }

  int ReplaceFile(const Path& from, const Path& to) override {
    std::string native_from, native_to;
    if (int code = fs::ToUtf8Path(from, &native_from)) return code;
    if (int code = NativeTarget(to, &native_to)) return code;
    std::unique_ptr<fs::File> source, target;
    if (int code = HoldExclusively(native_from, Access::kRead, &source)) return code;
    int code = HoldExclusively(native_to, Access::kReadWrite, &target);
    if (code != fs::kOk && code != fs::kNotFound) return code;
    if (target != nullptr) {
      if ((code = HandOnAttributesOf(*target, static_cast<PosixFile&>(*source).fd()))) return code;
    }
    return Rename(native_from, native_to);
  }

  int RemoveFile(const Path& path) override {
    std::string native;
    if (int code = fs::ToUtf8Path(path, &native)) return code;
    std::unique_ptr<fs::File> holder;
    if (int code = HoldExclusively(native, Access::kReadWrite, &holder)) return code;
    if (unlink(native.c_str()) != 0) return PathFailureCode(errno, native);
    // Removing a journal is what completes an in-place save: after a power cut the file must
    // not come back and undo a save already reported as done.
    SyncFolder(fs::Utf8PathParent(native));
    return fs::kOk;
  }

  int Exists(const Path& path, bool* exists) override {
    struct stat info;
    return StatOf(path, exists, &info);
  }

  int IsFolder(const Path& path, bool* folder) override {
    struct stat info;
    bool exists = false;
    const int code = StatOf(path, &exists, &info);
    *folder = exists && S_ISDIR(info.st_mode);
    return code;
  }

  int ResolveLinks(const Path& path, Path* target) override {
    std::string native;
    if (int code = NativeTarget(path, &native)) return code;
    return fs::FromUtf8Path(native, target);
  }

  int MayReplace(const Path& path, bool* allowed) override {
    *allowed = false;
    std::string native;
    if (int code = NativeTarget(path, &native)) return code;
    *allowed = MayReplaceNative(native);
    return fs::kOk;
  }

  int CopyPermissions(const Path& from, const Path& to) override {
    std::string native_from, native_to;
    if (int code = fs::ToUtf8Path(from, &native_from)) return code;
    if (int code = fs::ToUtf8Path(to, &native_to)) return code;
    struct stat old;
    if (stat(native_from.c_str(), &old) != 0) {
      return errno == ENOENT ? fs::kOk : PathFailureCode(errno, native_from);
    }
    int fd = open(native_to.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return PathFailureCode(errno, native_to);
    int code = HandOnAttributes(old, fd);
    close(fd);
    return code;
  }

  int MakeFolder(const Path& path) override {
    std::string native;
    if (int code = fs::ToUtf8Path(path, &native)) return code;
    if (mkdir(native.c_str(), 0700) == 0) {
      SyncFolder(fs::Utf8PathParent(native));
      return fs::kOk;
    }
    if (errno != EEXIST) return PathFailureCode(errno, native);
    struct stat info;
    return stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? fs::kOk
                                                                      : fs::kAccessDenied;
  }

  // A name that GBK cannot hold is some other program's file, and is left out.
  int ListFolder(const Path& path, std::vector<Path>* names) override {
    names->clear();
    std::string native;
    if (int code = fs::ToUtf8Path(path, &native)) return code;
    DIR* folder = opendir(native.c_str());
    if (folder == nullptr) return PathFailureCode(errno, native);
    while (const dirent* entry = readdir(folder)) {
      struct stat info;
      Path name;
      if (fstatat(dirfd(folder), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode) &&
          fs::FromUtf8Path(entry->d_name, &name) == fs::kOk) {
        names->push_back(std::move(name));
      }
    }
    closedir(folder);
    return fs::kOk;
  }

  int GetCurrentDirectory(Path* directory) override {
    std::string cwd;
    if (int code = NativeCurrentDirectory(&cwd)) return code;
    return fs::FromUtf8Path(cwd, directory);
  }

  int SetCurrentDirectory(const Path& directory) override {
    std::string native;
    if (int code = fs::ToUtf8Path(directory, &native)) return code;
    if (chdir(native.c_str()) != 0) return PathFailureCode(errno, native);
    return fs::kOk;
  }
};

}  // namespace
}  // namespace sr::posix

namespace sr::fs {

FileSystem& RealFileSystem() {
  static posix::PosixFileSystem file_system;
  return file_system;
}

void KeepNewFilesPrivate() { umask(077); }

}  // namespace sr::fs
