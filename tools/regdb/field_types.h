#ifndef SALARY_TOOLS_REGDB_FIELD_TYPES_H_
#define SALARY_TOOLS_REGDB_FIELD_TYPES_H_

#include <string>

#include "runtime/recdb/format.h"

// Field types by the names the tool uses, and field lists as "NAME:TYPE[:WIDTH]".
namespace sr::regdb {

// Database error codes of field lists that the library has no name for.
inline constexpr int kNoFields = -16;
inline constexpr int kBadFieldType = -17;
inline constexpr int kBadFieldSize = -19;

// "byte", "short", "int", "int64", "float", "double", "bool", "datetime", "subroutine", "text",
// "bytes", "memo".
const char* TypeName(recdb::FieldType type);
bool TypeFromName(const std::string& name, recdb::FieldType* type);

// Text and memo fields: those whose values are texts in the CSV (GuardedText applies to them).
inline bool IsTextType(recdb::FieldType type) {
  return type == recdb::FieldType::kText || type == recdb::FieldType::kMemo;
}

// Parses one "NAME:TYPE[:WIDTH]" argument (UTF-8) into a descriptor with a GBK name. Text needs
// a WIDTH of at least 1; other types take none. On failure returns the database error code that
// names the fault (-17 type, -18 name, -19 width) and sets *error to a UTF-8 explanation.
int ParseFieldSpec(const std::string& description, recdb::FieldDescriptor* field, std::string* error);

}  // namespace sr::regdb

#endif  // SALARY_TOOLS_REGDB_FIELD_TYPES_H_
