#ifndef SALARY_RUNTIME_RECDB_PROCESS_DATABASES_H_
#define SALARY_RUNTIME_RECDB_PROCESS_DATABASES_H_

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "runtime/recdb/recdb.h"

// The process's own table of open databases, and the record database operations on its current
// database as free functions, for code written against the runtime's process-wide operations
// (the tools). Each is one line over DatabaseTable; recdb.h says what they do.
namespace sr {

namespace process_databases_internal {
inline std::unique_ptr<DatabaseTable>& Table() {
  static std::unique_ptr<DatabaseTable> table;
  return table;
}
}  // namespace process_databases_internal

// Makes the process's table over `file_system`, which must outlive it (the program and the tools
// pass the real one). A table made before is closed first. Returns the new table.
inline DatabaseTable& StartProcessDatabases(fs::FileSystem& file_system) {
  auto& table = process_databases_internal::Table();
  table.reset();
  table = std::make_unique<DatabaseTable>(file_system);
  return *table;
}

// The process's table. REQUIRES: StartProcessDatabases has been called; a process that has not
// chosen its file system ends here with a message.
inline DatabaseTable& ProcessDatabases() {
  auto& table = process_databases_internal::Table();
  if (table == nullptr) {
    std::fputs("record database used before StartProcessDatabases\n", stderr);
    std::abort();
  }
  return *table;
}

inline bool OpenDatabase(const Text& file, const Text& alias, const OpenOptions& options = {}) {
  return ProcessDatabases().OpenDatabase(file, alias, options);
}
inline bool SelectDatabase(const Text& name) { return ProcessDatabases().SelectDatabase(name); }
inline void CloseDatabase(const Text& name = Text()) { ProcessDatabases().CloseDatabase(name); }
inline void CloseAllDatabases() { ProcessDatabases().CloseAllDatabases(); }
inline int32_t GetRecordCount() { return ProcessDatabases().GetRecordCount(); }
inline Text GetFieldName(const FieldRef& field) { return ProcessDatabases().GetFieldName(field); }
inline void GoFirst() { ProcessDatabases().GoFirst(); }
inline bool Skip(int32_t n = 1) { return ProcessDatabases().Skip(n); }
inline bool GotoRecord(int32_t n) { return ProcessDatabases().GotoRecord(n); }
inline Value ReadField(const FieldRef& field) { return ProcessDatabases().ReadField(field); }
inline bool WriteField(const FieldRef& field, const Value& value = Value()) {
  return ProcessDatabases().WriteField(field, value);
}
inline bool AppendBlankRecord() { return ProcessDatabases().AppendBlankRecord(); }
inline bool ZapRecords() { return ProcessDatabases().ZapRecords(); }
inline bool RenameField(const FieldRef& field, const Text& new_name) {
  return ProcessDatabases().RenameField(field, new_name);
}
inline bool CopyStructure(const Text& file, const std::vector<Text>& fields = {}) {
  return ProcessDatabases().CopyStructure(file, fields);
}
inline bool SortToFile(const Text& file, const std::vector<Text>& keys,
                       const SortOptions& options = {}) {
  return ProcessDatabases().SortToFile(file, keys, options);
}
inline bool HoldWholeDatabase() { return ProcessDatabases().HoldWholeDatabase(); }
inline bool ReleaseWholeDatabase() { return ProcessDatabases().ReleaseWholeDatabase(); }
inline bool FlushDatabase() { return ProcessDatabases().FlushDatabase(); }

}  // namespace sr

#endif  // SALARY_RUNTIME_RECDB_PROCESS_DATABASES_H_
