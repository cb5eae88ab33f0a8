#ifndef SALARY_RUNTIME_RECDB_TESTS_TEST_FILES_H_
#define SALARY_RUNTIME_RECDB_TESTS_TEST_FILES_H_

// Helpers for tests that build database files byte by byte on a disk in memory. The bytes are
// assembled here with their own little-endian code, not with the library's writer.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/fs/memory_file_system.h"
#include "runtime/recdb/recdb.h"

namespace sr::test {

inline std::string Le32(int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
  return s;
}
inline std::string LeDouble(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  std::string s(8, '\0');
  for (int i = 0; i < 8; ++i) s[i] = static_cast<char>(bits >> (8 * i));
  return s;
}
inline int32_t At32(const std::string& s, size_t offset) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[offset + i]);
  return static_cast<int32_t>(v);
}
inline double AtDouble(const std::string& s, size_t offset) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<uint8_t>(s[offset + i]);
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}
inline std::string Zeros(size_t n) { return std::string(n, '\0'); }

struct TestField {
  std::string name;
  int32_t type;
  int32_t width;  // text width; ignored for other types
};

inline int32_t WidthOf(const TestField& f) {
  switch (f.type) {
    case 1: case 7: return 1;
    case 2: return 2;
    case 4: case 6: case 8: return 8;
    case 10: return f.width;
    default: return 4;
  }
}

// A database file image: header fields that a test may spoil, descriptors and records.
struct DbImage {
  std::string magic = "QKDB";
  int32_t version = 65536;
  double created = 45000.5;
  int32_t record_count = 0;
  int32_t next_serial = 1;
  int32_t record_size = -1;  // -1: computed from the fields
  std::string digest;        // 32 characters, or empty
  std::vector<TestField> fields;
  std::vector<std::string> records;  // whole records, serial number included

  // An image whose header counts exactly the given records.
  static DbImage Of(std::vector<TestField> fields, std::vector<std::string> records) {
    DbImage image;
    image.fields = std::move(fields);
    image.record_count = static_cast<int32_t>(records.size());
    image.next_serial = image.record_count + 1;
    image.records = std::move(records);
    return image;
  }

  int32_t RecordSize() const {
    if (record_size >= 0) return record_size;
    int32_t size = 4;
    for (const TestField& f : fields) size += WidthOf(f);
    return size;
  }
  std::string Descriptor(const TestField& f, int32_t offset) const {
    std::string d = f.name + Zeros(20 - f.name.size());
    d += Le32(f.type) + Le32(offset) + Le32(f.type == 10 ? f.width : 0) + Zeros(40);
    return d;
  }
  std::string Bytes() const {
    std::string b = magic + Le32(version) + LeDouble(created) + Le32(record_count) +
                    Le32(next_serial) + Le32(RecordSize());
    b += digest.empty() ? Zeros(33) : digest + std::string(1, '\0');
    b += Zeros(51);
    b += Le32(static_cast<int32_t>(fields.size()));
    int32_t offset = 4;
    for (const TestField& f : fields) {
      b += Descriptor(f, offset);
      offset += WidthOf(f);
    }
    for (const std::string& r : records) b += r;
    return b;
  }
  int64_t DataStart() const { return 116 + 72 * static_cast<int64_t>(fields.size()); }
};

inline std::string CompanionHeaderBytes(int32_t blocks, int32_t free_count, int32_t first_free,
                                        int32_t version = 65536) {
  return "QKDT" + Le32(version) + LeDouble(45000.5) + Le32(blocks) + Le32(free_count) +
         Le32(first_free) + Zeros(4) + Zeros(480);
}

// A fresh disk in memory for each test, with a folder to work in; the table is closed before.
// The helpers reach the files past every share mode and lock, as another program would.
class DbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(files_.MakeFolder(dir_), fs::kOk);
    table_.set_clock([] { return 45000.5; });
    table_.set_count_lock_wait(0);
    table_.set_lock_wait(0);
  }
  void TearDown() override { table_.CloseAllDatabases(); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) {
    EXPECT_EQ(files_.WriteContents(Path(name), bytes), fs::kOk) << name;
  }
  // Overwrites bytes in place, as another process would.
  void Patch(const std::string& name, int64_t offset, const std::string& bytes) {
    std::string contents = Read(name);
    if (contents.size() < offset + bytes.size()) contents.resize(offset + bytes.size(), '\0');
    contents.replace(offset, bytes.size(), bytes);
    Write(name, contents);
  }
  // Cuts or extends a file.
  void Resize(const std::string& name, int64_t size) {
    std::string contents = Read(name);
    contents.resize(size, '\0');
    Write(name, contents);
  }
  std::string Read(const std::string& name) const {
    std::string bytes;
    return files_.ReadContents(Path(name), &bytes) == fs::kOk ? bytes : std::string();
  }
  int64_t Size(const std::string& name) const { return static_cast<int64_t>(Read(name).size()); }
  bool Exists(const std::string& name) {
    bool exists = false;
    return files_.Exists(Path(name), &exists) == fs::kOk && exists;
  }
  // Opens and expects the given code.
  int Open(const std::string& name, const std::string& alias = "", OpenOptions options = {}) {
    table_.OpenDatabase(Path(name), alias, options);
    return LastDatabaseError();
  }

  fs::MemoryFileSystem files_;
  const std::string dir_ = "/recdb";
  DatabaseTable table_{files_};
};

}  // namespace sr::test

#endif  // SALARY_RUNTIME_RECDB_TESTS_TEST_FILES_H_
