// <chrono> cannot be compiled with the GBK execution character set (its "µs" suffix has no GBK
// form), so this file is built as UTF-8; it holds no text.
#include "runtime/recdb/wait.h"

#include <chrono>
#include <thread>

namespace sr::recdb {

int64_t MonotonicMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SleepMilliseconds(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace sr::recdb
