// Drawing the grid: four regions (the frozen corner, the frozen title rows, the frozen title
// columns and the scrolling data cells), each painting only the cells in view.
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <vector>

#include "platform/qt/grid/grid_text.h"
#include "platform/qt/grid/grid_widget.h"

namespace sr::qt {

using ui::Alignment;
using ui::CellRange;

namespace {

const QColor kTitleBackground(0xF3, 0xF3, 0xF3);
const QColor kTitleLine(0xC4, 0xC4, 0xC4);
const QColor kDataLine(0xDA, 0xDC, 0xE0);
const QColor kSelection(0xD3, 0xE3, 0xFD);
const QColor kAccent(0x1A, 0x73, 0xE8);
const QColor kText(0x20, 0x21, 0x24);

// Room between a cell's lines and its text.
const QMargins kTextMargins(4, 1, 5, 2);

int TextFlags(Alignment a, bool wrap) {
  int flags = Qt::AlignVCenter | (wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
  switch (a) {
    case Alignment::kCentre: return flags | Qt::AlignHCenter;
    case Alignment::kRight: return flags | Qt::AlignRight;
    default: return flags | Qt::AlignLeft;
  }
}

}  // namespace

void GridWidget::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  p.fillRect(event->rect(), palette().window());
  const int w = viewport()->width();
  const int h = viewport()->height();
  const int title_w = std::min(columns_.TitleExtent(), w);
  const int title_h = std::min(rows_.TitleExtent(), h);
  const int title_rows = rows_.titles();
  const int title_columns = columns_.titles();
  int r0 = 0, r1 = -1, c0 = 0, c1 = -1;
  const bool rows_shown = rows_.VisibleData(ScrollY(), h, &r0, &r1);
  const bool columns_shown = columns_.VisibleData(ScrollX(), w, &c0, &c1);
  const QRect dirty = event->rect();
  if (title_rows > 0 && title_columns > 0) {
    PaintRegion(p, 0, title_rows - 1, 0, title_columns - 1,
                QRect(0, 0, title_w, title_h) & dirty);
  }
  if (title_rows > 0 && columns_shown) {
    PaintRegion(p, 0, title_rows - 1, c0, c1, QRect(title_w, 0, w - title_w, title_h) & dirty);
  }
  if (title_columns > 0 && rows_shown) {
    PaintRegion(p, r0, r1, 0, title_columns - 1,
                QRect(0, title_h, title_w, h - title_h) & dirty);
  }
  if (rows_shown && columns_shown) {
    PaintRegion(p, r0, r1, c0, c1, QRect(title_w, title_h, w - title_w, h - title_h) & dirty);
  }
  p.setClipping(false);
  PaintCursor(p);
}

void GridWidget::PaintRegion(QPainter& p, int first_row, int last_row, int first_column,
                             int last_column, const QRect& clip) {
  if (clip.isEmpty()) return;
  p.setClipRect(clip);
  const std::vector<CellRange>& merges = source_->MergedRanges();
  std::vector<bool> merge_painted(merges.size(), false);
  for (int r = first_row; r <= last_row; ++r) {
    if (source_->RowHeight(r) == 0) continue;
    for (int c = first_column; c <= last_column; ++c) {
      if (source_->ColumnWidth(c) == 0) continue;
      // A merged range is drawn once, as one cell, from whichever of its cells comes first.
      size_t m = 0;
      while (m < merges.size() && !merges[m].Contains(r, c)) ++m;
      if (m == merges.size()) {
        PaintCell(p, RangeRect(CellRange::Cell(r, c)), r, c);
      } else if (!merge_painted[m]) {
        merge_painted[m] = true;
        PaintCell(p, RangeRect(merges[m]), merges[m].first_row, merges[m].first_column);
      }
    }
  }
}

void GridWidget::PaintCell(QPainter& p, const QRect& rect, int row, int column) {
  const bool title = source_->IsTitleCell(row, column);
  const bool cursor = row == source_->GetCursorRow() && column == source_->GetCursorColumn();
  QColor background = title ? kTitleBackground : palette().base().color();
  if (!title && !cursor && source_->IsSelected(row, column)) background = kSelection;
  p.fillRect(rect, background);
  // Each cell draws its right and bottom line; the left and top ones belong to its neighbours.
  const QColor& line = title ? kTitleLine : kDataLine;
  p.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
  p.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), line);
  const CellLook look = LookOf(rect, row, column);
  if (look.text.isEmpty()) return;
  p.setPen(kText);
  p.drawText(rect - kTextMargins, look.flags, look.text);
}

// A text that does not fit is never cut without a mark: it starts at the cell's left edge and
// ends in an ellipsis, whatever its alignment (a centred one would lose both of its ends).
GridWidget::CellLook GridWidget::LookOf(const QRect& rect, int row, int column) const {
  CellLook look;
  look.text = ToQString(source_->CellText(row, column));
  const bool wrap = source_->CellWraps(row, column);
  look.flags = TextFlags(source_->CellAlignment(row, column), wrap);
  if (look.text.isEmpty()) return look;
  const QRect room = rect - kTextMargins;
  const QFontMetrics metrics = viewport()->fontMetrics();
  if (wrap) {
    look.cut = !room.contains(metrics.boundingRect(room, look.flags, look.text));
  } else if (metrics.horizontalAdvance(look.text) > room.width()) {
    look.cut = true;
    look.text = metrics.elidedText(look.text, Qt::ElideRight, std::max(room.width(), 0));
    look.flags = TextFlags(Alignment::kLeft, false);
  }
  return look;
}

QString GridWidget::ShownText(int row, int column, bool* cut) const {
  CellLook look;
  if (source_->CellExists(row, column)) {
    const CellRange shown = source_->DisplayedRange(row, column);
    look = LookOf(CellRect(row, column), shown.first_row, shown.first_column);
  }
  if (cut != nullptr) *cut = look.cut;
  return look.text;
}

void GridWidget::PaintCursor(QPainter& p) {
  const int r = source_->GetCursorRow();
  const int c = source_->GetCursorColumn();
  if (r < 0 || source_->Editing()) return;
  // The frame stays inside the region its cell scrolls in, off the frozen titles.
  const QRect view = viewport()->rect();
  QRect region = view;
  if (r >= rows_.titles()) region.setTop(std::min(rows_.TitleExtent(), view.bottom()));
  if (c >= columns_.titles()) region.setLeft(std::min(columns_.TitleExtent(), view.right()));
  p.setClipRect(region);
  const QRect f = CellRect(r, c).adjusted(-1, -1, 0, 0);
  p.fillRect(QRect(f.left(), f.top(), f.width(), 2), kAccent);
  p.fillRect(QRect(f.left(), f.bottom() - 1, f.width(), 2), kAccent);
  p.fillRect(QRect(f.left(), f.top(), 2, f.height()), kAccent);
  p.fillRect(QRect(f.right() - 1, f.top(), 2, f.height()), kAccent);
}

}  // namespace sr::qt
