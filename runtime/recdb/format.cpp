#include "runtime/recdb/format.h"

#include <algorithm>
#include <cstring>

#include "base/gbk.h"
#include "runtime/recdb/coding.h"

namespace sr::recdb {

int32_t TypeWidth(FieldType type, int32_t text_width) {
  switch (type) {
    case FieldType::kByte:
    case FieldType::kBool:
      return 1;
    case FieldType::kShort:
      return 2;
    case FieldType::kInt:
    case FieldType::kFloat:
    case FieldType::kSubroutine:
    case FieldType::kBytes:
    case FieldType::kMemo:
      return 4;
    case FieldType::kInt64:
    case FieldType::kDouble:
    case FieldType::kDateTime:
      return 8;
    case FieldType::kText:
      return text_width;
  }
  return 0;
}

Kind ValueKindOf(FieldType type) {
  switch (type) {
    case FieldType::kByte: return Kind::kByte;
    case FieldType::kShort: return Kind::kShort;
    case FieldType::kInt: return Kind::kInt;
    case FieldType::kInt64: return Kind::kInt64;
    case FieldType::kFloat: return Kind::kFloat;
    case FieldType::kDouble: return Kind::kDouble;
    case FieldType::kBool: return Kind::kBool;
    case FieldType::kDateTime: return Kind::kDateTime;
    case FieldType::kSubroutine: return Kind::kSubroutine;
    case FieldType::kText:
    case FieldType::kMemo: return Kind::kText;
    case FieldType::kBytes: return Kind::kBytes;
  }
  return Kind::kOmitted;
}

bool IsNumericType(FieldType type) {
  return type >= FieldType::kByte && type <= FieldType::kDouble;
}

std::string EncodeHeader(const Header& header) {
  std::string bytes(kHeaderSize, '\0');
  uint8_t* p = Raw(bytes);
  std::memcpy(p, header.is_protected ? kProtectedMagic : kPlainMagic, 4);
  PutI32(p + 4, header.version);
  PutDouble(p + kCreatedOffset, header.created);
  PutI32(p + 16, header.record_count);
  PutI32(p + 20, header.next_serial);
  PutI32(p + 24, header.record_size);
  // The digest is 32 digits and its NUL; a shorter text still leaves the NUL in place.
  std::memcpy(p + kDigestOffset, header.digest_text.data(),
              std::min<size_t>(header.digest_text.size(), kDigestTextSize - 1));
  return bytes;
}

bool DecodeHeader(const uint8_t* p, Header* header) {
  if (std::memcmp(p, kPlainMagic, 4) == 0) {
    header->is_protected = false;
  } else if (std::memcmp(p, kProtectedMagic, 4) == 0) {
    header->is_protected = true;
  } else {
    return false;
  }
  header->version = GetI32(p + 4);
  header->created = GetDouble(p + kCreatedOffset);
  header->record_count = GetI32(p + 16);
  header->next_serial = GetI32(p + 20);
  header->record_size = GetI32(p + 24);
  const char* digest = reinterpret_cast<const char*>(p + kDigestOffset);
  header->digest_text.assign(digest, strnlen(digest, kDigestTextSize));
  return true;
}

std::string EncodeName(const Text& name) {
  std::string bytes(kNameBytes, '\0');
  std::memcpy(bytes.data(), name.data(), std::min<size_t>(name.size(), kMaxNameLength));
  return bytes;
}

std::string EncodeDescriptor(const FieldDescriptor& field) {
  std::string bytes(kDescriptorSize, '\0');
  std::string name = EncodeName(field.name);
  std::memcpy(bytes.data(), name.data(), name.size());
  uint8_t* p = Raw(bytes);
  PutI32(p + 20, static_cast<int32_t>(field.type));
  PutI32(p + 24, field.offset);
  PutI32(p + 28, field.type == FieldType::kText ? field.text_width : 0);
  return bytes;
}

bool DecodeDescriptor(const uint8_t* p, FieldDescriptor* field) {
  const char* name = reinterpret_cast<const char*>(p);
  size_t length = strnlen(name, kNameBytes);
  if (length == kNameBytes) return false;
  int32_t type = GetI32(p + 20);
  int32_t offset = GetI32(p + 24);
  int32_t width = GetI32(p + 28);
  if (offset < 0 || !IsValidTypeCode(type)) return false;
  field->name.assign(name, length);
  field->type = static_cast<FieldType>(type);
  field->offset = offset;
  field->text_width = field->type == FieldType::kText ? width : 0;
  return field->type != FieldType::kText || width >= 1;
}

int32_t AssignOffsets(std::vector<FieldDescriptor>* fields) {
  int32_t offset = 4;
  for (FieldDescriptor& field : *fields) {
    field.offset = offset;
    offset += field.width();
  }
  return offset;
}

int64_t DescribedRecordSize(const std::vector<FieldDescriptor>& fields) {
  int64_t end = 4;
  for (const FieldDescriptor& field : fields) {
    end = std::max(end, static_cast<int64_t>(field.offset) + field.width());
  }
  return end;
}

}  // namespace sr::recdb
