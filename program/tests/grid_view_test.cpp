// The grid model under its real Qt view: what the user does in the view ends up in the model,
// and what the model decides shows in the view.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "forms/grid/grid.h"
#include "platform/qt/grid/grid_widget.h"
#include "platform/qt/grid/tests/typing.h"
#include "platform/qt/ui/tests/qt_test_support.h"

namespace sr::qt {
namespace {

using testing::Gbk;
using testing::Q;
using testing::TypeUnicode;

// An editable grid of 10 rows and 4 columns, one title row and one title column, Enter moving
// right, in a window beside a line edit.
class GridViewTest : public ::testing::Test {
 protected:
  GridViewTest() : grid_({10, 4, 1, 1, true, 24, 90, 1, false}) {
    grid_.SetCellValue(1, 1, 1, Value::FromText(Gbk(u8"张三")));
    auto* layout = new QVBoxLayout(&window_);
    view_ = new GridWidget(&grid_, &grid_, &window_);
    other_ = new QLineEdit(&window_);
    layout->addWidget(view_);
    layout->addWidget(other_);
    window_.resize(460, 340);
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  QtBackend& backend_ = testing::Backend();  // the application object, before any widget
  Grid grid_;                                // outlives the window and its view
  QWidget window_;
  GridWidget* view_;
  QLineEdit* other_;
};

TEST_F(GridViewTest, ClickTypeAndEnterStoreTheTextInTheModel) {
  QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, view_->CellRect(1, 2).center());
  EXPECT_EQ(grid_.GetCursorRow(), 1);
  EXPECT_EQ(grid_.GetCursorColumn(), 2);
  TypeUnicode(view_, Q(u8"工资"));
  ASSERT_TRUE(grid_.Editing());
  EXPECT_TRUE(view_->editor()->isVisible());
  EXPECT_EQ(view_->editor()->text(), Q(u8"工资"));
  QTest::keyClicks(view_->editor(), "12");
  EXPECT_EQ(grid_.EditorText(), Gbk(u8"工资12"));
  QTest::keyClick(view_->editor(), Qt::Key_Return);
  EXPECT_FALSE(grid_.Editing());
  EXPECT_FALSE(view_->editor()->isVisible());
  EXPECT_EQ(grid_.CellText(1, 2), Gbk(u8"工资12"));
  EXPECT_EQ(grid_.GetCursorColumn(), 3);  // EnterMoves 1: right
  QTest::keyClick(view_, Qt::Key_Left);
  QTest::keyClick(view_, Qt::Key_Delete);
  EXPECT_EQ(grid_.CellText(1, 2), "");
}

TEST_F(GridViewTest, TheEditorStoresItsTextWhenTheFocusLeavesTheGrid) {
  grid_.SetCursor(1, 1);
  view_->setFocus();
  QTest::keyClick(view_, Qt::Key_F2);
  ASSERT_TRUE(view_->editor()->hasFocus());
  QTest::keyClicks(view_->editor(), "x");
  other_->setFocus();
  EXPECT_FALSE(grid_.Editing());
  EXPECT_FALSE(view_->editor()->isVisible());
  EXPECT_EQ(grid_.CellText(1, 1), Gbk(u8"张三x"));
}

}  // namespace
}  // namespace sr::qt
