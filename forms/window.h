#ifndef SALARY_FORMS_WINDOW_H_
#define SALARY_FORMS_WINDOW_H_

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "forms/control.h"
#include "forms/events.h"
#include "forms/menu.h"
#include "platform/ui/backend.h"
#include "platform/ui/peer.h"

namespace sr::forms {

class Framework;

// A top-level window model built from a form definition: caption, frame rectangle, its controls
// in form order, its menu and its own event bindings (created, close query, size changed).
// The framework creates its peers when it is loaded and destroys them when it closes.
class Window : public ui::WindowEvents {
 public:
  Window(Text name, Text caption, ui::Rect rect, bool sizable, bool has_icon);
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  ~Window() override;

  const Text& name() const { return name_; }
  const Text& caption() const { return caption_; }
  void SetCaption(const Text& caption);
  const ui::Rect& rect() const { return rect_; }
  int width() const { return rect_.width; }
  int height() const { return rect_.height; }
  // Moving or resizing the window raises kWindowSizeChanged when the size changes.
  void SetRect(const ui::Rect& rect);
  void SetSize(int width, int height);
  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool sizable() const { return sizable_; }
  // The smallest frame the user can give a sizable window; set before the window is loaded.
  int minimum_width() const { return minimum_width_; }
  int minimum_height() const { return minimum_height_; }
  void SetMinimumSize(int width, int height) {
    minimum_width_ = width;
    minimum_height_ = height;
  }

  Menu& menu() { return menu_; }
  const Menu& menu() const { return menu_; }

  // Adds a control (in form order) contained by `container` (a shape box of this window) or by
  // the client area.
  template <typename T, typename... Args>
  T& Add(Control* container, Args&&... args) {
    auto control = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *control;
    ref.Attach(this, container);
    controls_.push_back(std::move(control));
    return ref;
  }
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  // The control with this name, or null.
  Control* Find(const Text& name) const;

  void Bind(int event, Handler handler);
  // Binds a handler that may refuse, as a close query's handler keeps the window open by
  // returning false.
  void BindQuery(int event, QueryHandler handler);
  // Runs the handler bound to `event`, if any. False only when a query handler refused.
  bool Raise(int event, const EventArgs& args = {});
  // Runs `fn` as an event handler: through the framework (which catches fatal errors) once the
  // window is loaded, directly before.
  void Dispatch(const std::function<void()>& fn);

  // --- Lifecycle, driven by the framework. ---
  bool is_open() const { return peer_ != nullptr; }
  bool closing() const { return closing_; }
  void set_closing(bool closing) { closing_ = closing; }
  Framework* framework() const { return framework_; }
  // Creates the window's peer and then its controls' peers, in form order.
  void CreatePeers(Framework* framework, ui::Backend& backend);
  // Destroys the controls' peers (last first), then the window's.
  void DestroyPeers();
  ui::WindowPeer* peer() const { return peer_.get(); }

  // ui::WindowEvents
  void OnCloseRequested() override;
  void OnRectChanged(const ui::Rect& rect) override;
  void OnMenuChosen(int index) override;

 private:
  Text name_;
  Text caption_;
  ui::Rect rect_;
  bool sizable_;
  bool has_icon_;
  int minimum_width_ = 0;
  int minimum_height_ = 0;
  bool enabled_ = true;
  bool closing_ = false;
  Menu menu_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<int, QueryHandler> bindings_;
  Framework* framework_ = nullptr;
  std::unique_ptr<ui::WindowPeer> peer_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_WINDOW_H_
