#ifndef SALARY_PLATFORM_WIN32_UI_FORM_WINDOW_H_
#define SALARY_PLATFORM_WIN32_UI_FORM_WINDOW_H_

#include "platform/win32/ui/win32_ui.h"

#include <map>
#include <memory>
#include <vector>

#include "platform/ui/peer.h"
#include "platform/win32/ui/control_peers.h"
#include "platform/win32/ui/win32_ui.h"
#include "platform/win32/ui/window_menu.h"

namespace sr::win32 {

// A form's top-level window: its frame, caption and menu with accelerators, and the controls'
// notifications handed on to their peers. Closing by the frame is only reported: the model
// decides, and destroying the peer removes the window.
class FormWindow : public ui::WindowPeer, public MessageTarget {
 public:
  // `owner` (may be null) keeps a secondary window above the window it belongs to.
  FormWindow(const ui::WindowSpec& info, ui::WindowEvents* events, HWND owner);
  ~FormWindow() override;

  HWND window() const { return window_; }
  HMENU DropDown(int entry) const { return menu_.DropDown(entry); }
  // The accelerators of the top-level window `root` (one of ours), or null.
  static HACCEL AcceleratorsOf(HWND root);
  // The dialog keyboard for a key pressed in one of our windows: Tab and Shift+Tab go round the
  // controls in the form's order (Ctrl+Tab also out of a control that keeps Tab, as the grid
  // does), Enter clicks the focused button or else the window's first, Esc asks to close a
  // secondary window. True when the key was used so.
  static bool DialogKey(const MSG& message);

  std::unique_ptr<ui::ControlPeer> CreateControl(const ui::ControlSpec& info,
                                                 ui::ControlEvents* events,
                                                 ui::ControlPeer* container) override;
  void Show() override;
  void SetRect(const ui::Rect& rect) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetCaption(const ui::Text& caption) override;
  void SetMenuEntryDisabled(int index, bool disabled) override;

  bool HandleMessage(HWND window, UINT message, WPARAM w, LPARAM l, LRESULT* result) override;

  // Called by a control peer as it goes.
  void Forget(HWND control) {
    if (toolbar_ != nullptr && toolbar_->window() == control) toolbar_ = nullptr;
    controls_.erase(control);
    std::erase(order_, control);
  }

 private:
  ControlPeerBase* Control(HWND control) const;
  void ReportRect();
  bool TakesKey(UINT key, HWND focus, bool shift, bool ctrl, LRESULT wanted);
  // The control in the form's order `step` places from the one holding `focus` that takes the
  // keyboard (wrapping round), or null.
  HWND NextTabStop(HWND focus, int step) const;
  HWND FirstButton() const;

  ui::WindowEvents* events_;
  WindowMenu menu_;
  HWND window_ = nullptr;
  int minimum_width_;
  int minimum_height_;
  int next_control_id_ = 1000;
  bool moving_ = false;  // SetRect's own move is not reported back
  std::map<HWND, ControlPeerBase*> controls_;
  std::vector<HWND> order_;  // the controls in the form's order
  HWND last_focus_ = nullptr;  // given back when the window is active again
  bool activate_when_enabled_ = false;  // a window opened from it has closed
  ControlPeerBase* toolbar_ = nullptr;
};

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_UI_FORM_WINDOW_H_
