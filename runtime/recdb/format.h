#ifndef SALARY_RUNTIME_RECDB_FORMAT_H_
#define SALARY_RUNTIME_RECDB_FORMAT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "base/value.h"
#include "runtime/recdb/names.h"

// The bytes of a database file: header, field descriptors, records (docs/recdb.md draws them).
namespace sr::recdb {

inline constexpr int32_t kFormatVersion = 65536;
inline constexpr int64_t kHeaderSize = 112;
inline constexpr int64_t kDescriptorSize = 72;
inline constexpr int64_t kFieldsOffset = 116;  // after the header and the field count
inline constexpr int64_t kCreatedOffset = 8;  // the creation time, a double
inline constexpr int64_t kCountOffset = 16;    // record count, then next serial number
inline constexpr int64_t kDigestOffset = 28;
inline constexpr int kDigestTextSize = 33;     // 32 hexadecimal digits and a NUL
inline constexpr int kNameBytes = 17;          // 16 name bytes at most, then a NUL
inline constexpr int kMaxNameLength = 16;
inline constexpr int64_t kWholeFileLength = 2147483647;

inline constexpr char kPlainMagic[] = "QKDB";
inline constexpr char kProtectedMagic[] = "QCDB";

enum class FieldType : int32_t {
  kByte = 1,
  kShort = 2,
  kInt = 3,
  kInt64 = 4,
  kFloat = 5,
  kDouble = 6,
  kBool = 7,
  kDateTime = 8,
  kSubroutine = 9,
  kText = 10,
  kBytes = 11,
  kMemo = 12,
};

inline bool IsValidTypeCode(int32_t code) { return code >= 1 && code <= 12; }
// Memo and bytes values live in chains of the companion file; the record holds a block number.
inline bool IsChainType(FieldType type) {
  return type == FieldType::kMemo || type == FieldType::kBytes;
}
// The field's bytes in a record: fixed by the type, the declared width for text.
int32_t TypeWidth(FieldType type, int32_t text_width);
// The kind of value that reading a field of this type gives.
Kind ValueKindOf(FieldType type);
// Byte, short, int, int64, float and double fields accept any numeric value.
bool IsNumericType(FieldType type);

struct FieldDescriptor {
  Text name;  // at most 16 bytes
  FieldType type = FieldType::kInt;
  int32_t offset = 0;      // of the value within a record
  int32_t text_width = 0;  // text fields only; 0 for others

  int32_t width() const { return TypeWidth(type, text_width); }
};

struct Header {
  bool is_protected = false;  // magic "QCDB"
  int32_t version = kFormatVersion;
  double created = 0;
  int32_t record_count = 0;
  int32_t next_serial = 1;
  int32_t record_size = 4;
  Text digest_text;  // 32 digits, or empty without a password
};

// The 112 header bytes. The digest text is written with its NUL, or as zeros when empty.
std::string EncodeHeader(const Header& header);
// Reads a header without judging it. Returns false when the magic is neither of the two.
bool DecodeHeader(const uint8_t* bytes, Header* header);

std::string EncodeDescriptor(const FieldDescriptor& field);
// The 17 name bytes of a descriptor: the name NUL-padded (the caller ensures <= 16 bytes).
std::string EncodeName(const Text& name);
// Returns false when the descriptor is unacceptable: no NUL among the 17 name bytes, a negative
// offset, an unknown type code, or a text width below 1.
bool DecodeDescriptor(const uint8_t* bytes, FieldDescriptor* field);

// Lays the fields out from offset 4 in the given order, as every created file does, and returns
// the record size.
int32_t AssignOffsets(std::vector<FieldDescriptor>* fields);

// The record size that the descriptors describe: where the field that ends last ends (at least
// the 4 bytes of the serial number). Every file this library creates has exactly this size.
int64_t DescribedRecordSize(const std::vector<FieldDescriptor>& fields);

inline int64_t DataStart(size_t field_count) {
  return kFieldsOffset + kDescriptorSize * static_cast<int64_t>(field_count);
}

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_FORMAT_H_
