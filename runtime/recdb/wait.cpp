// <chrono> cannot be compiled with the GBK execution character set (its "µs" suffix has no GBK
// form), so this file is built as UTF-8; it holds no text.
#include "runtime/recdb/wait.h"

#include <chrono>
#include <random>
#include <thread>

namespace sr::recdb {

int64_t MonotonicMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SleepMilliseconds(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int RetryWhileRefused(const std::function<int()>& attempt, int wait_ms) {
  const int64_t deadline = MonotonicMilliseconds() + wait_ms;
  static thread_local std::minstd_rand random(12345);
  for (;;) {
    int code = attempt();
    if (!IsRefusal(code) || MonotonicMilliseconds() >= deadline) return code;
    SleepMilliseconds(static_cast<int>(20 + random() % 20));
  }
}

}  // namespace sr::recdb
