// Script lines about the tax tables: "make-tax-table" and "make-resident-table" write the tables
// installed with the program into the program directory.
#include <memory>
#include <vector>

#include "base/gbk.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/recdb.h"
#include "tools/datagen/content.h"
#include "tools/scenario/runner.h"

namespace sr::scenario {

namespace {

void WriteTable(Runner& r, const Text& file, const std::vector<datagen::TaxRecord>& records) {
  auto cipher = std::make_shared<recdb::PageCipher>(datagen::kTaxTablePassword);
  bool ok =
      recdb::CreateDatabaseFile(r.file_system(), file, datagen::TaxTableFields(), cipher, 0) == 0;
  DatabaseTable table(r.file_system());
  ok = ok && table.OpenDatabase(file, "", OpenOptions::WithPassword(datagen::kTaxTablePassword));
  for (const datagen::TaxRecord& record : records) {
    ok = ok && table.AppendBlankRecord();
    for (int f = 0; ok && f < 5; ++f) ok = table.WriteField(f + 1, Value::Int(record[f]));
  }
  table.CloseAllDatabases();
  if (!ok) throw Failure("cannot write " + ToUtf8(file));
}

}  // namespace

void AddTaxLines(Runner& runner) {
  runner.AddAction("make-tax-table", [](Runner& r, const Line&) {
    WriteTable(r, datagen::kTaxTableFileName, datagen::TaxTableRecords());
  });
  runner.AddAction("make-resident-table", [](Runner& r, const Line&) {
    WriteTable(r, datagen::kResidentTableFileName, datagen::ResidentTableRecords());
  });
}

}  // namespace sr::scenario
