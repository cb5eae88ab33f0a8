#ifndef SALARY_PLATFORM_UI_PEER_H_
#define SALARY_PLATFORM_UI_PEER_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/keys.h"

namespace sr::ui {

class GridSource;  // grid_peer.h
class GridInput;

// Texts crossing this seam are GBK byte strings (sr::Text); a backend converts at its edge.
using Text = std::string;

// A rectangle in pixels. A window's rectangle is its outer frame on the screen; a control's is
// relative to the client area of its container (its window, or the shape box that holds it).
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Colours are 0xRRGGBB; kDefaultColor leaves the toolkit's own colour.
constexpr int kDefaultColor = -1;

enum class ControlKind { kLabel, kButton, kEditBox, kProgressBar, kShapeBox, kToolbar, kGrid };

// The generic input events that every control reports, numbered as the framework numbers its
// generic events. Their arguments (a, b, c of ControlEvents::OnInput):
//   mouse (-1 to -6): x, y in the control's client pixels, modifier bits
//   focus (-7, -8): none
//   key (-9, -10): virtual-key code, modifier bits
//   character (-11): the character code (GBK: a two-byte character as (lead << 8) | trail)
//   wheel (-12): wheel delta divided by 120, modifier bits
enum class Input : int {
  kLeftButtonDown = -1,
  kLeftButtonUp = -2,
  kDoubleClick = -3,
  kRightButtonDown = -4,
  kRightButtonUp = -5,
  kMouseMoved = -6,
  kGotFocus = -7,
  kLostFocus = -8,
  kKeyDown = -9,
  kKeyUp = -10,
  kCharacter = -11,
  kWheel = -12,
};

// Toolbar button state bits.
enum ToolbarState : int {
  kToolbarChecked = 1,
  kToolbarPressed = 2,
  kToolbarDisabled = 4,
  kToolbarIndeterminate = 16,
};

// One toolbar entry: a separator, or a button with an image from the toolbar's 28-image list
// (16 x 16; the backend draws them), its caption shown below the image, and a tool-tip.
struct ToolbarEntrySpec {
  bool separator = false;
  Text caption;
  Text tooltip;
  int image = -1;
  int state = 0;  // ToolbarState bits
};

// One entry of a window's menu, in menu order. Level 0 entries form the menu bar; level 1 entries
// belong to the nearest level 0 entry before them. A caption "-" is a separator; "&" marks the
// mnemonic letter. Menu entries are identified by their index in this list.
struct MenuEntrySpec {
  Text caption;
  int level = 0;
  KeyChord shortcut{};
  bool disabled = false;

  bool separator() const { return caption.size() == 1 && caption[0] == '-'; }
};

// What a control peer is created from. Only the fields of the control's kind matter.
struct ControlSpec {
  ControlKind kind = ControlKind::kLabel;
  Text name;  // the form's control name, e.g. the grid's
  Rect rect;
  bool visible = true;
  bool enabled = true;
  bool can_focus = true;
  Text text;  // label text, button caption, edit box text

  // Label: text colour; multi-line labels break at CR LF and wrap.
  int text_color = kDefaultColor;
  bool multi_line = false;

  // Shape box: a rectangle drawn with its line colour and, unless kDefaultColor, filled.
  int line_color = kDefaultColor;
  int fill_color = kDefaultColor;

  // Progress bar.
  int progress_minimum = 0;
  int progress_maximum = 100;
  int progress_position = 0;

  // Toolbar: docked along the top edge of the window's client area over its full width (the
  // rectangle above is then ignored), with tool-tips.
  std::vector<ToolbarEntrySpec> toolbar_entries;

  // Grid (grid_peer.h): the cells the peer draws, and where it reports the user's input on
  // them. The peer registers itself as the source's view while it exists. Both outlive the peer.
  GridSource* grid_source = nullptr;
  GridInput* grid_input = nullptr;
};

// What a top-level window is created from.
struct WindowSpec {
  Text name;
  Text caption;
  Rect rect;
  bool sizable = false;  // sizable frame with minimise and maximise boxes; else fixed frame
  // The smallest frame the user can size a sizable window to (0: no limit of the form's own).
  int minimum_width = 0;
  int minimum_height = 0;
  bool has_icon = false;
  std::vector<MenuEntrySpec> menu;  // empty: no menu bar
};

// Input a control peer reports into its model (implemented by the control models in forms/).
// Every call runs to completion, on the user-interface thread, before the peer continues.
class ControlEvents {
 public:
  virtual ~ControlEvents() = default;

  // A generic input event; see Input for the arguments.
  virtual void OnInput(Input input, int a, int b, int c) = 0;
  // A button was clicked (after the generic mouse events of the click).
  virtual void OnClicked() {}
  // The user changed an edit box's content; `text` is the whole new content.
  virtual void OnTextEdited(const Text& text) {}
  // A toolbar button was clicked; `index` counts the separators.
  virtual void OnToolbarButtonClicked(int index) {}
};

// Input a window peer reports into its window model.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;

  // The user asked to close the window (close box, Alt+F4). The peer must not close by itself:
  // the model decides and destroys the peer when the window really closes.
  virtual void OnCloseRequested() = 0;
  // The window's outer rectangle changed (by the user, the window manager or a SetRect).
  virtual void OnRectChanged(const Rect& rect) = 0;
  // A menu entry was chosen from the menu bar or by its shortcut (index into WindowSpec::menu).
  // Disabled entries and separators are never reported.
  virtual void OnMenuChosen(int index) = 0;
};

// The native side of a control. The model calls the setters whenever its state changes; a peer
// never changes that state on its own, it reports user input through ControlEvents instead.
// Destroying the peer removes the native control.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;

  virtual void SetRect(const Rect& rect) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  // Label text, button caption or edit box text. Setting an edit box's text does not report
  // OnTextEdited back.
  virtual void SetText(const Text& text) = 0;
  virtual void SetFocus() = 0;

  // Progress bar only.
  virtual void SetProgressPosition(int position) {}
  // Toolbar only: the state bits of the entry at `index`.
  virtual void SetToolbarButtonState(int index, int state) {}
};

// The native side of a top-level window. Its control peers are created through it and are all
// destroyed before it. Destroying the window peer removes the native window. A window and its
// controls may be destroyed from inside one of their own event reports (a close box, a button
// that closes its window), so a backend must defer the native deletion (Qt: deleteLater).
class WindowPeer {
 public:
  virtual ~WindowPeer() = default;

  // Creates the peer of a control of this window. `container` is the peer of the shape box that
  // holds the control, or null for the window's client area. `events` outlives the peer.
  virtual std::unique_ptr<ControlPeer> CreateControl(const ControlSpec& description, ControlEvents* events,
                                                     ControlPeer* container) = 0;
  // Shows the window once its controls exist.
  virtual void Show() = 0;

  virtual void SetRect(const Rect& rect) = 0;
  virtual void SetVisible(bool visible) = 0;
  // A disabled window takes no input (while a modal window is open over it).
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetCaption(const Text& caption) = 0;
  virtual void SetMenuEntryDisabled(int index, bool disabled) = 0;
};

}  // namespace sr::ui

#endif  // SALARY_PLATFORM_UI_PEER_H_
