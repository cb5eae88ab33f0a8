#include "platform/qt/grid/grid_widget.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include "platform/qt/grid/grid_keys.h"
#include "platform/qt/grid/grid_text.h"
#include "platform/ui/keys.h"

namespace sr::qt {

using ui::Alignment;
using ui::CellRange;

namespace {

Qt::Alignment HorizontalAlignment(Alignment a) {
  switch (a) {
    case Alignment::kCentre: return Qt::AlignHCenter;
    case Alignment::kRight: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

}  // namespace

GridWidget::GridWidget(ui::GridSource* source, ui::GridInput* input, QWidget* parent)
    : QAbstractScrollArea(parent),
      source_(source),
      input_(input),
      editor_(new QLineEdit(viewport())) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  editor_->hide();
  editor_->setFrame(false);
  editor_->setStyleSheet("QLineEdit { border: 2px solid #1a73e8; padding: 0 1px; }");
  editor_->installEventFilter(this);
  connect(editor_, &QLineEdit::textEdited, this, [this](const QString& t) { OnEditorEdited(t); });
  source_->SetView(this);
  StructureChanged();
}

GridWidget::~GridWidget() { source_->SetView(nullptr); }

int GridWidget::ScrollX() const { return horizontalScrollBar()->value(); }
int GridWidget::ScrollY() const { return verticalScrollBar()->value(); }

// ---------------------------------------------------------------- geometry

QRect GridWidget::RangeRect(const CellRange& range) const {
  if (range.empty()) return {};
  const int top = rows_.ToView(rows_.Start(range.first_row), ScrollY());
  const int bottom = rows_.ToView(rows_.End(range.last_row) - 1, ScrollY()) + 1;
  const int left = columns_.ToView(columns_.Start(range.first_column), ScrollX());
  const int right = columns_.ToView(columns_.End(range.last_column) - 1, ScrollX()) + 1;
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QRect GridWidget::CellRect(int row, int column) const {
  if (!source_->CellExists(row, column)) return {};
  return RangeRect(source_->DisplayedRange(row, column));
}

bool GridWidget::CellAt(const QPoint& point, int* row, int* column) const {
  *row = rows_.IndexAt(rows_.ToGrid(point.y(), ScrollY()));
  *column = columns_.IndexAt(columns_.ToGrid(point.x(), ScrollX()));
  if (*row < 0 || *column < 0) {
    *row = *column = -1;
    return false;
  }
  return true;
}

// A scroll bar shows only when the cells need it. Which ones do is decided on the room the grid
// has without any (one bar takes room from the other direction, which may then need its own);
// deciding on the viewport as it is would keep a bar that was once needed for ever.
void GridWidget::UpdateScrollBars() {
  const QSize room = maximumViewportSize();
  const int rows_needed = rows_.TitleExtent() + rows_.DataExtent();
  const int columns_needed = columns_.TitleExtent() + columns_.DataExtent();
  const int bar_width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  bool vertical = rows_needed > room.height();
  bool horizontal = columns_needed > room.width() - (vertical ? bar_width : 0);
  vertical = rows_needed > room.height() - (horizontal ? bar_width : 0);
  const int view_width = room.width() - (vertical ? bar_width : 0);
  const int view_height = room.height() - (horizontal ? bar_width : 0);

  const int data_height = std::max(view_height - rows_.TitleExtent(), 0);
  const int data_width = std::max(view_width - columns_.TitleExtent(), 0);
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, std::max(rows_.DataExtent() - data_height, 0));
  v->setPageStep(std::max(data_height, 1));
  v->setSingleStep(std::max(source_->DefaultRowHeight(), 1));
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, std::max(columns_.DataExtent() - data_width, 0));
  h->setPageStep(std::max(data_width, 1));
  h->setSingleStep(20);
  input_->SetPageRows(std::max(data_height / std::max(source_->DefaultRowHeight(), 1), 1));
}

void GridWidget::PlaceEditor() {
  if (!source_->Editing()) return;
  const int r = source_->EditorRow();
  const int c = source_->EditorColumn();
  // Over the cell's own lines, so its frame sits where the cursor frame was.
  editor_->setGeometry(CellRect(r, c).adjusted(-1, -1, 1, 1));
  editor_->setAlignment(HorizontalAlignment(source_->CellAlignment(r, c)) | Qt::AlignVCenter);
}

void GridWidget::UpdateRange(const CellRange& range) {
  if (range.empty()) return;
  viewport()->update(RangeRect(range).adjusted(-2, -2, 2, 2) & viewport()->rect());
}

// ---------------------------------------------------------------- ui::GridView

void GridWidget::CellsChanged(const CellRange& range) { UpdateRange(range); }

void GridWidget::StructureChanged() {
  ui::RebuildAxes(*source_, &rows_, &columns_);
  UpdateScrollBars();
  PlaceEditor();
  viewport()->update();
}

void GridWidget::CursorChanged() {
  painted_.Move(*source_, [this](const CellRange& range) { UpdateRange(range); });
}

void GridWidget::EditorOpened(int row, int column) {
  editor_accepted_ = ToQString(source_->EditorText());
  editor_->setText(editor_accepted_);
  editor_->setFont(font());
  PlaceEditor();
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
  editor_->end(false);
}

void GridWidget::EditorClosed() {
  // Focus goes back to the grid before the editor hides, so it does not wander off: also when
  // the editor closed because another window took the keyboard, for when this one gets it back.
  if (window()->focusWidget() == editor_) setFocus(Qt::OtherFocusReason);
  editor_->hide();
  viewport()->update();
}

void GridWidget::ScrollIntoView(int row, int column) {
  const CellRange m = source_->DisplayedRange(row, column);
  auto bring = [](const ui::GridAxis& axis, int first, int last, int view_extent, QScrollBar* bar) {
    if (first < axis.titles()) return;  // frozen: always in view
    const int start = axis.Start(first) - axis.TitleExtent();
    const int end = axis.End(last) - axis.TitleExtent();
    const int extent = view_extent - axis.TitleExtent();
    int value = bar->value();
    if (start < value) {
      value = start;
    } else if (end > value + extent) {
      value = std::min(start, end - extent);
    }
    bar->setValue(value);
  };
  bring(rows_, m.first_row, m.last_row, viewport()->height(), verticalScrollBar());
  bring(columns_, m.first_column, m.last_column, viewport()->width(), horizontalScrollBar());
}

// ---------------------------------------------------------------- Qt events

void GridWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
  PlaceEditor();
}

void GridWidget::scrollContentsBy(int, int) {
  PlaceEditor();
  viewport()->update();
}

void GridWidget::keyPressEvent(QKeyEvent* event) {
  const int modifiers = GridModifiers(event->modifiers());
  const int vk = GridVirtualKey(event->key());
  if (vk != 0) input_->PressKey(vk, modifiers);
  if (!(modifiers & (ui::kCtrl | ui::kAlt))) TypeText(event->text(), modifiers);
}

void GridWidget::inputMethodEvent(QInputMethodEvent* event) {
  TypeText(event->commitString(), 0);
  event->accept();
}

// Typed characters go to the model one by one; the first opens the editor.
void GridWidget::TypeText(const QString& text, int modifiers) {
  bool typed = false;
  for (char32_t cp : text.toUcs4()) {
    if (cp < 0x20 || cp == 0x7F) continue;
    Text gbk;
    if (!Utf8ToGbk(QString::fromUcs4(&cp, 1).toStdString(), &gbk)) {
      QApplication::beep();  // GBK cannot hold it: refused here, never stored as '?'
      continue;
    }
    input_->TypeCharacter(gbk, modifiers);
    typed = true;
  }
  if (typed && source_->Editing()) {
    editor_accepted_ = ToQString(source_->EditorText());
    editor_->setText(editor_accepted_);
  }
}

void GridWidget::OnEditorEdited(const QString& text) {
  Text gbk;
  if (!Utf8ToGbk(text.toStdString(), &gbk)) {
    QApplication::beep();
    const int pos = editor_->cursorPosition();
    editor_->setText(editor_accepted_);
    editor_->setCursorPosition(std::min<int>(pos, editor_accepted_.size()));
    return;
  }
  editor_accepted_ = text;
  input_->SetEditorText(gbk);
}

void GridWidget::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const QPoint pt = event->position().toPoint();
  int r, c;
  CellAt(pt, &r, &c);
  const int modifiers = GridModifiers(event->modifiers());
  if (event->button() == Qt::LeftButton) {
    input_->PressButton(r, c, pt.x(), pt.y(), modifiers);
  } else if (event->button() == Qt::RightButton) {
    input_->PressRightButton(pt.x(), pt.y(), modifiers);
  }
}

void GridWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint pt = event->position().toPoint();
  int r, c;
  if (CellAt(pt, &r, &c)) input_->DragTo(r, c, pt.x(), pt.y(), GridModifiers(event->modifiers()));
}

void GridWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint pt = event->position().toPoint();
  int r, c;
  CellAt(pt, &r, &c);
  input_->ReleaseButton(r, c, pt.x(), pt.y(), GridModifiers(event->modifiers()));
}

void GridWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint pt = event->position().toPoint();
  int r, c;
  CellAt(pt, &r, &c);
  input_->DoubleClickButton(r, c, pt.x(), pt.y(), GridModifiers(event->modifiers()));
}

void GridWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  if (QApplication::focusWidget() != editor_) input_->LoseFocus();
}

bool GridWidget::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(event);
  auto* help = static_cast<QHelpEvent*>(event);
  ShowToolTip(help->pos(), help->globalPos());
  return true;
}

// A cell whose text is cut shows the whole text while the mouse rests on it.
void GridWidget::ShowToolTip(const QPoint& at, const QPoint& global) {
  int row, column;
  bool cut = false;
  if (CellAt(at, &row, &column)) ShownText(row, column, &cut);
  if (!cut || source_->Editing()) {
    QToolTip::hideText();
    return;
  }
  const CellRange shown = source_->DisplayedRange(row, column);
  QToolTip::showText(global, ToQString(source_->CellText(shown.first_row, shown.first_column)),
                     viewport(), CellRect(row, column));
}

// Tab and Shift+Tab move the cursor instead of the focus.
bool GridWidget::focusNextPrevChild(bool) { return false; }

bool GridWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched != editor_) return QAbstractScrollArea::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const int vk = GridVirtualKey(key->key());
    if (ui::ClosesGridEditor(vk)) {
      input_->PressKey(vk, GridModifiers(key->modifiers()));
      return true;
    }
  } else if (event->type() == QEvent::FocusOut && source_->Editing() &&
             QApplication::focusWidget() != this) {
    input_->LoseFocus();
  }
  return false;
}

}  // namespace sr::qt
