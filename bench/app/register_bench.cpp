// Open, Save and Save As of a register of 5,000 people, the whole program on the headless
// backend, against copying the register file with cp in the same run (the physical floor).
// The benchmarks run inside the program's main loop, as a user's commands would.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/shell/program.h"
#include "forms/grid/grid.h"
#include "forms/main_form.h"
#include "platform/automation/recording_automation.h"
#include "platform/fs/real_file_system.h"
#include "platform/headless/headless_backend.h"
#include "platform/print/recording_print_seam.h"
#include "runtime/convert/conversions.h"
#include "runtime/recdb/create_file.h"

namespace {

constexpr int kPeople = 5000;
const char kRegister[] = "register.dat";
const char kSavedAs[] = "saved_as.dat";

sr::headless::HeadlessBackend* g_backend = nullptr;

sr::headless::HeadlessWindow& MainWindow() { return *g_backend->windows().front(); }

sr::headless::HeadlessControl& Control(const char* name) { return *MainWindow().Find(name); }

sr::Grid& RegisterGrid() {
  return dynamic_cast<sr::Grid&>(*Control("高级表格1").state().grid_source);
}

// Runs a menu command of the main window, answering its file dialog with `path`.
void Choose(int entry, const char* path) {
  if (path != nullptr) g_backend->QueueFileDialog({true, path});
  MainWindow().events()->OnMenuChosen(entry);
}

// How often the progress bar moved in the last pass (it starts at 1).
int ProgressMoves() { return Control("进度条1").state().progress_position - 1; }

void MakeRelay() {
  std::vector<sr::recdb::FieldDescriptor> fields(22);
  for (int i = 0; i < 22; ++i) {
    fields[i].name = "项目" + std::to_string(i + 1);
    const bool text = i == 0 || i == 1 || i == 21;
    fields[i].type = text ? sr::recdb::FieldType::kText : sr::recdb::FieldType::kDouble;
    fields[i].text_width = i == 21 ? 100 : text ? 20 : 0;
  }
  if (sr::recdb::CreateDatabaseFile(sr::fs::RealFileSystem(), "ZhongZhuan.rgq", fields, nullptr,
                                    0) != 0) {
    std::cerr << "cannot create the relay file\n";
    std::exit(1);
  }
}

// A new register of 5,000 people with every amount filled, pasted in as a user would and saved
// once as the register file.
void PrepareRegister() {
  sr::Text lines;
  for (int row = 1; row <= kPeople; ++row) {
    lines += std::to_string(row) + "\t职工" + std::to_string(row);
    for (int column = 2; column <= 20; ++column) {
      lines += "\t" + sr::ToText(row * 1.25 + column);
    }
    lines += "\t备注\n";
  }
  g_backend->memory_clipboard().SetText(lines);
  RegisterGrid().SetCursor(1, 0);
  Choose(sr::forms::kMenuPaste, nullptr);
  Choose(sr::forms::kMenuSave, kRegister);
}

void BM_CopyWithCp(benchmark::State& state) {
  const std::string command = std::string("cp ") + kRegister + " copied.dat";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(kRegister));
}

void BM_Open(benchmark::State& state) {
  for (auto _ : state) Choose(sr::forms::kMenuOpen, kRegister);
  state.counters["rows"] = RegisterGrid().RowCount() - 1;
  if (RegisterGrid().CellText(kPeople, 21).empty())
    state.SkipWithError("the register is not whole");
  state.counters["progress_moves"] = ProgressMoves();
}

void BM_Save(benchmark::State& state) {
  Choose(sr::forms::kMenuOpen, kRegister);
  for (auto _ : state) Choose(sr::forms::kMenuSave, nullptr);
  state.counters["progress_moves"] = ProgressMoves();
}

void BM_SaveAs(benchmark::State& state) {
  Choose(sr::forms::kMenuOpen, kRegister);
  for (auto _ : state) Choose(sr::forms::kMenuSaveAs, kSavedAs);
  state.counters["progress_moves"] = ProgressMoves();
}

BENCHMARK(BM_CopyWithCp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveAs)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("register_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);  // the program directory
  MakeRelay();

  sr::headless::HeadlessBackend backend;
  sr::print::RecordingPrintSeam printer;
  sr::automation::RecordingAutomation automation;
  g_backend = &backend;
  backend.SetMainLoopDriver([&] {
    PrepareRegister();
    benchmark::RunSpecifiedBenchmarks();
    MainWindow().events()->OnCloseRequested();
  });
  sr::app::Seams seams{backend, sr::fs::RealFileSystem(), printer, automation,
                       sr::xlsx::RealWorkbookReader()};
  const int code = sr::app::RunProgram(seams);
  benchmark::Shutdown();
  std::filesystem::current_path(folder.parent_path());
  std::filesystem::remove_all(folder);
  return code;
}
