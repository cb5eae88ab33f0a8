#ifndef SALARY_PLATFORM_QT_GRID_GRID_WIDGET_H_
#define SALARY_PLATFORM_QT_GRID_GRID_WIDGET_H_

#include <QAbstractScrollArea>
#include <QString>

#include "platform/ui/grid_axis.h"
#include "platform/ui/painted_cursor.h"
#include "platform/ui/grid_peer.h"

class QLineEdit;
class QPainter;

namespace sr::qt {

// The grid's native view: draws its source (only the cells in view; title rows and columns
// frozen; merged ranges as one cell), scrolls, shows the in-place editor over the cell being
// edited and reports Qt's keyboard and mouse input as the grid's input. Texts are converted
// between the grid's GBK and Qt's Unicode here and nowhere else.
//
// Source and input must outlive the widget. The widget registers itself as the source's view.
class GridWidget : public QAbstractScrollArea, public ui::GridView {
 public:
  GridWidget(ui::GridSource* source, ui::GridInput* input, QWidget* parent = nullptr);
  ~GridWidget() override;

  ui::GridSource* source() const { return source_; }
  // Where the displayed cell (its merged range when merged) lies in the viewport's coordinates.
  QRect CellRect(int row, int column) const;
  // The cell under a viewport point, false outside the cells.
  bool CellAt(const QPoint& point, int* row, int* column) const;
  QLineEdit* editor() const { return editor_; }
  // A cell's text as drawn: the whole text when it fits the cell, else its start followed by an
  // ellipsis (the whole text is then the cell's tool-tip). `cut` tells which.
  QString ShownText(int row, int column, bool* cut = nullptr) const;

  // ui::GridView.
  void CellsChanged(const ui::CellRange& range) override;
  void StructureChanged() override;
  void CursorChanged() override;
  void EditorOpened(int row, int column) override;
  void EditorClosed() override;
  void ScrollIntoView(int row, int column) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int ScrollX() const;
  int ScrollY() const;
  QRect RangeRect(const ui::CellRange& range) const;
  void UpdateScrollBars();
  void PlaceEditor();
  void TypeText(const QString& text, int modifiers);
  void OnEditorEdited(const QString& text);
  void UpdateRange(const ui::CellRange& range);

  // Painting (grid_widget_paint.cpp).
  void PaintRegion(QPainter& p, int first_row, int last_row, int first_column, int last_column,
                   const QRect& clip);
  void PaintCell(QPainter& p, const QRect& rect, int row, int column);
  void PaintCursor(QPainter& p);
  struct CellLook {
    QString text;
    int flags = 0;
    bool cut = false;
  };
  CellLook LookOf(const QRect& rect, int row, int column) const;
  void ShowToolTip(const QPoint& at, const QPoint& global);

  ui::GridSource* source_;
  ui::GridInput* input_;
  ui::GridAxis rows_;
  ui::GridAxis columns_;
  QLineEdit* editor_;
  QString editor_accepted_;  // the editor's last text that GBK could hold
  ui::PaintedCursor painted_;
};

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_GRID_GRID_WIDGET_H_
