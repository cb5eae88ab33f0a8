#include "runtime/recdb/database.h"

#include <cmath>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/errors.h"

namespace sr::recdb {

Database::Database(OpenedDatabase opened, Text full_path, Text alias, bool exclusive)
    : full_path_(std::move(full_path)),
      repair_copy_(std::move(opened.repair_copy)),
      title_(FileTitle(full_path_)),
      alias_(std::move(alias)),
      header_(opened.header),
      fields_(std::move(opened.fields)),
      data_start_(opened.data_start),
      file_(std::move(opened.file)),
      companion_(std::move(opened.companion)),
      locks_(file_.get(), exclusive),
      cache_(file_.get(), data_start_, header_.record_size),
      read_only_(opened.read_only) {}

Database::~Database() { cache_.End(); }

int Database::FindField(const Value& designation) const {
  if (designation.is_text()) {
    for (size_t n = 0; n < fields_.size(); ++n) {
      if (NamesEqual(fields_[n].name, designation.text())) return static_cast<int>(n);
    }
    return -1;
  }
  if (!designation.is_numeric()) return -1;
  int64_t position = designation.integer();
  if (designation.kind() == Kind::kFloat || designation.kind() == Kind::kDouble) {
    double v = designation.floating();
    position = std::isfinite(v) && std::fabs(v) < 1e18 ? static_cast<int64_t>(v) : 0;
  }
  if (position < 1 || position > static_cast<int64_t>(fields_.size())) return -1;
  return static_cast<int>(position - 1);
}

int Database::LockRecord(int32_t record) {
  if (record < 0) return kDbLockFailed;
  return locks_.Lock(RecordOffset(record), lock_wait_ms_);
}

int Database::UnlockRecord(int32_t record) {
  if (record < 0) return kDbUnlockFailed;
  return locks_.Unlock(RecordOffset(record));
}

int Database::SyncCache() {
  if (locks_.is_private()) return cache_.active() ? kDbOk : cache_.Begin();
  return cache_.active() ? cache_.End() : kDbOk;
}

int Database::ReadCountAndSerial(int32_t* count, int32_t* serial) {
  int code = SyncCache();
  if (code != kDbOk) return code;
  if (cache_.active()) {
    *count = cache_.count();
    *serial = cache_.next_serial();
    return kDbOk;
  }
  if ((code = LockCount()) != kDbOk) return code;
  uint8_t bytes[8];
  code = file_->ReadExact(kCountOffset, bytes, 8, kDbCountReadFailed);
  locks_.Unlock(kCountOffset);
  if (code != kDbOk) return code;
  *count = GetI32(bytes);
  *serial = GetI32(bytes + 4);
  return kDbOk;
}

int Database::ReadRecordCount(int32_t* count) {
  int32_t serial = 0;
  *count = 0;
  int code = ReadCountAndSerial(count, &serial);
  if (code != kDbOk || *count < 0) *count = 0;
  return code;
}

int Database::ReadBytes(int64_t offset, uint8_t* out, size_t size, int past_end,
                        int short_read) {
  if (cache_.active()) return cache_.Read(offset, out, size, past_end, short_read);
  size_t got = 0;
  int code = file_->ReadAt(offset, out, size, &got);
  if (code != fs::kOk) return code;
  if (got == 0) return past_end;
  return got == size ? kDbOk : short_read;
}

int Database::WriteBytes(int64_t offset, const uint8_t* data, size_t size, int past_end) {
  if (cache_.active()) {
    if (offset < cache_.length() && read_only_) return fs::kAccessDenied;
    return cache_.Write(offset, data, size, past_end);
  }
  int64_t length = 0;
  int code = file_->Length(&length);
  if (code != fs::kOk) return code;
  if (offset >= length) return past_end;
  return file_->WriteAt(offset, data, size);
}

int Database::WriteBytesNow(int64_t offset, const uint8_t* data, size_t size, int past_end) {
  if (!cache_.active()) return WriteBytes(offset, data, size, past_end);
  if (offset < cache_.length() && read_only_) return fs::kAccessDenied;
  return cache_.WriteThrough(offset, data, size, past_end);
}

int Database::EmptyChainSlot(int32_t record, int field) {
  int code = SyncCache();
  if (code != kDbOk) return code;
  if ((code = LockRecord(record)) != kDbOk) return code;
  const uint8_t empty[4] = {0, 0, 0, 0};
  code = WriteBytesNow(RecordOffset(record) + fields_[field].offset, empty, 4, kDbNoCurrentRecord);
  int unlocked = UnlockRecord(record);
  return code != kDbOk ? code : unlocked;
}

void Database::set_lock_wait(int ms) {
  lock_wait_ms_ = ms;
  if (companion_ != nullptr) companion_->set_lock_wait(ms);
}

int Database::HoldWhole() { return locks_.HoldWhole(lock_wait_ms_); }

int Database::ReleaseWhole() {
  if (!locks_.whole_held()) return kDbUnlockFailed;
  // The last release in a shared mode ends privacy: pending records go out while still locked.
  int flushed = kDbOk;
  if (locks_.whole_count() == 1 && !locks_.exclusive()) flushed = cache_.End();
  int released = locks_.ReleaseWhole();
  return flushed != kDbOk ? flushed : released;
}

int Database::Flush() { return cache_.active() ? cache_.Flush() : kDbOk; }

int Database::WriteFieldName(int field, const Text& name) {
  std::string bytes = EncodeName(name);
  int code = file_->WriteAt(kFieldsOffset + kDescriptorSize * field, bytes);
  if (code != fs::kOk) return code;
  fields_[field].name = name;
  return kDbOk;
}

int Database::ReadRecords(int32_t first, int32_t count, std::string* bytes) {
  int code = Flush();
  if (code != kDbOk) return code;
  bytes->resize(static_cast<size_t>(count) * header_.record_size);
  return file_->ReadExact(RecordOffset(first), bytes->data(), bytes->size(),
                          kDbRecordReadFailed);
}

int Database::ReadChain(int32_t first_block, std::string* value) {
  if (companion_ == nullptr) return kDbFieldReadFailed;
  return companion_->ReadChain(first_block, value);
}

}  // namespace sr::recdb
