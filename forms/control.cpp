#include "forms/control.h"

#include <utility>

#include "forms/window.h"

namespace sr::forms {

Control::Control(ui::ControlKind kind, Text name, ui::Rect rect)
    : kind_(kind), name_(std::move(name)), rect_(rect) {}

Control::~Control() = default;

void Control::SetRect(const ui::Rect& rect) {
  rect_ = rect;
  if (peer_) peer_->SetRect(rect_);
}

void Control::SetLeft(int left) { SetRect({left, rect_.top, rect_.width, rect_.height}); }
void Control::SetTop(int top) { SetRect({rect_.left, top, rect_.width, rect_.height}); }
void Control::SetWidth(int width) { SetRect({rect_.left, rect_.top, width, rect_.height}); }
void Control::SetHeight(int height) { SetRect({rect_.left, rect_.top, rect_.width, height}); }

void Control::SetVisible(bool visible) {
  visible_ = visible;
  if (peer_) peer_->SetVisible(visible);
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (peer_) peer_->SetEnabled(enabled);
}

void Control::SetFocus() {
  if (peer_) peer_->SetFocus();
}

void Control::Bind(int event, Handler handler) { bindings_[event] = std::move(handler); }

void Control::Raise(int event, const EventArgs& args) {
  auto it = bindings_.find(event);
  if (it == bindings_.end()) return;
  // Copied: the handler may rebind the event or close the window that owns this control.
  Handler handler = it->second;
  if (window_ != nullptr) {
    window_->Dispatch([&] { handler(args); });
  } else {
    handler(args);
  }
}

void Control::OnInput(ui::Input input, int a, int b, int c) {
  if (input == ui::Input::kGotFocus) has_focus_ = true;
  if (input == ui::Input::kLostFocus) has_focus_ = false;
  Raise(static_cast<int>(input), {a, b, c});
}

ui::ControlSpec Control::Description() const {
  ui::ControlSpec description;
  description.kind = kind_;
  description.name = name_;
  description.rect = rect_;
  description.visible = visible_;
  description.enabled = enabled_;
  description.can_focus = can_focus_;
  FillSpec(&description);
  return description;
}

void Control::Attach(Window* window, Control* container) {
  window_ = window;
  container_ = container;
}

void Control::SetPeer(std::unique_ptr<ui::ControlPeer> peer) { peer_ = std::move(peer); }

void Control::DropPeer() {
  peer_.reset();
  has_focus_ = false;
}

}  // namespace sr::forms
