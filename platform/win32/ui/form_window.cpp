#include "platform/win32/ui/form_window.h"
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include "platform/win32/ui/grid_peer.h"
#include "platform/win32/ui/toolbar_peer.h"

namespace sr::win32 {
namespace {

std::map<HWND, HACCEL>& Accelerators() {
  static std::map<HWND, HACCEL> tables;
  return tables;
}

std::map<HWND, FormWindow*>& Forms() {
  static std::map<HWND, FormWindow*> forms;
  return forms;
}

bool TakesKeyboard(HWND control) {
  return IsWindowVisible(control) && IsWindowEnabled(control) &&
         (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

// A control peer that tells its window when it goes, so that no notification reaches it after.
template <typename Peer>
class Registered : public ui::ControlPeer {
 public:
  Registered(std::unique_ptr<Peer> peer, FormWindow* window)
      : peer_(std::move(peer)), window_(window) {}
  ~Registered() override { window_->Forget(peer_->window()); }
  void SetRect(const ui::Rect& rect) override { peer_->SetRect(rect); }
  void SetVisible(bool visible) override { peer_->SetVisible(visible); }
  void SetEnabled(bool enabled) override { peer_->SetEnabled(enabled); }
  void SetText(const ui::Text& text) override { peer_->SetText(text); }
  void SetFocus() override { peer_->SetFocus(); }
  void SetProgressPosition(int position) override { peer_->SetProgressPosition(position); }
  void SetToolbarButtonState(int index, int state) override {
    peer_->SetToolbarButtonState(index, state);
  }
  Peer& peer() { return *peer_; }

 private:
  std::unique_ptr<Peer> peer_;
  FormWindow* window_;
};

}  // namespace

FormWindow::FormWindow(const ui::WindowSpec& info, ui::WindowEvents* events, HWND owner)
    : events_(events),
      menu_(info.menu),
      minimum_width_(info.minimum_width),
      minimum_height_(info.minimum_height) {
  const DWORD style = info.sizable ? WS_OVERLAPPEDWINDOW
                                   : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_BORDER;
  window_ = CreateWindowExW(
      0, OwnWindowClass(L"SalaryRegisterForm", CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE)),
      ShownText(info.caption).c_str(), style | WS_CLIPCHILDREN, info.rect.left, info.rect.top,
      info.rect.width, info.rect.height, owner, menu_.bar(), GetModuleHandleW(nullptr),
      static_cast<MessageTarget*>(this));
  if (!info.has_icon) SendMessageW(window_, WM_SETICON, ICON_BIG, 0);
  if (menu_.accelerators() != nullptr) Accelerators()[window_] = menu_.accelerators();
  Forms()[window_] = this;
}

FormWindow::~FormWindow() {
  Accelerators().erase(window_);
  Forms().erase(window_);
  const bool was_active = GetActiveWindow() == window_;
  SetMenu(window_, nullptr);  // the menu goes with menu_, the window a moment later
  DisposeWindow(window_);
  // The window it was opened from is active again, once it is enabled again if it is not yet.
  auto owner = Forms().find(GetWindow(window_, GW_OWNER));
  if (was_active && owner != Forms().end()) {
    owner->second->activate_when_enabled_ = true;
    if (IsWindowEnabled(owner->first)) owner->second->SetEnabled(true);
  }
}

HACCEL FormWindow::AcceleratorsOf(HWND root) {
  auto found = Accelerators().find(root);
  return found == Accelerators().end() ? nullptr : found->second;
}

std::unique_ptr<ui::ControlPeer> FormWindow::CreateControl(const ui::ControlSpec& info,
                                                           ui::ControlEvents* events,
                                                           ui::ControlPeer* container) {
  HWND parent = window_;
  if (container != nullptr) {
    parent = static_cast<Registered<ControlPeerBase>*>(container)->peer().window();
  }
  const int id = next_control_id_++;
  std::unique_ptr<ControlPeerBase> peer;
  if (info.kind == ui::ControlKind::kToolbar) {
    peer = MakeToolbar(info, events, parent, id);
    toolbar_ = peer.get();
  } else if (info.kind == ui::ControlKind::kGrid) {
    peer = MakeGridPeer(info, events, parent, id);
  } else {
    peer = MakeSimpleControl(info, events, parent, id);
  }
  controls_[peer->window()] = peer.get();
  order_.push_back(peer->window());
  return std::make_unique<Registered<ControlPeerBase>>(std::move(peer), this);
}

bool FormWindow::DialogKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.hwnd == nullptr) return false;
  const UINT key = static_cast<UINT>(message.wParam);
  if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE) return false;
  auto form = Forms().find(GetAncestor(message.hwnd, GA_ROOT));
  if (form == Forms().end()) return false;
  MSG copy = message;
  const LRESULT wanted = SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam,
                                      reinterpret_cast<LPARAM>(&copy));
  return form->second->TakesKey(key, message.hwnd, GetKeyState(VK_SHIFT) < 0,
                                GetKeyState(VK_CONTROL) < 0, wanted);
}

bool FormWindow::TakesKey(UINT key, HWND focus, bool shift, bool ctrl, LRESULT wanted) {
  const bool keeps_all = (wanted & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
  if (key == VK_TAB) {
    if (!ctrl && (keeps_all || (wanted & DLGC_WANTTAB) != 0)) return false;
    HWND next = NextTabStop(focus, shift ? -1 : 1);
    if (next == nullptr) return true;
    ::SetFocus(next);
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
      SendMessageW(next, EM_SETSEL, 0, -1);
    }
    return true;
  }
  if (keeps_all) return false;
  if (key == VK_ESCAPE) {
    if (GetWindow(window_, GW_OWNER) == nullptr) return false;  // the main window stays
    events_->OnCloseRequested();
    return true;
  }
  ControlPeerBase* button = Control(focus);
  if (button == nullptr || !(wanted & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    button = Control(FirstButton());
  }
  if (button == nullptr) return false;
  button->OnCommand(button->id(), BN_CLICKED);  // may close the window: nothing after this
  return true;
}

HWND FormWindow::NextTabStop(HWND focus, int step) const {
  const int count = static_cast<int>(order_.size());
  int at = -1;
  for (int i = 0; i < count; ++i) {
    if (order_[i] == focus || IsChild(order_[i], focus)) at = i;
  }
  for (int tried = 1; tried <= count; ++tried) {
    HWND control = order_[((at + step * tried) % count + count) % count];
    if (TakesKeyboard(control)) return control;
  }
  return nullptr;
}

HWND FormWindow::FirstButton() const {
  for (HWND control : order_) {
    wchar_t kind[16] = {};
    GetClassNameW(control, kind, 16);
    if (lstrcmpiW(kind, L"BUTTON") == 0 && IsWindowVisible(control) && IsWindowEnabled(control)) {
      return control;
    }
  }
  return nullptr;
}

void FormWindow::Show() {
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void FormWindow::SetRect(const ui::Rect& r) {
  moving_ = true;
  SetWindowPos(window_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  moving_ = false;
}

void FormWindow::SetVisible(bool visible) { ShowWindow(window_, visible ? SW_SHOW : SW_HIDE); }
void FormWindow::SetEnabled(bool enabled) {
  EnableWindow(window_, enabled);
  // Enabled again once the modal window it opened has gone: it takes the activation back.
  if (enabled && activate_when_enabled_) {
    activate_when_enabled_ = false;
    ActivateAgain(window_);
  }
}
void FormWindow::SetCaption(const ui::Text& caption) {
  SetWindowTextW(window_, ShownText(caption).c_str());
}
void FormWindow::SetMenuEntryDisabled(int index, bool disabled) {
  menu_.SetDisabled(index, disabled);
  DrawMenuBar(window_);
}

ControlPeerBase* FormWindow::Control(HWND control) const {
  auto found = controls_.find(control);
  return found == controls_.end() ? nullptr : found->second;
}

void FormWindow::ReportRect() {
  RECT frame;
  GetWindowRect(window_, &frame);
  events_->OnRectChanged(
      {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top});
}

bool FormWindow::HandleMessage(HWND, UINT message, WPARAM w, LPARAM l, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_CLOSE:
      events_->OnCloseRequested();
      return true;
    case WM_ACTIVATE:
      // The keyboard goes back to the control that had it, else to the first that takes it.
      if (LOWORD(w) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) last_focus_ = focus;
      } else if (HWND focus = GetFocus(); focus == nullptr || !IsChild(window_, focus)) {
        HWND back = last_focus_ != nullptr && IsWindow(last_focus_) && IsChild(window_, last_focus_)
                        ? last_focus_
                        : NextTabStop(nullptr, 1);
        if (back != nullptr) ::SetFocus(back);
      }
      return true;
    case WM_SIZE:
      if (toolbar_ != nullptr) SendMessageW(toolbar_->window(), TB_AUTOSIZE, 0, 0);
      if (!moving_) ReportRect();
      return true;
    case WM_MOVE:
      if (!moving_) ReportRect();
      return true;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(l);
      if (minimum_width_ > 0) limits->ptMinTrackSize.x = minimum_width_;
      if (minimum_height_ > 0) limits->ptMinTrackSize.y = minimum_height_;
      return true;
    }
    case WM_COMMAND:
      if (l == 0) {  // a menu entry or its accelerator
        const int index = menu_.ChosenEntry(LOWORD(w));
        if (index >= 0) events_->OnMenuChosen(index);
      } else if (ControlPeerBase* control = Control(reinterpret_cast<HWND>(l))) {
        control->OnCommand(LOWORD(w), HIWORD(w));
      }
      return true;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(l);
      if (ControlPeerBase* control = Control(header->hwndFrom)) {
        return control->OnNotify(header, result);
      }
      // The toolbar's tool-tips come from the tip window, not the toolbar.
      return toolbar_ != nullptr && toolbar_->OnNotify(header, result);
    }
    case WM_CTLCOLORSTATIC:
      if (ControlPeerBase* control = Control(reinterpret_cast<HWND>(l))) {
        HBRUSH brush = control->OnColor(reinterpret_cast<HDC>(w));
        if (brush != nullptr) {
          *result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      return false;
  }
  return false;
}

}  // namespace sr::win32
