#include "platform/win32/ui/grid_window.h"
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <algorithm>

#include "platform/win32/text/wide_text.h"
#include "platform/win32/ui/grid_peer.h"

namespace sr::win32 {

using ui::CellRange;

GridWindow::GridWindow(const ui::ControlSpec& info, ui::ControlEvents* events, HWND parent, int id)
    : ControlPeerBase(events, id), source_(info.grid_source), input_(info.grid_input) {
  Create(OwnWindowClass(L"SalaryRegisterGrid", CS_DBLCLKS, nullptr),
         WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_CLIPCHILDREN, info, parent, this);
  SetWindowLongPtrW(window_, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
  SetWindowPos(window_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  editor_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 0, 0,
                            window_, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
  SetWindowSubclass(editor_, EditorProc, 0, reinterpret_cast<DWORD_PTR>(this));
  source_->SetView(this);
  StructureChanged();
}

GridWindow::~GridWindow() {
  source_->SetView(nullptr);
  RemoveWindowSubclass(editor_, EditorProc, 0);
}

void GridWindow::SetFocus() {
  ::SetFocus(source_->Editing() ? editor_ : window_);
}

// ---------------------------------------------------------------- geometry

RECT GridWindow::RangeRect(const CellRange& range) const {
  if (range.empty()) return RECT{};
  return RECT{columns_.ToView(columns_.Start(range.first_column), scroll_x_),
              rows_.ToView(rows_.Start(range.first_row), scroll_y_),
              columns_.ToView(columns_.End(range.last_column) - 1, scroll_x_) + 1,
              rows_.ToView(rows_.End(range.last_row) - 1, scroll_y_) + 1};
}

RECT GridWindow::CellRect(int row, int column) const {
  if (!source_->CellExists(row, column)) return RECT{};
  return RangeRect(source_->DisplayedRange(row, column));
}

bool GridWindow::CellAt(int x, int y, int* row, int* column) const {
  *row = rows_.IndexAt(rows_.ToGrid(y, scroll_y_));
  *column = columns_.IndexAt(columns_.ToGrid(x, scroll_x_));
  if (*row < 0 || *column < 0) {
    *row = *column = -1;
    return false;
  }
  return true;
}

void GridWindow::UpdateRange(const CellRange& range) {
  if (range.empty()) return;
  RECT area = RangeRect(range);
  InflateRect(&area, 2, 2);
  InvalidateRect(window_, &area, FALSE);
}

void GridWindow::UpdateScrollBars() {
  RECT client;
  GetClientRect(window_, &client);
  const int data_height = std::max<int>(client.bottom - rows_.TitleExtent(), 0);
  const int data_width = std::max<int>(client.right - columns_.TitleExtent(), 0);
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
  info.nMax = std::max(rows_.DataExtent() - 1, 0);
  info.nPage = static_cast<UINT>(data_height);
  SetScrollInfo(window_, SB_VERT, &info, TRUE);
  info.nMax = std::max(columns_.DataExtent() - 1, 0);
  info.nPage = static_cast<UINT>(data_width);
  SetScrollInfo(window_, SB_HORZ, &info, TRUE);
  SetScroll(SB_VERT, scroll_y_);
  SetScroll(SB_HORZ, scroll_x_);
  input_->SetPageRows(std::max(data_height / std::max(source_->DefaultRowHeight(), 1), 1));
}

void GridWindow::SetScroll(int bar, int value) {
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(window_, bar, &info);
  const int limit = std::max(info.nMax - static_cast<int>(info.nPage) + 1, 0);
  value = std::clamp(value, 0, limit);
  info.fMask = SIF_POS;
  info.nPos = value;
  SetScrollInfo(window_, bar, &info, TRUE);
  int& scroll = bar == SB_VERT ? scroll_y_ : scroll_x_;
  if (scroll == value) return;
  scroll = value;
  PlaceEditor();
  InvalidateRect(window_, nullptr, FALSE);
}

void GridWindow::Scroll(int bar, int code) {
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(window_, bar, &info);
  const int step = bar == SB_VERT ? std::max(source_->DefaultRowHeight(), 1) : 20;
  int value = info.nPos;
  switch (code) {
    case SB_LINEUP: value -= step; break;
    case SB_LINEDOWN: value += step; break;
    case SB_PAGEUP: value -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: value += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: value = info.nTrackPos; break;
    case SB_TOP: value = 0; break;
    case SB_BOTTOM: value = info.nMax; break;
    default: return;
  }
  SetScroll(bar, value);
}

void GridWindow::PlaceEditor() {
  if (!source_->Editing()) return;
  RECT cell = CellRect(source_->EditorRow(), source_->EditorColumn());
  MoveWindow(editor_, cell.left - 1, cell.top - 1, cell.right - cell.left + 2,
             cell.bottom - cell.top + 2, TRUE);
}

// ---------------------------------------------------------------- ui::GridView

void GridWindow::CellsChanged(const CellRange& range) { UpdateRange(range); }

void GridWindow::StructureChanged() {
  ui::RebuildAxes(*source_, &rows_, &columns_);
  UpdateScrollBars();
  PlaceEditor();
  InvalidateRect(window_, nullptr, FALSE);
}

void GridWindow::CursorChanged() {
  painted_.Move(*source_, [this](const CellRange& range) { UpdateRange(range); });
}

void GridWindow::EditorOpened(int, int) {
  editor_accepted_ = ShownText(source_->EditorText());
  setting_editor_ = true;
  SetWindowTextW(editor_, editor_accepted_.c_str());
  setting_editor_ = false;
  PlaceEditor();
  ShowWindow(editor_, SW_SHOW);
  ::SetFocus(editor_);
  SendMessageW(editor_, EM_SETSEL, editor_accepted_.size(), editor_accepted_.size());
}

void GridWindow::EditorClosed() {
  // The keyboard goes back to the grid before the editor hides, so it does not wander off.
  if (GetFocus() == editor_) ::SetFocus(window_);
  ShowWindow(editor_, SW_HIDE);
  InvalidateRect(window_, nullptr, FALSE);
}

void GridWindow::ScrollIntoView(int row, int column) {
  RECT client;
  GetClientRect(window_, &client);
  const CellRange m = source_->DisplayedRange(row, column);
  auto bring = [](const ui::GridAxis& axis, int first, int last, int view_extent, int value) {
    if (first < axis.titles()) return value;  // frozen: always in view
    const int start = axis.Start(first) - axis.TitleExtent();
    const int end = axis.End(last) - axis.TitleExtent();
    const int extent = view_extent - axis.TitleExtent();
    if (start < value) return start;
    if (end > value + extent) return std::min(start, end - extent);
    return value;
  };
  SetScroll(SB_VERT, bring(rows_, m.first_row, m.last_row, client.bottom, scroll_y_));
  SetScroll(SB_HORZ, bring(columns_, m.first_column, m.last_column, client.right, scroll_x_));
}

// ---------------------------------------------------------------- input

bool GridWindow::MouseInput(UINT message, LPARAM l) {
  const int x = static_cast<short>(LOWORD(l)), y = static_cast<short>(HIWORD(l));
  const int modifiers = HeldModifiers();
  int r, c;
  const bool on_cell = CellAt(x, y, &r, &c);
  switch (message) {
    case WM_LBUTTONDOWN:
      ::SetFocus(window_);
      SetCapture(window_);
      input_->PressButton(r, c, x, y, modifiers);
      return true;
    case WM_MOUSEMOVE:
      if (GetCapture() == window_ && on_cell) input_->DragTo(r, c, x, y, modifiers);
      return true;
    case WM_LBUTTONUP:
      if (GetCapture() == window_) ReleaseCapture();
      input_->ReleaseButton(r, c, x, y, modifiers);
      return true;
    case WM_LBUTTONDBLCLK:
      input_->DoubleClickButton(r, c, x, y, modifiers);
      return true;
    case WM_RBUTTONDOWN:
      ::SetFocus(window_);
      input_->PressRightButton(x, y, modifiers);
      return true;
  }
  return false;
}

void GridWindow::TypeCharacter(wchar_t typed) {
  if (typed < 0x20 || typed == 0x7F) return;
  std::optional<std::string> gbk = WideToGbk(std::wstring_view(&typed, 1));
  if (!gbk) {
    MessageBeep(MB_ICONWARNING);  // GBK cannot hold it: refused here, never stored as '?'
    return;
  }
  input_->TypeCharacter(*gbk, HeldModifiers());
}

void GridWindow::OnEditorChanged() {
  if (setting_editor_ || !source_->Editing()) return;
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(editor_)) + 1, L'\0');
  text.resize(GetWindowTextW(editor_, text.data(), static_cast<int>(text.size())));
  std::optional<std::string> gbk = WideToGbk(text);
  if (!gbk) {
    MessageBeep(MB_ICONWARNING);
    setting_editor_ = true;
    SetWindowTextW(editor_, editor_accepted_.c_str());
    setting_editor_ = false;
    return;
  }
  editor_accepted_ = text;
  input_->SetEditorText(*gbk);
}

LRESULT CALLBACK GridWindow::EditorProc(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                        DWORD_PTR self) {
  auto* grid = reinterpret_cast<GridWindow*>(self);
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;  // Tab, Enter and Esc end the edit, not the dialog's keyboard
    case WM_KEYDOWN:
      // The keys that end an edit go to the grid; all others stay with the editor.
      if (ui::ClosesGridEditor(static_cast<int>(w))) {
        grid->input_->PressKey(static_cast<int>(w), HeldModifiers());
        return 0;
      }
      break;
    case WM_CHAR:
      if (w == L'\t' || w == L'\r' || w == 27) return 0;  // no beep for the keys above
      break;
    case WM_SETFOCUS:
      if (reinterpret_cast<HWND>(w) != grid->window_) {
        grid->events_->OnInput(ui::Input::kGotFocus, 0, 0, 0);
      }
      break;
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(w) != grid->window_) {
        grid->events_->OnInput(ui::Input::kLostFocus, 0, 0, 0);
        grid->input_->LoseFocus();
      }
      break;
  }
  return DefSubclassProc(window, message, w, l);
}

bool GridWindow::ReportInput(UINT message, WPARAM w, LPARAM l) {
  if ((message == WM_SETFOCUS || message == WM_KILLFOCUS) && reinterpret_cast<HWND>(w) == editor_) {
    return false;
  }
  return ControlPeerBase::ReportInput(message, w, l);
}

bool GridWindow::HandleMessage(HWND window, UINT message, WPARAM w, LPARAM l, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      Paint(dc, paint.rcPaint);
      EndPaint(window, &paint);
      return true;
    }
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_SIZE:
      UpdateScrollBars();
      PlaceEditor();
      InvalidateRect(window, nullptr, FALSE);
      return true;
    case WM_VSCROLL:
      Scroll(SB_VERT, LOWORD(w));
      return true;
    case WM_HSCROLL:
      Scroll(SB_HORZ, LOWORD(w));
      return true;
    case WM_MOUSEWHEEL:
      SetScroll(SB_VERT, scroll_y_ - GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA * 3 *
                                        std::max(source_->DefaultRowHeight(), 1));
      return true;
    case WM_GETDLGCODE: {
      // Every key but Esc, which closes a secondary window while no cell is being edited.
      const auto* key = reinterpret_cast<const MSG*>(l);
      const bool escape = key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE;
      *result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB | (escape ? 0 : DLGC_WANTALLKEYS);
      return true;
    }
    case WM_KEYDOWN:
      input_->PressKey(static_cast<int>(w), HeldModifiers());
      return true;
    case WM_CHAR:
      if (!(HeldModifiers() & (ui::kCtrl | ui::kAlt))) TypeCharacter(static_cast<wchar_t>(w));
      return true;
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(w) != editor_) input_->LoseFocus();
      return true;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(l) == editor_ && HIWORD(w) == EN_CHANGE) OnEditorChanged();
      return true;
    default:
      return MouseInput(message, l);
  }
}

std::unique_ptr<ControlPeerBase> MakeGridPeer(const ui::ControlSpec& info,
                                              ui::ControlEvents* events, HWND parent, int id) {
  if (info.grid_source == nullptr || info.grid_input == nullptr) return nullptr;
  return std::make_unique<GridWindow>(info, events, parent, id);
}

}  // namespace sr::win32
