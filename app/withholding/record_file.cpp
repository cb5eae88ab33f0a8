#include "app/withholding/record_file.h"

#include <algorithm>

#include "app/register/file_replacement.h"
#include "runtime/convert/conversions.h"
#include "runtime/convert/date_time.h"
#include "runtime/recdb/create_file.h"

namespace sr::app {
namespace {

Text Failure(const char* what, const Text& path, int code) {
  return Concat({what, path, "：", DatabaseErrorMessage(code)});
}

bool HasFields(DatabaseTable& databases, const std::vector<recdb::FieldDescriptor>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (databases.GetFieldName(int(i + 1)) != fields[i].name) return false;
  }
  // One field more would be a file of another kind.
  return databases.GetFieldName(int(fields.size() + 1)).empty();
}

}  // namespace

bool ReadRecordFile(DatabaseTable& databases, const Text& path, const Text& alias,
                    const std::vector<recdb::FieldDescriptor>& fields,
                    std::vector<RecordValues>* records, Text* message) {
  OpenOptions options;
  options.read_only = 1;
  if (!databases.OpenDatabase(path, alias, options)) {
    *message = Failure("无法打开文件 ", path, LastDatabaseError());
    return false;
  }
  bool ok = HasFields(databases, fields);
  if (!ok) {
    *message = Concat({"文件 ", path, " 的字段与程序要求的不符，可能已损坏或不是这种文件"});
  }
  // Under the whole-database lock the records are read in batches, not a lock per field, and
  // nobody changes the file half-way through the reading.
  const bool held = ok && databases.HoldWholeDatabase();
  if (ok && !held) {
    *message = Failure("无法读取文件 ", path, LastDatabaseError());
    ok = false;
  }
  const int32_t count = ok ? databases.GetRecordCount() : 0;
  records->clear();
  records->reserve(count);
  // In slices, so that the raw bytes in memory at once stay small beside the values.
  constexpr int32_t kSlice = 1024;
  for (int32_t first = 1; ok && first <= count; first += kSlice) {
    if (!databases.ReadRecordValues(first, std::min(kSlice, count - first + 1), records)) {
      *message = Concat({"无法读取文件 ", path, " 第 ", ToText(first), " 条起的记录：",
                         DatabaseErrorMessage(LastDatabaseError())});
      ok = false;
    }
  }
  if (held) databases.ReleaseWholeDatabase();
  databases.CloseDatabase(alias);
  return ok;
}

bool WriteRecordFile(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                     const Text& alias, const std::vector<recdb::FieldDescriptor>& fields,
                     const std::vector<RecordValues>& records, Text* message) {
  FileReplacement replacement(files, path);
  auto fail = [&](int code) {
    replacement.Abandon();
    *message = Failure("无法写入文件 ", path, code);
    return false;
  };
  int code = replacement.Prepare();
  if (code != fs::kOk) return fail(code);
  code = recdb::CreateDatabaseFile(files, replacement.saving(), fields, nullptr, Now());
  if (code != 0) return fail(code);
  if ((code = replacement.Protect()) != fs::kOk) return fail(code);
  // Held exclusively, the new file is written in batches and seen by nobody until it is whole.
  if (!databases.OpenDatabase(replacement.saving(), alias, OpenOptions::WithShareMode(4))) {
    return fail(LastDatabaseError());
  }
  bool ok = true;
  for (const RecordValues& record : records) {
    if (!(ok = databases.AppendRecordValues(record))) break;
  }
  ok = ok && databases.FlushDatabase();
  code = LastDatabaseError();
  databases.CloseDatabase(alias);
  if (ok && LastDatabaseError() != 0) ok = false, code = LastDatabaseError();
  if (!ok) return fail(code);
  if ((code = replacement.Commit()) != fs::kOk) return fail(code);
  return true;
}

recdb::FieldDescriptor TextField(const char* name, int width) {
  recdb::FieldDescriptor field;
  field.name = name;
  field.type = recdb::FieldType::kText;
  field.text_width = width;
  return field;
}

recdb::FieldDescriptor NumberField(const char* name) {
  recdb::FieldDescriptor field;
  field.name = name;
  field.type = recdb::FieldType::kDouble;
  return field;
}

recdb::FieldDescriptor WholeField(const char* name) {
  recdb::FieldDescriptor field;
  field.name = name;
  field.type = recdb::FieldType::kInt;
  return field;
}

bool FileExists(fs::FileSystem& files, const Text& path) {
  bool exists = false;
  return files.Exists(path, &exists) == fs::kOk && exists;
}

}  // namespace sr::app
