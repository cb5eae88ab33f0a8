#include "forms/window.h"

#include <utility>

#include "forms/framework.h"

namespace sr::forms {

Window::Window(Text name, Text caption, ui::Rect rect, bool sizable, bool has_icon)
    : name_(std::move(name)),
      caption_(std::move(caption)),
      rect_(rect),
      sizable_(sizable),
      has_icon_(has_icon),
      menu_(this) {}

Window::~Window() { DestroyPeers(); }

void Window::SetCaption(const Text& caption) {
  caption_ = caption;
  if (peer_) peer_->SetCaption(caption);
}

void Window::SetRect(const ui::Rect& rect) {
  if (rect == rect_) return;
  bool resized = rect.width != rect_.width || rect.height != rect_.height;
  rect_ = rect;
  if (peer_) peer_->SetRect(rect);
  if (resized) Raise(kWindowSizeChanged);
}

void Window::SetSize(int width, int height) { SetRect({rect_.left, rect_.top, width, height}); }

void Window::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (peer_) peer_->SetEnabled(enabled);
}

Control* Window::Find(const Text& name) const {
  for (const auto& control : controls_) {
    if (control->name() == name) return control.get();
  }
  return nullptr;
}

void Window::Bind(int event, Handler handler) {
  bindings_[event] = [handler = std::move(handler)](const EventArgs& args) {
    handler(args);
    return true;
  };
}

void Window::BindQuery(int event, QueryHandler handler) { bindings_[event] = std::move(handler); }

bool Window::Raise(int event, const EventArgs& args) {
  auto it = bindings_.find(event);
  if (it == bindings_.end()) return true;
  QueryHandler handler = it->second;
  bool agreed = true;
  Dispatch([&] { agreed = handler(args); });
  return agreed;
}

void Window::Dispatch(const std::function<void()>& fn) {
  if (framework_ != nullptr) {
    framework_->Dispatch(fn);
  } else {
    fn();
  }
}

void Window::CreatePeers(Framework* framework, ui::Backend& backend) {
  framework_ = framework;
  closing_ = false;
  ui::WindowSpec description;
  description.name = name_;
  description.caption = caption_;
  description.rect = rect_;
  description.sizable = sizable_;
  description.minimum_width = minimum_width_;
  description.minimum_height = minimum_height_;
  description.has_icon = has_icon_;
  description.menu = menu_.Description();
  peer_ = backend.CreateWindow(description, this);
  if (!enabled_) peer_->SetEnabled(false);
  for (const auto& control : controls_) {
    ui::ControlPeer* container = control->container() ? control->container()->peer() : nullptr;
    control->SetPeer(peer_->CreateControl(control->Description(), control.get(), container));
    control->PeerCreated(backend);
  }
}

void Window::DestroyPeers() {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) (*it)->DropPeer();
  peer_.reset();
}

void Window::OnCloseRequested() {
  if (framework_ != nullptr && is_open()) framework_->Close(*this);
}

void Window::OnRectChanged(const ui::Rect& rect) {
  if (rect == rect_) return;
  bool resized = rect.width != rect_.width || rect.height != rect_.height;
  rect_ = rect;
  if (resized) Raise(kWindowSizeChanged);
}

void Window::OnMenuChosen(int index) { menu_.Choose(index); }

}  // namespace sr::forms
