#include "app/withholding/record_file.h"

#include <algorithm>
#include <limits>

#include "app/register/amount_cells.h"
#include "app/register/file_replacement.h"
#include "runtime/convert/conversions.h"
#include "runtime/convert/date_time.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/database.h"

namespace sr::app {
namespace {

const char kNotThisKind[] = " 的字段与程序要求的不符，可能已损坏或不是这种文件";

// Another program (another copy of this one, say) holding the file: nothing is wrong with it.
Text Failure(const char* what, const Text& path, int code) {
  if (code == fs::kSharingViolation || code == fs::kLockViolation || code == kDbLockFailed) {
    return FileInUse(path);
  }
  return Concat({what, path, "：", DatabaseErrorMessage(code)});
}

bool HasFields(DatabaseTable& databases, const std::vector<recdb::FieldDescriptor>& fields) {
  if (fields.empty()) return false;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (databases.GetFieldName(int(i + 1)) != fields[i].name) return false;
  }
  // One field more would be a file of another kind.
  return databases.GetFieldName(int(fields.size() + 1)).empty();
}

// Whether the open file's records are laid out as `laid` (fields with their offsets) describes.
bool HasLayout(DatabaseTable& databases, const std::vector<recdb::FieldDescriptor>& laid,
               int32_t record_size) {
  const recdb::Database* db = databases.current();
  if (db->header().record_size != record_size || db->fields().size() != laid.size()) return false;
  for (size_t i = 0; i < laid.size(); ++i) {
    const recdb::FieldDescriptor& a = db->fields()[i];
    const recdb::FieldDescriptor& b = laid[i];
    if (a.type != b.type || a.offset != b.offset || a.width() != b.width()) return false;
  }
  return true;
}

// The file opened read-only with the fields checked and held whole while `read` reads its
// `count` records; closed again.
// With `earlier` fields, a file of those is read as well, and *is_earlier says which it was.
bool ReadWholeFile(DatabaseTable& databases, const Text& path, const Text& alias,
                   const std::vector<recdb::FieldDescriptor>& fields, Text* message,
                   const std::function<bool(int32_t count)>& read,
                   const std::vector<recdb::FieldDescriptor>& earlier = {},
                   bool* is_earlier = nullptr) {
  OpenOptions options;
  options.read_only = 1;
  if (!databases.OpenDatabase(path, alias, options)) {
    *message = Failure("无法打开文件 ", path, LastDatabaseError());
    return false;
  }
  bool ok = HasFields(databases, fields);
  if (!ok && HasFields(databases, earlier)) ok = *is_earlier = true;
  if (!ok) *message = Concat({"文件 ", path, kNotThisKind});
  // Under the whole-database lock the records are read in batches, not a lock per field, and
  // nobody changes the file half-way through the reading.
  const bool held = ok && databases.HoldWholeDatabase();
  if (ok && !held) {
    *message = Failure("无法读取文件 ", path, LastDatabaseError());
    ok = false;
  }
  ok = ok && read(databases.GetRecordCount());
  if (held) databases.ReleaseWholeDatabase();
  databases.CloseDatabase(alias);
  return ok;
}

Text ReadFailure(const Text& path, int32_t first) {
  return Concat({"无法读取文件 ", path, " 第 ", ToText(first), " 条起的记录：",
                 DatabaseErrorMessage(LastDatabaseError())});
}

// The file made anew beside `path` and held exclusively while `append` appends its records,
// then put in the place of `path`.
bool WriteWholeFile(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                    const Text& alias, const std::vector<recdb::FieldDescriptor>& fields,
                    Text* message, double replaces_created,
                    const std::function<bool()>& append) {
  FileReplacement replacement(files, path);
  auto fail = [&](int code) {
    replacement.Abandon();
    *message = Failure("无法写入文件 ", path, code);
    return false;
  };
  int code = replacement.Prepare();
  if (code != fs::kOk) return fail(code);
  constexpr double kSecond = 1.0 / 86400;  // creation times count days
  const double created = std::max(Now(), replaces_created + kSecond);
  code = recdb::CreateDatabaseFile(files, replacement.saving(), fields, nullptr, created);
  if (code != 0) return fail(code);
  if ((code = replacement.Protect()) != fs::kOk) return fail(code);
  // Held exclusively, the new file is written in batches and seen by nobody until it is whole.
  if (!databases.OpenDatabase(replacement.saving(), alias, OpenOptions::WithShareMode(4))) {
    return fail(LastDatabaseError());
  }
  bool ok = append() && databases.FlushDatabase();
  code = LastDatabaseError();
  databases.CloseDatabase(alias);
  if (ok && LastDatabaseError() != 0) ok = false, code = LastDatabaseError();
  if (!ok) return fail(code);
  if ((code = replacement.Commit()) != fs::kOk) return fail(code);
  return true;
}

// Whether every amount read is one the program handles; else *message names the first other.
bool AmountsHandled(const std::vector<RecordValues>& records, const Text& path,
                    const std::vector<recdb::FieldDescriptor>& fields, Text* message) {
  for (size_t r = 0; r < records.size(); ++r) {
    for (size_t f = 0; f < records[r].size() && f < fields.size(); ++f) {
      const Value& value = records[r][f];
      const bool floating = value.kind() == Kind::kDouble || value.kind() == Kind::kFloat;
      if (!floating || IsStoredAmountHandled(value.floating())) continue;
      *message = StoredAmountProblem(Concat({"文件 ", path}), int64_t(r) + 1, Text(),
                                     fields[f].name, value.floating());
      return false;
    }
  }
  return true;
}

// In slices, so that the raw bytes in memory at once stay small beside the values.
constexpr int32_t kSlice = 1024;

}  // namespace

bool ReadRecordFile(DatabaseTable& databases, const Text& path, const Text& alias,
                    const std::vector<recdb::FieldDescriptor>& fields,
                    std::vector<RecordValues>* records, Text* message) {
  records->clear();
  return ReadWholeFile(databases, path, alias, fields, message, [&](int32_t count) {
    records->reserve(count);
    for (int32_t first = 1; first <= count; first += kSlice) {
      if (!databases.ReadRecordValues(first, std::min(kSlice, count - first + 1), records)) {
        *message = ReadFailure(path, first);
        return false;
      }
    }
    return AmountsHandled(*records, path, fields, message);
  });
}

bool ReadStoredRecords(DatabaseTable& databases, const Text& path, const Text& alias,
                       const std::vector<recdb::FieldDescriptor>& fields,
                       const std::function<void(int32_t count, double created)>& begin,
                       const std::function<bool(const uint8_t* record, Text* message)>& take,
                       Text* message, const EarlierLayout* earlier, bool* was_earlier) {
  std::vector<recdb::FieldDescriptor> laid = fields;
  const int32_t size = recdb::AssignOffsets(&laid);
  std::vector<recdb::FieldDescriptor> laid_before = earlier ? earlier->fields : laid;
  const int32_t size_before = recdb::AssignOffsets(&laid_before);
  bool is_earlier = false;
  // The fields of an earlier record that the current one keeps, by name.
  std::vector<std::pair<const recdb::FieldDescriptor*, const recdb::FieldDescriptor*>> kept;
  for (const recdb::FieldDescriptor& from : laid_before) {
    for (const recdb::FieldDescriptor& to : laid) {
      if (to.name == from.name && to.type == from.type && to.width() == from.width()) {
        kept.emplace_back(&from, &to);
      }
    }
  }
  std::string upgraded(size_t(size), '\0');
  auto record_of = [&](const uint8_t* stored) -> const uint8_t* {
    if (!is_earlier) return stored;
    std::fill(upgraded.begin(), upgraded.end(), '\0');
    uint8_t* record = reinterpret_cast<uint8_t*>(upgraded.data());
    std::copy(stored, stored + 4, record);  // the serial number
    for (const auto& [from, to] : kept) {
      std::copy(stored + from->offset, stored + from->offset + from->width(), record + to->offset);
    }
    earlier->upgrade(record);
    return record;
  };
  const auto read = [&](int32_t count) {
    if (!HasLayout(databases, is_earlier ? laid_before : laid, is_earlier ? size_before : size)) {
      *message = Concat({"文件 ", path, kNotThisKind});
      return false;
    }
    begin(count, databases.current()->header().created);
    const size_t stored_size = size_t(is_earlier ? size_before : size);
    std::string bytes;
    for (int32_t first = 1; first <= count; first += kSlice) {
      const int32_t n = std::min(kSlice, count - first + 1);
      if (!databases.ReadRecordBytes(first, n, &bytes)) {
        *message = ReadFailure(path, first);
        return false;
      }
      for (int32_t r = 0; r < n; ++r) {
        const auto* stored = reinterpret_cast<const uint8_t*>(bytes.data()) + size_t(r) * stored_size;
        if (!take(record_of(stored), message)) return false;
      }
    }
    return true;
  };
  const bool ok = ReadWholeFile(databases, path, alias, fields, message, read,
                                earlier ? earlier->fields : std::vector<recdb::FieldDescriptor>(),
                                &is_earlier);
  if (was_earlier != nullptr) *was_earlier = is_earlier;
  return ok;
}

bool WriteRecordFile(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                     const Text& alias, const std::vector<recdb::FieldDescriptor>& fields,
                     const std::vector<RecordValues>& records, Text* message) {
  return WriteWholeFile(databases, files, path, alias, fields, message, 0, [&] {
    for (const RecordValues& record : records) {
      if (!databases.AppendRecordValues(record)) return false;
    }
    return true;
  });
}

bool WriteStoredRecords(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                        const Text& alias, const std::vector<recdb::FieldDescriptor>& fields,
                        size_t count,
                        const std::function<void(size_t index, uint8_t* record)>& encode,
                        Text* message, double replaces_created) {
  std::vector<recdb::FieldDescriptor> laid = fields;
  const size_t size = size_t(recdb::AssignOffsets(&laid));
  return WriteWholeFile(databases, files, path, alias, fields, message, replaces_created, [&] {
    std::string bytes;
    for (size_t first = 0; first < count; first += kSlice) {
      const size_t n = std::min(size_t(kSlice), count - first);
      bytes.assign(n * size, '\0');
      uint8_t* records = reinterpret_cast<uint8_t*>(bytes.data());
      for (size_t r = 0; r < n; ++r) encode(first + r, records + r * size);
      if (!databases.AppendRecordBytes(bytes)) return false;
    }
    return true;
  });
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

Text FileInUse(const Text& path) {
  return Concat({"文件 ", path, " 正被另一个程序使用（可能是另一个打开着的本程序），请稍后再试"});
}

int ReadFileContent(fs::FileSystem& files, const Text& path, std::string* content) {
  bool too_large = false;
  return ReadFileContentUpTo(files, path, std::numeric_limits<int64_t>::max(), content,
                             &too_large);
}

int ReadFileContentUpTo(fs::FileSystem& files, const Text& path, int64_t most_bytes,
                        std::string* content, bool* too_large) {
  std::unique_ptr<fs::File> file;
  int code = files.Open(path, fs::Access::kRead, fs::Share::kDenyWrite,
                        fs::Disposition::kOpenExisting, &file);
  int64_t length = 0;
  if (code == fs::kOk) code = file->Length(&length);
  *too_large = length > most_bytes;
  if (*too_large) length = 0;
  content->assign(static_cast<size_t>(length), '\0');
  size_t got = 0;
  if (code == fs::kOk && length > 0) code = file->ReadAt(0, content->data(), content->size(), &got);
  content->resize(got);
  return code;
}

bool FileExists(fs::FileSystem& files, const Text& path) {
  bool exists = false;
  return files.Exists(path, &exists) == fs::kOk && exists;
}

}  // namespace sr::app
