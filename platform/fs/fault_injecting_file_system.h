#ifndef SALARY_PLATFORM_FS_FAULT_INJECTING_FILE_SYSTEM_H_
#define SALARY_PLATFORM_FS_FAULT_INJECTING_FILE_SYSTEM_H_

#include <cstdint>
#include <limits>
#include <memory>

#include "platform/fs/forwarding_file_system.h"

namespace sr::fs {

// A file system that passes every call on to another one (the memory file system or the real
// one) and fails chosen calls the way a full disk, a failing device or a process that dies in the
// middle of a save would. Tests use it to reach the failure paths of whatever writes files.
//
// The calls that change a file are counted from 1: an Open that creates (kCreateAlways),
// WriteAt, Truncate, Sync, CopyFile, ReplaceFile, RemoveFile and CopyPermissions. Reads, locks
// and every other call pass untouched and uncounted. Faults are armed relative to the counts at
// the moment they are set, and several may be armed at once. One thread at a time.
class FaultInjectingFileSystem : public ForwardingFileSystem {
 public:
  // The exit code of a process ended at its kill point.
  static constexpr int kKilledExitCode = 86;

  // Whether the write that meets the kill point reaches the file first in part.
  enum class Tear {
    kNone,         // the process dies before the change
    kHalfWritten,  // a write puts down the first half of its bytes, then the process dies
  };

  explicit FaultInjectingFileSystem(FileSystem& target) : ForwardingFileSystem(target) {}

  // The changes and the writes asked for so far, failed ones included.
  int changes() const { return changes_; }
  int writes() const { return writes_; }

  // The `n`th WriteAt from now (1: the next) fails with `code` and writes nothing; the writes
  // before and after it pass.
  void FailWrite(int n, int code = kDiskFull) {
    failing_write_ = writes_ + n;
    failing_code_ = code;
  }
  // A disk with room for `bytes` more written bytes: a write that does not fit fails with
  // kDiskFull and writes nothing. Every byte written counts, over old data as well.
  void LimitRoom(int64_t bytes) { room_ = bytes; }
  // A process that stops after `n` more changes, as if it had died there: those pass, and every
  // later change fails with kHardware and changes nothing. Reads still pass, so the caller runs
  // on and a test can replay every prefix of an operation's changes in one process.
  void StopAfter(int n) { last_change_ = changes_ + n; }
  // Ends the process at the `n`th change from now, before the change is made (a write may be
  // torn), with std::_Exit(kKilledExitCode): as abruptly as a kill, no destructor runs and no
  // buffer is flushed; the system closes the files and drops their locks.
  void KillAt(int n, Tear tear = Tear::kNone) {
    kill_at_ = changes_ + n;
    tear_ = tear;
  }
  // Disarms every fault; the counts go on.
  void ClearFaults() {
    failing_write_ = kNever;
    room_ = kUnlimited;
    last_change_ = kNever;
    kill_at_ = kNever;
  }

  int Open(const Path& path, Access access, Share share, Disposition disposition,
           std::unique_ptr<File>* file) override;
  int CopyFile(const Path& from, const Path& to) override;
  int ReplaceFile(const Path& from, const Path& to) override;
  int RemoveFile(const Path& path) override;
  int CopyPermissions(const Path& from, const Path& to) override;

  // Called by the files this file system wraps, before each change (Write for WriteAt): counts
  // it, ends the process at the kill point, and gives 0 to let it through or the code to fail
  // it with.
  int Change();
  int Write(File& file, int64_t offset, const void* buffer, size_t length);

 protected:
  std::unique_ptr<File> WrapFile(std::unique_ptr<File> file) override;

 private:
  static constexpr int kNever = std::numeric_limits<int>::max();
  static constexpr int64_t kUnlimited = std::numeric_limits<int64_t>::max();

  int changes_ = 0;
  int writes_ = 0;
  int failing_write_ = kNever;
  int failing_code_ = kDiskFull;
  int64_t room_ = kUnlimited;
  int last_change_ = kNever;
  int kill_at_ = kNever;
  Tear tear_ = Tear::kNone;
};

}  // namespace sr::fs

#endif  // SALARY_PLATFORM_FS_FAULT_INJECTING_FILE_SYSTEM_H_
