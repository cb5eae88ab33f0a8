#ifndef SALARY_PLATFORM_WIN32_UI_CONTROL_PEERS_H_
#define SALARY_PLATFORM_WIN32_UI_CONTROL_PEERS_H_

#include <windows.h>

#include "platform/ui/peer.h"
#include "platform/win32/ui/win32_ui.h"

namespace sr::win32 {

// A control peer over one child window. Every control reports the generic input of its window
// (mouse, focus, keys, characters, wheel) to its model; the kinds add their own reports.
class ControlPeerBase : public ui::ControlPeer {
 public:
  ControlPeerBase(ui::ControlEvents* events, int id) : events_(events), id_(id) {}
  ~ControlPeerBase() override;

  HWND window() const { return window_; }
  int id() const { return id_; }

  void SetRect(const ui::Rect& rect) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetText(const ui::Text& text) override;
  void SetFocus() override;

  // WM_COMMAND and WM_NOTIFY of this control, sent to its parent, handed on by the window.
  virtual void OnCommand(int id, int code) {}
  virtual bool OnNotify(NMHDR* header, LRESULT* result) { return false; }
  // WM_CTLCOLOR*: the text colour of a label, else nothing.
  virtual HBRUSH OnColor(HDC dc) { return nullptr; }

 protected:
  // Makes the native control: `class_name` with `style` (WS_CHILD added) in `parent`. A window
  // class of ours hands its messages to `target`.
  void Create(const wchar_t* class_name, DWORD style, const ui::ControlSpec& info, HWND parent,
              MessageTarget* target = nullptr);
  // Reports the generic input of `message`; true when it was one.
  virtual bool ReportInput(UINT message, WPARAM w, LPARAM l);

  ui::ControlEvents* events_;
  HWND window_ = nullptr;
  int id_;

 private:
  static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                   DWORD_PTR self);
};

// The peer of a control of one of the kinds label, button, edit box, progress bar or shape box.
// `parent` is the window's client or the holding shape box.
std::unique_ptr<ControlPeerBase> MakeSimpleControl(const ui::ControlSpec& info,
                                                   ui::ControlEvents* events, HWND parent, int id);

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_UI_CONTROL_PEERS_H_
