// The summary printout as the summary window draws it (title, date, 41 rules, 60 cell texts),
// through the printer object: once on the recording seam (the object's own cost) and once into
// an A4 PDF through Qt (the whole job, fonts and file included).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <string>

#include "base/gbk.h"
#include "platform/print/recording_print_seam.h"
#include "platform/qt/print/qt_print_seam.h"
#include "runtime/print/printer.h"

namespace sr {
namespace {

Text Gbk(const char8_t* utf8) { return FromUtf8(reinterpret_cast<const char*>(utf8)); }

void PrintSummary(Printer* printer) {
  printer->StartPrint(false, false, 2, 0);
  printer->SetFontName(Gbk(u8"宋体"));
  printer->SetFontSize(16);
  printer->PrintAt(600, 300, {Value::FromText(Gbk(u8"工 资 汇 总 表"))});
  printer->SetFontSize(12);
  printer->PrintAt(320, 400, {Value::FromText(Gbk(u8"打印日期：2014年5月3日"))});
  const Text top = Gbk(u8"┌───┬───────────┬────────┐");
  const Text cells = Gbk(u8"│　　　│　　　　　　　　　　　│　　　　　　　　│");
  const Text middle = Gbk(u8"├───┼───────────┼────────┤");
  const Text bottom = Gbk(u8"└───┴───────────┴────────┘");
  int y = 450;
  printer->PrintAt(300, y, {Value::FromText(top)});
  for (int i = 0; i < 19; ++i) {
    printer->PrintAt(300, y += 38, {Value::FromText(cells)});
    printer->PrintAt(300, y += 38, {Value::FromText(middle)});
  }
  printer->PrintAt(300, y += 38, {Value::FromText(cells)});
  printer->PrintAt(300, y += 38, {Value::FromText(bottom)});
  for (int k = 1; k <= 20; ++k) {
    int row_y = 490 + 76 * (k - 1);
    printer->PrintAt(400, row_y, {Value::Int(k)});
    printer->PrintAt(500, row_y, {Value::FromText(Gbk(u8"应发工资(免税)"))});
    printer->PrintAt(1030, row_y, {Value::Double(123456.78)});
  }
  printer->EndPrint();
}

void BM_SummaryOnRecordingSeam(benchmark::State& state) {
  for (auto _ : state) {
    print::RecordingPrintSeam seam;
    Printer printer(&seam);
    PrintSummary(&printer);
    benchmark::DoNotOptimize(seam.texts().size());
  }
}
BENCHMARK(BM_SummaryOnRecordingSeam)->Unit(benchmark::kMicrosecond);

void BM_SummaryToPdf(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "print_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  benchmark::DoNotOptimize(app);
  std::string path = (std::filesystem::temp_directory_path() / "print_bench.pdf").string();
  qt::QtPrintSeam seam;
  seam.PrintToPdfWithoutAsking(path);
  for (auto _ : state) {
    Printer printer(&seam);
    PrintSummary(&printer);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_SummaryToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sr
