#ifndef SALARY_RUNTIME_RECDB_DATABASE_H_
#define SALARY_RUNTIME_RECDB_DATABASE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/value.h"
#include "runtime/recdb/open_validate.h"
#include "runtime/recdb/range_locks.h"
#include "runtime/recdb/record_cache.h"

namespace sr::recdb {

// One open database: its files, header copy, descriptors, current record and locks. Every
// method returns 0 or a database error code; none touches the last database error.
class Database {
 public:
  Database(OpenedDatabase opened, Text full_path, Text alias, bool exclusive);
  // Writes what is still pending, then releases the locks and closes the files.
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const Text& full_path() const { return full_path_; }
  const Text& title() const { return title_; }
  const Text& alias() const { return alias_; }
  bool exclusive() const { return locks_.exclusive(); }
  // Exclusive share mode or the whole-database lock: nobody else can read or write the file.
  bool held_privately() const { return locks_.is_private(); }
  const Header& header() const { return header_; }
  const std::vector<FieldDescriptor>& fields() const { return fields_; }
  int64_t data_start() const { return data_start_; }
  const std::shared_ptr<PageCipher>& cipher() const { return file_->cipher(); }
  bool has_companion() const { return companion_ != nullptr; }
  // The copy kept beside the file before the open repaired its size; empty without a repair.
  const Text& repair_copy() const { return repair_copy_; }

  int32_t current_record() const { return current_; }
  void set_current_record(int32_t record) { current_ = record; }

  // The index of the field that `designation` names (a text name, ignoring ASCII case, or a
  // 1-based position of any numeric kind), -1 when there is none.
  int FindField(const Value& designation) const;

  // Lock-and-read of the record count (a negative stored count reads as 0).
  int ReadRecordCount(int32_t* count);
  int ReadField(int field, Value* value);
  int WriteField(int field, const Value& value);
  int AppendBlankRecord();
  // Bulk forms for whole files read or written at once: the values of every field of `count`
  // records from `first` (0-based), appended to `records`, and a new record holding `values`
  // (one per field), written under a single record lock. A failure leaves `records`
  // unspecified, or the appended record with the fields before the failing one written.
  int ReadRecordValues(int32_t first, int32_t count, std::vector<std::vector<Value>>* records);
  int AppendRecordValues(const std::vector<Value>& values);
  // Raw forms: the stored bytes of `count` records from `first` (0-based) into `bytes`, and
  // the records in `bytes` appended with the next serial numbers. A failure while appending
  // leaves the records before the failing one appended.
  int ReadRecordBytes(int32_t first, int32_t count, std::string* bytes);
  int AppendRecordBytes(const std::string& bytes);
  int ZapRecords();
  int Skip(int32_t n);
  int GotoRecord(int32_t n);

  int HoldWhole();
  int ReleaseWhole();
  // Writes what the record cache holds back.
  int Flush();

  // Rewrites a field's name in its descriptor. REQUIRES: 0 <= field < fields().size().
  int WriteFieldName(int field, const Text& name);

  // For sorting: the raw bytes of `count` records from `first` (a short read gives -62), and
  // the value of a memo or bytes slot.
  int ReadRecords(int32_t first, int32_t count, std::string* bytes);
  int ReadChain(int32_t first_block, std::string* value);

  // Milliseconds a refused lock on the record count is retried.
  void set_count_lock_wait(int ms) { count_lock_wait_ms_ = ms; }
  // Milliseconds a refused record, companion or whole-database lock is retried.
  void set_lock_wait(int ms);

  // The companion file (null without memo and bytes fields), for checks and repairs.
  Companion* companion() { return companion_.get(); }
  // For repairs: writes 0 into a memo or bytes slot without touching the companion file, so the
  // chain it pointed at belongs to nobody afterwards.
  // REQUIRES: the field is memo or bytes, 0 <= record < the record count.
  int EmptyChainSlot(int32_t record, int field);

 private:
  int64_t RecordOffset(int32_t record) const {
    return data_start_ + static_cast<int64_t>(record) * header_.record_size;
  }
  // Runs `action` with the current record locked; the action's failure wins over the unlock's.
  template <typename Action>
  int WithCurrentRecordLocked(Action action);
  int LockRecord(int32_t record);
  int UnlockRecord(int32_t record);
  int LockCount() { return locks_.Lock(kCountOffset, count_lock_wait_ms_); }
  // The record cache is used exactly while the database is private; these bring it in line.
  int SyncCache();
  int ReadCountAndSerial(int32_t* count, int32_t* serial);
  int ReadBytes(int64_t offset, uint8_t* out, size_t size, int past_end, int short_read);
  int WriteBytes(int64_t offset, const uint8_t* data, size_t size, int past_end);
  // As WriteBytes, but bytes of a record that the file already counts reach the file before
  // this returns, also while the record cache is active.
  int WriteBytesNow(int64_t offset, const uint8_t* data, size_t size, int past_end);
  int ReadFieldLocked(const FieldDescriptor& field, Value* value);
  int WriteFieldLocked(const FieldDescriptor& field, const Value& value);
  int WriteChainFieldLocked(const FieldDescriptor& field, const Value& value);
  int AppendLocked();
  int ZapLocked();

  Text full_path_;
  Text repair_copy_;
  Text title_;
  Text alias_;
  Header header_;
  std::vector<FieldDescriptor> fields_;
  int64_t data_start_;
  std::unique_ptr<CipherFile> file_;
  std::unique_ptr<Companion> companion_;
  RangeLocks locks_;
  RecordCache cache_;
  bool read_only_;  // writes fail at once instead of when deferred bytes are flushed
  int32_t current_ = 0;
  int count_lock_wait_ms_ = 2000;
  int lock_wait_ms_ = 0;
};

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_DATABASE_H_
