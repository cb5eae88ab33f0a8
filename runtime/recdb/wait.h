#ifndef SALARY_RUNTIME_RECDB_WAIT_H_
#define SALARY_RUNTIME_RECDB_WAIT_H_

#include <cstdint>

namespace sr::recdb {

// A monotonic clock in milliseconds, and a pause of the calling thread.
int64_t MonotonicMilliseconds();
void SleepMilliseconds(int ms);

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_WAIT_H_
