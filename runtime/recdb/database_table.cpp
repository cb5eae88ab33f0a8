// The table of open databases, the current database, and the operations that act on it.
#include <algorithm>

#include "runtime/convert/date_time.h"
#include "runtime/convert/fatal_error.h"
#include "runtime/recdb/alias.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/recdb.h"

namespace sr {

using recdb::Database;

namespace {

constexpr char kNoCurrentDatabaseText[] = "未指定当前数据库或者指定数据库未打开";
constexpr char kNoSuchFieldText[] = "指定字段不存在";
constexpr char kFieldDesignationText[] =
    "只能使用字段名称(文本型)或位置索引值(数值型)来指定某个字段";

bool IsDesignation(const Value& value) { return value.is_text() || value.is_numeric(); }

}  // namespace

DatabaseTable::DatabaseTable(fs::FileSystem& file_system) : fs_(file_system), clock_(Now) {}

DatabaseTable::~DatabaseTable() {
  while (!open_.empty()) open_.pop_back();
}

Database* DatabaseTable::current() const {
  return current_ < 0 ? nullptr : open_[current_].get();
}

bool DatabaseTable::Done(int code) {
  SetLastDatabaseError(code);
  return code == kDbOk;
}

int DatabaseTable::Find(const Text& name) const {
  if (name.empty()) return -1;
  auto search = [&](auto key, auto equal) {
    for (int n = static_cast<int>(open_.size()) - 1; n >= 0; --n) {
      const Text& candidate = key(*open_[n]);
      if (!candidate.empty() && equal(candidate, name)) return n;
    }
    return -1;
  };
  int found =
      search([](const Database& db) -> const Text& { return db.alias(); }, recdb::NamesEqual);
  if (found < 0) {
    found = search([](const Database& db) -> const Text& { return db.title(); }, recdb::NamesEqual);
  }
  if (found < 0) {
    found =
        search([](const Database& db) -> const Text& { return db.full_path(); }, recdb::PathsEqual);
  }
  return found;
}

bool DatabaseTable::OpenDatabase(const Text& file, const Text& alias,
                                 const OpenOptions& options) {
  if (file.empty()) return Done(kDbNotFound);
  recdb::OpenRequest request;
  int code = fs_.FullPath(recdb::WithDefaultExtension(file), &request.path);
  if (code != fs::kOk) return Done(code);
  for (const auto& db : open_) {
    if (recdb::PathsEqual(db->full_path(), request.path)) return Done(kDbAlreadyOpen);
  }
  if (!alias.empty() && !recdb::IsValidAlias(alias)) return Done(kDbBadAlias);
  bool has_index = std::any_of(options.index_files.begin(), options.index_files.end(),
                               [](const Text& name) { return !name.empty(); });
  if (has_index) return Done(-30);
  request.password = options.password;
  request.read_only = options.read_only;
  request.share_mode = options.share_mode;
  request.keep_repair_copy = options.keep_repair_copy;
  recdb::OpenedDatabase opened;
  code = recdb::OpenAndValidate(fs_, request, &opened);
  if (code != kDbOk) return Done(code);
  auto db = std::make_unique<Database>(std::move(opened), request.path, alias,
                                       recdb::IsExclusiveMode(options.share_mode));
  db->set_count_lock_wait(count_lock_wait_ms_);
  db->set_lock_wait(lock_wait_ms_);
  open_.push_back(std::move(db));
  current_ = static_cast<int>(open_.size()) - 1;
  return Done(kDbOk);
}

bool DatabaseTable::SelectDatabase(const Text& name) {
  int found = Find(name);
  if (found < 0) return Done(kDbNotOpen);
  current_ = found;
  return Done(kDbOk);
}

void DatabaseTable::Close(int index) {
  int code = open_[index]->Flush();
  open_.erase(open_.begin() + index);
  if (index == current_) {
    current_ = -1;
  } else if (index < current_) {
    --current_;
  }
  SetLastDatabaseError(code);
}

void DatabaseTable::CloseDatabase(const Text& name) {
  SetLastDatabaseError(kDbOk);
  int index = name.empty() ? current_ : Find(name);
  if (index >= 0) Close(index);
}

void DatabaseTable::CloseAllDatabases() {
  int code = kDbOk;
  while (!open_.empty()) {
    int flushed = open_.back()->Flush();
    if (code == kDbOk) code = flushed;
    open_.pop_back();
  }
  current_ = -1;
  SetLastDatabaseError(code);
}

int32_t DatabaseTable::GetRecordCount() {
  Database* db = current();
  if (db == nullptr) return Done(kDbNoCurrentDatabase), 0;
  int32_t count = 0;
  Done(db->ReadRecordCount(&count));
  return count;
}

Text DatabaseTable::GetFieldName(const FieldRef& field) {
  Database* db = current();
  if (db == nullptr) return Done(kDbNoCurrentDatabase), Text();
  if (!IsDesignation(field.value())) RaiseFatalError(0, kFieldDesignationText);
  Done(kDbOk);
  int index = db->FindField(field.value());
  return index < 0 ? Text() : db->fields()[index].name;
}

void DatabaseTable::GoFirst() {
  Database* db = current();
  if (db == nullptr) return (void)Done(kDbNoCurrentDatabase);
  db->set_current_record(0);
  Done(kDbOk);
}

bool DatabaseTable::Skip(int32_t n) {
  Database* db = current();
  return Done(db == nullptr ? kDbNoCurrentDatabase : db->Skip(n));
}

bool DatabaseTable::GotoRecord(int32_t n) {
  Database* db = current();
  return Done(db == nullptr ? kDbNoCurrentDatabase : db->GotoRecord(n));
}

Value DatabaseTable::ReadField(const FieldRef& field) {
  Database* db = current();
  if (db == nullptr) RaiseFatalError(0, kNoCurrentDatabaseText);
  if (!IsDesignation(field.value())) RaiseFatalError(kErrorArgumentType);
  int index = db->FindField(field.value());
  if (index < 0) RaiseFatalError(0, kNoSuchFieldText);
  Value value;
  Done(db->ReadField(index, &value));
  return value;
}

bool DatabaseTable::WriteField(const FieldRef& field, const Value& value) {
  Database* db = current();
  if (db == nullptr) return Done(kDbNotOpen);
  int index = db->FindField(field.value());
  if (index < 0) return Done(kDbNoSuchField);
  return Done(db->WriteField(index, value));
}

bool DatabaseTable::ReadRecordValues(int32_t first, int32_t count,
                                     std::vector<std::vector<Value>>* records) {
  Database* db = current();
  if (db == nullptr) return Done(kDbNoCurrentDatabase);
  if (first < 1 || count < 0) return Done(kDbRecordReadFailed);
  return Done(db->ReadRecordValues(first - 1, count, records));
}

bool DatabaseTable::AppendRecordValues(const std::vector<Value>& values) {
  Database* db = current();
  return Done(db == nullptr ? kDbNoCurrentDatabase : db->AppendRecordValues(values));
}

bool DatabaseTable::ReadRecordBytes(int32_t first, int32_t count, std::string* bytes) {
  Database* db = current();
  if (db == nullptr) return Done(kDbNoCurrentDatabase);
  if (first < 1 || count < 0) return Done(kDbRecordReadFailed);
  return Done(db->ReadRecordBytes(first - 1, count, bytes));
}

bool DatabaseTable::AppendRecordBytes(const std::string& bytes) {
  Database* db = current();
  return Done(db == nullptr ? kDbNoCurrentDatabase : db->AppendRecordBytes(bytes));
}

bool DatabaseTable::AppendBlankRecord() {
  Database* db = current();
  return Done(db == nullptr ? kDbNoCurrentDatabase : db->AppendBlankRecord());
}

bool DatabaseTable::ZapRecords() {
  Database* db = current();
  return Done(db == nullptr ? kDbNoCurrentDatabase : db->ZapRecords());
}

bool DatabaseTable::HoldWholeDatabase() {
  Database* db = current();
  return Done(db == nullptr ? kDbNoCurrentDatabase : db->HoldWhole());
}

bool DatabaseTable::ReleaseWholeDatabase() {
  Database* db = current();
  return Done(db == nullptr ? kDbNoCurrentDatabase : db->ReleaseWhole());
}

bool DatabaseTable::FlushDatabase() {
  Database* db = current();
  return Done(db == nullptr ? kDbNoCurrentDatabase : db->Flush());
}

}  // namespace sr
