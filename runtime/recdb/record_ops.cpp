// Reading and writing fields, appending and removing records, moving the current record.
#include <algorithm>
#include <vector>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/errors.h"
#include "runtime/recdb/value_codec.h"

namespace sr::recdb {
namespace {

// A field's bytes: on the stack for the usual widths, on the heap only for wide text fields, so
// that a field access in memory costs no allocation.
class SlotBuffer {
 public:
  explicit SlotBuffer(size_t size) : size_(size) {
    if (size > sizeof inline_) heap_.resize(size);
  }
  uint8_t* data() { return size_ > sizeof inline_ ? heap_.data() : inline_; }
  size_t size() const { return size_; }

 private:
  uint8_t inline_[64];
  std::vector<uint8_t> heap_;
  size_t size_;
};

}  // namespace

template <typename Action>
int Database::WithCurrentRecordLocked(Action action) {
  int code = SyncCache();
  if (code != kDbOk) return code;
  const int32_t record = current_;
  if ((code = LockRecord(record)) != kDbOk) return code;
  code = action();
  int unlocked = UnlockRecord(record);
  return code != kDbOk ? code : unlocked;
}

int Database::ReadField(int index, Value* value) {
  const FieldDescriptor& field = fields_[index];
  int code = current_ < 0 ? kDbNoCurrentRecord
                          : WithCurrentRecordLocked([&] { return ReadFieldLocked(field, value); });
  if (code != kDbOk) *value = EmptyValue(field.type);
  return code;
}

int Database::ReadFieldLocked(const FieldDescriptor& field, Value* value) {
  SlotBuffer slot(field.width());
  int code = ReadBytes(RecordOffset(current_) + field.offset, slot.data(), slot.size(),
                       kDbBadSeek, kDbFieldReadFailed);
  if (code != kDbOk) return code;
  if (!IsChainType(field.type)) {
    *value = DecodeSlot(field, slot.data());
    return kDbOk;
  }
  if (companion_ == nullptr) return kDbFieldReadFailed;
  std::string chain;
  if ((code = companion_->ReadChain(GetI32(slot.data()), &chain)) != kDbOk) return code;
  *value = DecodeChainValue(field.type, chain);
  return kDbOk;
}

int Database::WriteField(int index, const Value& value) {
  const FieldDescriptor& field = fields_[index];
  if (!AcceptsValue(field.type, value)) return kDbValueKindMismatch;
  if (current_ < 0) return kDbNoCurrentRecord;
  return WithCurrentRecordLocked([&] { return WriteFieldLocked(field, value); });
}

int Database::WriteFieldLocked(const FieldDescriptor& field, const Value& value) {
  if (IsChainType(field.type)) return WriteChainFieldLocked(field, value);
  SlotBuffer slot(field.width());
  EncodeSlot(field, value, slot.data());
  return WriteBytes(RecordOffset(current_) + field.offset, slot.data(), slot.size(),
                    kDbNoCurrentRecord);
}

int Database::WriteChainFieldLocked(const FieldDescriptor& field, const Value& value) {
  if (companion_ == nullptr) return kDbCompanionAccess;
  const int64_t offset = RecordOffset(current_) + field.offset;
  uint8_t slot[4];
  int code = ReadBytes(offset, slot, 4, kDbNoCurrentRecord, kDbNoCurrentRecord);
  if (code != kDbOk) return code;
  // The record must point at the new chain before the old chain's blocks are freed, also when
  // the record's other bytes wait in the record cache.
  return companion_->WriteChain(ChainBytesOf(value), GetI32(slot), [&](int32_t first) {
    PutI32(slot, first);
    return WriteBytesNow(offset, slot, 4, kDbNoCurrentRecord);
  });
}

int Database::ReadRecordBytes(int32_t first, int32_t count, std::string* bytes) {
  int32_t total = 0;
  int code = ReadRecordCount(&total);
  if (code != kDbOk) return code;
  if (first < 0 || count < 0 || count > total - first) return kDbRecordReadFailed;
  return ReadRecords(first, count, bytes);
}

int Database::AppendRecordBytes(const std::string& bytes) {
  const size_t size = static_cast<size_t>(header_.record_size);
  if (bytes.size() % size != 0) return kDbRecordReadFailed;
  if (std::any_of(fields_.begin(), fields_.end(),
                  [](const FieldDescriptor& f) { return IsChainType(f.type); })) {
    return kDbValueKindMismatch;
  }
  // The serial number (the first 4 bytes) comes from the append, the rest from `bytes`.
  for (const uint8_t* record = Raw(bytes); record < Raw(bytes) + bytes.size(); record += size) {
    int code = AppendBlankRecord();
    if (code == kDbOk && size > 4) {
      code = WithCurrentRecordLocked([&] {
        return WriteBytes(RecordOffset(current_) + 4, record + 4, size - 4, kDbNoCurrentRecord);
      });
    }
    if (code != kDbOk) return code;
  }
  return kDbOk;
}

int Database::ReadRecordValues(int32_t first, int32_t count,
                               std::vector<std::vector<Value>>* records) {
  std::string bytes;
  int code = ReadRecordBytes(first, count, &bytes);
  if (code != kDbOk) return code;
  const uint8_t* record = Raw(bytes);
  for (int32_t r = 0; r < count; ++r, record += header_.record_size) {
    std::vector<Value> values;
    values.reserve(fields_.size());
    for (const FieldDescriptor& field : fields_) {
      const uint8_t* slot = record + field.offset;
      if (!IsChainType(field.type)) {
        values.push_back(DecodeSlot(field, slot));
        continue;
      }
      std::string chain;
      if ((code = ReadChain(GetI32(slot), &chain)) != kDbOk) return code;
      values.push_back(DecodeChainValue(field.type, chain));
    }
    records->push_back(std::move(values));
  }
  return kDbOk;
}

int Database::AppendRecordValues(const std::vector<Value>& values) {
  if (values.size() != fields_.size()) return kDbNoSuchField;
  for (size_t f = 0; f < values.size(); ++f) {
    if (!AcceptsValue(fields_[f].type, values[f])) return kDbValueKindMismatch;
  }
  int code = AppendBlankRecord();
  if (code != kDbOk) return code;
  return WithCurrentRecordLocked([&] {
    for (size_t f = 0; f < values.size(); ++f) {
      const int written = WriteFieldLocked(fields_[f], values[f]);
      if (written != kDbOk) return written;
    }
    return static_cast<int>(kDbOk);
  });
}

int Database::AppendBlankRecord() {
  int code = SyncCache();
  if (code != kDbOk) return code;
  if ((code = LockCount()) != kDbOk) return code;
  code = AppendLocked();
  int unlocked = locks_.Unlock(kCountOffset);
  return code != kDbOk ? code : unlocked;
}

int Database::AppendLocked() {
  int32_t count = 0;
  int32_t serial = 0;
  int code;
  if (cache_.active()) {
    count = cache_.count();
    serial = cache_.next_serial();
  } else {
    uint8_t bytes[8];
    code = file_->ReadExact(kCountOffset, bytes, 8, kDbCountReadFailed);
    if (code != kDbOk) return code;
    count = GetI32(bytes);
    serial = GetI32(bytes + 4);
  }
  if (serial <= 0) serial = 1;
  if (count < 0 || count == INT32_MAX) return kDbCountReadFailed;
  if ((code = LockRecord(count)) != kDbOk) return code;
  code = [&] {
    if (cache_.active()) {
      if (cache_.length() < RecordOffset(count)) return static_cast<int>(kDbBadSeek);
      if (read_only_) return static_cast<int>(fs::kAccessDenied);
      return cache_.Append(count, serial);
    }
    int64_t length = 0;
    int result = file_->Length(&length);
    if (result != fs::kOk) return result;
    if (length < RecordOffset(count)) return static_cast<int>(kDbBadSeek);
    std::string record(header_.record_size, '\0');
    PutI32(Raw(record), serial);
    if ((result = file_->WriteAt(RecordOffset(count), record)) != fs::kOk) return result;
    uint8_t bytes[8];
    PutI32(bytes, count + 1);
    PutI32(bytes + 4, serial + 1);
    return file_->WriteAt(kCountOffset, bytes, 8);
  }();
  if (code == kDbOk) current_ = count;
  int unlocked = UnlockRecord(count);
  return code != kDbOk ? code : unlocked;
}

int Database::ZapRecords() {
  int code = HoldWhole();
  if (code != kDbOk) return code;
  code = SyncCache();
  if (code == kDbOk) code = ZapLocked();
  int released = ReleaseWhole();
  return code != kDbOk ? code : released;
}

int Database::ZapLocked() {
  // Pending appends are dropped, but the serial number they raised must survive.
  uint8_t bytes[8];
  PutI32(bytes, 0);
  PutI32(bytes + 4, cache_.next_serial());
  int code = file_->WriteAt(kCountOffset, bytes, 8);
  if (code != fs::kOk) return code;
  cache_.SetEmpty();
  code = file_->Truncate(data_start_);
  if (code == fs::kOk && companion_ != nullptr) code = companion_->Reset();
  if (code == fs::kOk) current_ = 0;
  return code;
}

int Database::Skip(int32_t n) {
  if (n == 0) return kDbOk;
  int32_t count = 0;
  int code = ReadRecordCount(&count);
  if (code != kDbOk) return code;
  if (n > 0 && (count == 0 || current_ >= count)) return kDbAfterLast;
  if (n < 0 && (count == 0 || current_ < 0)) return kDbBeforeFirst;
  int64_t position = static_cast<int64_t>(current_) + n;
  current_ = static_cast<int32_t>(std::clamp<int64_t>(position, -1, count));
  return kDbOk;
}

int Database::GotoRecord(int32_t n) {
  int32_t count = 0;
  int code = ReadRecordCount(&count);
  if (code != kDbOk) return code;
  int64_t position = std::min<int64_t>(static_cast<int64_t>(n) - 1, count - 1);
  current_ = static_cast<int32_t>(std::max<int64_t>(position, 0));
  return kDbOk;
}

}  // namespace sr::recdb
