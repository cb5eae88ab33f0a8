#include "platform/qt/ui/icons/painted_icons.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

namespace sr::qt {
namespace {

// Every drawing works on a 16 x 16 grid; lines sit on half pixels so that one-pixel strokes stay
// crisp at 16 and at 32 pixels.
using Drawing = void (*)(QPainter&);

const QColor kOutline(0x40, 0x40, 0x40);

void Stroke(QPainter& p, const QColor& color, qreal width = 1.0) {
  p.setPen(QPen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

void Shape(QPainter& p, const QPolygonF& points, const QColor& fill, const QColor& line) {
  p.setBrush(fill);
  Stroke(p, line);
  p.drawPolygon(points);
}

void DrawNew(QPainter& p) {
  Shape(p, {{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}}, Qt::white,
        QColor(0x60, 0x60, 0x60));
  Shape(p, {{10.5, 1.5}, {10.5, 4.5}, {13.5, 4.5}}, QColor(0xd0, 0xd0, 0xd0),
        QColor(0x60, 0x60, 0x60));
  // A small star: the page is new.
  QPolygonF star;
  for (int i = 0; i < 8; ++i) {
    const qreal r = i % 2 == 0 ? 3.6 : 1.2;
    const qreal a = i * M_PI / 4;
    star << QPointF(4.5 + r * std::sin(a), 4.5 - r * std::cos(a));
  }
  Shape(p, star, QColor(0xff, 0xd8, 0x20), QColor(0xb0, 0x80, 0x00));
}

void DrawOpen(QPainter& p) {
  const QColor line(0x8a, 0x62, 0x0a);
  Shape(p, {{1.5, 3.5}, {5.5, 3.5}, {6.5, 4.5}, {12.5, 4.5}, {12.5, 13.5}, {1.5, 13.5}},
        QColor(0xd8, 0xa8, 0x38), line);
  Shape(p, {{1.5, 13.5}, {4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}}, QColor(0xf8, 0xd8, 0x68), line);
}

void DrawSave(QPainter& p) {
  Shape(p, {{1.5, 1.5}, {13.5, 1.5}, {14.5, 2.5}, {14.5, 14.5}, {1.5, 14.5}},
        QColor(0x3a, 0x6e, 0xc8), QColor(0x1d, 0x3f, 0x7a));
  p.setBrush(QColor(0xd0, 0xd4, 0xd8));  // metal shutter
  Stroke(p, QColor(0x50, 0x50, 0x50));
  p.drawRect(QRectF(4.5, 1.5, 7, 4));
  p.fillRect(QRectF(9, 2.5, 1.5, 2.5), QColor(0x30, 0x30, 0x30));
  p.setBrush(Qt::white);  // label
  Stroke(p, QColor(0x1d, 0x3f, 0x7a));
  p.drawRect(QRectF(3.5, 8.5, 9, 6));
  Stroke(p, QColor(0x90, 0xa8, 0xd8));
  p.drawLine(QPointF(5, 10.5), QPointF(11, 10.5));
  p.drawLine(QPointF(5, 12.5), QPointF(11, 12.5));
}

void DrawEdit(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.translate(8, 8);
  p.rotate(-45);
  const QColor line(0x40, 0x30, 0x20);
  Shape(p, {{-4, -2}, {5.5, -2}, {5.5, 2}, {-4, 2}}, QColor(0xf8, 0xc0, 0x20), line);  // body
  Shape(p, {{5.5, -2}, {6.5, -2}, {6.5, 2}, {5.5, 2}}, QColor(0xb8, 0xb8, 0xb8), line);  // ferrule
  Shape(p, {{6.5, -2}, {9, -2}, {9, 2}, {6.5, 2}}, QColor(0xf0, 0x80, 0x90), line);    // eraser
  Shape(p, {{-4, -2}, {-8.5, 0}, {-4, 2}}, QColor(0xf0, 0xd8, 0xa8), line);            // wood
  Shape(p, {{-6.8, -0.75}, {-8.5, 0}, {-6.8, 0.75}}, QColor(0x30, 0x30, 0x30), line);  // lead
  p.setPen(QPen(QColor(0xc0, 0x88, 0x10), 0.8));
  p.drawLine(QPointF(-4, 0), QPointF(5.5, 0));
}

void DrawFind(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(0x7a, 0x4a, 0x1a), 2.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(10.2, 10.2), QPointF(14.3, 14.3));
  QRadialGradient glass(QPointF(5.5, 5.5), 5);
  glass.setColorAt(0, Qt::white);
  glass.setColorAt(1, QColor(0xa8, 0xd0, 0xf8));
  p.setBrush(glass);
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.6));
  p.drawEllipse(QPointF(6.5, 6.5), 4.6, 4.6);
}

void DrawDelete(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  for (const auto& [color, width] : {std::pair{QColor(0x80, 0x10, 0x10), 4.2},
                                     std::pair{QColor(0xe8, 0x30, 0x30), 2.4}}) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
  }
}

void DrawPlus(QPainter& p, qreal x, qreal y) {  // a 7 x 7 green plus with its top-left at x, y
  QPainterPath plus;
  plus.addRect(QRectF(x, y + 2, 7, 3));
  plus.addRect(QRectF(x + 2, y, 3, 7));
  p.setBrush(QColor(0x30, 0xa8, 0x30));
  Stroke(p, QColor(0x10, 0x60, 0x10));
  p.drawPath(plus.simplified());
}

void DrawInsertRow(QPainter& p) {
  const QColor line(0x70, 0x70, 0x70);
  p.setBrush(Qt::white);
  Stroke(p, line);
  p.drawRect(QRectF(0.5, 1.5, 12, 12));
  p.fillRect(QRectF(1, 7, 11, 3), QColor(0xff, 0xec, 0x90));  // the new, empty row
  for (qreal y : {4.5, 7.5, 10.5}) p.drawLine(QPointF(0.5, y), QPointF(12.5, y));
  p.drawLine(QPointF(4.5, 1.5), QPointF(4.5, 13.5));
  p.fillRect(QRectF(1, 2, 11, 2), QColor(0xc8, 0xd8, 0xf0));  // title row
  DrawPlus(p, 8.5, 8.5);
}

void DrawCalculate(QPainter& p) {
  p.setBrush(QColor(0xd8, 0xd8, 0xd0));
  Stroke(p, QColor(0x50, 0x50, 0x50));
  p.drawRect(QRectF(2.5, 0.5, 11, 15));
  p.setBrush(QColor(0xa8, 0xd8, 0xa0));
  Stroke(p, QColor(0x30, 0x60, 0x30));
  p.drawRect(QRectF(4.5, 2.5, 7, 3));
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const bool equals = row == 2 && col == 2;
      p.fillRect(QRectF(4 + 3 * col, 7 + 3 * row, 2, 2),
                 equals ? QColor(0xe0, 0x70, 0x10) : QColor(0x50, 0x50, 0x58));
    }
  }
}

void DrawSum(QPainter& p) {
  p.setPen(QPen(QColor(0x1f, 0x3f, 0x9f), 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.drawPolyline(QPolygonF{{13, 4.5}, {13, 2}, {3.5, 2}, {8.5, 8}, {3.5, 14}, {13, 14}, {13, 11.5}});
}

void DrawTaxRates(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  const QColor red(0xb8, 0x18, 0x18);
  p.setPen(QPen(red, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(4.5, 4.5), 2.6, 2.6);
  p.drawEllipse(QPointF(11.5, 11.5), 2.6, 2.6);
  p.setPen(QPen(red, 1.9, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(13, 2.5), QPointF(3, 13.5));
}

void DrawSettings(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  QPolygonF gear;
  const int teeth = 8;
  for (int i = 0; i < teeth * 4; ++i) {
    const qreal a = (i - 0.5) * 2 * M_PI / (teeth * 4);
    const qreal r = (i % 4 == 0 || i % 4 == 1) ? 7.4 : 5.3;
    gear << QPointF(8 + r * std::cos(a), 8 + r * std::sin(a));
  }
  QPainterPath path;
  path.addPolygon(gear);
  path.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(QPointF(8, 8), 2.2, 2.2);
  QLinearGradient metal(0, 0, 16, 16);
  metal.setColorAt(0, QColor(0xb8, 0xc4, 0xd4));
  metal.setColorAt(1, QColor(0x58, 0x68, 0x80));
  p.setBrush(metal);
  p.setPen(QPen(QColor(0x30, 0x38, 0x48), 1));
  p.drawPath(path.subtracted(hole));
}

void DrawExport(QPainter& p) {
  const QColor green(0x1e, 0x7a, 0x3c);
  p.setBrush(Qt::white);
  Stroke(p, green);
  p.drawRect(QRectF(0.5, 0.5, 11, 13));
  p.fillRect(QRectF(1, 1, 10, 3), QColor(0x3a, 0x9a, 0x5a));
  for (qreal y : {4.5, 7.5, 10.5}) p.drawLine(QPointF(0.5, y), QPointF(11.5, y));
  for (qreal x : {4.5, 8.5}) p.drawLine(QPointF(x, 0.5), QPointF(x, 13.5));
  Shape(p, {{6.5, 9.5}, {11.5, 9.5}, {11.5, 7}, {15.5, 11}, {11.5, 15}, {11.5, 12.5}, {6.5, 12.5}},
        QColor(0x30, 0x70, 0xd8), QColor(0x10, 0x30, 0x80));
}

void DrawExit(QPainter& p) {
  p.setBrush(QColor(0x38, 0x38, 0x40));  // the doorway
  Stroke(p, QColor(0x30, 0x20, 0x10));
  p.drawRect(QRectF(1.5, 1.5, 8, 13));
  Shape(p, {{1.5, 1.5}, {6.5, 3.5}, {6.5, 15.5}, {1.5, 14.5}}, QColor(0xb0, 0x70, 0x40),
        QColor(0x50, 0x28, 0x10));  // the open door
  p.fillRect(QRectF(5, 9, 1, 1), QColor(0xf8, 0xd0, 0x40));
  Shape(p, {{8.5, 6.5}, {11.5, 6.5}, {11.5, 4}, {15.5, 8}, {11.5, 12}, {11.5, 9.5}, {8.5, 9.5}},
        QColor(0x38, 0xb0, 0x38), QColor(0x10, 0x58, 0x10));
}

Drawing DrawingFor(int image) {
  switch (image) {
    case 14: return DrawNew;
    case 1: return DrawOpen;
    case 11: return DrawSave;
    case 4: return DrawEdit;
    case 2: return DrawFind;
    case 13: return DrawDelete;
    case 21: return DrawInsertRow;
    case 5: return DrawCalculate;
    case 6: return DrawSum;
    case 26: return DrawTaxRates;
    case 8: return DrawSettings;
    case 3: return DrawExport;
    case 10: return DrawExit;
    default: return nullptr;
  }
}

// A ledger page with a blue title row and a gold coin in its corner.
void DrawProgram(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::white);
  Stroke(p, QColor(0x30, 0x40, 0x60), 0.6);
  p.drawRect(QRectF(1, 1, 12, 13.5));
  p.fillRect(QRectF(1.3, 1.3, 11.4, 2.7), QColor(0x2a, 0x5c, 0xb8));
  Stroke(p, QColor(0x90, 0xa0, 0xc0), 0.4);
  for (qreal y = 6; y < 14; y += 2) p.drawLine(QPointF(1.3, y), QPointF(12.7, y));
  p.drawLine(QPointF(4.5, 4), QPointF(4.5, 14.2));
  QRadialGradient gold(QPointF(10.5, 10.5), 5);
  gold.setColorAt(0, QColor(0xff, 0xee, 0x80));
  gold.setColorAt(1, QColor(0xd8, 0x98, 0x10));
  p.setBrush(gold);
  p.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 0.7));
  p.drawEllipse(QPointF(11.2, 11.2), 4.3, 4.3);
  // The currency sign: a Y with two bars.
  p.setPen(QPen(QColor(0x7a, 0x40, 0x00), 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF{{9.4, 8.6}, {11.2, 11.0}, {13.0, 8.6}});
  p.drawLine(QPointF(11.2, 11.0), QPointF(11.2, 14.0));
  p.drawLine(QPointF(9.8, 11.4), QPointF(12.6, 11.4));
  p.drawLine(QPointF(9.8, 12.7), QPointF(12.6, 12.7));
}

void DrawChevronsRight(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF{{4.5, 4.5}, {8, 8}, {4.5, 11.5}});
  p.drawPolyline(QPolygonF{{8.5, 4.5}, {12, 8}, {8.5, 11.5}});
}

void DrawChevronsDown(QPainter& p) {
  p.translate(16, 0);
  p.rotate(90);
  DrawChevronsRight(p);
}

QPixmap Render(Drawing draw, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.scale(size / 16.0, size / 16.0);
  draw(painter);
  return pixmap;
}

// An icon whose square pictures are painted the first time a size needs them and kept in an icon
// of plain pictures, which then answers as if it had held every size from the start. A screen at
// 100% never needs the larger sizes: painting them all was a tenth of the work before the main
// window first shows.
class PaintedIconEngine : public QIconEngine {
 public:
  PaintedIconEngine(Drawing draw, std::initializer_list<int> sides) : draw_(draw), sides_(sides) {}

  QIconEngine* clone() const override { return new PaintedIconEngine(*this); }
  QString key() const override { return QStringLiteral("PaintedIconEngine"); }
  bool isNull() override { return false; }

  // Every question is about the picture that an icon holding all sizes would choose.
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = SideFor(size);
    QSize actual(side, side);
    if (actual.width() > size.width() || actual.height() > size.height())
      actual.scale(size, Qt::KeepAspectRatio);
    return actual;
  }

  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    QList<QSize> sizes;
    if (mode == QIcon::Normal && state == QIcon::Off)
      for (int side : sides_) sizes << QSize(side, side);
    return sizes;
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    PaintFor(size);
    return painted_.pixmap(size, 1.0, mode, state);
  }

  // `size` is in device pixels already; the pictures have no density of their own.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal) override {
    return pixmap(size, mode, state);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const QPaintDevice* device = painter->device();
    PaintFor(rect.size() * (device != nullptr ? device->devicePixelRatio() : 1.0));
    painted_.paint(painter, rect, Qt::AlignCenter, mode, state);
  }

 private:
  // As Qt's icon of pictures chooses: the smallest picture at least as large as `size`, else
  // the largest.
  int SideFor(const QSize& size) const {
    const qint64 area = qint64(size.width()) * size.height();
    int best = 0;
    for (int side : sides_)
      if (qint64(side) * side >= area && (best == 0 || side < best)) best = side;
    return best != 0 ? best : *std::max_element(sides_.begin(), sides_.end());
  }

  void PaintFor(const QSize& size) {
    const int side = SideFor(size);
    if (std::find(painted_sides_.begin(), painted_sides_.end(), side) != painted_sides_.end())
      return;
    painted_.addPixmap(Render(draw_, side));
    painted_sides_.push_back(side);
  }

  Drawing draw_;
  std::vector<int> sides_;
  QIcon painted_;
  std::vector<int> painted_sides_;
};

QIcon IconAt(Drawing draw, std::initializer_list<int> sizes) {
  return QIcon(new PaintedIconEngine(draw, sizes));
}

}  // namespace

QIcon ToolbarImage(int image) {
  const Drawing draw = DrawingFor(image);
  return draw ? IconAt(draw, {16, 32}) : QIcon();
}

QIcon ProgramIcon() { return IconAt(DrawProgram, {16, 32, 48}); }

QIcon ExtensionImage(Qt::Orientation orientation) {
  // Two chevrons, as Qt's own: » beside the buttons that did not fit, or pointing down below them.
  const Drawing draw = orientation == Qt::Horizontal ? DrawChevronsRight : DrawChevronsDown;
  return IconAt(draw, {16, 32});
}

}  // namespace sr::qt
