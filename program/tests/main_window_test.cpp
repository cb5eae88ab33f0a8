// Starts the program on the Qt backend (offscreen under the test command) in a program directory
// holding the installed data files, and reads the main window back from Qt's own widgets.
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/automation/recording_automation.h"
#include "platform/fs/file_system.h"
#include "platform/print/recording_print_seam.h"
#include "platform/qt/grid/grid_widget.h"
#include "platform/qt/ui/form_window.h"
#include "platform/qt/ui/tests/modal_driver.h"
#include "platform/qt/ui/tests/qt_test_support.h"

namespace sr::qt {
namespace {

namespace stdfs = std::filesystem;
using testing::Backend;
using testing::Q;

// A fresh program directory with the installed data files, current while the test runs.
class ProgramDirectory {
 public:
  ProgramDirectory() : previous_(stdfs::current_path()) {
    path_ = stdfs::temp_directory_path() / ("qt_program_" + std::to_string(::getpid()));
    stdfs::remove_all(path_);
    stdfs::create_directories(path_);
    for (const auto& file : stdfs::directory_iterator(SR_DATA_DIR))
      stdfs::copy_file(file.path(), path_ / file.path().filename());
    stdfs::current_path(path_);
  }
  ~ProgramDirectory() {
    stdfs::current_path(previous_);
    stdfs::remove_all(path_);
  }

 private:
  stdfs::path previous_;
  stdfs::path path_;
};

// Runs the program; `inspect` runs at its first idle moment with the main window and must end
// the program. Returns the exit code. A question the program should not ask fails the test
// instead of waiting for an answer.
int RunProgramAndInspect(std::function<void(FormWindow*)> inspect) {
  ProgramDirectory directory;
  print::RecordingPrintSeam printer;
  automation::RecordingAutomation spreadsheet;
  const app::Seams seams{Backend(), fs::RealFileSystem(), printer, spreadsheet};
  testing::WatchModals();
  QTimer::singleShot(0, [inspect] {
    const std::vector<FormWindow*> windows = Backend().Windows();
    ASSERT_EQ(windows.size(), 1u);
    inspect(windows[0]);
  });
  return app::RunProgram(seams);
}

QList<QToolButton*> ToolbarButtons(FormWindow* window) {
  QList<QToolButton*> buttons;
  for (QToolButton* button : window->client()->findChild<QToolBar*>()->findChildren<QToolButton*>())
    if (button->defaultAction() != nullptr) buttons << button;
  return buttons;
}

TEST(QtProgram, MainWindowShowsItsMenusToolbarGridAndLabelsAndClosesByItsFrame) {
  const int code = RunProgramAndInspect([](FormWindow* window) {
    EXPECT_EQ(window->windowTitle(), Q(u8"新建"));  // set by the start-up's New
    EXPECT_EQ(window->FrameRect(), (ui::Rect{50, 50, 980, 562}));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinMaxButtonsHint);

    QStringList titles;
    for (QAction* title : window->menuBar()->actions()) titles << title->text();
    EXPECT_EQ(titles, (QStringList{Q(u8"&F 文件 "), Q(u8"&E 编辑 "), Q(u8"&T 统计 "), Q(u8"&设置")}));
    const QList<QAction*> file = window->menuBar()->actions()[0]->menu()->actions();
    ASSERT_EQ(file.size(), 8);
    EXPECT_EQ(file[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_TRUE(file[4]->isEnabled());  // "&S 保存": disabled in the form, enabled by New

    const QList<QToolButton*> buttons = ToolbarButtons(window);
    QStringList captions;
    for (QToolButton* button : buttons) captions << button->text();
    EXPECT_EQ(captions, (QStringList{Q(u8"新建"), Q(u8"打开"), Q(u8"保存"), Q(u8"修改"),
                                     Q(u8"查找"), Q(u8"删除"), Q(u8"插入"), Q(u8"计算"),
                                     Q(u8"汇总"), Q(u8"税率"), Q(u8"设置"), Q(u8"导出"),
                                     Q(u8"退出")}));
    ASSERT_EQ(buttons.size(), 13);
    EXPECT_EQ(buttons[0]->toolTip(), Q(u8"新建学生名单"));
    EXPECT_EQ(buttons[0]->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_FALSE(buttons[5]->isEnabled());  // "删除" until the first toolbar click
    // Every button sits left of the head-count label, which shares the toolbar's strip.
    EXPECT_LE(buttons[12]->mapTo(window->client(), QPoint(buttons[12]->width(), 0)).x(), 528);

    auto* grid = window->client()->findChild<GridWidget*>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->geometry(), QRect(2, 43, 968, 462));  // the layout: W - 12, H - 100
    EXPECT_EQ(grid->grid()->RowCount(), 5001);
    EXPECT_TRUE(grid->grid()->Editable());
    EXPECT_FALSE(grid->grid()->GetCellValue(0, 2).text().empty());  // titles from the relay file

    QStringList labels;
    for (QLabel* label : window->client()->findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains(Q(u8"工资个税管理程序\n版本 1.0")));

    window->close();  // the frame's close box: Exit, without a question (nothing changed)
  });
  EXPECT_EQ(code, 0);
}

TEST(QtProgram, ResizingTheWindowLaysOutTheGridAndTheToolbarsExitEndsTheProgram) {
  const int code = RunProgramAndInspect([](FormWindow* window) {
    auto* grid = window->client()->findChild<GridWidget*>();
    const QSize frame = window->frameGeometry().size() - window->size();
    window->resize(QSize(600, 400) - frame);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->FrameRect().width == 600; }));
    EXPECT_EQ(grid->size(), QSize(588, 300));
    EXPECT_EQ(window->client()->findChild<QToolBar*>()->width(), window->client()->width());
    ToolbarButtons(window)[12]->click();  // "退出"
  });
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace sr::qt
