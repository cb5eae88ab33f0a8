#include "platform/qt/ui/icons/painted_icons.h"
#include "platform/qt/ui/tests/qt_test_support.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QSet>
#include <QToolBar>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

#include "platform/qt/ui/form_style.h"

namespace sr::qt {
namespace {

// The image indices that the main toolbar's buttons use, in button order.
constexpr int kToolbarImages[] = {14, 1, 11, 4, 2, 13, 21, 5, 6, 26, 8, 3, 10};

void App() { testing::Backend(); }

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 128;
  return count;
}

TEST(PaintedIcons, EveryToolbarImageIsAVisibleDistinctPicture) {
  App();
  QSet<QByteArray> seen;
  for (int image : kToolbarImages) {
    QImage picture = ToolbarImage(image).pixmap(16, 16).toImage().convertToFormat(
        QImage::Format_ARGB32);
    ASSERT_EQ(picture.size(), QSize(16, 16)) << image;
    // A toolbar picture covers a fair part of its square but leaves the corners' background.
    EXPECT_GT(OpaquePixels(picture), 40) << image;
    EXPECT_LT(OpaquePixels(picture), 256) << image;
    seen.insert(QByteArray(reinterpret_cast<const char*>(picture.constBits()),
                           picture.sizeInBytes()));
  }
  EXPECT_EQ(seen.size(), static_cast<int>(std::size(kToolbarImages)));
}

TEST(PaintedIcons, UnusedImagesAreNullAndTheProgramIconHasEverySize) {
  App();
  EXPECT_TRUE(ToolbarImage(0).isNull());
  EXPECT_TRUE(ToolbarImage(27).isNull());
  const QIcon program = ProgramIcon();
  for (int size : {16, 32, 48}) {
    EXPECT_EQ(program.pixmap(size, size).size(), QSize(size, size));
    EXPECT_GT(OpaquePixels(program.pixmap(size, size).toImage()), size * size / 3);
  }
}

// Qt's own extension chevrons are image files: reading the first one loads every image format
// plug-in at start-up. The program's style paints them instead, pointing the right way.
TEST(PaintedIcons, MenuBarAndToolbarLoadNoImagePlugIn) {
  App();
  ASSERT_NE(dynamic_cast<FormStyle*>(QApplication::style()), nullptr);
  QMainWindow window;
  window.menuBar()->addMenu(QStringLiteral("File"));
  window.addToolBar(QStringLiteral("tools"))->addAction(QStringLiteral("New"));
  window.show();
  QApplication::processEvents();
  QFile maps(QStringLiteral("/proc/self/maps"));
  ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
  EXPECT_FALSE(maps.readAll().contains("/imageformats/"));

  const QImage right = QApplication::style()
                           ->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)
                           .pixmap(16, 16)
                           .toImage();
  const QImage down = QApplication::style()
                          ->standardIcon(QStyle::SP_ToolBarVerticalExtensionButton)
                          .pixmap(16, 16)
                          .toImage();
  EXPECT_GT(OpaquePixels(right), 8);
  EXPECT_NEAR(OpaquePixels(down), OpaquePixels(right), 4);
  EXPECT_NE(down, right);
}

// An icon of the pictures `painted` holds at exactly `sides`, added as the pictures were painted
// before they were painted on demand: the answers the program's icons must keep giving.
QIcon PlainIcon(const QIcon& painted, const std::vector<int>& sides) {
  QIcon plain;
  for (int side : sides) plain.addPixmap(painted.pixmap(QSize(side, side), 1.0));
  return plain;
}

QImage Painted(const QIcon& icon, const QSize& size, qreal ratio, QIcon::Mode mode) {
  QImage canvas(size * ratio, QImage::Format_ARGB32_Premultiplied);
  canvas.setDevicePixelRatio(ratio);
  canvas.fill(Qt::transparent);
  QPainter painter(&canvas);
  icon.paint(&painter, QRect(QPoint(0, 0), size), Qt::AlignCenter, mode);
  return canvas;
}

// The pictures are painted the first time a size needs them. Whatever size, screen density and
// mode is asked for first, the icon answers as the icon holding every size did.
TEST(PaintedIcons, PaintedOnDemandAnswerAsIconsHoldingEverySize) {
  App();
  const std::pair<std::function<QIcon()>, std::vector<int>> icons[] = {
      {[] { return ToolbarImage(14); }, {16, 32}},
      {[] { return ToolbarImage(13); }, {16, 32}},
      {[] { return ProgramIcon(); }, {16, 32, 48}}};
  const QSize sizes[] = {{8, 8}, {16, 16}, {20, 20}, {24, 24}, {32, 32}, {40, 40}, {64, 64},
                         {16, 24}, {48, 20}};
  for (const auto& [make, sides] : icons) {
    const QIcon plain = PlainIcon(make(), sides);
    const QIcon reused = make();
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
      EXPECT_EQ(make().availableSizes(mode), plain.availableSizes(mode)) << mode;
      for (const QSize& size : sizes) {
        EXPECT_EQ(make().actualSize(size, mode), plain.actualSize(size, mode)) << mode;
        for (qreal ratio : {1.0, 1.5, 2.0}) {
          const QPixmap expected = plain.pixmap(size, ratio, mode);
          for (const QIcon& icon : {make(), reused}) {
            const QPixmap got = icon.pixmap(size, ratio, mode);
            EXPECT_EQ(got.devicePixelRatio(), expected.devicePixelRatio());
            EXPECT_EQ(got.toImage(), expected.toImage())
                << mode << " " << size.width() << "x" << size.height() << " at " << ratio;
          }
          EXPECT_EQ(Painted(make(), size, ratio, mode), Painted(plain, size, ratio, mode))
              << mode << " " << size.width() << "x" << size.height() << " at " << ratio;
        }
      }
    }
  }
}

}  // namespace
}  // namespace sr::qt
