// The real Qt windows, offscreen: a saved register opened through the File menu's open dialog
// shows its path as the title, its head count and its cells. Compiled as UTF-8: texts from the
// models are GBK and converted here.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QTimer>

#include "app/register/register_storage.h"
#include "app/shell/program.h"
#include "app/tests/register_test_files.h"
#include "base/gbk.h"
#include "forms/grid/grid.h"
#include "forms/main_form.h"
#include "platform/automation/recording_automation.h"
#include "platform/fs/real_file_system.h"
#include "platform/print/recording_print_seam.h"
#include "platform/qt/grid/grid_widget.h"
#include "platform/qt/ui/form_window.h"
#include "platform/qt/ui/qt_backend.h"
#include "platform/qt/ui/tests/modal_driver.h"

namespace sr::app {
namespace {

QString Q(const char8_t* utf8) { return QString::fromUtf8(reinterpret_cast<const char*>(utf8)); }
QString Q(const Text& gbk) { return QString::fromStdString(ToUtf8(gbk)); }

qt::FormWindow* MainFormWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = qobject_cast<qt::FormWindow*>(widget);
    if (window != nullptr && window->isVisible() && window->MenuAction(forms::kMenuOpen)) {
      return window;
    }
  }
  return nullptr;
}

struct Seen {
  QString title;
  QString head_count;
  std::vector<QString> cells;
  int rows = 0;
  bool editable = true;
};

// What the main window shows; the grid's cells are read from the model its view draws.
void Look(qt::FormWindow& window, Seen* seen) {
  seen->title = window.windowTitle();
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (label->text().startsWith(Q(u8"表内人数"))) seen->head_count = label->text();
  }
  for (QAbstractScrollArea* area : window.findChildren<QAbstractScrollArea*>()) {
    auto* view = dynamic_cast<qt::GridWidget*>(area);
    if (view == nullptr) continue;
    const auto& grid = dynamic_cast<const Grid&>(*view->source());
    seen->rows = grid.RowCount();
    seen->editable = grid.Editable();
    for (auto [row, column] : {std::pair{0, 1}, {1, 1}, {3, 1}, {2, 2}, {3, 0}}) {
      seen->cells.push_back(Q(grid.CellText(row, column)));
    }
  }
}

TEST(QtOpenRegisterTest, OpenedRegisterShowsItsPathHeadCountAndCells) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string folder = testing::MakeTempFolder("qt_open_register");
  char previous[4096];
  ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(::chdir(folder.c_str()), 0);
  testing::MakeDatabase(kRelayFileName, testing::RelayFields());
  {
    SalaryRegister people;
    testing::FillRegister(people, 3, FromUtf8(reinterpret_cast<const char*>(u8"职工")), 0.5);
    DatabaseTable table(fs::RealFileSystem());
    Text reason;
    ASSERT_TRUE(SaveRegisterFile(table, fs::RealFileSystem(), StructureSource::kRelayFile,
                                 kRelayFileName, "register.dat", people, nullptr, &reason))
        << reason;
  }
  const QString path = QString::fromStdString(folder + "/register.dat");

  int argc = 1;
  char name[] = "register_qt_tests";
  char* argv[] = {name, nullptr};
  qt::QtBackend backend(argc, argv);
  print::RecordingPrintSeam printer;
  automation::RecordingAutomation automation;
  Seen seen;
  QTimer::singleShot(0, [&] {
    qt::FormWindow* window = MainFormWindow();
    if (window == nullptr) return QApplication::exit(1);
    qt::testing::WhenShown<QFileDialog>(
        [&](QFileDialog* dialog) { qt::testing::ChooseFile(dialog, path); });
    window->MenuAction(forms::kMenuOpen)->trigger();
    Look(*window, &seen);
    window->close();
  });
  const int code =
      RunProgram({backend, fs::RealFileSystem(), printer, automation, xlsx::RealWorkbookReader()});
  ASSERT_EQ(::chdir(previous), 0);

  EXPECT_EQ(code, 0);
  EXPECT_EQ(seen.title, path);
  EXPECT_EQ(seen.head_count, Q(u8"表内人数: 3 人"));
  ASSERT_FALSE(seen.cells.empty()) << "the main window shows no grid view";
  EXPECT_EQ(seen.rows, 4);
  EXPECT_FALSE(seen.editable);
  ASSERT_EQ(seen.cells.size(), 5u);
  EXPECT_EQ(seen.cells[0], Q(u8"姓名"));
  EXPECT_EQ(seen.cells[1], Q(u8"职工1"));
  EXPECT_EQ(seen.cells[2], Q(u8"职工3"));
  EXPECT_EQ(seen.cells[3], "20.5");
  EXPECT_EQ(seen.cells[4], "3");
}

}  // namespace
}  // namespace sr::app
