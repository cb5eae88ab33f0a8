// Painting one full viewport of the 5001-row register grid: our view against a QTableView over a
// QStandardItemModel holding the same cells, in the same run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <memory>

#include "base/gbk.h"
#include "bench/grid/register_text.h"
#include "forms/grid/grid.h"
#include "platform/qt/grid/grid_text.h"
#include "platform/qt/grid/grid_widget.h"
#include "platform/ui/memory_clipboard.h"

namespace sr {
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

// The full register, scrolled to its middle.
struct RegisterView {
  RegisterView() : grid(RegisterGridConfig()) {
    grid.SetRowCount(kRegisterRows);
    grid.SetEditable(true);
    grid.SetClipboard(&clipboard);
    // This file is compiled as UTF-8, like the rest of the Qt side.
    clipboard.SetText(FromUtf8(RegisterText(kRegisterRows - 1)));
    grid.SetCursor(1, 0);
    grid.Paste();
    widget = std::make_unique<qt::GridWidget>(&grid, &grid);
    widget->resize(kWidth, kHeight);
    widget->show();
    QApplication::processEvents();
    widget->verticalScrollBar()->setValue(widget->verticalScrollBar()->maximum() / 2);
  }
  MemoryClipboard clipboard;
  Grid grid;
  std::unique_ptr<qt::GridWidget> widget;
};

void PaintViewport(benchmark::State& state, QWidget* viewport) {
  QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    viewport->render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}

void BM_PaintViewport_GridWidget(benchmark::State& state) {
  RegisterView view;
  PaintViewport(state, view.widget->viewport());
}
BENCHMARK(BM_PaintViewport_GridWidget)->Unit(benchmark::kMicrosecond);

void BM_PaintViewport_QTableView(benchmark::State& state) {
  RegisterView source;  // the same cells, copied into Qt's item model
  QStandardItemModel model(kRegisterRows, kRegisterColumns);
  for (int r = 0; r < kRegisterRows; ++r) {
    for (int c = 0; c < kRegisterColumns; ++c) {
      model.setItem(r, c, new QStandardItem(qt::ToQString(source.grid.CellText(r, c))));
    }
  }
  QTableView table;
  table.setModel(&model);
  table.verticalHeader()->setDefaultSectionSize(20);
  table.horizontalHeader()->setDefaultSectionSize(80);
  table.resize(kWidth, kHeight);
  table.show();
  QApplication::processEvents();
  table.verticalScrollBar()->setValue(table.verticalScrollBar()->maximum() / 2);
  PaintViewport(state, table.viewport());
}
BENCHMARK(BM_PaintViewport_QTableView)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sr

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
