#include "runtime/recdb/record_cache.h"

#include <algorithm>
#include <cstring>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/errors.h"
#include "runtime/recdb/format.h"

namespace sr::recdb {

int RecordCache::Begin() {
  int code = file_->Length(&file_length_);
  if (code != fs::kOk) return code;
  uint8_t bytes[8];
  code = file_->ReadExact(kCountOffset, bytes, 8, kDbCountReadFailed);
  if (code != kDbOk) return code;
  count_ = GetI32(bytes);
  serial_ = GetI32(bytes + 4);
  file_count_ = std::max(count_, 0);
  length_ = file_length_;
  header_dirty_ = false;
  window_.clear();
  window_start_ = data_start_;
  dirty_from_ = dirty_to_ = 0;
  active_ = true;
  return kDbOk;
}

int RecordCache::End() {
  if (!active_) return kDbOk;
  int code = Flush();
  active_ = false;
  window_.clear();
  window_.shrink_to_fit();
  return code;
}

int RecordCache::Flush() {
  if (dirty_to_ > dirty_from_) {
    int code = file_->WriteAt(dirty_from_, window_.data() + (dirty_from_ - window_start_),
                              dirty_to_ - dirty_from_);
    if (code != fs::kOk) return code;
    file_length_ = std::max(file_length_, dirty_to_);
    length_ = std::max(length_, file_length_);
    dirty_from_ = dirty_to_ = 0;
  }
  if (header_dirty_) {
    uint8_t bytes[8];
    PutI32(bytes, count_);
    PutI32(bytes + 4, serial_);
    int code = file_->WriteAt(kCountOffset, bytes, 8);
    if (code != fs::kOk) return code;
    header_dirty_ = false;
    file_count_ = count_;
  }
  return kDbOk;
}

int RecordCache::Load(int64_t offset, bool* loaded) {
  *loaded = false;
  int code = Flush();
  if (code != kDbOk) return code;
  window_.clear();
  if (offset < data_start_ || record_size_ > kLoadBytes) return kDbOk;
  int64_t start = data_start_ + (offset - data_start_) / record_size_ * record_size_;
  int64_t records = std::min<int64_t>(kLoadBytes / record_size_, (file_length_ - start) / record_size_);
  if (records <= 0) return kDbOk;
  window_.resize(records * record_size_);
  window_start_ = start;
  size_t got = 0;
  code = file_->ReadAt(start, window_.data(), window_.size(), &got);
  if (code != fs::kOk || got != window_.size()) {
    window_.clear();
    return code;
  }
  *loaded = true;
  return kDbOk;
}

void RecordCache::MarkDirty(int64_t from, int64_t to) {
  if (dirty_to_ <= dirty_from_) {
    dirty_from_ = from;
    dirty_to_ = to;
  } else {
    dirty_from_ = std::min(dirty_from_, from);
    dirty_to_ = std::max(dirty_to_, to);
  }
}

int RecordCache::Cover(int64_t offset, size_t size, bool* covered) {
  *covered = Covers(offset, size);
  if (*covered) return kDbOk;
  bool loaded = false;
  int code = Load(offset, &loaded);
  *covered = code == kDbOk && loaded && Covers(offset, size);
  return code;
}

int RecordCache::Read(int64_t offset, uint8_t* out, size_t size, int past_end, int short_read) {
  if (offset >= length_) return past_end;
  bool covered = false;
  int code = Cover(offset, size, &covered);
  if (code != kDbOk) return code;
  // Not covered: a partial record at the end of the file, read as it is.
  if (!covered) return file_->ReadExact(offset, out, size, short_read);
  std::memcpy(out, window_.data() + (offset - window_start_), size);
  return kDbOk;
}

int RecordCache::Write(int64_t offset, const uint8_t* data, size_t size, int past_end) {
  if (offset >= length_) return past_end;
  bool covered = false;
  int code = Cover(offset, size, &covered);
  if (code != kDbOk) return code;
  if (!covered) {
    code = file_->WriteAt(offset, data, size);
    if (code == fs::kOk) file_length_ = std::max<int64_t>(file_length_, offset + size);
    return code;
  }
  std::memcpy(window_.data() + (offset - window_start_), data, size);
  MarkDirty(offset, offset + size);
  return kDbOk;
}

int RecordCache::WriteThrough(int64_t offset, const uint8_t* data, size_t size, int past_end) {
  const int64_t counted_end = data_start_ + static_cast<int64_t>(file_count_) * record_size_;
  if (offset >= length_ || offset + static_cast<int64_t>(size) > counted_end) {
    return Write(offset, data, size, past_end);
  }
  int code = file_->WriteAt(offset, data, size);
  if (code != fs::kOk) return code;
  // The window keeps the same bytes; whether they are marked changed does not matter.
  if (Covers(offset, size)) std::memcpy(window_.data() + (offset - window_start_), data, size);
  return kDbOk;
}

int RecordCache::Append(int32_t record, int32_t serial) {
  int64_t offset = data_start_ + static_cast<int64_t>(record) * record_size_;
  bool extends = !window_.empty() && window_start_ + static_cast<int64_t>(window_.size()) == offset &&
                 static_cast<int64_t>(window_.size()) + record_size_ <= kMaxWindow;
  if (!extends) {
    int code = Flush();
    if (code != kDbOk) return code;
    window_.clear();
    window_start_ = offset;
  }
  window_.append(record_size_, '\0');
  PutI32(Raw(window_) + (offset - window_start_), serial);
  MarkDirty(offset, offset + record_size_);
  count_ = record + 1;
  serial_ = serial + 1;
  header_dirty_ = true;
  length_ = std::max(length_, offset + record_size_);
  return kDbOk;
}

void RecordCache::SetEmpty() {
  window_.clear();
  dirty_from_ = dirty_to_ = 0;
  count_ = 0;
  file_count_ = 0;
  header_dirty_ = false;
  file_length_ = length_ = data_start_;
}

}  // namespace sr::recdb
