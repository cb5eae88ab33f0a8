#include "runtime/recdb/range_locks.h"

#include "runtime/recdb/errors.h"
#include "runtime/recdb/format.h"
#include "runtime/recdb/wait.h"

namespace sr::recdb {

RangeLocks::~RangeLocks() {
  // The file handle releases its locks when it closes; this only keeps the bookkeeping honest
  // when the handle outlives us.
  for (auto& [offset, length] : whole_ranges_) file_->Unlock(offset, length);
  for (auto& [position, count] : held_) file_->Unlock(position, 1);
}

int RangeLocks::Lock(int64_t position, int wait_ms) {
  if (position < 0) return kDbLockFailed;
  auto it = held_.find(position);
  if (it != held_.end()) {
    ++it->second;
    return kDbOk;
  }
  if (skipping()) return kDbOk;
  int code = file_->Lock(position, 1);
  if (IsRefusal(code) && wait_ms > 0) code = RetryFileLock(position, wait_ms);
  if (code != fs::kOk) return code;
  held_[position] = 1;
  return kDbOk;
}

int RangeLocks::RetryFileLock(int64_t position, int wait_ms) {
  return RetryWhileRefused([&] { return file_->Lock(position, 1); }, wait_ms);
}

int RangeLocks::Unlock(int64_t position) {
  if (position < 0) return kDbUnlockFailed;
  auto it = held_.find(position);
  if (it == held_.end()) return skipping() ? kDbOk : kDbUnlockFailed;
  if (--it->second > 0) return kDbOk;
  held_.erase(it);
  int code = file_->Unlock(position, 1);
  return code == fs::kOk ? kDbOk : kDbUnlockFailed;
}

int RangeLocks::HoldWhole(int wait_ms) {
  int code = HoldWholeOnce();
  if (!IsRefusal(code) || wait_ms <= 0) return code;
  return RetryWhileRefused([&] { return HoldWholeOnce(); }, wait_ms);
}

int RangeLocks::HoldWholeOnce() {
  if (whole_count_ > 0 || exclusive_) {
    ++whole_count_;
    return kDbOk;
  }
  // Lock the gaps between the single bytes already held: a second lock over our own byte would
  // be refused.
  int64_t start = 0;
  std::vector<std::pair<int64_t, int64_t>> ranges;
  for (const auto& [position, count] : held_) {
    if (position > start) ranges.emplace_back(start, position - start);
    start = position + 1;
  }
  if (start < kWholeFileLength) ranges.emplace_back(start, kWholeFileLength - start);
  for (size_t n = 0; n < ranges.size(); ++n) {
    int code = file_->Lock(ranges[n].first, ranges[n].second);
    if (code != fs::kOk) {
      for (size_t m = 0; m < n; ++m) file_->Unlock(ranges[m].first, ranges[m].second);
      return code;
    }
  }
  whole_ranges_ = std::move(ranges);
  whole_count_ = 1;
  return kDbOk;
}

int RangeLocks::ReleaseWhole() {
  if (whole_count_ == 0) return kDbUnlockFailed;
  if (--whole_count_ > 0) return kDbOk;
  int result = kDbOk;
  for (auto& [offset, length] : whole_ranges_) {
    if (file_->Unlock(offset, length) != fs::kOk) result = kDbUnlockFailed;
  }
  whole_ranges_.clear();
  return result;
}

}  // namespace sr::recdb
