#ifndef SALARY_PLATFORM_POSIX_POSIX_ERROR_H_
#define SALARY_PLATFORM_POSIX_POSIX_ERROR_H_

namespace sr::posix {

// What the failed call was doing. The same errno means different things to a path lookup, a
// read or write, and a lock request (EINVAL, EAGAIN and EACCES above all).
enum class ErrnoContext {
  kPath,  // open, stat, rename, unlink, chdir, getcwd
  kIo,    // pread, pwrite, ftruncate, fstat, fsync
  kLock,  // F_OFD_SETLK and F_OFD_GETLK
};

// The one place where errno becomes a file code (sr::fs::Code). Anything that fits no code
// gives kOther.
int CodeForErrno(int err, ErrnoContext context);

}  // namespace sr::posix

#endif  // SALARY_PLATFORM_POSIX_POSIX_ERROR_H_
