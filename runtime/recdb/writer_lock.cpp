#include "runtime/recdb/writer_lock.h"

#include "runtime/recdb/wait.h"

namespace sr::recdb {

int WriterLock::Take(int wait_ms) {
  if (held_ != nullptr) return fs::kOk;
  // Another writer usually holds it for a few milliseconds: it is tried again soon.
  constexpr int kStepMs = 3;
  const int64_t deadline = MonotonicMilliseconds() + wait_ms;
  for (;;) {
    // Created when missing; an existing lock file is empty and stays so.
    const int code = files_.Open(path_, fs::Access::kReadWrite, fs::Share::kExclusive,
                                 fs::Disposition::kCreateAlways, &held_);
    if (!IsRefusal(code) || MonotonicMilliseconds() >= deadline) return code;
    SleepMilliseconds(kStepMs);
  }
}

}  // namespace sr::recdb
