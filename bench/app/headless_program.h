// The program on the headless backend in a temporary program directory, for the benchmarks that
// run a main-window command over a large register.

#ifndef SR_BENCH_APP_HEADLESS_PROGRAM_H_
#define SR_BENCH_APP_HEADLESS_PROGRAM_H_

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/main_window.h"
#include "app/tax_rules/tax_table.h"
#include "base/gbk.h"
#include "platform/automation/recording_automation.h"
#include "platform/fs/real_file_system.h"
#include "platform/headless/headless_backend.h"
#include "platform/print/recording_print_seam.h"
#include "platform/xlsx/workbook_reader.h"
#include "runtime/recdb/create_file.h"
#include "tools/datagen/content.h"

namespace sr::app {

// A protected table of the tax rate table's layout holding `records` (the monthly or the
// resident table as installed).
inline void WriteRateTable(const Text& path, const std::vector<datagen::TaxRecord>& records) {
  auto cipher = std::make_shared<recdb::PageCipher>(kTaxTablePassword);
  recdb::CreateDatabaseFile(fs::RealFileSystem(), path, datagen::TaxTableFields(), cipher, 45000);
  DatabaseTable table(fs::RealFileSystem());
  table.OpenDatabase(path, "", OpenOptions::WithPassword(kTaxTablePassword));
  for (const datagen::TaxRecord& record : records) {
    table.AppendBlankRecord();
    for (int f = 1; f <= 5; ++f) table.WriteField(f, Value::Int(record[f - 1]));
  }
  table.CloseAllDatabases();
}

// Makes /tmp/<name>_XXXXXX the working folder; the derived benchmark fills it and then loads
// the main form, and the folder goes when the program does.
struct HeadlessProgram {
  explicit HeadlessProgram(const std::string& name) {
    std::string pattern = "/tmp/" + name + "_XXXXXX";
    directory = mkdtemp(pattern.data());
    fs::RealFileSystem().SetCurrentDirectory(directory);
  }
  ~HeadlessProgram() {
    databases.CloseAllDatabases();
    std::filesystem::remove_all(std::filesystem::path(ToUtf8(directory)));
  }
  HeadlessProgram(const HeadlessProgram&) = delete;
  HeadlessProgram& operator=(const HeadlessProgram&) = delete;

  Text directory;
  headless::HeadlessBackend backend;
  print::RecordingPrintSeam printer;
  automation::RecordingAutomation automation;
  Seams seams{backend, fs::RealFileSystem(), printer, automation, xlsx::RealWorkbookReader()};
  DatabaseTable databases{fs::RealFileSystem()};
  ProgramState state;
  forms::Framework framework{backend};
  MainWindow window{framework, seams, databases, state};
};

}  // namespace sr::app

#endif  // SR_BENCH_APP_HEADLESS_PROGRAM_H_
