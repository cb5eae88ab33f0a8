// Register-size operations of the grid model.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/grid/register_text.h"
#include "forms/grid/grid.h"
#include "platform/ui/memory_clipboard.h"

namespace sr {
namespace {

constexpr int kRows = kRegisterRows;
constexpr int kColumns = kRegisterColumns;

std::unique_ptr<Grid> FullRegister(MemoryClipboard* clipboard) {
  auto grid = std::make_unique<Grid>(RegisterGridConfig());
  grid->SetRowCount(kRows);
  grid->SetEditable(true);
  grid->SetClipboard(clipboard);
  clipboard->SetText(RegisterText(kRows - 1));
  grid->SetCursor(1, 0);
  grid->Paste();
  return grid;
}

void BM_SetRowCount5001(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto grid = std::make_unique<Grid>(RegisterGridConfig());
    state.ResumeTiming();
    grid->SetRowCount(kRows);
    benchmark::DoNotOptimize(grid->CellText(kRows - 1, kColumns - 1));
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SetRowCount5001)->Unit(benchmark::kMicrosecond);

void BM_ResetFullRegister(benchmark::State& state) {
  MemoryClipboard clipboard;
  auto grid = FullRegister(&clipboard);
  for (auto _ : state) {
    state.PauseTiming();
    grid->SetCursor(1, 0);
    grid->Paste();
    state.ResumeTiming();
    grid->Reset();
    benchmark::DoNotOptimize(grid->CellText(1, 0));
  }
}
BENCHMARK(BM_ResetFullRegister)->Unit(benchmark::kMicrosecond);

void BM_Paste5000Lines(benchmark::State& state) {
  MemoryClipboard clipboard;
  auto grid = FullRegister(&clipboard);
  for (auto _ : state) {
    grid->SetCursor(1, 0);
    grid->Paste();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(clipboard.text().size()));
}
BENCHMARK(BM_Paste5000Lines)->Unit(benchmark::kMicrosecond);

void BM_CopyAll(benchmark::State& state) {
  MemoryClipboard clipboard;
  auto grid = FullRegister(&clipboard);
  for (auto _ : state) {
    grid->SelectAll();
    grid->CopySelection();
    benchmark::DoNotOptimize(clipboard.text().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(clipboard.text().size()));
}
BENCHMARK(BM_CopyAll)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sr
