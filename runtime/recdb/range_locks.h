#ifndef SALARY_RUNTIME_RECDB_RANGE_LOCKS_H_
#define SALARY_RUNTIME_RECDB_RANGE_LOCKS_H_

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "runtime/recdb/cipher_file.h"

namespace sr::recdb {

// The byte-range locks one open database holds on its database file.
//
// Single-byte locks (byte 16 for the record count, a record's first byte for the record) carry
// hold counts, so nested operations on the same position lock the byte once. The whole-database
// lock covers every byte up to 2147483647 that is not already held; while it is held, and always
// in an exclusive share mode, single-byte locks are skipped because nobody else can get in.
class RangeLocks {
 public:
  RangeLocks(CipherFile* file, bool exclusive) : file_(file), exclusive_(exclusive) {}
  ~RangeLocks();

  // Locks the byte at `position`, or raises its hold count. A lock that another handle refuses
  // is tried again every 20 to 39 ms for up to `wait_ms`; then the file system's code is
  // returned (-13 for a lock violation). A negative position gives -28.
  int Lock(int64_t position, int wait_ms = 0);
  // Lowers the hold count and releases the byte when it falls to 0. A position that is not held
  // gives -29 (unless locks are being skipped).
  int Unlock(int64_t position);

  // Takes or raises the whole-database lock. While another handle holds part of the file the
  // lock is tried again for up to `wait_ms`; then the file system's code is returned and
  // nothing is held.
  int HoldWhole(int wait_ms = 0);
  int ReleaseWhole();
  bool whole_held() const { return whole_count_ > 0; }
  int whole_count() const { return whole_count_; }
  // True when nobody else can read or write the file: exclusive share mode or whole lock.
  bool is_private() const { return exclusive_ || whole_count_ > 0; }
  bool exclusive() const { return exclusive_; }

 private:
  bool skipping() const { return is_private(); }
  int RetryFileLock(int64_t position, int wait_ms);
  int HoldWholeOnce();

  CipherFile* file_;
  bool exclusive_;
  std::map<int64_t, int> held_;  // position -> hold count
  int whole_count_ = 0;
  std::vector<std::pair<int64_t, int64_t>> whole_ranges_;  // offset, length
};

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_RANGE_LOCKS_H_
