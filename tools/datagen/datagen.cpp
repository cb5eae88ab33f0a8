// Writes the data files installed with the program into the folder given as the only
// argument: the relay file, the tax rate table and the resident table. Run by the build.
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/date_time.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/process_databases.h"
#include "tools/datagen/content.h"

namespace {

// Messages go to a UTF-8 terminal; the database's own texts are GBK.
int Fail(const std::string& what, int code) {
  std::fprintf(stderr, "datagen: %s: %d %s\n", what.c_str(), code,
               sr::ToUtf8(sr::DatabaseErrorMessage(code)).c_str());
  return 1;
}

int WriteTaxRecords(const sr::Text& path, const std::vector<sr::datagen::TaxRecord>& records) {
  using sr::datagen::TaxRecord;
  sr::OpenOptions options;
  options.share_mode = 4;
  options.password = sr::datagen::kTaxTablePassword;
  if (!sr::OpenDatabase(path, "", options)) return sr::LastDatabaseError();
  for (const TaxRecord& record : records) {
    if (!sr::AppendBlankRecord()) break;
    for (int field = 0; field < 5; ++field) {
      if (!sr::WriteField(field + 1, sr::Value::Int(record[field]))) break;
    }
    if (sr::LastDatabaseError() != 0) break;
  }
  int code = sr::LastDatabaseError();
  sr::CloseAllDatabases();
  return code != 0 ? code : sr::LastDatabaseError();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: datagen FOLDER\n");
    return 2;
  }
  sr::Text folder;
  if (!sr::Utf8ToGbk(argv[1], &folder)) {
    std::fprintf(stderr, "datagen: %s: the folder name has no GBK form\n", argv[1]);
    return 1;
  }
  folder += "/";
  sr::fs::FileSystem& files = sr::fs::RealFileSystem();
  sr::StartProcessDatabases(files);
  const double now = sr::Now();

  const sr::Text relay = folder + sr::datagen::kRelayFileName;
  int code = sr::recdb::CreateDatabaseFile(files, relay, sr::datagen::RelayFields(), nullptr, now);
  if (code != 0) return Fail(sr::ToUtf8(relay), code);

  auto cipher = std::make_shared<sr::recdb::PageCipher>(sr::datagen::kTaxTablePassword);
  const std::pair<const char*, std::vector<sr::datagen::TaxRecord>> tables[] = {
      {sr::datagen::kTaxTableFileName, sr::datagen::TaxTableRecords()},
      {sr::datagen::kResidentTableFileName, sr::datagen::ResidentTableRecords()}};
  for (const auto& [name, records] : tables) {
    const sr::Text tax = folder + name;
    code = sr::recdb::CreateDatabaseFile(files, tax, sr::datagen::TaxTableFields(), cipher, now);
    if (code == 0) code = WriteTaxRecords(tax, records);
    if (code != 0) return Fail(sr::ToUtf8(tax), code);
  }
  return 0;
}
