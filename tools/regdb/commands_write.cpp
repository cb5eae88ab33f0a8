// regdb create and import.
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/fs/file_system.h"
#include "runtime/convert/date_time.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/database.h"
#include "tools/regdb/command.h"
#include "tools/regdb/csv.h"
#include "tools/regdb/field_types.h"
#include "tools/regdb/utf8_edge.h"
#include "tools/regdb/value_text.h"

namespace sr::regdb {
namespace {

// One CSV line turned into values: (0-based field index, value) for each non-empty cell.
struct ImportRow {
  std::vector<std::pair<int, Value>> cells;
};

// Maps the CSV header to field indexes; every name must exist once.
bool MapHeader(const Io& io, const std::string& csv, const CsvRecord& header,
               const recdb::Database& db, std::vector<int>* columns) {
  for (const std::string& name : header.fields) {
    Text gbk;
    std::string error;
    if (!ToGbk(name, "field name", &gbk, &error)) {
      Fail(io, csv + ": line " + std::to_string(header.line) + ": " + error);
      return false;
    }
    const int index = db.FindField(Value::FromText(gbk));
    if (index < 0) {
      FailCode(io, csv + ": line " + std::to_string(header.line) + ", field " + name, -61);
      return false;
    }
    for (int seen : *columns) {
      if (seen == index) {
        Fail(io, csv + ": line " + std::to_string(header.line) + ": field " + name +
                     " is named twice");
        return false;
      }
    }
    columns->push_back(index);
  }
  return true;
}

// Converts one CSV line; nothing is written until every line has passed.
bool ConvertLine(const Io& io, const std::string& csv, const CsvRecord& record,
                 const std::vector<int>& columns, const recdb::Database& db, bool guarded,
                 ImportRow* row) {
  const std::string where = csv + ": line " + std::to_string(record.line);
  if (record.fields.size() != columns.size()) {
    Fail(io, where + ": " + std::to_string(record.fields.size()) + " values for " +
                 std::to_string(columns.size()) + " fields");
    return false;
  }
  for (size_t c = 0; c < columns.size(); ++c) {
    const recdb::FieldDescriptor& field = db.fields()[columns[c]];
    const std::string field_where = where + ", field " + Shown(field.name);
    Text gbk;
    std::string why;
    Value value;
    const std::string& cell = record.fields[c];
    if (!ToGbk(guarded && IsTextType(field.type) ? UnguardedText(cell) : cell, "value", &gbk,
               &why) ||
        !ParseFieldValue(field, gbk, &value, &why)) {
      Fail(io, field_where + ": " + why);
      return false;
    }
    if (!record.fields[c].empty()) row->cells.emplace_back(columns[c], std::move(value));
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return !in.bad();
}

int AppendRows(const Io& io, const std::string& file, const std::vector<CsvRecord>& records,
               const std::vector<ImportRow>& rows) {
  // Under the whole-database lock the appends go out in batches; other processes wait.
  if (!HoldWholeDatabase()) return FailLast(io, file);
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string where = file + ": line " + std::to_string(records[i + 1].line);
    if (!AppendBlankRecord()) return FailLast(io, where);
    for (const auto& [index, value] : rows[i].cells) {
      if (!WriteField(index + 1, value)) return FailLast(io, where);
    }
  }
  if (!ReleaseWholeDatabase()) return FailLast(io, file);
  return kExitOk;
}

}  // namespace

int RunCreate(const Io& io, const std::vector<std::string>& words) {
  Args args;
  const char* usage = "create FILE --field NAME:TYPE[:WIDTH] ... [--password P] [--force]";
  if (!ParseCommand(io, words, {{"field", "password"}, {"force"}}, 1, 1, usage, &args)) {
    return kExitUsage;
  }
  const std::string& file = args.positional[0];
  if (args.All("field").empty()) return FailCode(io, file, kNoFields);
  std::vector<recdb::FieldDescriptor> fields;
  for (const std::string& description : args.All("field")) {
    recdb::FieldDescriptor field;
    std::string error;
    if (int code = ParseFieldSpec(description, &field, &error); code != 0) {
      return Fail(io, error + " (" + DatabaseErrorText(code) + ")");
    }
    for (const auto& other : fields) {
      if (recdb::NamesEqual(other.name, field.name)) {
        return FailCode(io, file + ": field " + Shown(field.name), kDbDuplicateFieldName);
      }
    }
    fields.push_back(field);
  }
  Text path, password;
  if (!PathArgument(io, file, &path) || !PasswordArgument(io, args, &password)) return kExitFailed;
  if (!CheckOutput(io, Text(), file, path, args.Has("force"))) return kExitFailed;
  std::shared_ptr<recdb::PageCipher> cipher;
  if (!password.empty()) cipher = std::make_shared<recdb::PageCipher>(password);
  const int code =
      recdb::CreateDatabaseFile(ProcessDatabases().file_system(), path, fields, cipher, Now());
  if (code != 0) return FailCode(io, file, code);
  return kExitOk;
}

int RunImport(const Io& io, const std::vector<std::string>& words) {
  Args args;
  if (!ParseCommand(io, words, {{"password"}, {"raw"}}, 2, 2,
                    "import FILE CSV [--password P] [--raw]", &args)) {
    return kExitUsage;
  }
  const std::string& file = args.positional[0];
  const std::string& csv = args.positional[1];
  std::string text, error;
  if (!ReadWholeFile(csv, &text)) return Fail(io, csv + ": cannot be read");
  std::vector<CsvRecord> records;
  if (!ParseCsv(text, &records, &error)) return Fail(io, csv + ": " + error);
  if (records.empty()) return Fail(io, csv + ": no header line");

  Text path, password;
  if (!PathArgument(io, file, &path) || !PasswordArgument(io, args, &password)) return kExitFailed;
  OpenOptions options;
  options.password = password;
  // Held until the file is closed: no other writer's check falls between this one's appends.
  std::unique_ptr<recdb::WriterLock> lock;
  if (!TakeWriterLock(io, file, path, &lock) || !OpenFile(io, file, path, options)) {
    return kExitFailed;
  }
  recdb::Database& db = *ProcessDatabases().current();
  std::vector<int> columns;
  std::vector<ImportRow> rows(records.size() - 1);
  bool ok = MapHeader(io, csv, records[0], db, &columns);
  for (size_t i = 1; ok && i < records.size(); ++i) {
    ok = ConvertLine(io, csv, records[i], columns, db, !args.Has("raw"), &rows[i - 1]);
  }
  int status = ok ? AppendRows(io, file, records, rows) : kExitFailed;
  CloseAllDatabases();
  if (status == kExitOk && LastDatabaseError() != 0) status = FailLast(io, file);
  if (status == kExitOk) io.out << file << ": " << rows.size() << " records appended\n";
  return status;
}

}  // namespace sr::regdb
