#ifndef SALARY_PLATFORM_WIN32_UI_FORM_WINDOW_H_
#define SALARY_PLATFORM_WIN32_UI_FORM_WINDOW_H_

#include "platform/win32/ui/win32_ui.h"

#include <map>
#include <memory>

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
  }

 private:
  ControlPeerBase* Control(HWND control) const;
  void ReportRect();

  ui::WindowEvents* events_;
  WindowMenu menu_;
  HWND window_ = nullptr;
  int minimum_width_;
  int minimum_height_;
  int next_control_id_ = 1000;
  bool moving_ = false;  // SetRect's own move is not reported back
  std::map<HWND, ControlPeerBase*> controls_;
  ControlPeerBase* toolbar_ = nullptr;
};

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_UI_FORM_WINDOW_H_
