// The export command from the program's side: a new register (5,001 rows of 22 cells, titles in
// row 0) sent by ExportCommand::Run to our spreadsheet application, up to the workbook written
// as .xlsx when it is made visible. The spreadsheet program is `true`, so its start-up is not
// counted. BM_LibreOfficeCsvToXlsx converts a CSV of the same cells with LibreOffice headless
// for comparison, when soffice is on PATH.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/export/export_command.h"
#include "app/shell/main_window.h"
#include "forms/framework.h"
#include "platform/fs/real_file_system.h"
#include "platform/headless/headless_backend.h"
#include "platform/print/recording_print_seam.h"
#include "platform/sheet/sheet_automation.h"

namespace sr::app {
namespace {

namespace fs = std::filesystem;

constexpr int kRows = 5001;
constexpr int kColumns = 22;

fs::path MakeTempDir() {
  char pattern[] = "/tmp/app-export-bench-XXXXXX";
  return fs::path(mkdtemp(pattern));
}

Text TitleOf(int column) { return "item" + std::to_string(column); }

void BM_ExportNewRegister(benchmark::State& state) {
  fs::path dir = MakeTempDir();
  setenv("TMPDIR", dir.c_str(), 1);
  setenv("SR_SPREADSHEET_COMMAND", "true", 1);
  headless::HeadlessBackend backend;
  print::RecordingPrintSeam printer;
  sheet::SheetAutomation automation;
  Seams seams{backend, sr::fs::RealFileSystem(), printer, automation,
              xlsx::RealWorkbookReader()};
  DatabaseTable databases(sr::fs::RealFileSystem());
  ProgramState program_state;
  forms::Framework framework(backend);
  MainWindow main_window(framework, seams, databases, program_state);
  framework.LoadMain(main_window.form());
  Grid& grid = main_window.form().grid();
  for (int c = 0; c < kColumns; ++c) main_window.salary_register().SetTitle(c, TitleOf(c));
  AppContext context{framework,          seams,
                     databases,          program_state,
                     main_window.form(), main_window.salary_register(),
                     &main_window.history()};
  ExportCommand command(context);
  for (auto _ : state) command.Run();
  state.counters["rows"] = grid.RowCount();
  // Each run must have written its workbook, or the figure means nothing.
  int written = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    written += entry.path().extension() == ".xlsx";
  }
  if (written != static_cast<int>(state.iterations())) state.SkipWithError("no .xlsx written");
  state.counters["xlsx"] = written;
  fs::remove_all(dir);
}
BENCHMARK(BM_ExportNewRegister)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibreOfficeCsvToXlsx(benchmark::State& state) {
  if (std::system("command -v soffice > /dev/null 2>&1") != 0) {
    state.SkipWithError("soffice is not installed");
    return;
  }
  fs::path dir = MakeTempDir();
  {
    std::ofstream csv(dir / "register.csv");
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        if (c > 0) csv << ',';
        if (r == 0) csv << TitleOf(c);
      }
      csv << '\n';
    }
  }
  const std::string command = "cd '" + dir.string() + "' && soffice -env:UserInstallation=file://" +
                              dir.string() +
                              "/profile --headless --convert-to xlsx register.csv > /dev/null 2>&1";
  // The first run creates LibreOffice's profile; only the conversions after it are timed.
  if (std::system(command.c_str()) != 0) {
    state.SkipWithError("conversion failed");
    return;
  }
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0 || !fs::exists(dir / "register.xlsx")) {
      state.SkipWithError("conversion failed");
      break;
    }
    fs::remove(dir / "register.xlsx");
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_LibreOfficeCsvToXlsx)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace sr::app
