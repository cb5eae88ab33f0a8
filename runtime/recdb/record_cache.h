#ifndef SALARY_RUNTIME_RECDB_RECORD_CACHE_H_
#define SALARY_RUNTIME_RECDB_RECORD_CACHE_H_

#include <cstdint>
#include <string>

#include "runtime/recdb/cipher_file.h"

namespace sr::recdb {

// The records of a database that nobody else can see right now (exclusive share mode, or the
// whole-database lock held), kept in memory so that record-sized and larger I/O replaces one
// read or write per field.
//
// The cache holds a window of whole records. Field reads and writes inside it touch memory;
// appends grow it at the tail. Flush writes the changed bytes in one piece and then the record
// count and next serial number. The record count and serial number are read once, when the
// cache begins, which is safe only while no other process can append.
class RecordCache {
 public:
  RecordCache(CipherFile* file, int64_t data_start, int32_t record_size)
      : file_(file), data_start_(data_start), record_size_(record_size) {}

  bool active() const { return active_; }
  // Reads the file length, record count and next serial number.
  int Begin();
  // Flushes and forgets everything.
  int End();
  // Forgets everything without writing (the records are being removed anyway).
  void Drop() { active_ = false; }

  int Flush();

  int32_t count() const { return count_; }
  int32_t next_serial() const { return serial_; }
  // The length of the file once the pending bytes are written.
  int64_t length() const { return length_; }

  // Reads `size` bytes at file offset `offset`. An offset at or past the end gives `past_end`,
  // a read that ends past it gives `short_read`.
  int Read(int64_t offset, uint8_t* out, size_t size, int past_end, int short_read);
  // Writes `size` bytes at `offset`; an offset at or past the end gives `past_end`.
  int Write(int64_t offset, const uint8_t* data, size_t size, int past_end);
  // As Write, but bytes inside the records that the file's header already counts are written to
  // the file at once (and kept in the window): a memo's block number must be on disk before
  // the blocks it no longer uses are freed there.
  int WriteThrough(int64_t offset, const uint8_t* data, size_t size, int past_end);
  // Appends a blank record with serial number `serial` as record `record` (the current count)
  // and raises the count and next serial number.
  // Fails only when pending bytes have to be written first and cannot be.
  int Append(int32_t record, int32_t serial);
  // After all records were removed: no records, the file cut to the data start.
  void SetEmpty();

 private:
  // Makes the window start at the record holding `offset`; false when that record is not
  // wholly in the file.
  int Load(int64_t offset, bool* loaded);
  // Loads the window when needed; *covered tells whether it now holds the whole span.
  int Cover(int64_t offset, size_t size, bool* covered);
  bool Covers(int64_t offset, size_t size) const {
    return offset >= window_start_ &&
           offset + static_cast<int64_t>(size) <= window_start_ + static_cast<int64_t>(window_.size());
  }
  void MarkDirty(int64_t from, int64_t to);

  static constexpr int64_t kLoadBytes = 256 * 1024;
  static constexpr int64_t kMaxWindow = 4 * 1024 * 1024;

  CipherFile* file_;
  int64_t data_start_;
  int32_t record_size_;
  bool active_ = false;
  int64_t file_length_ = 0;  // what the file holds now
  int64_t length_ = 0;       // what it will hold after Flush
  int32_t count_ = 0;
  int32_t serial_ = 1;
  int32_t file_count_ = 0;  // the record count in the file's header now
  bool header_dirty_ = false;
  int64_t window_start_ = 0;
  std::string window_;
  int64_t dirty_from_ = 0;  // file offsets of the changed bytes; empty when equal
  int64_t dirty_to_ = 0;
};

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_RECORD_CACHE_H_
