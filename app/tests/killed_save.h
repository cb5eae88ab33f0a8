#ifndef SALARY_APP_TESTS_KILLED_SAVE_H_
#define SALARY_APP_TESTS_KILLED_SAVE_H_

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "platform/fs/fault_injecting_file_system.h"
#include "platform/fs/real_file_system.h"

namespace sr::app::testing {

using Tear = fs::FaultInjectingFileSystem::Tear;

// How a child process running a save ended.
enum class ChildEnd { kKilled, kSucceeded, kFailed };

// Runs `save` in a child process whose files are reached through a fault-injecting file system
// over the real one, killed at file-changing call `kill_at` (counted from 1; a torn write puts
// half its bytes down first). `save` returns whether it succeeded.
inline ChildEnd RunKilledAt(int kill_at, Tear tear,
                            const std::function<bool(fs::FileSystem&)>& save) {
  const pid_t child = ::fork();
  if (child == 0) {
    fs::FaultInjectingFileSystem files(fs::RealFileSystem());
    files.KillAt(kill_at, tear);
    ::_exit(save(files) ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return ChildEnd::kFailed;
  switch (WEXITSTATUS(status)) {
    case fs::FaultInjectingFileSystem::kKilledExitCode:
      return ChildEnd::kKilled;
    case 0:
      return ChildEnd::kSucceeded;
    default:
      return ChildEnd::kFailed;
  }
}

// The number of file-changing calls that `save` makes, run in this process without a kill.
inline int CountFileChanges(const std::function<bool(fs::FileSystem&)>& save) {
  fs::FaultInjectingFileSystem counting(fs::RealFileSystem());
  save(counting);
  return counting.changes();
}

}  // namespace sr::app::testing

#endif  // SALARY_APP_TESTS_KILLED_SAVE_H_
