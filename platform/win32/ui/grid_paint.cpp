// Drawing the grid: into a bitmap of the damaged area first, then onto the window at once.
#include <algorithm>

#include "platform/win32/ui/grid_window.h"

namespace sr::win32 {

using ui::CellRange;

namespace {

const COLORREF kLine = RGB(192, 192, 192);
const COLORREF kTitleFill = RGB(236, 233, 216);
const COLORREF kSelectionFill = RGB(204, 224, 255);
const COLORREF kCursorLine = RGB(0, 0, 0);

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

UINT TextFormat(ui::Alignment alignment, bool wraps) {
  UINT format = DT_NOPREFIX | DT_END_ELLIPSIS;
  format |= alignment == ui::Alignment::kCentre  ? DT_CENTER
            : alignment == ui::Alignment::kRight ? DT_RIGHT
                                                 : DT_LEFT;
  return format | (wraps ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
}

}  // namespace

void GridWindow::PaintCell(HDC dc, const RECT& rect, int row, int column) {
  const bool title = source_->IsTitleCell(row, column);
  Fill(dc, rect, title                                ? kTitleFill
                 : source_->IsSelected(row, column) ? kSelectionFill
                                                    : RGB(255, 255, 255));
  HPEN pen = CreatePen(PS_SOLID, 1, kLine);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, rect.left, rect.bottom - 1, nullptr);
  LineTo(dc, rect.right - 1, rect.bottom - 1);
  LineTo(dc, rect.right - 1, rect.top - 1);
  SelectObject(dc, old);
  DeleteObject(pen);
  RECT text = rect;
  InflateRect(&text, -2, -1);
  const std::wstring shown = ShownText(source_->CellText(row, column));
  const bool wraps = source_->CellWraps(row, column);
  if (wraps) {  // a wrapping cell is centred as a block
    RECT measure = text;
    const int height = DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &measure,
                                 TextFormat(source_->CellAlignment(row, column), true) | DT_CALCRECT);
    text.top += std::max<int>((text.bottom - text.top - height) / 2, 0);
  }
  DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
            TextFormat(source_->CellAlignment(row, column), wraps));
}

// The cells of rows [first_row, last_row] x columns [first_column, last_column], each merged
// range once, drawn where it lies.
void GridWindow::PaintRegion(HDC dc, int first_row, int last_row, int first_column,
                             int last_column) {
  for (int r = first_row; r <= last_row; ++r) {
    for (int c = first_column; c <= last_column; ++c) {
      if (rows_.End(r) == rows_.Start(r) || columns_.End(c) == columns_.Start(c)) continue;
      const CellRange shown = source_->DisplayedRange(r, c);
      // A merged range is drawn from its first cell in this region.
      if ((shown.first_row != r && r != first_row) ||
          (shown.first_column != c && c != first_column)) {
        continue;
      }
      PaintCell(dc, RangeRect(shown), shown.first_row, shown.first_column);
    }
  }
}

void GridWindow::Paint(HDC target, const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
  HGDIOBJ old_font = SelectObject(dc, FormFont());
  SetBkMode(dc, TRANSPARENT);
  Fill(dc, area, GetSysColor(COLOR_APPWORKSPACE));

  RECT client;
  GetClientRect(window_, &client);
  int first_row = 0, last_row = -1, first_column = 0, last_column = -1;
  const bool data_rows = rows_.VisibleData(scroll_y_, client.bottom, &first_row, &last_row);
  const bool data_columns =
      columns_.VisibleData(scroll_x_, client.right, &first_column, &last_column);
  const int title_rows = rows_.titles(), title_columns = columns_.titles();
  // Scrolling cells first, then the frozen titles over them.
  if (data_rows && data_columns) PaintRegion(dc, first_row, last_row, first_column, last_column);
  if (data_rows && title_columns > 0) PaintRegion(dc, first_row, last_row, 0, title_columns - 1);
  if (data_columns && title_rows > 0) PaintRegion(dc, 0, title_rows - 1, first_column, last_column);
  if (title_rows > 0 && title_columns > 0) {
    PaintRegion(dc, 0, title_rows - 1, 0, title_columns - 1);
  }
  const int r = source_->GetCursorRow(), c = source_->GetCursorColumn();
  if (r >= 0 && source_->CellExists(r, c) && !source_->Editing()) {
    RECT frame = CellRect(r, c);
    HBRUSH brush = CreateSolidBrush(kCursorLine);
    FrameRect(dc, &frame, brush);
    InflateRect(&frame, -1, -1);
    FrameRect(dc, &frame, brush);
    DeleteObject(brush);
  }

  SetViewportOrgEx(dc, 0, 0, nullptr);
  BitBlt(target, area.left, area.top, width, height, dc, 0, 0, SRCCOPY);
  SelectObject(dc, old_font);
  SelectObject(dc, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace sr::win32
