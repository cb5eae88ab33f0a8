// Renaming a field, copying a database's structure, sorting a database into a new file.
#include <algorithm>
#include <numeric>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/companion.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/recdb.h"
#include "runtime/recdb/sort_file.h"

namespace sr {

using recdb::Database;
using recdb::FieldDescriptor;

namespace {

// The fields named, in the order named (names that match nothing are skipped); all fields when
// none match.
std::vector<FieldDescriptor> ChooseFields(const Database& db, const std::vector<Text>& names) {
  std::vector<FieldDescriptor> chosen;
  for (const Text& name : names) {
    int index = db.FindField(Value::FromText(name));
    if (index >= 0) chosen.push_back(db.fields()[index]);
  }
  if (chosen.empty()) chosen = db.fields();
  return chosen;
}

}  // namespace

bool DatabaseTable::RenameField(const FieldRef& field, const Text& new_name) {
  Database* db = current();
  if (db == nullptr) return Done(kDbNoCurrentDatabase);
  int index = db->FindField(field.value());
  if (index < 0) return Done(kDbNoSuchField);
  if (!db->held_privately()) return Done(kDbNotExclusive);
  const auto& fields = db->fields();
  if (fields[index].name == new_name) return Done(kDbOk);
  if (new_name.size() > recdb::kMaxNameLength) return Done(kDbBadFieldName);
  for (size_t n = 0; n < fields.size(); ++n) {
    if (static_cast<int>(n) != index && recdb::NamesEqual(fields[n].name, new_name)) {
      return Done(kDbDuplicateFieldName);
    }
  }
  return Done(db->WriteFieldName(index, new_name));
}

bool DatabaseTable::CopyStructure(const Text& file, const std::vector<Text>& fields) {
  if (file.empty()) return Done(kDbNotFound);
  Database* db = current();
  if (db == nullptr) return Done(kDbNoCurrentDatabase);
  return Done(recdb::CreateDatabaseFile(fs_, file, ChooseFields(*db, fields), db->cipher(),
                                        clock_()));
}

bool DatabaseTable::SortToFile(const Text& file, const std::vector<Text>& keys,
                               const SortOptions& options) {
  Database* db = current();
  if (db == nullptr) return Done(kDbNoCurrentDatabase);
  std::vector<int> key_fields;
  for (const Text& key : keys) {
    int index = db->FindField(Value::FromText(key));
    if (index < 0 || recdb::IsChainType(db->fields()[index].type)) return Done(kDbBadKeyField);
    key_fields.push_back(index);
  }
  std::vector<FieldDescriptor> chosen = ChooseFields(*db, options.fields);
  int code = recdb::CreateDatabaseFile(fs_, file, chosen, db->cipher(), clock_());
  if (code != kDbOk) return Done(code);
  if ((code = db->HoldWhole()) != kDbOk) return Done(code);
  const int32_t saved = db->current_record();
  code = SortInto(*db, recdb::WithDefaultExtension(file), key_fields, options);
  db->set_current_record(saved);
  int released = db->ReleaseWhole();
  return Done(code != kDbOk ? code : released);
}

int DatabaseTable::SortInto(Database& db, const Text& file, const std::vector<int>& keys,
                            const SortOptions& options) {
  recdb::SortKeys sort_keys(db.fields(), keys, options.ascending);
  int32_t count = 0;
  int code = db.ReadRecordCount(&count);
  if (code != kDbOk) return code;
  const int32_t record_size = db.header().record_size;
  const int32_t batch = std::max<int32_t>(1, 163840 / record_size);
  std::string records;
  for (int32_t first = 0; first < count; first += batch) {
    int32_t n = std::min(batch, count - first);
    if ((code = db.ReadRecords(first, n, &records)) != kDbOk) return code;
    for (int32_t r = 0; r < n; ++r) {
      if (options.condition) {
        db.set_current_record(first + r);
        if (!options.condition()) continue;
      }
      sort_keys.Add(first + r, recdb::Raw(records) + static_cast<size_t>(r) * record_size);
    }
  }
  std::vector<int32_t> order = sort_keys.SortedPositions();
  recdb::SortWriter writer(fs_, db, ChooseFields(db, options.fields));
  if ((code = writer.Open(file)) != kDbOk) return code;
  return writer.Write(order);
}

}  // namespace sr
