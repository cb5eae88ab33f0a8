#include "platform/posix/posix_error.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/fs/file_system.h"

namespace sr::posix {
namespace {

using namespace sr::fs;

TEST(PosixErrorTest, MapsEachFailureToItsCode) {
  const struct {
    int err;
    int code;
  } cases[] = {
      {ENOENT, kNotFound},      {ENOTDIR, kBadPath},     {ENAMETOOLONG, kBadPath},
      {ELOOP, kBadPath},        {EMFILE, kTooManyOpen},  {ENFILE, kTooManyOpen},
      {EACCES, kAccessDenied},  {EPERM, kAccessDenied},  {EISDIR, kAccessDenied},
      {EROFS, kAccessDenied},   {EBADF, kInvalidHandle}, {EBUSY, kRemoveCurrentDir},
      {EMLINK, kDirectoryFull}, {ESPIPE, kBadSeek},      {EIO, kHardware},
      {ENOSPC, kDiskFull},      {EDQUOT, kDiskFull},     {EFBIG, kDiskFull},
      {EXDEV, kOther},          {ENOMEM, kOther},        {0, kUnknown},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodeForErrno(c.err, ErrnoContext::kPath), c.code) << "errno " << c.err;
  }
}

TEST(PosixErrorTest, SameErrnoMeansDifferentThingsByContext) {
  // A refused lock is a lock violation, never an access or resource failure.
  EXPECT_EQ(CodeForErrno(EAGAIN, ErrnoContext::kLock), kLockViolation);
  EXPECT_EQ(CodeForErrno(EACCES, ErrnoContext::kLock), kLockViolation);
  EXPECT_EQ(CodeForErrno(EAGAIN, ErrnoContext::kIo), kOther);
  EXPECT_EQ(CodeForErrno(EACCES, ErrnoContext::kIo), kAccessDenied);
  // EINVAL: a malformed name for a path call, an impossible position for a read or write.
  EXPECT_EQ(CodeForErrno(EINVAL, ErrnoContext::kPath), kBadPath);
  EXPECT_EQ(CodeForErrno(EINVAL, ErrnoContext::kIo), kBadSeek);
}

}  // namespace
}  // namespace sr::posix
