// Starts the program on the Qt backend (offscreen under the test command) in a program directory
// holding the installed data files, and reads the main window back from Qt's own widgets.
#include <QLabel>
#include <QMenuBar>

#include "forms/grid/grid.h"
#include "platform/qt/grid/grid_widget.h"
#include "program/tests/program_harness.h"

namespace sr::qt {
namespace {

using testing::Q;
using testing::RunProgramAndInspect;
using testing::ToolbarButtons;

TEST(QtProgram, MainWindowShowsItsMenusToolbarGridAndLabelsAndClosesByItsFrame) {
  const int code = RunProgramAndInspect([](FormWindow* window) {
    EXPECT_EQ(window->windowTitle(), Q(u8"新建"));  // set by the start-up's New
    EXPECT_EQ(window->FrameRect(), (ui::Rect{50, 50, 980, 562}));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinMaxButtonsHint);

    QStringList titles;
    for (QAction* title : window->menuBar()->actions()) titles << title->text();
    EXPECT_EQ(titles, (QStringList{Q(u8"&F 文件 "), Q(u8"&E 编辑 "), Q(u8"&T 统计 "), Q(u8"&设置"),
                                   Q(u8"&W 个税 "), Q(u8"&B 备份 ")}));
    const QList<QAction*> file = window->menuBar()->actions()[0]->menu()->actions();
    ASSERT_EQ(file.size(), 11);  // with "&I 导入" and the printouts
    EXPECT_EQ(file[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_EQ(file[8]->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));  // the printouts
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
    const auto& model = dynamic_cast<const Grid&>(*grid->source());
    EXPECT_EQ(model.RowCount(), 5001);
    EXPECT_TRUE(model.Editable());
    EXPECT_FALSE(model.GetCellValue(0, 2).text().empty());  // titles from the relay file

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
    window->resize(QSize(820, 400) - frame);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->FrameRect().width == 820; }));
    EXPECT_EQ(grid->size(), QSize(808, 300));
    EXPECT_EQ(window->client()->findChild<QToolBar*>()->width(), window->client()->width());
    ToolbarButtons(window)[12]->click();  // "退出"
  });
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace sr::qt
