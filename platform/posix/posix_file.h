#ifndef SALARY_PLATFORM_POSIX_POSIX_FILE_H_
#define SALARY_PLATFORM_POSIX_POSIX_FILE_H_

#include <sys/types.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/fs/file_system.h"

namespace sr::posix {

// Offsets from here up are the share-mode lock bytes; files hold data and byte-range locks only
// below. Far above the 2 GiB that a record database can address.
inline constexpr off_t kShareLockBase = off_t{1} << 62;

// Opens the native path `native` with Windows access and share semantics (see posix_file.cpp).
int OpenNativeFile(const std::string& native, fs::Access access, fs::Share share,
                   fs::Disposition disposition, std::unique_ptr<fs::File>* file);

// An open file: one open file description, so its locks are this handle's alone.
class PosixFile : public fs::File {
 public:
  PosixFile(int fd, bool fd_writable, fs::Access access, fs::Share share);
  ~PosixFile() override;
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  int ReadAt(int64_t offset, void* buffer, size_t length, size_t* got) override;
  int WriteAt(int64_t offset, const void* buffer, size_t length) override;
  int Length(int64_t* length) override;
  int Truncate(int64_t length) override;
  int Lock(int64_t offset, int64_t length) override;
  int Unlock(int64_t offset, int64_t length) override;
  int Sync() override;

  int fd() const { return fd_; }

 private:
  bool CanRead() const { return access_ != fs::Access::kWrite; }
  bool CanWrite() const { return access_ != fs::Access::kRead; }
  // kLockViolation when another handle holds a lock that `type` (F_RDLCK for a read, F_WRLCK for
  // a write) conflicts with anywhere in the range.
  int CheckOthersLocks(short type, off_t offset, off_t length) const;
  // The checks before a read or write: access, position, and other handles' locks.
  int BeforeTransfer(bool allowed, int64_t offset, size_t length, short type) const;

  int fd_;
  bool fd_writable_;  // false only for files that this process may not write
  fs::Access access_;
  fs::Share share_;
  std::vector<std::pair<off_t, off_t>> locks_;  // offset, length of each range this handle holds
};

}  // namespace sr::posix

#endif  // SALARY_PLATFORM_POSIX_POSIX_FILE_H_
