#include "tools/regdb/field_types.h"

#include <charconv>

#include "runtime/recdb/errors.h"
#include "tools/regdb/utf8_edge.h"

namespace sr::regdb {
namespace {

struct TypeEntry {
  recdb::FieldType type;
  const char* name;
};

constexpr TypeEntry kTypes[] = {
    {recdb::FieldType::kByte, "byte"},         {recdb::FieldType::kShort, "short"},
    {recdb::FieldType::kInt, "int"},           {recdb::FieldType::kInt64, "int64"},
    {recdb::FieldType::kFloat, "float"},       {recdb::FieldType::kDouble, "double"},
    {recdb::FieldType::kBool, "bool"},         {recdb::FieldType::kDateTime, "datetime"},
    {recdb::FieldType::kSubroutine, "subroutine"}, {recdb::FieldType::kText, "text"},
    {recdb::FieldType::kBytes, "bytes"},       {recdb::FieldType::kMemo, "memo"},
};

bool ParseWidth(const std::string& text, int32_t* width) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *width);
  return ec == std::errc() && ptr == end;
}

}  // namespace

const char* TypeName(recdb::FieldType type) {
  for (const TypeEntry& entry : kTypes) {
    if (entry.type == type) return entry.name;
  }
  return "?";
}

bool TypeFromName(const std::string& name, recdb::FieldType* type) {
  for (const TypeEntry& entry : kTypes) {
    if (name == entry.name) {
      *type = entry.type;
      return true;
    }
  }
  return false;
}

int ParseFieldSpec(const std::string& description, recdb::FieldDescriptor* field, std::string* error) {
  // The name may itself hold colons, so the type is found from the right.
  size_t colon = description.rfind(':');
  if (colon == std::string::npos) {
    *error = "field \"" + description + "\" needs a type (NAME:TYPE[:WIDTH])";
    return kBadFieldType;
  }
  std::string type_name = description.substr(colon + 1);
  std::string width_text;
  std::string name = description.substr(0, colon);
  recdb::FieldType type;
  if (!TypeFromName(type_name, &type)) {
    size_t type_colon = name.rfind(':');
    if (type_colon != std::string::npos && TypeFromName(name.substr(type_colon + 1), &type)) {
      width_text = type_name;
      type_name = name.substr(type_colon + 1);
      name.resize(type_colon);
    } else {
      *error = "field \"" + description + "\": unknown type \"" + type_name + "\"";
      return kBadFieldType;
    }
  }
  int32_t width = 0;
  if (type == recdb::FieldType::kText) {
    if (width_text.empty() || !ParseWidth(width_text, &width) || width < 1) {
      *error = "field \"" + description + "\": text needs a width of at least 1 (NAME:text:WIDTH)";
      return kBadFieldSize;
    }
  } else if (!width_text.empty()) {
    *error = "field \"" + description + "\": only text fields take a width";
    return kBadFieldSize;
  }
  Text gbk_name;
  if (!ToGbk(name, "field name", &gbk_name, error)) return kDbBadFieldName;
  if (gbk_name.empty() || gbk_name.size() > static_cast<size_t>(recdb::kMaxNameLength)) {
    *error = "field name \"" + name + "\" must be 1 to 16 bytes in GBK, it has " +
             std::to_string(gbk_name.size());
    return kDbBadFieldName;
  }
  field->name = gbk_name;
  field->type = type;
  field->text_width = width;
  field->offset = 0;
  return kDbOk;
}

}  // namespace sr::regdb
