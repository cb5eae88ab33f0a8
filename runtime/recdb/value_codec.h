#ifndef SALARY_RUNTIME_RECDB_VALUE_CODEC_H_
#define SALARY_RUNTIME_RECDB_VALUE_CODEC_H_

#include <cstdint>

#include "base/value.h"
#include "runtime/recdb/format.h"

// How a typed value is stored in a field's slot of a record, and read back.
namespace sr::recdb {

// True when `value` may be written to a field of `type`: the same value kind, any numeric kind
// for a numeric field, or an omitted value (which writes the empty value).
bool AcceptsValue(FieldType type, const Value& value);

// The empty value of the field's kind: empty text or bytes, 0, false, date-time 0.
Value EmptyValue(FieldType type);

// Writes the value into the field's `field.width()` bytes at `slot`. Numbers are converted as by
// a plain cast: a floating value is truncated toward zero, an integer keeps its low-order bytes.
// A text longer than the field is cut to the width, but never inside a double-byte character.
// REQUIRES: AcceptsValue(field.type, value), field is not memo or bytes.
void EncodeSlot(const FieldDescriptor& field, const Value& value, uint8_t* slot);

// The value stored in the field's slot. REQUIRES: field is not memo or bytes.
Value DecodeSlot(const FieldDescriptor& field, const uint8_t* slot);

// The text forms of the two above, for callers that code whole records themselves.
void EncodeTextSlot(const Text& text, int32_t width, uint8_t* slot);
Text DecodeTextSlot(const uint8_t* slot, int32_t width);
// Leaves a text slot as EncodeTextSlot(DecodeTextSlot(slot)) would: zeros after the first NUL.
void ClearTextSlotTail(uint8_t* slot, int32_t width);

// The value of a memo or bytes field from its chain's bytes: a memo stops at the first NUL.
Value DecodeChainValue(FieldType type, const std::string& chain);
// The bytes a memo or bytes value puts in the companion file (omitted: none).
std::string ChainBytesOf(const Value& value);

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_VALUE_CODEC_H_
