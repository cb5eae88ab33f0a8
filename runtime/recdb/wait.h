#ifndef SALARY_RUNTIME_RECDB_WAIT_H_
#define SALARY_RUNTIME_RECDB_WAIT_H_

#include <cstdint>
#include <functional>

#include "platform/fs/file_system.h"

namespace sr::recdb {

// A monotonic clock in milliseconds, and a pause of the calling thread.
int64_t MonotonicMilliseconds();
void SleepMilliseconds(int ms);

// True for the codes of a lock or share that another handle holds (-12, -13).
inline bool IsRefusal(int code) {
  return code == fs::kLockViolation || code == fs::kSharingViolation;
}

// Runs `attempt`, and while it is refused by another holder runs it again every 20 to 39 ms
// until `wait_ms` have passed. Returns the last attempt's code.
int RetryWhileRefused(const std::function<int()>& attempt, int wait_ms);

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_WAIT_H_
