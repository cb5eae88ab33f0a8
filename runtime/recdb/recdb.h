#ifndef SALARY_RUNTIME_RECDB_RECDB_H_
#define SALARY_RUNTIME_RECDB_RECDB_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "base/value.h"
#include "platform/fs/file_system.h"
#include "runtime/recdb/errors.h"

// The record database operations. They act on the current database of a table of open
// databases (process_databases.h gives the process's own table and the same operations as free
// functions on it). Every operation sets the calling thread's last database error
// (LastDatabaseError, DatabaseErrorMessage in errors.h): 0 on success, else the code; a success
// flag is true exactly when that code is 0.
namespace sr {

namespace recdb {
class Database;
}

// A field given by name (ASCII case ignored) or by 1-based position. Converts implicitly from
// a position, a name or a typed value; a typed value of another kind is a misuse.
class FieldRef {
 public:
  FieldRef(int position) : value_(Value::Int(position)) {}     // NOLINT: implicit by design
  FieldRef(const char* name) : value_(Value::FromText(name)) {}  // NOLINT
  FieldRef(const Text& name) : value_(Value::FromText(name)) {}  // NOLINT
  FieldRef(const Value& value) : value_(value) {}                // NOLINT
  const Value& value() const { return value_; }

 private:
  Value value_;
};

struct OpenOptions {
  // 1 opens for reading only. Any non-zero value also refuses to repair a short file (-48).
  int read_only = 0;
  // 1: others may read and write; 2: others may only write; 3: others may only read; 4 or any
  // other value: nobody else. Modes 2 and 4 hold the database exclusively.
  int share_mode = 1;
  Text password;  // empty: no password
  // A writable open that repairs the file's size keeps a copy of it beside it first
  // (Database::repair_copy); false for a caller that kept its own.
  bool keep_repair_copy = true;
  // Index files are not supported: any non-empty name fails the open with -30.
  std::vector<Text> index_files;

  // Shorthands for the two variations the program uses.
  static OpenOptions WithPassword(Text password) {
    OpenOptions options;
    options.password = std::move(password);
    return options;
  }
  static OpenOptions WithShareMode(int share_mode) {
    OpenOptions options;
    options.share_mode = share_mode;
    return options;
  }
};

struct SortOptions {
  // Key i sorts descending exactly when ascending has an element i that is false.
  std::vector<bool> ascending;
  // Keeps a record when it returns true; ReadField reads the record under test during the call.
  std::function<bool()> condition;
  // The fields of the new file, by name, in this order; empty (or none matching): all fields.
  std::vector<Text> fields;
};

// The open databases of a process (or of a test), and the current one.
class DatabaseTable {
 public:
  // Every file of the table's databases is reached through `file_system`, which must outlive
  // the table: the real one in the program and the tools, a memory or fault-injecting one in
  // tests.
  explicit DatabaseTable(fs::FileSystem& file_system);
  ~DatabaseTable();
  DatabaseTable(const DatabaseTable&) = delete;
  DatabaseTable& operator=(const DatabaseTable&) = delete;

  // Opens an existing database file (default extension "KDB") under `alias` (may be empty) and
  // makes it current with record 0 current. Fails with -3 for an empty name, -38 when the file
  // is already open in this table, -24 for an invalid alias, or the file's open and validation
  // code; the table is then unchanged.
  bool OpenDatabase(const Text& file, const Text& alias, const OpenOptions& options = {});
  // Makes the database named by alias, file title or full path current (newest first), or -66.
  bool SelectDatabase(const Text& name);
  // Closes the named database, or the current one when `name` is empty. A name that no open
  // database has does nothing. Pending writes are written first; a failure sets its code.
  void CloseDatabase(const Text& name = Text());
  void CloseAllDatabases();

  // The record count of the current database; 0 on failure (-67, -65 or a lock code).
  int32_t GetRecordCount();
  // The field's name; empty with -67 without a current database, empty with 0 when there is no
  // such field. Raises a fatal runtime error when `field` is neither a text nor a number.
  Text GetFieldName(const FieldRef& field);
  void GoFirst();
  // Moves n records (n may be negative): -26 past the end, -25 before the start.
  bool Skip(int32_t n = 1);
  // Moves to record n (1-based), kept within the records; position 0 when there are none.
  bool GotoRecord(int32_t n);
  // The field's value in the current record, or the empty value of its kind with the failure
  // code (-60, -10, -46, -59, a lock code). Raises a fatal runtime error without a current
  // database, for a field that does not exist, or for a field given by a value of another kind.
  Value ReadField(const FieldRef& field);
  // Writes into the current record: -66 without a current database, -61 without such a field,
  // -72 for a value of the wrong kind, -60 past the last record. Omitted writes the empty value.
  bool WriteField(const FieldRef& field, const Value& value = Value());
  // Appends a blank record with the next serial number and makes it current.
  bool AppendBlankRecord();
  // For a file read or written whole under the whole-database lock or an exclusive share mode
  // (records are not locked one by one): appends to `records` the values of every field of
  // `count` records from record `first` (1-based), -62 when they are not all there; and appends
  // a record holding `values`, one per field in order (-61 for another number of values, -72
  // for a value of the wrong kind, nothing appended then) and makes it current.
  bool ReadRecordValues(int32_t first, int32_t count, std::vector<std::vector<Value>>* records);
  bool AppendRecordValues(const std::vector<Value>& values);
  // Raw forms of the same, for copying records as they are stored: replaces `bytes` with the
  // stored bytes of `count` records from record `first` (1-based), serial numbers included, -62
  // when they are not all there; and appends the records in `bytes`, a whole number of records
  // of this file's size (-62 otherwise), byte for byte except for their serial numbers, which
  // are the next ones as AppendBlankRecord gives them. The last one appended becomes current.
  // Appending gives -72 for a file with memo or bytes fields: their slots point into a
  // companion file.
  bool ReadRecordBytes(int32_t first, int32_t count, std::string* bytes);
  bool AppendRecordBytes(const std::string& bytes);
  // Removes all records (the next serial number stays) and empties the companion file.
  bool ZapRecords();

  // Structure operations.
  // Renames a field: -74 unless the database is held exclusively or under the whole-database
  // lock, -18 for a name of 17 bytes or more, -20 for another field's name.
  bool RenameField(const FieldRef& field, const Text& new_name);
  // Creates an empty database file with the named fields (all when none match) and the current
  // database's password. The new file is not opened.
  bool CopyStructure(const Text& file, const std::vector<Text>& fields = {});
  // Writes the current database's records, sorted by the key fields, into a new file.
  bool SortToFile(const Text& file, const std::vector<Text>& keys,
                  const SortOptions& options = {});

  // Holding the whole-database lock makes the current database private to this process: record
  // and count locks are skipped and records are read and written in batches until the last
  // release. Holds nest.
  bool HoldWholeDatabase();
  bool ReleaseWholeDatabase();
  // Writes whatever the current database still holds in memory (exclusive share modes keep
  // pending appends until this, a close, or an operation that needs the file).
  bool FlushDatabase();

  // For tools and tests: the current database (null when none), the number of open databases,
  // the file system, the retry time of a refused lock on the record count (default 2000 ms),
  // and of a refused record, companion block or whole-database lock (default 1000 ms). Both
  // apply to databases opened afterwards.
  recdb::Database* current() const;
  size_t open_count() const { return open_.size(); }
  fs::FileSystem& file_system() const { return fs_; }
  void set_count_lock_wait(int ms) { count_lock_wait_ms_ = ms; }
  void set_lock_wait(int ms) { lock_wait_ms_ = ms; }
  // The creation time written into new files (default: the local clock).
  void set_clock(std::function<double()> clock) { clock_ = std::move(clock); }

 private:
  int Find(const Text& name) const;
  void Close(int index);
  bool Done(int code);
  int SortInto(recdb::Database& db, const Text& file, const std::vector<int>& keys,
               const SortOptions& options);

  fs::FileSystem& fs_;
  std::vector<std::unique_ptr<recdb::Database>> open_;
  int current_ = -1;
  int count_lock_wait_ms_ = 2000;
  // Another process's open holds the whole file for a moment while it validates; a lock that
  // meets it is tried again rather than leaving a record half-written.
  int lock_wait_ms_ = 1000;
  std::function<double()> clock_;
};

}  // namespace sr

#endif  // SALARY_RUNTIME_RECDB_RECDB_H_
