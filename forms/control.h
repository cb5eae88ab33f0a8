#ifndef SALARY_FORMS_CONTROL_H_
#define SALARY_FORMS_CONTROL_H_

#include <map>
#include <memory>

#include "base/value.h"
#include "forms/events.h"
#include "platform/ui/backend.h"
#include "platform/ui/peer.h"

namespace sr::forms {

class Window;

// A control model: it holds the control's state, tells its native peer (when there is one) about
// every change, and turns the peer's input reports into the control's events. Events run the
// handler bound to their number, through the window's framework; unbound events are ignored.
class Control : public ui::ControlEvents {
 public:
  Control(ui::ControlKind kind, Text name, ui::Rect rect);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  ~Control() override;

  ui::ControlKind kind() const { return kind_; }
  const Text& name() const { return name_; }
  Window* window() const { return window_; }
  // The shape box that contains this control, or null for the window's client area.
  Control* container() const { return container_; }

  const ui::Rect& rect() const { return rect_; }
  int left() const { return rect_.left; }
  int top() const { return rect_.top; }
  int width() const { return rect_.width; }
  int height() const { return rect_.height; }
  void SetRect(const ui::Rect& rect);
  void SetLeft(int left);
  void SetTop(int top);
  void SetWidth(int width);
  void SetHeight(int height);

  bool visible() const { return visible_; }
  void SetVisible(bool visible);
  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool can_focus() const { return can_focus_; }
  void set_can_focus(bool can_focus) { can_focus_ = can_focus; }
  bool has_focus() const { return has_focus_; }
  // Gives the control the keyboard focus (through its peer; the peer reports kGotFocus back).
  void SetFocus();

  void Bind(int event, Handler handler);
  bool IsBound(int event) const { return bindings_.count(event) != 0; }
  // Runs the handler bound to `event`, if any.
  void Raise(int event, const EventArgs& args = {});

  // ui::ControlEvents: generic input from the peer.
  void OnInput(ui::Input input, int a, int b, int c) override;

  // --- Peer lifecycle, for the window that owns the control. ---
  // What the peer is created from: the control's current state.
  virtual ui::ControlSpec Description() const;
  void Attach(Window* window, Control* container);
  void SetPeer(std::unique_ptr<ui::ControlPeer> peer);
  // Called once the peer exists, with the backend that made it.
  virtual void PeerCreated(ui::Backend& backend) {}
  ui::ControlPeer* peer() const { return peer_.get(); }
  // Destroys the peer; the model keeps its state.
  virtual void DropPeer();

 protected:
  // Fills the kind-specific fields of a description (the base fills the generic ones).
  virtual void FillSpec(ui::ControlSpec* description) const {}

 private:
  ui::ControlKind kind_;
  Text name_;
  ui::Rect rect_;
  bool visible_ = true;
  bool enabled_ = true;
  bool can_focus_ = true;
  bool has_focus_ = false;
  Window* window_ = nullptr;
  Control* container_ = nullptr;
  std::unique_ptr<ui::ControlPeer> peer_;
  std::map<int, Handler> bindings_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_CONTROL_H_
