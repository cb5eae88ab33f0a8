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

#include "base/gbk.h"

// Fontconfig keeps its caches until exit; those are not leaks of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace sr::qt {
namespace {

QApplication* App() {
  static int argc = 1;
  static char name[] = "qt_grid_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return app;
}

// Texts in this folder's sources are UTF-8; the model holds GBK.
Text Gbk(const char* utf8) { return FromUtf8(utf8); }

// Ink of text (antialiased edges included); the lightest line and fill colours stay above.
bool IsDark(QRgb p) { return qGray(p) < 170; }

// Characters as a keyboard or input method delivers them (QTest only types ASCII).
void TypeUnicode(QWidget* target, const QString& text) {
  for (QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(target, &press);
  }
}

class GridWidgetTest : public ::testing::Test {
 protected:
  GridWidgetTest() : grid_({10, 4, 1, 1, true, 24, 90, 1, false}) {
    App();
    grid_.SetCellValue(0, 1, 1, Value::FromText(Gbk("姓名")));
    grid_.SetCellValue(1, 1, 1, Value::FromText(Gbk("张三")));
    grid_.SetCellValue(2, 2, 1, Value::FromText(Gbk("合并")));
    grid_.SetAlignment(2, 2, std::nullopt, std::nullopt, 2);
    grid_.MergeCells(2, 2, 3, 3);
    grid_.SetCursor(4, 1);
    grid_.Select({4, 1, 5, 2});
    widget_ = std::make_unique<GridWidget>(&grid_);
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

  Grid grid_;
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
  grid_.SetCellValue(0, 2, 1, Value::FromText(Gbk("养老保险(免税)")));  // centred, too wide
  grid_.SetAlignment(0, 2, std::nullopt, std::nullopt, 2);
  grid_.SetCellValue(0, 3, 1, Value::FromText(Gbk("养老保险")));        // fits, left-aligned
  grid_.SetCellValue(6, 1, 1, Value::FromText(Gbk("12345678901.25")));  // right-aligned amount
  grid_.SetAlignment(6, 1, std::nullopt, std::nullopt, 3);
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

TEST_F(GridWidgetTest, ClickTypeAndEnterStoreTheTextInTheModel) {
  widget_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(widget_.get()));
  QTest::mouseClick(widget_->viewport(), Qt::LeftButton, {}, widget_->CellRect(1, 2).center());
  EXPECT_EQ(grid_.GetCursorRow(), 1);
  EXPECT_EQ(grid_.GetCursorColumn(), 2);
  TypeUnicode(widget_.get(), QString::fromUtf8("工资"));
  ASSERT_TRUE(grid_.Editing());
  EXPECT_TRUE(widget_->editor()->isVisible());
  EXPECT_EQ(widget_->editor()->text(), QString::fromUtf8("工资"));
  QTest::keyClicks(widget_->editor(), "12");
  EXPECT_EQ(grid_.EditorText(), Gbk("工资12"));
  QTest::keyClick(widget_->editor(), Qt::Key_Return);
  EXPECT_FALSE(grid_.Editing());
  EXPECT_FALSE(widget_->editor()->isVisible());
  EXPECT_EQ(grid_.CellText(1, 2), Gbk("工资12"));
  EXPECT_EQ(grid_.GetCursorColumn(), 3);  // EnterMoves 1: right
  QTest::keyClick(widget_.get(), Qt::Key_Left);
  QTest::keyClick(widget_.get(), Qt::Key_Delete);
  EXPECT_EQ(grid_.CellText(1, 2), "");
}

TEST_F(GridWidgetTest, TheEditorStoresItsTextWhenTheFocusLeavesTheGrid) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* other = new QLineEdit(&window);
  widget_->setParent(&window);
  layout->addWidget(widget_.get());
  layout->addWidget(other);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  grid_.SetCursor(1, 1);
  widget_->setFocus();
  QTest::keyClick(widget_.get(), Qt::Key_F2);
  ASSERT_TRUE(widget_->editor()->hasFocus());
  QTest::keyClicks(widget_->editor(), "x");
  other->setFocus();
  EXPECT_FALSE(grid_.Editing());
  EXPECT_EQ(grid_.CellText(1, 1), Gbk("张三x"));
  widget_->setParent(nullptr);
}

TEST_F(GridWidgetTest, RefusesCharactersGbkCannotHold) {
  grid_.SetCursor(1, 1);
  TypeUnicode(widget_.get(), QString::fromUtf8("\xF0\x9F\x98\x80"));  // an emoji
  EXPECT_FALSE(grid_.Editing());
  EXPECT_EQ(grid_.CellText(1, 1), Gbk("张三"));
}

}  // namespace
}  // namespace sr::qt
