#ifndef SALARY_PLATFORM_WIN32_UI_GRID_WINDOW_H_
#define SALARY_PLATFORM_WIN32_UI_GRID_WINDOW_H_

#include "platform/win32/ui/win32_ui.h"

#include "platform/ui/grid_axis.h"
#include "platform/ui/painted_cursor.h"
#include "platform/ui/grid_peer.h"
#include "platform/win32/ui/control_peers.h"

namespace sr::win32 {

// The grid's window: draws the cells in view into a bitmap first (no flicker), title rows and
// columns frozen, merged ranges as one cell; scrolls by pixels; shows an edit box over the cell
// being edited. Texts are converted between GBK and UTF-16 here and nowhere else in the grid.
class GridWindow : public ControlPeerBase, public MessageTarget, public ui::GridView {
 public:
  GridWindow(const ui::ControlSpec& info, ui::ControlEvents* events, HWND parent, int id);
  ~GridWindow() override;

  void SetText(const ui::Text&) override {}
  void SetFocus() override;

  // Where the displayed cell lies in the window's client pixels; empty when it does not exist.
  RECT CellRect(int row, int column) const;
  // The cell under a client point; false (and -1, -1) outside the cells.
  bool CellAt(int x, int y, int* row, int* column) const;
  HWND editor() const { return editor_; }

  // ui::GridView.
  void CellsChanged(const ui::CellRange& range) override;
  void StructureChanged() override;
  void CursorChanged() override;
  void EditorOpened(int row, int column) override;
  void EditorClosed() override;
  void ScrollIntoView(int row, int column) override;

  bool HandleMessage(HWND window, UINT message, WPARAM w, LPARAM l, LRESULT* result) override;

 protected:
  // The editor is part of the grid: the focus moving between the two is not reported.
  bool ReportInput(UINT message, WPARAM w, LPARAM l) override;

 private:
  RECT RangeRect(const ui::CellRange& range) const;
  void UpdateRange(const ui::CellRange& range);
  void UpdateScrollBars();
  void Scroll(int bar, int code);
  void SetScroll(int bar, int value);
  void PlaceEditor();
  void OnEditorChanged();
  bool MouseInput(UINT message, LPARAM l);
  void TypeCharacter(wchar_t typed);
  static LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                     DWORD_PTR self);

  // Painting (grid_paint.cpp).
  void Paint(HDC dc, const RECT& area);
  void PaintCell(HDC dc, const RECT& rect, int row, int column);
  void PaintRegion(HDC dc, int first_row, int last_row, int first_column, int last_column);

  ui::GridSource* source_;
  ui::GridInput* input_;
  ui::GridAxis rows_;
  ui::GridAxis columns_;
  int scroll_x_ = 0;
  int scroll_y_ = 0;
  HWND editor_ = nullptr;
  bool setting_editor_ = false;
  std::wstring editor_accepted_;
  ui::PaintedCursor painted_;
};

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_UI_GRID_WINDOW_H_
