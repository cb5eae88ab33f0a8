// The program's side of an export: a new register's 5,001 rows of 22 cells sent cell by cell
// through the wrappers to our spreadsheet application (one Range and one Value call per cell, as
// the export makes them), then the workbook written as .xlsx. The spreadsheet program itself is
// not started.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/sheet/sheet_automation.h"
#include "platform/sheet/workbook.h"
#include "platform/sheet/xlsx_file.h"
#include "runtime/automation/excel.h"

namespace sr {
namespace {

constexpr int kRows = 5001;
constexpr int kColumns = 22;

Text CellRef(int row, int column) {
  return Text(1, static_cast<char>('a' + column)) + std::to_string(row + 1);
}

// Two people's worth of varied texts repeated; most cells of a new register are empty.
Text CellText(int row, int column) {
  if (row > 200) return column == 1 || column == 6 ? Text("'") : Text();
  if (column == 0) return "张三";
  if (column == 1 || column == 6) return "'11010119900101" + std::to_string(1000 + row);
  return std::to_string(row * 10 + column) + ".5";
}

void BM_ExportCells(benchmark::State& state) {
  setenv("SR_SPREADSHEET_COMMAND", "true", 1);
  sheet::SheetAutomation seam;
  for (auto _ : state) {
    ExcelApp app(&seam);
    ExcelWorkbooks books;
    app.Create();
    books.Attach(app);
    books.SetSheetNumber(1);
    automation::DispatchRef held;
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        Text ref = CellRef(r, c);
        books.SetFirstCell(ref);
        books.SetSecondCell(ref);
        books.SetValue(CellText(r, c));
        held = books.GetRange();
      }
    }
    benchmark::DoNotOptimize(held);
  }
  state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_ExportCells)->Unit(benchmark::kMillisecond);

void BM_WriteXlsx(benchmark::State& state) {
  sheet::Workbook book;
  book.sheets.emplace_back().name = "Sheet1";
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      auto cell = sheet::CellFromTypedText(CellText(r, c));
      if (cell) book.sheets[0].cells[{r, c}] = *cell;
    }
  }
  std::string path = (std::filesystem::temp_directory_path() / "export_bench.xlsx").string();
  std::string error;
  for (auto _ : state) {
    if (!sheet::WriteXlsx(book, path, &error)) state.SkipWithError(error.c_str());
  }
  std::filesystem::remove(path);
  state.counters["cells"] = static_cast<double>(book.sheets[0].cells.size());
}
BENCHMARK(BM_WriteXlsx)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sr
