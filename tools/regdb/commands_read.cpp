// regdb info and dump: they open the file read-only and change nothing.
#include <functional>

#include "runtime/convert/conversions.h"
#include "runtime/convert/date_time.h"
#include "runtime/recdb/database.h"
#include "tools/regdb/command.h"
#include "tools/regdb/csv.h"
#include "tools/regdb/field_types.h"
#include "tools/regdb/utf8_edge.h"
#include "tools/regdb/value_text.h"

namespace sr::regdb {
namespace {

const OptionSpec kPasswordOnly{{"password"}, {}};
const OptionSpec kPasswordAndRaw{{"password"}, {"raw"}};

// Opens FILE (the first positional argument) read-only, sharing reads with others.
bool OpenForReading(const Io& io, const Args& args) {
  Text path, password;
  if (!PathArgument(io, args.positional[0], &path) || !PasswordArgument(io, args, &password)) {
    return false;
  }
  OpenOptions options;
  options.read_only = 1;
  options.password = password;
  return OpenFile(io, args.positional[0], path, options);
}

}  // namespace

std::string RecordFieldWhere(int32_t record, const recdb::FieldDescriptor& field) {
  return "record " + std::to_string(record + 1) + ", field " + Shown(field.name);
}

int ReadEveryRecord(const Io& io, const std::string& file,
                    const std::function<void(int32_t, const std::vector<Value>&)>& visit) {
  recdb::Database& db = *ProcessDatabases().current();
  // Under the whole-database lock records are read in batches, not a lock and a read per field,
  // and no other process changes them halfway through. While another process holds a lock,
  // the reads go field by field instead.
  const bool held = HoldWholeDatabase();
  const int32_t count = GetRecordCount();
  GoFirst();
  std::vector<Value> values;
  int status = kExitOk;
  for (int32_t r = 0; r < count && status == kExitOk; ++r, Skip()) {
    values.clear();
    for (size_t f = 0; f < db.fields().size() && status == kExitOk; ++f) {
      values.push_back(ReadField(static_cast<int>(f + 1)));
      if (LastDatabaseError() != 0) {
        status = FailLast(io, file + ": " + RecordFieldWhere(r, db.fields()[f]));
      }
    }
    if (status == kExitOk) visit(r, values);
  }
  if (held && !ReleaseWholeDatabase() && status == kExitOk) status = FailLast(io, file);
  CloseAllDatabases();
  return status;
}

namespace {

// Parses "COMMAND FILE [--password P]" and opens FILE for reading; *status is set on failure.
bool ParseAndOpen(const Io& io, const std::vector<std::string>& words, const char* usage,
                  Args* args, int* status, const OptionSpec& options = kPasswordOnly) {
  if (!ParseCommand(io, words, options, 1, 1, usage, args)) {
    *status = kExitUsage;
    return false;
  }
  if (!OpenForReading(io, *args)) {
    *status = kExitFailed;
    return false;
  }
  return true;
}

}  // namespace

int RunInfo(const Io& io, const std::vector<std::string>& words) {
  Args args;
  int status = kExitOk;
  if (!ParseAndOpen(io, words, "info FILE [--password P]", &args, &status)) return status;
  recdb::Database& db = *ProcessDatabases().current();
  const recdb::Header& h = db.header();
  const int32_t records = GetRecordCount();
  io.out << "file: " << Shown(db.full_path()) << "\n"
         << "password: " << (h.is_protected ? "yes (QCDB)" : "no (QKDB)") << "\n"
         << "version: " << h.version << "\n"
         << "created: " << Shown(DateTimeText(h.created)) << "\n"
         << "records: " << records << "\n"
         << "next serial number: " << h.next_serial << "\n"
         << "record size: " << h.record_size << "\n"
         << "data start: " << db.data_start() << "\n"
         << "fields: " << db.fields().size() << "\n";
  for (size_t i = 0; i < db.fields().size(); ++i) {
    const recdb::FieldDescriptor& field = db.fields()[i];
    io.out << "  " << (i + 1) << "  " << Shown(field.name) << "  " << TypeName(field.type) << "  "
           << field.width() << "\n";
  }
  CloseAllDatabases();
  return kExitOk;
}

int RunDump(const Io& io, const std::vector<std::string>& words) {
  Args args;
  int status = kExitOk;
  if (!ParseAndOpen(io, words, "dump FILE [--password P] [--raw]", &args, &status,
                    kPasswordAndRaw)) {
    return status;
  }
  const bool guarded = !args.Has("raw");
  const std::vector<recdb::FieldDescriptor> fields = ProcessDatabases().current()->fields();
  CsvRow row;
  for (const auto& field : fields) row.push_back(Shown(field.name));
  io.out << CsvLine(row);
  return ReadEveryRecord(io, args.positional[0], [&](int32_t r, const std::vector<Value>& values) {
    row.clear();
    for (size_t f = 0; f < values.size(); ++f) {
      std::string text;
      if (!ToUtf8Shown(FieldValueText(values[f]), &text)) {
        io.err << "regdb: warning: " << RecordFieldWhere(r, fields[f])
               << ": bytes that are not GBK are shown as '?'\n";
      }
      row.push_back(guarded && IsTextType(fields[f].type) ? GuardedText(std::move(text))
                                                          : std::move(text));
    }
    io.out << CsvLine(row);
  });
}

}  // namespace sr::regdb
