// Windows share modes and byte-range locks on Linux.
//
// Windows refuses an open whose access another handle's share mode denies (or whose share mode
// denies another handle's access) with a sharing violation, and it refuses a read or write of a
// range that another handle has locked with a lock violation. Linux has neither, so every handle
// marks what it does in lock bytes far above the data (from kShareLockBase on):
//
//   kShareLockBase + 0  gate: held exclusively for the moment of an open's check-and-mark step
//   kShareLockBase + 1  read-locked by every handle opened for reading
//   kShareLockBase + 2  read-locked by every handle opened for writing
//   kShareLockBase + 3  read-locked by every handle whose share mode denies reading
//   kShareLockBase + 4  read-locked by every handle whose share mode denies writing
//
// An open takes the gate, sets its own marks, then asks F_OFD_GETLK whether any other handle
// holds the bytes that conflict with it; on a conflict it drops its marks again and reports a
// sharing violation. Marking before checking means two conflicting opens can never both succeed,
// even if the gate were not exclusive (it is shared for a descriptor that cannot write, since a
// write lock needs one). The data-range locks are exclusive write locks, and ReadAt and WriteAt
// first ask F_OFD_GETLK whether another handle locks their range.
//
// The locks are open-file-description locks (F_OFD_SETLK), not classic POSIX locks. Classic
// locks belong to the process: a second handle of the same process would never conflict with the
// first, and closing any descriptor of the file would silently drop all of the process's locks.
// OFD locks belong to the one open() that made them, like a Windows handle, conflict between
// handles of one process as between processes, and vanish only when that handle closes (or its
// process dies), so a crashed program leaves no stale marks behind.

#include "platform/posix/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/native_path.h"
#include "platform/posix/posix_error.h"

namespace sr::posix {
namespace {

using fs::Access;
using fs::Share;

constexpr off_t kGate = kShareLockBase;
constexpr off_t kOpenForRead = kShareLockBase + 1;
constexpr off_t kOpenForWrite = kShareLockBase + 2;
constexpr off_t kDeniesRead = kShareLockBase + 3;
constexpr off_t kDeniesWrite = kShareLockBase + 4;

// The gate is held for a few system calls only; waiting longer means its holder is stuck.
constexpr int kGateTries = 2000;
constexpr useconds_t kGatePause = 1000;

// One OFD lock call on a range: 0 or the errno. (l_pid must be 0 for OFD locks.)
int LockCall(int fd, int command, struct flock* lock) {
  while (fcntl(fd, command, lock) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

struct flock Range(short type, off_t start, off_t length) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = start;
  lock.l_len = length;
  return lock;
}

int SetLock(int fd, short type, off_t start, off_t length) {
  struct flock lock = Range(type, start, length);
  return LockCall(fd, F_OFD_SETLK, &lock);
}

// Whether another open file description holds a lock on the range that conflicts with `type`:
// 0 (with *held set) or the errno.
int OtherHolds(int fd, short type, off_t start, off_t length, bool* held) {
  struct flock lock = Range(type, start, length);
  int err = LockCall(fd, F_OFD_GETLK, &lock);
  *held = err == 0 && lock.l_type != F_UNLCK;
  return err;
}

bool Reads(Access access) { return access != Access::kWrite; }
bool Writes(Access access) { return access != Access::kRead; }
bool DeniesRead(Share share) { return share == Share::kDenyRead || share == Share::kExclusive; }
bool DeniesWrite(Share share) { return share == Share::kDenyWrite || share == Share::kExclusive; }

int TakeGate(int fd, bool fd_writable) {
  short type = fd_writable ? F_WRLCK : F_RDLCK;
  for (int tries = 0;; ++tries) {
    int err = SetLock(fd, type, kGate, 1);
    if (err == 0) return fs::kOk;
    if ((err != EAGAIN && err != EACCES) || tries >= kGateTries) {
      return CodeForErrno(err, ErrnoContext::kLock) == fs::kLockViolation
                 ? fs::kSharingViolation
                 : CodeForErrno(err, ErrnoContext::kLock);
    }
    usleep(kGatePause);
  }
}

// Sets this handle's marks, then looks for another handle that conflicts with them. The gate
// must be held.
int MarkAndCheck(int fd, Access access, Share share) {
  struct Byte {
    bool mark;  // this handle marks the byte
    off_t mark_at;
    off_t conflict_at;  // a byte that another handle must not hold
  };
  const Byte bytes[] = {
      {Reads(access), kOpenForRead, kDeniesRead},
      {Writes(access), kOpenForWrite, kDeniesWrite},
      {DeniesRead(share), kDeniesRead, kOpenForRead},
      {DeniesWrite(share), kDeniesWrite, kOpenForWrite},
  };
  int code = fs::kOk;
  for (const Byte& byte : bytes) {
    if (!byte.mark) continue;
    if (int err = SetLock(fd, F_RDLCK, byte.mark_at, 1)) {
      code = CodeForErrno(err, ErrnoContext::kLock);
      break;
    }
  }
  for (const Byte& byte : bytes) {
    if (code != fs::kOk || !byte.mark) continue;
    bool held = false;
    if (int err = OtherHolds(fd, F_WRLCK, byte.conflict_at, 1, &held)) {
      code = CodeForErrno(err, ErrnoContext::kLock);
    } else if (held) {
      code = fs::kSharingViolation;
    }
  }
  if (code != fs::kOk) SetLock(fd, F_UNLCK, kOpenForRead, 4);
  return code;
}

// Whether the name still leads to the file that `fd` has open (it may have been replaced or
// removed between the open and the gate).
bool StillNamed(int fd, const std::string& native) {
  struct stat by_fd, by_name;
  if (fstat(fd, &by_fd) != 0 || stat(native.c_str(), &by_name) != 0) return false;
  return by_fd.st_dev == by_name.st_dev && by_fd.st_ino == by_name.st_ino;
}

// Opens the descriptor: read-write whenever the file allows, because the share marks need a
// readable descriptor and the gate and data locks a writable one. What the handle may do is
// checked by PosixFile itself.
int OpenDescriptor(const std::string& native, Access access, fs::Disposition disposition, int* fd,
                   bool* writable) {
  // O_NONBLOCK keeps a FIFO from hanging the open; only regular files are accepted anyway.
  int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  if (disposition == fs::Disposition::kCreateAlways) flags |= O_CREAT;
  *writable = true;
  // A new file is its owner's alone from the moment it exists; one that is to be as readable
  // as a file it replaces is given that file's mode afterwards (CopyPermissions, ReplaceFile).
  *fd = open(native.c_str(), flags | O_RDWR, 0600);
  if (*fd < 0 && access == Access::kRead && disposition == fs::Disposition::kOpenExisting &&
      (errno == EACCES || errno == EROFS || errno == ETXTBSY || errno == EPERM ||
       errno == EISDIR)) {
    *writable = false;
    *fd = open(native.c_str(), flags | O_RDONLY);
  }
  if (*fd < 0) return PathFailureCode(errno, native);
  struct stat info;
  int code = fs::kOk;
  if (fstat(*fd, &info) != 0) {
    code = CodeForErrno(errno, ErrnoContext::kIo);
  } else if (!S_ISREG(info.st_mode)) {
    code = fs::kAccessDenied;  // a folder or a device where a file is expected
  } else if (fcntl(*fd, F_SETFL, fcntl(*fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    code = CodeForErrno(errno, ErrnoContext::kIo);
  }
  if (code != fs::kOk) close(*fd);
  return code;
}

// Takes the gate, checks the name, marks and checks. *retry is set when the name had moved on to
// another file meanwhile.
int ApplyShareMode(int fd, bool writable, const std::string& native, Access access, Share share,
                   bool* retry) {
  if (int code = TakeGate(fd, writable)) return code;
  *retry = !StillNamed(fd, native);
  int code = *retry ? fs::kOk : MarkAndCheck(fd, access, share);
  SetLock(fd, F_UNLCK, kGate, 1);
  return code;
}

bool InDataRange(int64_t offset, int64_t length) {
  return offset >= 0 && length >= 0 && offset <= kShareLockBase - length;
}

bool Overlap(off_t a, off_t a_length, off_t b, off_t b_length) {
  return a < b + b_length && b < a + a_length;
}

}  // namespace

int OpenNativeFile(const std::string& native, Access access, Share share,
                   fs::Disposition disposition, std::unique_ptr<fs::File>* file) {
  // Emptying a file is writing it, whatever the handle may do afterwards: the share check must
  // refuse a create while another handle denies writing.
  const bool create = disposition == fs::Disposition::kCreateAlways;
  const Access marked = create && access == Access::kRead ? Access::kReadWrite : access;
  for (int attempt = 0; attempt < 3; ++attempt) {
    int fd = -1;
    bool writable = false;
    if (int code = OpenDescriptor(native, access, disposition, &fd, &writable)) return code;
    bool retry = false;
    int code = ApplyShareMode(fd, writable, native, marked, share, &retry);
    if (code == fs::kOk && !retry && create && ftruncate(fd, 0) != 0) {
      code = CodeForErrno(errno, ErrnoContext::kIo);
    }
    if (code != fs::kOk || retry) {
      close(fd);
      if (code != fs::kOk) return code;
      continue;
    }
    *file = std::make_unique<PosixFile>(fd, writable, access, share);
    return fs::kOk;
  }
  return fs::kSharingViolation;  // the name keeps being replaced under us
}

PosixFile::PosixFile(int fd, bool fd_writable, Access access, Share share)
    : fd_(fd), fd_writable_(fd_writable), access_(access), share_(share) {}

PosixFile::~PosixFile() { close(fd_); }

int PosixFile::CheckOthersLocks(short type, off_t offset, off_t length) const {
  if (share_ == Share::kExclusive) return fs::kOk;  // no other handle can exist
  bool held = false;
  if (int err = OtherHolds(fd_, type, offset, length, &held)) {
    return CodeForErrno(err, ErrnoContext::kLock);
  }
  return held ? fs::kLockViolation : fs::kOk;
}

int PosixFile::BeforeTransfer(bool allowed, int64_t offset, size_t length, short type) const {
  if (!allowed) return fs::kAccessDenied;
  if (length > static_cast<size_t>(kShareLockBase) || !InDataRange(offset, length)) {
    return fs::kBadSeek;
  }
  return length == 0 ? fs::kOk : CheckOthersLocks(type, offset, length);
}

int PosixFile::ReadAt(int64_t offset, void* buffer, size_t length, size_t* got) {
  if (got != nullptr) *got = 0;
  if (int code = BeforeTransfer(CanRead(), offset, length, F_RDLCK)) return code;
  size_t done = 0;
  while (done < length) {
    ssize_t n = pread(fd_, static_cast<char*>(buffer) + done, length - done, offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return CodeForErrno(errno, ErrnoContext::kIo);
    if (n == 0) break;
    done += n;
  }
  if (got != nullptr) *got = done;
  return fs::kOk;
}

int PosixFile::WriteAt(int64_t offset, const void* buffer, size_t length) {
  if (int code = BeforeTransfer(CanWrite(), offset, length, F_WRLCK)) return code;
  size_t done = 0;
  while (done < length) {
    ssize_t n = pwrite(fd_, static_cast<const char*>(buffer) + done, length - done, offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return CodeForErrno(errno, ErrnoContext::kIo);
    if (n == 0) return fs::kDiskFull;
    done += n;
  }
  return fs::kOk;
}

int PosixFile::Length(int64_t* length) {
  struct stat info;
  if (fstat(fd_, &info) != 0) return CodeForErrno(errno, ErrnoContext::kIo);
  *length = info.st_size;
  return fs::kOk;
}

int PosixFile::Truncate(int64_t length) {
  if (!CanWrite()) return fs::kAccessDenied;
  if (!InDataRange(length, 0)) return fs::kBadSeek;
  while (ftruncate(fd_, length) != 0) {
    if (errno != EINTR) return CodeForErrno(errno, ErrnoContext::kIo);
  }
  return fs::kOk;
}

int PosixFile::Lock(int64_t offset, int64_t length) {
  if (length == 0 || !InDataRange(offset, length)) return fs::kBadSeek;
  for (const auto& [held_offset, held_length] : locks_) {
    // Windows refuses a handle's second lock on bytes it already holds; so do we.
    if (Overlap(offset, length, held_offset, held_length)) return fs::kLockViolation;
  }
  int err = 0;
  if (fd_writable_) {
    err = SetLock(fd_, F_WRLCK, offset, length);
  } else {
    // A descriptor that cannot write can only take shared locks: these exclude writers and
    // lockers with writable descriptors, but not other read-only lockers.
    if (int code = CheckOthersLocks(F_WRLCK, offset, length)) return code;
    err = SetLock(fd_, F_RDLCK, offset, length);
  }
  if (err != 0) return CodeForErrno(err, ErrnoContext::kLock);
  locks_.emplace_back(offset, length);
  return fs::kOk;
}

int PosixFile::Unlock(int64_t offset, int64_t length) {
  for (auto it = locks_.begin(); it != locks_.end(); ++it) {
    if (it->first != offset || it->second != length) continue;
    if (int err = SetLock(fd_, F_UNLCK, offset, length)) {
      return CodeForErrno(err, ErrnoContext::kLock);
    }
    locks_.erase(it);
    return fs::kOk;
  }
  return fs::kUnknown;
}

int PosixFile::Sync() {
  while (fdatasync(fd_) != 0) {
    if (errno != EINTR) return CodeForErrno(errno, ErrnoContext::kIo);
  }
  return fs::kOk;
}

}  // namespace sr::posix
