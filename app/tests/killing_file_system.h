#ifndef SALARY_APP_TESTS_KILLING_FILE_SYSTEM_H_
#define SALARY_APP_TESTS_KILLING_FILE_SYSTEM_H_

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <memory>
#include <utility>

#include "platform/fs/forwarding_file_system.h"
#include "platform/fs/real_file_system.h"

namespace sr::app::testing {

// Counts every call that changes a file and kills the process at call number `kill_at`: before
// the call, or, for a write, after half of its bytes reached the file (a torn write).
class KillingFileSystem : public fs::ForwardingFileSystem {
 public:
  KillingFileSystem(fs::FileSystem& target, int kill_at, bool torn)
      : ForwardingFileSystem(target), kill_at_(kill_at), torn_(torn) {}

  int steps() const { return steps_; }

  // True when this call is the one to die at.
  bool Due() { return ++steps_ == kill_at_; }
  [[noreturn]] static void Die() {
    ::raise(SIGKILL);
    ::_exit(99);
  }
  bool torn() const { return torn_; }

  int Open(const fs::Path& path, fs::Access access, fs::Share share, fs::Disposition disposition,
           std::unique_ptr<fs::File>* file) override {
    if (disposition == fs::Disposition::kCreateAlways && Due()) Die();
    return ForwardingFileSystem::Open(path, access, share, disposition, file);
  }
  int CopyFile(const fs::Path& from, const fs::Path& to) override {
    if (Due()) Die();
    return ForwardingFileSystem::CopyFile(from, to);
  }
  int ReplaceFile(const fs::Path& from, const fs::Path& to) override {
    if (Due()) Die();
    return ForwardingFileSystem::ReplaceFile(from, to);
  }
  int RemoveFile(const fs::Path& path) override {
    if (Due()) Die();
    return ForwardingFileSystem::RemoveFile(path);
  }
  int CopyPermissions(const fs::Path& from, const fs::Path& to) override {
    if (Due()) Die();
    return ForwardingFileSystem::CopyPermissions(from, to);
  }

 protected:
  std::unique_ptr<fs::File> WrapFile(std::unique_ptr<fs::File> file) override;

 private:
  int kill_at_;
  bool torn_;
  int steps_ = 0;
};

class KillingFile : public fs::ForwardingFile {
 public:
  KillingFile(std::unique_ptr<fs::File> target, KillingFileSystem& owner)
      : ForwardingFile(std::move(target)), owner_(owner) {}

  int WriteAt(int64_t offset, const void* buffer, size_t length) override {
    if (owner_.Due()) {
      if (owner_.torn() && length > 1) ForwardingFile::WriteAt(offset, buffer, length / 2);
      KillingFileSystem::Die();
    }
    return ForwardingFile::WriteAt(offset, buffer, length);
  }
  int Truncate(int64_t length) override {
    if (owner_.Due()) KillingFileSystem::Die();
    return ForwardingFile::Truncate(length);
  }
  int Sync() override {
    if (owner_.Due()) KillingFileSystem::Die();
    return ForwardingFile::Sync();
  }

 private:
  KillingFileSystem& owner_;
};

inline std::unique_ptr<fs::File> KillingFileSystem::WrapFile(std::unique_ptr<fs::File> file) {
  return std::make_unique<KillingFile>(std::move(file), *this);
}

// How a child process running a save ended.
enum class ChildEnd { kKilled, kSucceeded, kFailed };

// Runs `save` in a child process whose files are reached through a KillingFileSystem over the
// real one, dying at call `kill_at` (torn: in the middle of a write). `save` returns whether it
// succeeded.
inline ChildEnd RunKilledAt(int kill_at, bool torn,
                            const std::function<bool(fs::FileSystem&)>& save) {
  const pid_t child = ::fork();
  if (child == 0) {
    KillingFileSystem files(fs::RealFileSystem(), kill_at, torn);
    ::_exit(save(files) ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) return ChildEnd::kKilled;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildEnd::kSucceeded : ChildEnd::kFailed;
}

// The number of file-changing calls that `save` makes, run in this process without a kill.
inline int CountFileChanges(const std::function<bool(fs::FileSystem&)>& save) {
  KillingFileSystem counting(fs::RealFileSystem(), INT_MAX, false);
  save(counting);
  return counting.steps();
}

}  // namespace sr::app::testing

#endif  // SALARY_APP_TESTS_KILLING_FILE_SYSTEM_H_
