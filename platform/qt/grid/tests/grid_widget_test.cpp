#include "platform/qt/grid/grid_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>
#include <memory>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "platform/qt/grid/tests/typing.h"
#include "platform/ui/tests/fake_grid.h"

// Fontconfig keeps its caches until exit; those are not leaks of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace sr::qt {
namespace {

using Log = std::vector<std::string>;
using testing::TypeUnicode;
using ui::Alignment;
using ui::testing::FakeGrid;

QApplication* App() {
  static int argc = 1;
  static char name[] = "qt_grid_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return app;
}

// Texts in this folder's sources are UTF-8; the grid holds GBK.
Text Gbk(const char* utf8) { return FromUtf8(utf8); }

// Ink of text (antialiased edges included); the lightest line and fill colours stay above.
bool IsDark(QRgb p) { return qGray(p) < 170; }

// A grid of 10 rows of 24 pixels and 4 columns of 90, one title row and one title column, with
// a merged range, a cursor and a selection, shown in a view of 460 x 300.
class GridWidgetTest : public ::testing::Test {
 protected:
  GridWidgetTest() : grid_({10, 4, 1, 1, 24, 90}) {
    App();
    grid_.SetText(0, 1, Gbk("姓名"));
    grid_.SetText(1, 1, Gbk("张三"));
    grid_.SetText(2, 2, Gbk("合并"), Alignment::kCentre);
    grid_.Merge({2, 2, 3, 3});
    grid_.SetCursor(4, 1);
    grid_.Select({4, 1, 5, 2});
    widget_ = std::make_unique<GridWidget>(&grid_, &grid_);
    QFont font("AR PL UMing CN");
    font.setPixelSize(16);
    widget_->setFont(font);
    widget_->resize(460, 300);
    widget_->show();
    QApplication::processEvents();
  }

  // The viewport drawn at a device pixel ratio, as a 200% screen would.
  QImage Render(qreal ratio) {
    const QSize size = widget_->viewport()->size();
    QImage image(size * ratio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    widget_->viewport()->render(&image);
    return image;
  }

  static int CountDark(const QImage& image, const QRect& logical, qreal ratio) {
    const QRect device(logical.topLeft() * ratio, logical.size() * ratio);
    int n = 0;
    for (int y = device.top(); y <= device.bottom(); ++y) {
      for (int x = device.left(); x <= device.right(); ++x) n += IsDark(image.pixel(x, y));
    }
    return n;
  }

  // Puts the widget in a window beside a line edit that can take the focus from it.
  QLineEdit* BesideALineEdit(QWidget* window) {
    auto* layout = new QVBoxLayout(window);
    auto* other = new QLineEdit(window);
    widget_->setParent(window);
    layout->addWidget(widget_.get());
    layout->addWidget(other);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    return other;
  }

  FakeGrid grid_;
  std::unique_ptr<GridWidget> widget_;
};

TEST_F(GridWidgetTest, DrawsTextInsideItsCellAtBothScales) {
  for (qreal ratio : {1.0, 2.0}) {
    SCOPED_TRACE(ratio);
    const QImage image = Render(ratio);
    const QRect cell = widget_->CellRect(1, 1);
    ASSERT_EQ(cell, QRect(90, 24, 90, 24));
    EXPECT_GT(CountDark(image, cell, ratio), 30 * ratio * ratio);
    // Every dark pixel of the row's band lies in that cell: nothing spills over.
    const QRect band(0, cell.top(), widget_->viewport()->width(), cell.height());
    EXPECT_EQ(CountDark(image, band, ratio), CountDark(image, cell, ratio));
    // The title text is drawn too, in its frozen row.
    EXPECT_GT(CountDark(image, widget_->CellRect(0, 1), ratio), 30 * ratio * ratio);
  }
}

// The dark pixel columns of a cell's text band, relative to the cell's left edge.
std::vector<int> InkColumns(const QImage& image, const QRect& cell) {
  std::vector<int> columns;
  for (int x = cell.left(); x < cell.right() - 1; ++x) {
    for (int y = cell.top() + 1; y < cell.bottom() - 1; ++y) {
      if (IsDark(image.pixel(x, y))) {
        columns.push_back(x - cell.left());
        break;
      }
    }
  }
  return columns;
}

TEST_F(GridWidgetTest, TextThatDoesNotFitStartsAtTheCellsLeftEndsInAnEllipsisAndShowsWholeOnHover) {
  const QString whole = QString::fromUtf8("养老保险(免税)");
  grid_.SetText(0, 2, Gbk("养老保险(免税)"), Alignment::kCentre);  // too wide
  grid_.SetText(0, 3, Gbk("养老保险"));                            // fits, left-aligned
  grid_.SetText(6, 1, "12345678901.25", Alignment::kRight);        // an amount
  const QImage image = Render(1);

  // The title's first characters are drawn exactly as the same characters of a title that fits:
  // whole, from the left, not centred and cut on both sides.
  std::vector<int> cut = InkColumns(image, widget_->CellRect(0, 2));
  const std::vector<int> fitting = InkColumns(image, widget_->CellRect(0, 3));
  ASSERT_FALSE(fitting.empty());
  ASSERT_GT(cut.size(), fitting.size());
  EXPECT_TRUE(std::equal(fitting.begin(), fitting.end(), cut.begin()));
  EXPECT_GT(cut.back(), fitting.back() + 4);  // and then the ellipsis
  bool is_cut = false;
  EXPECT_TRUE(widget_->ShownText(0, 2, &is_cut).endsWith(QChar(0x2026)));
  EXPECT_TRUE(is_cut);
  EXPECT_EQ(widget_->ShownText(0, 3, &is_cut), QString::fromUtf8("养老保险"));
  EXPECT_FALSE(is_cut);

  // Resting the mouse on a cut cell, title or data, shows its whole text; on a whole one, nothing.
  auto hover = [this](int row, int column) {
    const QPoint at = widget_->CellRect(row, column).center();
    QHelpEvent help(QEvent::ToolTip, at, widget_->viewport()->mapToGlobal(at));
    QApplication::sendEvent(widget_->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(hover(0, 3), QString());
  EXPECT_EQ(hover(1, 1), QString());
  EXPECT_EQ(hover(0, 2), whole);
  EXPECT_EQ(hover(6, 1), QStringLiteral("12345678901.25"));
  EXPECT_TRUE(widget_->ShownText(6, 1).endsWith(QChar(0x2026)));
}

TEST_F(GridWidgetTest, DrawsAMergedRangeAsOneCellWithoutInnerLines) {
  for (qreal ratio : {1.0, 2.0}) {
    SCOPED_TRACE(ratio);
    const QImage image = Render(ratio);
    const QRect merged = widget_->CellRect(3, 3);
    ASSERT_EQ(merged, QRect(180, 48, 180, 48));
    EXPECT_GT(CountDark(image, merged, ratio), 30 * ratio * ratio);
    const QRgb white = qRgb(255, 255, 255);
    // Where column 2 ends: a line in row 1, none inside the merged cell (above its text).
    const int line_x = (merged.left() + 89) * ratio;
    EXPECT_NE(image.pixel(line_x, (24 + 5) * ratio), white);
    for (int y = merged.top() + 2; y < merged.top() + 8; ++y) {
      EXPECT_EQ(image.pixel(line_x, y * ratio), white) << y;
    }
    // Where row 2 ends: no line inside the merged cell (left of its centred text).
    const int line_y = (merged.top() + 23) * ratio;
    for (int x = merged.left() + 2; x < merged.left() + 20; ++x) {
      EXPECT_EQ(image.pixel(x * ratio, line_y), white) << x;
    }
    EXPECT_NE(image.pixel((merged.left() - 10) * ratio, line_y), white);  // cell (2, 1)'s line
  }
}

TEST_F(GridWidgetTest, ShowsSelectionAndCursor) {
  const QImage image = Render(1);
  const QRect selected = widget_->CellRect(5, 2);
  const QRect plain = widget_->CellRect(6, 2);
  EXPECT_EQ(image.pixel(selected.center()), qRgb(0xD3, 0xE3, 0xFD));
  EXPECT_EQ(image.pixel(plain.center()), qRgb(255, 255, 255));
  const QRect cursor = widget_->CellRect(4, 1);
  EXPECT_EQ(image.pixel(cursor.center().x(), cursor.top()), qRgb(0x1A, 0x73, 0xE8));
  EXPECT_EQ(image.pixel(cursor.center()), qRgb(255, 255, 255));  // the cursor cell stays white
}

TEST_F(GridWidgetTest, TitlesStayWhileTheDataScrolls) {
  grid_.SetRowCount(200);
  widget_->verticalScrollBar()->setValue(24 * 50);
  int r, c;
  ASSERT_TRUE(widget_->CellAt(QPoint(100, 10), &r, &c));
  EXPECT_EQ(r, 0);
  ASSERT_TRUE(widget_->CellAt(QPoint(100, 30), &r, &c));
  EXPECT_EQ(r, 51);
  EXPECT_EQ(c, 1);
  ASSERT_TRUE(widget_->CellAt(QPoint(10, 30), &r, &c));
  EXPECT_EQ(c, 0);
  // Moving the cursor far down scrolls it into view.
  grid_.SetCursor(150, 2);
  const QRect rect = widget_->CellRect(150, 2);
  EXPECT_GE(rect.top(), 24);
  EXPECT_LE(rect.bottom(), widget_->viewport()->height());
}

TEST_F(GridWidgetTest, IsTheSourcesViewWhileItExists) {
  EXPECT_EQ(grid_.view(), widget_.get());
  widget_.reset();
  EXPECT_EQ(grid_.view(), nullptr);
}

// A mouse event of `type` at a point of the viewport, with the left button held where it is.
void SendMouse(QWidget* viewport, QEvent::Type type, const QPoint& at, Qt::MouseButton button) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(viewport, &event);
}

// "x,y" of a point.
std::string Xy(const QPoint& p) { return std::to_string(p.x()) + "," + std::to_string(p.y()); }

TEST_F(GridWidgetTest, ReportsTheMouseByCellAndPoint) {
  QWidget* viewport = widget_->viewport();
  const QPoint first = widget_->CellRect(1, 2).center();
  const QPoint second = widget_->CellRect(2, 1).center();
  const QPoint outside(widget_->CellRect(9, 3).right() + 20, widget_->CellRect(9, 3).bottom() + 20);
  ASSERT_TRUE(viewport->rect().contains(outside));
  grid_.Take();
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, first);
  EXPECT_EQ(grid_.Take(),
            (Log{"PressButton 1,2," + Xy(first) + ",2", "ReleaseButton 1,2," + Xy(first) + ",2"}));
  SendMouse(viewport, QEvent::MouseButtonPress, first, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseMove, second, Qt::NoButton);
  SendMouse(viewport, QEvent::MouseButtonRelease, second, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseButtonDblClick, second, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseButtonPress, outside, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseButtonPress, second, Qt::RightButton);
  EXPECT_EQ(
      grid_.Take(),
      (Log{"PressButton 1,2," + Xy(first) + ",0", "DragTo 2,1," + Xy(second) + ",0",
           "ReleaseButton 2,1," + Xy(second) + ",0", "DoubleClickButton 2,1," + Xy(second) + ",0",
           "PressButton -1,-1," + Xy(outside) + ",0", "PressRightButton " + Xy(second) + ",0"}));
}

TEST_F(GridWidgetTest, ReportsKeysAsVirtualKeysAndTypedCharactersAsGbk) {
  widget_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(widget_.get()));
  grid_.Take();
  QTest::keyClick(widget_.get(), Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(widget_.get(), Qt::Key_C, Qt::ControlModifier);  // a command, no character
  TypeUnicode(widget_.get(), QString::fromUtf8("工资"));
  EXPECT_EQ(grid_.Take(),
            (Log{"PressKey 37,2", "PressKey 67,1", "TypeCharacter " + Gbk("工") + ",0",
                 "TypeCharacter " + Gbk("资") + ",0"}));
  // The first character opened the editor, which shows what the grid holds as its text.
  ASSERT_TRUE(widget_->editor()->isVisible());
  EXPECT_EQ(widget_->editor()->text(), QString::fromUtf8("工资"));
}

TEST_F(GridWidgetTest, TheEditorKeepsItsOwnKeysAndReportsItsTextAndTheKeysThatCloseIt) {
  widget_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(widget_.get()));
  grid_.OpenEditor(1, 1, Gbk("张三"));
  ASSERT_TRUE(widget_->editor()->hasFocus());
  grid_.Take();
  QTest::keyClicks(widget_->editor(), "12");
  QTest::keyClick(widget_->editor(), Qt::Key_Left);
  QTest::keyClick(widget_->editor(), Qt::Key_Backspace);
  QTest::keyClick(widget_->editor(), Qt::Key_Return);
  EXPECT_EQ(grid_.Take(), (Log{"SetEditorText " + Gbk("张三1"), "SetEditorText " + Gbk("张三12"),
                               "SetEditorText " + Gbk("张三2"), "PressKey 13,0"}));
  EXPECT_FALSE(widget_->editor()->isVisible());  // the grid closed it
  EXPECT_EQ(grid_.CellText(1, 1), Gbk("张三2"));
  EXPECT_TRUE(widget_->hasFocus());
}

TEST_F(GridWidgetTest, ReportsTheLossOfTheFocusOnceItLeavesTheGridAndItsEditor) {
  QWidget window;
  QLineEdit* other = BesideALineEdit(&window);
  widget_->setFocus();
  grid_.Take();
  grid_.OpenEditor(1, 1, Gbk("张三"));  // the editor takes the focus: the grid keeps it
  ASSERT_TRUE(widget_->editor()->hasFocus());
  EXPECT_EQ(grid_.Take(), Log{});
  other->setFocus();
  EXPECT_EQ(grid_.Take(), Log{"LoseFocus"});
  EXPECT_FALSE(widget_->editor()->isVisible());
  widget_->setFocus();
  other->setFocus();
  EXPECT_EQ(grid_.Take(), Log{"LoseFocus"});
  widget_->setParent(nullptr);
}

TEST_F(GridWidgetTest, RefusesCharactersGbkCannotHold) {
  const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
  grid_.Take();
  TypeUnicode(widget_.get(), emoji);
  EXPECT_EQ(grid_.Take(), Log{});
  EXPECT_FALSE(grid_.Editing());
  grid_.OpenEditor(1, 1, Gbk("张三"));
  TypeUnicode(widget_->editor(), emoji);
  EXPECT_EQ(widget_->editor()->text(), QString::fromUtf8("张三"));
  EXPECT_EQ(grid_.Take(), Log{});
}

TEST_F(GridWidgetTest, APageIsTheWholeDataRowsTheViewShows) {
  for (int height : {300, 150, 60}) {
    SCOPED_TRACE(height);
    widget_->resize(460, height);
    QApplication::processEvents();
    const int data_height = widget_->viewport()->height() - 24;
    EXPECT_LE(grid_.page_rows() * 24, std::max(data_height, 24));
    EXPECT_GT((grid_.page_rows() + 1) * 24, data_height);
  }
}

}  // namespace
}  // namespace sr::qt
