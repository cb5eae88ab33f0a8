#ifndef SALARY_PLATFORM_FS_FILE_SYSTEM_H_
#define SALARY_PLATFORM_FS_FILE_SYSTEM_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sr::fs {

// Paths are GBK texts. Both the backslash and the slash separate folders; a GBK trail byte
// 0x5C inside a double-byte character is not a separator. Paths handed back (FullPath,
// GetCurrentDirectory) use '/'. An empty path, a NUL inside it, a byte sequence that is not GBK
// or a name too long for the system gives kBadPath; a missing folder on the way gives kBadPath
// and a missing file in an existing folder kNotFound.
using Path = std::string;

// Result of a file operation: 0 on success, else one of these codes, which are the record
// database's codes for file system failures.
enum Code : int {
  kOk = 0,
  kUnknown = -1,            // generic failure
  kOther = -2,              // any failure without a code of its own
  kNotFound = -3,
  kBadPath = -4,
  kTooManyOpen = -5,
  kAccessDenied = -6,
  kInvalidHandle = -7,
  kRemoveCurrentDir = -8,
  kDirectoryFull = -9,
  kBadSeek = -10,
  kHardware = -11,
  kSharingViolation = -12,
  kLockViolation = -13,
  kDiskFull = -14,
  kEndOfFile = -15,
};

enum class Access { kRead, kWrite, kReadWrite };

// Windows share modes: what other handles of the same file may do while this one is open.
enum class Share { kDenyNone, kDenyRead, kDenyWrite, kExclusive };

enum class Disposition {
  kOpenExisting,  // fails with kNotFound when the file does not exist
  kCreateAlways,  // creates the file, truncating an existing one (only once the share check
                  // has passed: a refused open leaves the file as it was)
};

// An open file handle. Locks and share modes hold against every other handle, in this process
// or another, as on Windows; closing the handle (destroying it) releases all of them, and so does
// the end of its process. One thread uses a handle at a time.
//
// Offsets and lengths address the data range [0, 2^62); anything outside it (a negative offset,
// a range running past 2^62) gives kBadSeek. A call that the handle's access does not allow (a
// read through a write-only handle, a write or truncate through a read-only one) gives
// kAccessDenied.
class File {
 public:
  virtual ~File() = default;

  // Reads up to `length` bytes at `offset` into `buffer`; *got receives the count read, which is
  // short only at the end of the file. A range locked by another handle gives kLockViolation.
  virtual int ReadAt(int64_t offset, void* buffer, size_t length, size_t* got) = 0;
  // Writes all `length` bytes at `offset`, extending the file when needed. A range locked by
  // another handle gives kLockViolation; a full disk gives kDiskFull.
  virtual int WriteAt(int64_t offset, const void* buffer, size_t length) = 0;
  virtual int Length(int64_t* length) = 0;
  // Cuts or extends the file to `length` bytes.
  virtual int Truncate(int64_t length) = 0;
  // Exclusive byte-range lock of `length` > 0 bytes; a range that overlaps one held by another
  // handle, or one this handle already holds, gives kLockViolation at once (no waiting).
  virtual int Lock(int64_t offset, int64_t length) = 0;
  // Releases exactly a range that this handle locked before; anything else gives kUnknown.
  virtual int Unlock(int64_t offset, int64_t length) = 0;
  // Makes written data durable (used before an atomic replace).
  virtual int Sync() = 0;
};

// The file system seam. The real implementation is platform/posix (real_file_system.h); the
// memory file system (memory_file_system.h) and the fault-injecting wrapper
// (fault_injecting_file_system.h) stand in for it in tests. Everything below the programs takes
// the file system it works on as an argument.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens `path`. A share mode of another open handle that forbids `access`, or an access of
  // another handle that `share` forbids, gives kSharingViolation. A folder or anything else that
  // is not a plain file gives kAccessDenied.
  //
  // Every file that this seam makes (a file that Open creates, a copy that CopyFile makes where
  // there was none) is readable and writable by its owner alone from the moment it exists, since
  // the program's files hold personal data; an existing file that Open empties keeps its mode.
  // A file that is to be as readable as the one it replaces gets that one's mode afterwards
  // (CopyPermissions, ReplaceFile), so a mode is only ever widened to one the user chose.
  virtual int Open(const Path& path, Access access, Share share, Disposition disposition,
                   std::unique_ptr<File>* file) = 0;
  // The absolute form of `path` (relative to the current directory), in GBK, worked out from
  // the text alone: "." and ".." are resolved, and the file need not exist.
  virtual int FullPath(const Path& path, Path* full) = 0;

  // CopyFile, ReplaceFile and RemoveFile refuse a file that any handle (in this process or
  // another) has open with kSharingViolation, and a file being overwritten or removed that may
  // not be written with kAccessDenied, as Windows does.
  //
  // A file that CopyFile or ReplaceFile puts in the place of an existing one keeps that file's
  // mode, owner and group (as far as the process may). A `to` that is a symbolic link stays a
  // link: the file it finally names is the one replaced.
  //
  // Copies `from` over `to`, replacing an existing file. The copy is complete before it takes
  // the name `to`: a failure or a crash leaves the old `to` whole.
  virtual int CopyFile(const Path& from, const Path& to) = 0;
  // Replaces `to` by `from` in one step (rename); `from` no longer exists afterwards. Used with
  // File::Sync to save a file without ever leaving a half-written one in its place. `from` must
  // be on the same file system as the file that `to` names (see ResolveLinks).
  virtual int ReplaceFile(const Path& from, const Path& to) = 0;
  // Removes a file (a folder gives kAccessDenied); once this returns, the removal survives a
  // power cut as far as the file system allows.
  virtual int RemoveFile(const Path& path) = 0;
  // Whether `path` names a file or a folder. A missing file or folder on the way is not a
  // failure (*exists is false); a malformed path is.
  virtual int Exists(const Path& path, bool* exists) = 0;
  // Whether `path` names a folder (or a link to one). A missing one is not a failure (*folder is
  // false); a malformed path is.
  virtual int IsFolder(const Path& path, bool* folder) = 0;
  // The file that `path` finally names once symbolic links are followed; `path` itself when it
  // is no link or does not exist (a link to a missing file gives the missing file's path). A
  // save writes its new file beside this one. A loop of links gives kBadPath.
  // A file system without links (the default) gives `path`.
  virtual int ResolveLinks(const Path& path, Path* target) {
    *target = path;
    return kOk;
  }
  // Whether this process may put a new file in the place of the file `path` names: that file
  // (when it exists) may be written and its folder may take new files. A read-only file, folder
  // or medium, or another owner's file, gives false (and kOk). A file system without
  // permissions (the default) allows everything.
  virtual int MayReplace(const Path& path, bool* allowed) {
    *allowed = true;
    return kOk;
  }
  // Gives the file `to` the mode, owner and group of the file `from` (as far as the process may:
  // only a privileged process gives a file away to another owner), so that a new file written
  // to replace `from` is no more readable than `from` even before it takes its place. A `from`
  // that does not exist leaves `to` as it is. The default does nothing.
  virtual int CopyPermissions(const Path& /*from*/, const Path& /*to*/) { return kOk; }

  // Makes the folder `path` in an existing folder, readable by its owner alone; a folder that is
  // there already is left as it is (kOk). A file of that name gives kAccessDenied. A file system
  // without folders of its own making (the default) gives kAccessDenied.
  virtual int MakeFolder(const Path& /*path*/) { return kAccessDenied; }
  // The names (without the folder) of the plain files in the folder `path`, in no particular
  // order; folders and anything else are left out. The default knows of none.
  virtual int ListFolder(const Path& /*path*/, std::vector<Path>* names) {
    names->clear();
    return kOk;
  }

  // The process's current directory, or kBadPath when GBK cannot hold its name.
  virtual int GetCurrentDirectory(Path* directory) = 0;
  virtual int SetCurrentDirectory(const Path& directory) = 0;
};

}  // namespace sr::fs

#endif  // SALARY_PLATFORM_FS_FILE_SYSTEM_H_
