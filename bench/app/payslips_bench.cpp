// Payslips for 5,000 people into an A4 PDF through the printer object and the Qt print seam,
// against the export of the same register to our spreadsheet application (up to the written
// .xlsx; the spreadsheet program is `true`), measured in the same run; the whole register on
// landscape A4 beside them. Offscreen Qt.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/export/export_command.h"
#include "app/printouts/payslip_printout.h"
#include "app/printouts/register_printout.h"
#include "app/printouts/tests/printout_test_register.h"
#include "app/shell/main_window.h"
#include "forms/framework.h"
#include "platform/fs/real_file_system.h"
#include "platform/headless/headless_backend.h"
#include "platform/qt/print/qt_print_seam.h"
#include "platform/sheet/sheet_automation.h"
#include "platform/xlsx/workbook_reader.h"

namespace sr::app {
namespace {

namespace fs = std::filesystem;

constexpr int kPeople = 5000;

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "payslips_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

// The program headless, with the Qt printer writing to a PDF and our spreadsheet application,
// its register holding 5,000 people.
class Program {
 public:
  Program() {
    char pattern[] = "/tmp/payslips-bench-XXXXXX";
    dir_ = mkdtemp(pattern);
    setenv("TMPDIR", dir_.c_str(), 1);
    setenv("SR_SPREADSHEET_COMMAND", "true", 1);
    print_.PrintToPdfWithoutAsking(pdf().string());
    framework_.LoadMain(main_window_.form());
    testing::FillPrintoutRegister(main_window_.salary_register(), kPeople);
  }
  ~Program() { fs::remove_all(dir_); }

  fs::path pdf() const { return dir_ / "printout.pdf"; }
  const fs::path& dir() const { return dir_; }
  SalaryRegister& salary_register() { return main_window_.salary_register(); }
  AppContext& context() { return context_; }
  print::PrintSeam& print() { return print_; }

 private:
  fs::path dir_;
  headless::HeadlessBackend backend_;
  qt::QtPrintSeam print_;
  sheet::SheetAutomation automation_;
  Seams seams_{backend_, sr::fs::RealFileSystem(), print_, automation_,
              sr::xlsx::RealWorkbookReader()};
  DatabaseTable databases_{sr::fs::RealFileSystem()};
  ProgramState state_;
  forms::Framework framework_{backend_};
  MainWindow main_window_{framework_, seams_, databases_, state_};
  AppContext context_{
      framework_, seams_, databases_, state_, main_window_.form(), main_window_.salary_register(),
      nullptr};
};

Program& TheProgram() {
  EnsureApplication();
  static Program* program = new Program();
  return *program;
}

void BM_Payslips5000ToPdf(benchmark::State& state) {
  Program& program = TheProgram();
  for (auto _ : state) {
    Printer printer(&program.print());
    if (!PrintPayslips(printer, program.salary_register(), {}, {"Company", "", false})) {
      state.SkipWithError("no job");
      break;
    }
  }
  if (!fs::exists(program.pdf()) || fs::file_size(program.pdf()) < 100000) {
    state.SkipWithError("no PDF written");
    return;
  }
  state.counters["pdf_kib"] = static_cast<double>(fs::file_size(program.pdf())) / 1024;
}
BENCHMARK(BM_Payslips5000ToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Register5000ToPdf(benchmark::State& state) {
  Program& program = TheProgram();
  SummaryTotals totals;
  Text problem;
  ComputeTotals(program.salary_register(), &totals, &problem);
  for (auto _ : state) {
    Printer printer(&program.print());
    if (!PrintRegister(printer, program.salary_register(), totals, {})) {
      state.SkipWithError("no job");
      break;
    }
  }
  state.counters["pdf_kib"] = static_cast<double>(fs::file_size(program.pdf())) / 1024;
}
BENCHMARK(BM_Register5000ToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Export5000SameRegister(benchmark::State& state) {
  Program& program = TheProgram();
  ExportCommand command(program.context());
  for (auto _ : state) command.Run();
  int written = 0;
  for (const auto& entry : fs::recursive_directory_iterator(program.dir())) {
    written += entry.path().extension() == ".xlsx";
    if (entry.path().extension() == ".xlsx") fs::remove(entry.path());
  }
  if (written == 0) state.SkipWithError("no .xlsx written");
}
BENCHMARK(BM_Export5000SameRegister)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace sr::app
