#include "platform/win32/ui/control_peers.h"
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include "platform/win32/text/wide_text.h"

namespace sr::win32 {

using ui::Input;

ControlPeerBase::~ControlPeerBase() {
  if (window_ == nullptr) return;
  RemoveWindowSubclass(window_, Subclass, 0);
  DisposeWindow(window_);
}

void ControlPeerBase::Create(const wchar_t* class_name, DWORD style, const ui::ControlSpec& info,
                             HWND parent, MessageTarget* target) {
  window_ = CreateWindowExW(0, class_name, ShownText(info.text).c_str(),
                            WS_CHILD | WS_CLIPSIBLINGS | style | (info.visible ? WS_VISIBLE : 0),
                            info.rect.left, info.rect.top, info.rect.width, info.rect.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                            GetModuleHandleW(nullptr), target);
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
  if (!info.enabled) EnableWindow(window_, FALSE);
  SetWindowSubclass(window_, Subclass, 0, reinterpret_cast<DWORD_PTR>(this));
  // Stacked as the form stacks them: a later control in front of the earlier ones it overlaps
  // (设置's buttons on its frame box, the program's name on the head count), each clipping out
  // the ones in front of it when it paints. Windows would put a new child behind its siblings.
  SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ControlPeerBase::SetRect(const ui::Rect& r) {
  SetWindowPos(window_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}
void ControlPeerBase::SetVisible(bool visible) { ShowWindow(window_, visible ? SW_SHOW : SW_HIDE); }
void ControlPeerBase::SetEnabled(bool enabled) { EnableWindow(window_, enabled); }
void ControlPeerBase::SetText(const ui::Text& text) {
  SetWindowTextW(window_, ShownText(text).c_str());
}
void ControlPeerBase::SetFocus() { ::SetFocus(window_); }

bool ControlPeerBase::ReportInput(UINT message, WPARAM w, LPARAM l) {
  const int x = static_cast<short>(LOWORD(l)), y = static_cast<short>(HIWORD(l));
  switch (message) {
    case WM_LBUTTONDOWN: events_->OnInput(Input::kLeftButtonDown, x, y, HeldModifiers()); break;
    case WM_LBUTTONUP: events_->OnInput(Input::kLeftButtonUp, x, y, HeldModifiers()); break;
    case WM_LBUTTONDBLCLK: events_->OnInput(Input::kDoubleClick, x, y, HeldModifiers()); break;
    case WM_RBUTTONDOWN: events_->OnInput(Input::kRightButtonDown, x, y, HeldModifiers()); break;
    case WM_RBUTTONUP: events_->OnInput(Input::kRightButtonUp, x, y, HeldModifiers()); break;
    case WM_MOUSEMOVE: events_->OnInput(Input::kMouseMoved, x, y, HeldModifiers()); break;
    case WM_SETFOCUS: events_->OnInput(Input::kGotFocus, 0, 0, 0); break;
    case WM_KILLFOCUS: events_->OnInput(Input::kLostFocus, 0, 0, 0); break;
    case WM_KEYDOWN: events_->OnInput(Input::kKeyDown, static_cast<int>(w), HeldModifiers(), 0); break;
    case WM_KEYUP: events_->OnInput(Input::kKeyUp, static_cast<int>(w), HeldModifiers(), 0); break;
    case WM_MOUSEWHEEL:
      events_->OnInput(Input::kWheel, GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA, HeldModifiers(), 0);
      break;
    case WM_CHAR: {
      const wchar_t typed = static_cast<wchar_t>(w);
      std::optional<std::string> gbk = WideToGbk(std::wstring_view(&typed, 1));
      if (!gbk || gbk->empty()) return false;
      int code = static_cast<unsigned char>((*gbk)[0]);
      if (gbk->size() == 2) code = (code << 8) | static_cast<unsigned char>((*gbk)[1]);
      events_->OnInput(Input::kCharacter, code, 0, 0);
      break;
    }
    default:
      return false;
  }
  return true;
}

LRESULT CALLBACK ControlPeerBase::Subclass(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                           DWORD_PTR self) {
  // The report may destroy the peer: the window stays until the loop destroys it.
  reinterpret_cast<ControlPeerBase*>(self)->ReportInput(message, w, l);
  return DefSubclassProc(window, message, w, l);
}

namespace {

class LabelPeer : public ControlPeerBase {
 public:
  LabelPeer(const ui::ControlSpec& info, ui::ControlEvents* events, HWND parent, int id)
      : ControlPeerBase(events, id), color_(info.text_color) {
    Create(L"STATIC", SS_LEFT | SS_NOTIFY | (info.multi_line ? 0 : SS_LEFTNOWORDWRAP), info, parent);
  }
  HBRUSH OnColor(HDC dc) override {
    if (color_ != ui::kDefaultColor) SetTextColor(dc, ColorOf(color_));
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
  }

 private:
  int color_;
};

class ButtonPeer : public ControlPeerBase {
 public:
  ButtonPeer(const ui::ControlSpec& info, ui::ControlEvents* events, HWND parent, int id)
      : ControlPeerBase(events, id) {
    Create(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, info, parent);
  }
  void OnCommand(int, int code) override {
    if (code == BN_CLICKED) events_->OnClicked();
  }
};

class EditPeer : public ControlPeerBase {
 public:
  EditPeer(const ui::ControlSpec& info, ui::ControlEvents* events, HWND parent, int id)
      : ControlPeerBase(events, id) {
    Create(L"EDIT", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, info, parent);
  }
  // Setting the text is the model's own change: it is not reported back.
  void SetText(const ui::Text& text) override {
    setting_ = true;
    ControlPeerBase::SetText(text);
    setting_ = false;
  }
  void OnCommand(int, int code) override {
    if (code != EN_CHANGE || setting_) return;
    // A character GBK cannot hold never reaches the model: the box goes back to its text.
    if (std::optional<std::string> text = GbkOfWindowText(window_)) {
      last_ = *text;
      events_->OnTextEdited(*text);
    } else {
      SetText(last_);
      MessageBeep(MB_ICONWARNING);
    }
  }

 private:
  bool setting_ = false;
  ui::Text last_;
};

class ProgressPeer : public ControlPeerBase {
 public:
  ProgressPeer(const ui::ControlSpec& info, ui::ControlEvents* events, HWND parent, int id)
      : ControlPeerBase(events, id) {
    Create(PROGRESS_CLASSW, 0, info, parent);
    SendMessageW(window_, PBM_SETRANGE32, info.progress_minimum, info.progress_maximum);
    SetProgressPosition(info.progress_position);
  }
  void SetText(const ui::Text&) override {}
  void SetProgressPosition(int position) override {
    SendMessageW(window_, PBM_SETPOS, position, 0);
  }
};

// A rectangle in its line colour, filled unless the fill is the default; it holds controls too,
// and hands their notifications to its window.
class ShapeBoxPeer : public ControlPeerBase, public MessageTarget {
 public:
  ShapeBoxPeer(const ui::ControlSpec& info, ui::ControlEvents* events, HWND parent, int id)
      : ControlPeerBase(events, id), line_(info.line_color), fill_(info.fill_color) {
    Create(OwnWindowClass(L"SalaryRegisterShapeBox", 0, GetSysColorBrush(COLOR_BTNFACE)),
           WS_CLIPCHILDREN, info, parent, this);
  }
  void SetText(const ui::Text&) override {}
  bool HandleMessage(HWND window, UINT message, WPARAM w, LPARAM l, LRESULT* result) override {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        if (fill_ != ui::kDefaultColor) {
          HBRUSH brush = CreateSolidBrush(ColorOf(fill_));
          FillRect(dc, &area, brush);
          DeleteObject(brush);
        }
        HBRUSH frame = CreateSolidBrush(line_ == ui::kDefaultColor ? GetSysColor(COLOR_WINDOWFRAME)
                                                                   : ColorOf(line_));
        FrameRect(dc, &area, frame);
        DeleteObject(frame);
        EndPaint(window, &paint);
        *result = 0;
        return true;
      }
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
        *result = SendMessageW(GetAncestor(window, GA_ROOT), message, w, l);
        return true;
    }
    return false;
  }

 private:
  int line_;
  int fill_;
};

}  // namespace

std::unique_ptr<ControlPeerBase> MakeSimpleControl(const ui::ControlSpec& info,
                                                   ui::ControlEvents* events, HWND parent,
                                                   int id) {
  switch (info.kind) {
    case ui::ControlKind::kLabel: return std::make_unique<LabelPeer>(info, events, parent, id);
    case ui::ControlKind::kButton: return std::make_unique<ButtonPeer>(info, events, parent, id);
    case ui::ControlKind::kEditBox: return std::make_unique<EditPeer>(info, events, parent, id);
    case ui::ControlKind::kProgressBar:
      return std::make_unique<ProgressPeer>(info, events, parent, id);
    case ui::ControlKind::kShapeBox:
      return std::make_unique<ShapeBoxPeer>(info, events, parent, id);
    default:
      return nullptr;
  }
}

}  // namespace sr::win32
