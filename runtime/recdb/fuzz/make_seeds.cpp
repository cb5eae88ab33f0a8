// Writes the starting corpus of the fuzz target into the folder given as the only argument:
// well-formed files of every field type, plain and protected, with companion chains, and a few
// damaged ones.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/fs/memory_file_system.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/fuzz/open_and_read.h"
#include "runtime/recdb/recdb.h"

namespace {

using sr::Value;
using sr::recdb::FieldDescriptor;
using sr::recdb::FieldType;
namespace fuzz = sr::recdb::fuzz;

FieldDescriptor Field(const char* name, FieldType type, int width = 0) {
  FieldDescriptor field;
  field.name = name;
  field.type = type;
  field.text_width = width;
  return field;
}

std::vector<FieldDescriptor> EveryType() {
  return {Field("b", FieldType::kByte),     Field("s", FieldType::kShort),
          Field("i", FieldType::kInt),      Field("l", FieldType::kInt64),
          Field("f", FieldType::kFloat),    Field("d", FieldType::kDouble),
          Field("o", FieldType::kBool),     Field("t", FieldType::kDateTime),
          Field("u", FieldType::kSubroutine), Field("x", FieldType::kText, 12),
          Field("y", FieldType::kBytes),    Field("m", FieldType::kMemo)};
}

// Creates the files on a disk in memory and fills `records` records; returns the database and
// companion bytes.
bool Build(const std::vector<FieldDescriptor>& fields, const std::string& password, int records,
           std::string* database, std::string* companion) {
  sr::fs::MemoryFileSystem disk;
  const std::string path = "/seed.dat";
  std::shared_ptr<sr::recdb::PageCipher> cipher;
  if (!password.empty()) cipher = std::make_shared<sr::recdb::PageCipher>(password);
  if (sr::recdb::CreateDatabaseFile(disk, path, fields, cipher, 45000.5) != 0) return false;
  sr::DatabaseTable table(disk);
  sr::OpenOptions options;
  options.password = password;
  if (!table.OpenDatabase(path, "", options)) return false;
  for (int r = 0; r < records; ++r) {
    table.AppendBlankRecord();
    for (size_t f = 0; f < fields.size(); ++f) {
      const int n = static_cast<int>(f + 1);
      switch (fields[f].type) {
        case FieldType::kText:
          table.WriteField(n, Value::FromText(std::string(r * 5 % 14, 'a' + r)));
          break;
        case FieldType::kMemo:
          table.WriteField(n, Value::FromText(std::string(r * 480, 'm')));
          break;
        case FieldType::kBytes:
          table.WriteField(n, Value::FromBytes(std::string(r * 3, '\x81')));
          break;
        case FieldType::kBool:
          table.WriteField(n, Value::Bool(r % 2 == 1));
          break;
        case FieldType::kDateTime:
          table.WriteField(n, Value::DateTime(45000.25 * r));
          break;
        case FieldType::kSubroutine:
          table.WriteField(n, Value::Subroutine(r));
          break;
        default:
          table.WriteField(n, Value::Double(r * 1000.5 - 7));
      }
    }
  }
  table.CloseAllDatabases();
  companion->clear();
  disk.ReadContents("/seed.KDT", companion);
  return disk.ReadContents(path, database) == sr::fs::kOk;
}

void Keep(const std::string& out, const std::string& name, const std::string& input) {
  std::ofstream(out + "/" + name, std::ios::binary) << input;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds FOLDER\n");
    return 2;
  }
  const std::string out = argv[1];
  std::filesystem::create_directories(out);
  std::string db, companion;

  if (!Build(EveryType(), "", 3, &db, &companion)) return 1;
  Keep(out, "seed_every_type", fuzz::MakeInput(0, companion, db));
  Keep(out, "seed_every_type_read_only", fuzz::MakeInput(1, companion, db));
  Keep(out, "seed_short_read_only", fuzz::MakeInput(1, companion, db.substr(0, db.size() - 5)));
  Keep(out, "seed_short_repaired", fuzz::MakeInput(0, companion, db.substr(0, db.size() - 5)));
  Keep(out, "seed_companion_short", fuzz::MakeInput(1, companion.substr(0, 1100), db));
  Keep(out, "seed_companion_missing", fuzz::MakeInput(0, "", db));
  std::string newer = db;
  newer[6] = 2;  // version 131072
  Keep(out, "seed_version_too_high", fuzz::MakeInput(0, companion, newer));

  if (!Build(EveryType(), fuzz::kFuzzPassword, 3, &db, &companion)) return 1;
  Keep(out, "seed_protected", fuzz::MakeInput(2, companion, db));
  Keep(out, "seed_protected_no_password", fuzz::MakeInput(0, companion, db));

  std::vector<FieldDescriptor> tax = {Field("a", FieldType::kInt), Field("b", FieldType::kInt),
                                      Field("c", FieldType::kInt), Field("d", FieldType::kInt),
                                      Field("e", FieldType::kInt),
                                      Field("f", FieldType::kText, 40)};
  if (!Build(tax, fuzz::kFuzzPassword, 9, &db, &companion)) return 1;
  Keep(out, "seed_tax_table", fuzz::MakeInput(6, "", db));

  if (!Build({Field("n", FieldType::kInt)}, "", 0, &db, &companion)) return 1;
  Keep(out, "seed_minimal", fuzz::MakeInput(0, "", db));
  return 0;
}
