#ifndef SALARY_PLATFORM_WIN32_UI_WIN32_UI_H_
#define SALARY_PLATFORM_WIN32_UI_WIN32_UI_H_

// What the Windows peers share: text at the edge, the font of the forms, modifier bits, and the
// one window procedure that hands a message to the peer that owns the window.
#include <windows.h>
// The seams name a method CreateWindow, which windows.h makes a macro.
#undef CreateWindow

#include <optional>
#include <string>

#include "platform/ui/peer.h"

namespace sr::win32 {

// The program's GBK text as UTF-16 for a window. Bytes that code page 936 does not define show
// as U+FFFD rather than hiding the rest of the text.
std::wstring ShownText(const ui::Text& gbk);

// A window's text as GBK, or nothing when it holds a character GBK cannot hold.
std::optional<std::string> GbkOfWindowText(HWND window);

// The face and size the forms were drawn for: "宋体", 9 points. Made once, never deleted.
HFONT FormFont();

// The modifier bits of keys.h for the keys held now.
int HeldModifiers();

// A peer of one native window: the shared window procedure hands it every message of that
// window. Returning true means the message was handled and `*result` is the answer; a peer may
// have been destroyed by then (a handler that closed its window), so nothing touches it after.
class MessageTarget {
 public:
  virtual ~MessageTarget() = default;
  virtual bool HandleMessage(HWND window, UINT message, WPARAM w, LPARAM l, LRESULT* result) = 0;
};

// Registers (once) a window class of ours whose procedure hands messages to the MessageTarget
// passed as the creation parameter. Returns its name.
const wchar_t* OwnWindowClass(const wchar_t* name, UINT style, HBRUSH background);

// Forgets the target of `window` (its peer is going) and destroys the window once the message
// that is being handled now has returned: a peer may go from inside its own handler.
void DisposeWindow(HWND window);
// Destroys the windows disposed of so far; the message loops call it between messages.
void DestroyDisposedWindows();

// Makes `window` (one of ours, may be null) the active window again unless it is gone, hidden
// or disabled: Windows activates some other program's window when the box or window in front
// closes while its owner is still disabled.
void ActivateAgain(HWND window);

// Colours 0xRRGGBB of the peers as a COLORREF.
inline COLORREF ColorOf(int rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_UI_WIN32_UI_H_
