#ifndef SALARY_TOOLS_REGDB_VALUE_TEXT_H_
#define SALARY_TOOLS_REGDB_VALUE_TEXT_H_

#include <string>

#include "base/value.h"
#include "runtime/recdb/format.h"

// Field values as the CSV of dump and import holds them (in GBK; the caller converts).
namespace sr::regdb {

// The text of a value read from a field: ToText, except bytes values in hexadecimal (upper case,
// two digits a byte), so that no byte is lost.
Text FieldValueText(const Value& value);

// The value of `field` that `text` stands for, the reverse of FieldValueText: integers in range
// for the type, finite decimal numbers (float within its range), 真/假 (also true/false, 1/0),
// date-times as DateTimeText writes them or as YYYY-MM-DD[ HH:MM[:SS]], text of at most the
// field's width in bytes, bytes as an even number of hexadecimal digits. An empty text is the
// type's empty value. Returns false with *why (UTF-8) when the type cannot take the text.
bool ParseFieldValue(const recdb::FieldDescriptor& field, const Text& text, Value* value,
                     std::string* why);

}  // namespace sr::regdb

#endif  // SALARY_TOOLS_REGDB_VALUE_TEXT_H_
