// The program's five windows on the Qt backend, offscreen: what only their pixels show. Every
// label shows its whole text in its box, every grid shows its cells without needless scroll
// bars, an amount is never cut without a mark, and the main window cannot be made so small that
// its labels and toolbar overlap.
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextLayout>
#include <QToolTip>

#include "forms/grid/grid.h"
#include "platform/qt/grid/grid_widget.h"
#include "program/tests/program_harness.h"

namespace sr::qt {
namespace {

using testing::InspectModalWindow;
using testing::Q;
using testing::RunProgramAndInspect;
using testing::ToolbarButtons;

// With SR_FORM_SCREENSHOTS=DIR set, each window inspected is also saved there as NAME.png.
void SaveScreenshot(QWidget* window, const char* name) {
  const QString directory = qEnvironmentVariable("SR_FORM_SCREENSHOTS");
  if (!directory.isEmpty()) window->grab().save(directory + "/" + name + ".png");
}

// The lines of a label's text as Qt lays them out in its font: each CR LF (a line feed by now)
// starts a line, and a multi-line label wraps at its width.
struct TextExtent {
  qreal width = 0;
  qreal height = 0;
};
TextExtent Measure(const QLabel* label) {
  TextExtent extent;
  QTextOption option;
  option.setWrapMode(label->wordWrap() ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                       : QTextOption::NoWrap);
  for (const QString& paragraph : label->text().split(QLatin1Char('\n'))) {
    QTextLayout layout(paragraph, label->font());
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      if (label->wordWrap()) line.setLineWidth(label->width());
      extent.width = std::max(extent.width, line.naturalTextWidth());
      extent.height += std::max(line.height(), qreal(label->fontMetrics().lineSpacing()));
    }
    layout.endLayout();
  }
  return extent;
}

bool IsInk(QRgb pixel, QRgb background) { return std::abs(qGray(pixel) - qGray(background)) > 60; }

// Ink that the label draws outside its box when it is given room to draw there: a text that
// needs more room than its box would be cut there.
int InkOutsideTheBox(QLabel* label) {
  const QSize box = label->size();
  label->resize(label->wordWrap() ? box.width() : box.width() + 80, box.height() + 40);
  const QImage image = label->grab().toImage();
  label->resize(box);
  const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
  int ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((x >= box.width() || y >= box.height()) && IsInk(image.pixel(x, y), background)) ++ink;
  return ink;
}

void ExpectEveryLabelFits(FormWindow* window) {
  int labels = 0;
  for (QLabel* label : window->client()->findChildren<QLabel*>()) {
    if (!label->isVisible() || label->text().isEmpty()) continue;
    ++labels;
    SCOPED_TRACE(label->objectName().toStdString() + ": " + label->text().toStdString());
    const TextExtent extent = Measure(label);
    EXPECT_LE(extent.width, label->width());
    EXPECT_LE(extent.height, label->height());
    EXPECT_EQ(InkOutsideTheBox(label), 0);
  }
  EXPECT_GT(labels, 0);
}

TEST(QtForms, EveryLabelOfEveryWindowShowsItsWholeText) {
  const int code = RunProgramAndInspect([](FormWindow* main) {
    // The head count as long as a full register makes it.
    for (QLabel* label : main->client()->findChildren<QLabel*>())
      if (label->text().startsWith(Q(u8"表内人数"))) label->setText(Q(u8"表内人数: 5000 人"));
    SaveScreenshot(main, "main");
    ExpectEveryLabelFits(main);
    InspectModalWindow(main, Q(u8"查找"), [](FormWindow* find) {
      SaveScreenshot(find, "find");
      ExpectEveryLabelFits(find);
    });
    InspectModalWindow(main, Q(u8"设置"), [](FormWindow* settings) {
      SaveScreenshot(settings, "settings");
      ExpectEveryLabelFits(settings);
    });
    InspectModalWindow(main, Q(u8"税率"), [](FormWindow* tax) { SaveScreenshot(tax, "tax"); });
    InspectModalWindow(main, Q(u8"汇总"), [](FormWindow* sum) { SaveScreenshot(sum, "summary"); });
    bool printouts_seen = false;
    testing::InspectNextModalWindow(main, [&printouts_seen](FormWindow* printouts) {
      printouts_seen = true;
      SaveScreenshot(printouts, "printouts");
      ExpectEveryLabelFits(printouts);
      int buttons = 0;
      for (QPushButton* button : printouts->client()->findChildren<QPushButton*>()) {
        ++buttons;
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 8)
            << button->text().toStdString();
      }
      EXPECT_EQ(buttons, 5);
    });
    // The file menu's entry; triggering it returns once the window has closed.
    for (QAction* action : main->findChildren<QAction*>()) {
      if (action->text().contains(Q(u8"打印工资条和工资表"))) {
        action->trigger();
        break;
      }
    }
    EXPECT_TRUE(printouts_seen);
    testing::InspectNextModalWindow(main, [](FormWindow* people) {
      SaveScreenshot(people, "people");
      EXPECT_EQ(people->windowTitle(), Q(u8"人员信息"));
    });
    for (QAction* action : main->findChildren<QAction*>()) {
      if (action->text() == Q(u8"人员信息")) {
        action->trigger();
        break;
      }
    }
    main->close();
  });
  EXPECT_EQ(code, 0);
}

// Every cell of the window's grid lies inside the grid's view, and neither scroll bar shows.
void ExpectWholeGridInView(FormWindow* window) {
  auto* view = window->client()->findChild<GridWidget*>();
  ASSERT_NE(view, nullptr);
  const ui::GridSource& grid = *view->source();
  EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(view->verticalScrollBar()->isVisible());
  EXPECT_LE(view->CellRect(grid.RowCount() - 1, 0).bottom(), view->viewport()->height() - 1);
  EXPECT_LE(view->CellRect(0, grid.ColumnCount() - 1).right(), view->viewport()->width() - 1);
}

TEST(QtForms, TheSettingsTaxRateAndSummaryTablesShowEveryCellWithoutScrollBars) {
  const int code = RunProgramAndInspect([](FormWindow* main) {
    InspectModalWindow(main, Q(u8"设置"), ExpectWholeGridInView);  // all fifteen items
    InspectModalWindow(main, Q(u8"税率"), ExpectWholeGridInView);
    InspectModalWindow(main, Q(u8"汇总"), ExpectWholeGridInView);
    main->close();
  });
  EXPECT_EQ(code, 0);
}

// How many pixels wide the ink of `text` is when drawn whole in `font`.
int InkWidth(const QString& text, const QFont& font) {
  QImage image(QFontMetrics(font).horizontalAdvance(text) + 20, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(10, 30, text);
  painter.end();
  int first = image.width(), last = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (IsInk(image.pixel(x, y), qRgb(255, 255, 255)))
        first = std::min(first, x), last = std::max(last, x);
  return last - first + 1;
}

// The same, of what a grid cell shows.
int InkWidth(GridWidget* view, const QRect& cell) {
  QImage image(view->viewport()->size(), QImage::Format_RGB32);
  view->viewport()->render(&image);
  int first = cell.right(), last = -1;
  for (int y = cell.top() + 1; y < cell.bottom() - 1; ++y)
    for (int x = cell.left() + 1; x < cell.right() - 1; ++x)
      if (IsInk(image.pixel(x, y), qRgb(255, 255, 255)))
        first = std::min(first, x), last = std::max(last, x);
  return last - first + 1;
}

TEST(QtForms, TheSummaryShowsEveryAmountWholeOrVisiblyCutWithTheWholeAmountOnHover) {
  const int code = RunProgramAndInspect([](FormWindow* main) {
    auto& people = dynamic_cast<Grid&>(*main->client()->findChild<GridWidget*>()->source());
    // Typed into the register, as the user enters amounts.
    const auto type = [&people](int row, int column, const char* text) {
      people.SetCursor(row, column);
      people.BeginEdit();
      people.SetEditorText(text);
      people.EndEdit();
    };
    type(1, 2, "12507226.57");
    type(2, 2, "1.01");
    type(1, 3, "1234567890123.4");
    type(1, 4, "-98765432.12");
    InspectModalWindow(main, Q(u8"汇总"), [](FormWindow* summary) {
      auto* view = summary->client()->findChild<GridWidget*>();
      const ui::GridSource& totals = *view->source();
      ASSERT_EQ(totals.CellText(1, 2), "12507227.58");
      ASSERT_EQ(totals.CellText(2, 2), "1234567890123");
      std::vector<int> cut_rows;
      for (int row = 1; row < totals.RowCount(); ++row) {
        const QString amount = QString::fromLatin1(totals.CellText(row, 2).c_str());
        SCOPED_TRACE(amount.toStdString());
        bool cut = false;
        const QString shown = view->ShownText(row, 2, &cut);
        const QRect cell = view->CellRect(row, 2);
        if (!cut) {  // shown whole: every pixel of it
          EXPECT_EQ(shown, amount);
          EXPECT_EQ(InkWidth(view, cell), InkWidth(amount, view->font()));
          continue;
        }
        cut_rows.push_back(row);
        EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
        QHelpEvent hover(QEvent::ToolTip, cell.center(),
                         view->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(view->viewport(), &hover);
        EXPECT_EQ(QToolTip::text(), amount);
      }
      // Eleven characters fit the column; the thirteen digits do not.
      EXPECT_EQ(std::count(cut_rows.begin(), cut_rows.end(), 1), 0);
      EXPECT_EQ(std::count(cut_rows.begin(), cut_rows.end(), 2), 1);
      SaveScreenshot(summary, "summary-large");
    });
    // The typed amounts are not to be kept.
    testing::WhenShown<QMessageBox>([](QMessageBox* box) {
      EXPECT_EQ(box->windowTitle(), Q(u8"保存文件提示"));
      box->button(QMessageBox::No)->click();
    });
    main->close();
  });
  EXPECT_EQ(code, 0);
}

// The rectangle a label's text takes in its window's client area.
QRect TextRect(const QLabel* label) {
  const TextExtent extent = Measure(label);
  return QRect(label->pos(), QSize(std::ceil(extent.width), std::ceil(extent.height)));
}

QLabel* LabelStartingWith(FormWindow* window, const QString& start) {
  for (QLabel* label : window->client()->findChildren<QLabel*>())
    if (label->text().startsWith(start)) return label;
  return nullptr;
}

TEST(QtForms, TheMainWindowStopsShrinkingWhereItsLabelsAndToolbarWouldOverlap) {
  const int code = RunProgramAndInspect([](FormWindow* main) {
    QLabel* head_count = LabelStartingWith(main, Q(u8"表内人数"));
    QLabel* credit = LabelStartingWith(main, Q(u8"工资个税管理程序"));
    ASSERT_NE(head_count, nullptr);
    ASSERT_NE(credit, nullptr);
    head_count->setText(Q(u8"表内人数: 99999 人"));
    main->resize(300, 150);
    QTest::qWait(20);
    EXPECT_GT(main->width(), 300);
    SaveScreenshot(main, "main-smallest");

    const QRect credit_text = TextRect(credit);
    const QRect head_count_text = TextRect(head_count);
    EXPECT_FALSE(credit_text.intersects(head_count_text));
    EXPECT_LE(credit_text.right(), main->client()->width());
    for (QToolButton* button : ToolbarButtons(main)) {
      SCOPED_TRACE(button->text().toStdString());
      EXPECT_TRUE(button->isVisible());  // none pushed into the toolbar's overflow menu
      const QRect place(button->mapTo(main->client(), QPoint(0, 0)), button->size());
      EXPECT_FALSE(place.intersects(credit_text));
      EXPECT_FALSE(place.intersects(head_count_text));
    }
    auto* grid = main->client()->findChild<GridWidget*>();
    EXPECT_GT(grid->y(), std::max(credit_text.bottom(), head_count_text.bottom()));
    EXPECT_GE(grid->viewport()->height(), 20 + 5 * 20);
    main->close();
  });
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace sr::qt
