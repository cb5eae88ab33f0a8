#include "platform/posix/posix_error.h"

#include <cerrno>

#include "platform/fs/file_system.h"

namespace sr::posix {

using namespace sr::fs;

int CodeForErrno(int err, ErrnoContext context) {
  switch (err) {
    case 0:
      return kUnknown;  // a call failed without saying why
    case ENOENT:
      return kNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EILSEQ:
      return kBadPath;
    case EMFILE:
    case ENFILE:
      return kTooManyOpen;
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      return kAccessDenied;
    case EACCES:
    case EAGAIN:
      // A refused OFD lock reports EAGAIN (or EACCES on some systems); elsewhere EACCES is a
      // permission and EAGAIN a resource shortage.
      if (context == ErrnoContext::kLock) return kLockViolation;
      return err == EACCES ? kAccessDenied : kOther;
    case EBADF:
      return kInvalidHandle;
    case EBUSY:
      // The busy things a file operation meets are folders in use (a mount point, a working
      // directory), which is what this code is about.
      return kRemoveCurrentDir;
    case EMLINK:
      return kDirectoryFull;
    case EINVAL:
      return context == ErrnoContext::kPath ? kBadPath : kBadSeek;
    case ESPIPE:
    case EOVERFLOW:
      return kBadSeek;
    case EIO:
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
    case EREMOTEIO:
      return kHardware;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kDiskFull;
    case EDEADLK:
    case ENOLCK:
      return context == ErrnoContext::kLock ? kLockViolation : kOther;
    default:
      return kOther;
  }
}

}  // namespace sr::posix
