// The process's table of open databases and the operations on its current database.
#include "runtime/recdb/recdb.h"

namespace sr {

DatabaseTable& ProcessDatabases() {
  static DatabaseTable table;
  return table;
}

bool OpenDatabase(const Text& file, const Text& alias, const OpenOptions& options) {
  return ProcessDatabases().OpenDatabase(file, alias, options);
}
bool SelectDatabase(const Text& name) { return ProcessDatabases().SelectDatabase(name); }
void CloseDatabase(const Text& name) { ProcessDatabases().CloseDatabase(name); }
void CloseAllDatabases() { ProcessDatabases().CloseAllDatabases(); }
int32_t GetRecordCount() { return ProcessDatabases().GetRecordCount(); }
Text GetFieldName(const FieldRef& field) { return ProcessDatabases().GetFieldName(field); }
void GoFirst() { ProcessDatabases().GoFirst(); }
bool Skip(int32_t n) { return ProcessDatabases().Skip(n); }
bool GotoRecord(int32_t n) { return ProcessDatabases().GotoRecord(n); }
Value ReadField(const FieldRef& field) { return ProcessDatabases().ReadField(field); }
bool WriteField(const FieldRef& field, const Value& value) {
  return ProcessDatabases().WriteField(field, value);
}
bool AppendBlankRecord() { return ProcessDatabases().AppendBlankRecord(); }
bool ZapRecords() { return ProcessDatabases().ZapRecords(); }
bool RenameField(const FieldRef& field, const Text& new_name) {
  return ProcessDatabases().RenameField(field, new_name);
}
bool CopyStructure(const Text& file, const std::vector<Text>& fields) {
  return ProcessDatabases().CopyStructure(file, fields);
}
bool SortToFile(const Text& file, const std::vector<Text>& keys, const SortOptions& options) {
  return ProcessDatabases().SortToFile(file, keys, options);
}
bool HoldWholeDatabase() { return ProcessDatabases().HoldWholeDatabase(); }
bool ReleaseWholeDatabase() { return ProcessDatabases().ReleaseWholeDatabase(); }
bool FlushDatabase() { return ProcessDatabases().FlushDatabase(); }

}  // namespace sr
