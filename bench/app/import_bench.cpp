// Import of a 5,000 x 22 workbook against the export of the same register, in one run: the
// export (ExportCommand into our spreadsheet application, which writes the .xlsx with
// libxlsxwriter; the spreadsheet program is `true`) writes the workbook that the import then
// reads (文件 → 导入 with its file dialog and preview answered, 替换), matched, checked and put
// into the register as one undo step.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
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

constexpr int kPeople = 5000;

// The program on the headless backend, its register filled with 5,000 people and every column.
struct Program {
  headless::HeadlessBackend backend;
  print::RecordingPrintSeam printer;
  sheet::SheetAutomation automation;
  Seams seams{backend, sr::fs::RealFileSystem(), printer, automation,
              xlsx::RealWorkbookReader()};
  DatabaseTable databases{sr::fs::RealFileSystem()};
  ProgramState state;
  forms::Framework framework{backend};
  MainWindow main_window{framework, seams, databases, state};

  Program() {
    framework.LoadMain(main_window.form());
    SalaryRegister& reg = main_window.salary_register();
    for (int c = 0; c < kRegisterColumns; ++c) reg.SetTitle(c, "item" + std::to_string(c));
    std::vector<RowTexts> rows(kPeople);
    for (int r = 0; r < kPeople; ++r) {
      rows[r][0] = std::to_string(100000 + r);
      rows[r][1] = "person" + std::to_string(r);
      for (int c = 2; c < kRemarkColumn; ++c) rows[r][c] = std::to_string(r % 997 + c) + ".25";
      rows[r][kRemarkColumn] = "remark";
    }
    reg.ReplaceRows(std::move(rows));
  }
};

fs::path& Workbook() {
  static fs::path path;
  return path;
}

void BM_ExportRegister(benchmark::State& state) {
  char pattern[] = "/tmp/app-import-bench-XXXXXX";
  const fs::path dir(mkdtemp(pattern));
  setenv("TMPDIR", dir.c_str(), 1);
  setenv("SR_SPREADSHEET_COMMAND", "true", 1);
  auto program = std::make_unique<Program>();
  AppContext context{program->framework,          program->seams,
                     program->databases,          program->state,
                     program->main_window.form(), program->main_window.salary_register(),
                     &program->main_window.history()};
  ExportCommand command(context);
  for (auto _ : state) command.Run();
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.path().extension() == ".xlsx") Workbook() = entry.path();
  }
  if (Workbook().empty()) state.SkipWithError("no .xlsx written");
}
BENCHMARK(BM_ExportRegister)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportWorkbook(benchmark::State& state) {
  if (Workbook().empty()) {
    state.SkipWithError("the export wrote no workbook");
    return;
  }
  auto program = std::make_unique<Program>();
  program->main_window.salary_register().ReplaceRows(std::vector<RowTexts>(kPeople));
  headless::HeadlessBackend& backend = program->backend;
  for (auto _ : state) {
    backend.QueueFileDialog({true, Workbook().string()});
    backend.QueueModalScript([&backend] {
      headless::HeadlessControl* replace = backend.active_window()->Find("按钮替换");
      if (replace != nullptr) replace->events()->OnClicked();
    });
    program->main_window.OnImport();
  }
  const int people = program->main_window.salary_register().CountPeople();
  state.counters["people"] = people;
  if (people != kPeople) state.SkipWithError("the workbook was not imported");
}
BENCHMARK(BM_ImportWorkbook)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace sr::app

BENCHMARK_MAIN();
