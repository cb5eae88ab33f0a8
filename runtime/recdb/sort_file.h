#ifndef SALARY_RUNTIME_RECDB_SORT_FILE_H_
#define SALARY_RUNTIME_RECDB_SORT_FILE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/fs/file_system.h"
#include "runtime/recdb/companion.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/format.h"

namespace sr::recdb {

// Sort entries: a record position and the bytes of its key fields, compared key by key.
class SortKeys {
 public:
  // `keys` are field indexes (not memo or bytes); key i sorts descending exactly when
  // ascending[i] exists and is false.
  SortKeys(const std::vector<FieldDescriptor>& fields, const std::vector<int>& keys,
           const std::vector<bool>& ascending);

  // Takes the keys of the record at `position` from its raw bytes.
  void Add(int32_t position, const uint8_t* record);
  std::vector<int32_t> SortedPositions() const;

  // <0, 0 or >0 as the first key value sorts before, with or after the second.
  static int CompareValues(FieldType type, const uint8_t* a, const uint8_t* b, int32_t width);

 private:
  struct Key {
    FieldType type;
    int32_t record_offset;
    int32_t width;
    int32_t entry_offset;
    bool descending;
  };
  bool Before(size_t a, size_t b) const;

  std::vector<Key> keys_;
  int32_t entry_width_ = 0;
  std::vector<int32_t> positions_;
  std::string entries_;
};

// Fills a file that CreateDatabaseFile made with the source's records in a given order.
class SortWriter {
 public:
  // `fields` are the source's descriptors of the chosen fields (with their source offsets).
  SortWriter(fs::FileSystem& fs, Database& source, std::vector<FieldDescriptor> fields);

  int Open(const Text& path);
  // Writes the records at the given source positions; the k-th gets serial number k, negative
  // when the source's is. Then writes the record count and next serial number.
  int Write(const std::vector<int32_t>& positions);

 private:
  int BuildRecord(const std::string& source, int32_t serial, std::string* out);

  fs::FileSystem& fs_;
  Database& source_;
  std::vector<FieldDescriptor> source_fields_;
  std::vector<FieldDescriptor> fields_;  // as laid out in the new file
  int32_t record_size_;
  std::unique_ptr<CipherFile> file_;
  std::unique_ptr<Companion> companion_;
};

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_SORT_FILE_H_
