#include "platform/headless/headless_backend.h"

#include <algorithm>

#include "platform/headless/headless_grid.h"

namespace sr::headless {
namespace {

void Report(HeadlessControl* control, ui::Input input) {
  if (control != nullptr) control->ReportFocus(input);
}

}  // namespace

// ---------------------------------------------------------------- controls

HeadlessControl::HeadlessControl(HeadlessWindow* window, const ui::ControlSpec& description,
                                 ui::ControlEvents* events, HeadlessControl* container)
    : window_(window), state_(description), events_(events), container_(container) {}

HeadlessControl::~HeadlessControl() {
  auto& list = window_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (window_->focus_ == this) window_->focus_ = nullptr;
}

bool HeadlessControl::shown() const {
  return state_.visible && (container_ == nullptr || container_->shown());
}

void HeadlessControl::SetFocus() {
  HeadlessControl* old = window_->focus_;
  if (old == this) return;
  window_->focus_ = this;
  // In the window that has the keyboard the change is reported at once, first the loser, then
  // the winner; in another window it waits until that window takes the keyboard.
  if (window_->backend_->keyboard_window() != window_) return;
  Report(old, ui::Input::kLostFocus);
  Report(this, ui::Input::kGotFocus);
}

void HeadlessControl::ReportFocus(ui::Input got_or_lost) { events_->OnInput(got_or_lost, 0, 0, 0); }

void HeadlessControl::SetToolbarButtonState(int index, int state) {
  if (index >= 0 && index < static_cast<int>(state_.toolbar_entries.size())) {
    state_.toolbar_entries[index].state = state;
  }
}

// ---------------------------------------------------------------- windows

HeadlessWindow::HeadlessWindow(HeadlessBackend* backend, const ui::WindowSpec& description,
                               ui::WindowEvents* events, int serial)
    : backend_(backend), state_(description), events_(events), serial_(serial) {}

HeadlessWindow::~HeadlessWindow() {
  auto& list = backend_->windows_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  backend_->Record(ScreenEvent::Of(ScreenEvent::Kind::kWindowClosed, state_.name, state_.caption));
  if (backend_->keyboard_ == this) backend_->keyboard_ = nullptr;
  backend_->UpdateKeyboard();
}

std::unique_ptr<ui::ControlPeer> HeadlessWindow::CreateControl(const ui::ControlSpec& description,
                                                               ui::ControlEvents* events,
                                                               ui::ControlPeer* container) {
  auto* holder = static_cast<HeadlessControl*>(container);
  std::unique_ptr<HeadlessControl> control;
  if (description.kind == ui::ControlKind::kGrid && description.grid_source != nullptr &&
      description.grid_input != nullptr) {
    control = std::make_unique<HeadlessGrid>(this, description, events, holder);
  } else {
    control = std::make_unique<HeadlessControl>(this, description, events, holder);
  }
  controls_.push_back(control.get());
  return control;
}

void HeadlessWindow::Show() {
  shown_ = true;
  backend_->Record(ScreenEvent::Of(ScreenEvent::Kind::kWindowShown, state_.name, state_.caption));
  backend_->UpdateKeyboard();
}

void HeadlessWindow::SetVisible(bool visible) {
  shown_ = visible;
  if (!visible && backend_->keyboard_ == this) backend_->keyboard_ = nullptr;
  backend_->UpdateKeyboard();
}

void HeadlessWindow::SetEnabled(bool enabled) {
  enabled_ = enabled;
  backend_->UpdateKeyboard();
}

HeadlessControl* HeadlessWindow::FirstFocusable() const {
  for (HeadlessControl* control : controls_) {
    const ui::ControlKind kind = control->kind();
    const bool focusable = kind == ui::ControlKind::kButton || kind == ui::ControlKind::kEditBox ||
                           kind == ui::ControlKind::kGrid;
    if (focusable && control->state().can_focus && control->state().enabled && control->shown())
      return control;
  }
  return nullptr;
}

void HeadlessWindow::SetCaption(const ui::Text& caption) {
  state_.caption = caption;
  backend_->Record(ScreenEvent::Of(ScreenEvent::Kind::kCaption, state_.name, caption));
}

void HeadlessWindow::SetMenuEntryDisabled(int index, bool disabled) {
  if (index >= 0 && index < static_cast<int>(state_.menu.size())) {
    state_.menu[index].disabled = disabled;
  }
}

HeadlessControl* HeadlessWindow::Find(const ui::Text& name) const {
  for (HeadlessControl* control : controls_) {
    if (control->name() == name) return control;
  }
  return nullptr;
}

void HeadlessWindow::ResizeByUser(int width, int height) {
  // As a window manager does, the frame stops at the window's minimum size.
  state_.rect.width = std::max(width, state_.minimum_width);
  state_.rect.height = std::max(height, state_.minimum_height);
  events_->OnRectChanged(state_.rect);
}

// ---------------------------------------------------------------- backend

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<ui::WindowPeer> HeadlessBackend::CreateWindow(const ui::WindowSpec& description,
                                                              ui::WindowEvents* events) {
  auto window = std::make_unique<HeadlessWindow>(this, description, events, next_serial_++);
  windows_.push_back(window.get());
  Record(ScreenEvent::Of(ScreenEvent::Kind::kWindowCreated, description.name, description.caption));
  return window;
}

void HeadlessBackend::Record(ScreenEvent event) {
  log_.push_back(std::move(event));
  if (observer_) observer_(log_.back());
}

void HeadlessBackend::UpdateKeyboard() {
  if (keyboard_taken_ > 0) return;
  HeadlessWindow* target = active_window();
  if (target == nullptr || target == keyboard_) return;  // a disabled window keeps it
  HeadlessWindow* old = keyboard_;
  keyboard_ = target;
  if (old != nullptr) Report(old->focus(), ui::Input::kLostFocus);
  if (target->focus_ == nullptr) target->focus_ = target->FirstFocusable();
  Report(target->focus_, ui::Input::kGotFocus);
}

void HeadlessBackend::TakeKeyboard() {
  if (keyboard_taken_++ == 0 && keyboard_ != nullptr)
    Report(keyboard_->focus(), ui::Input::kLostFocus);
}

void HeadlessBackend::ReturnKeyboard() {
  if (--keyboard_taken_ > 0) return;
  if (keyboard_ != nullptr) Report(keyboard_->focus(), ui::Input::kGotFocus);
  UpdateKeyboard();
}

// Holds the keyboard for the lifetime of a message box, a file dialog or a menu.
class HeadlessBackend::KeyboardTaken {
 public:
  explicit KeyboardTaken(HeadlessBackend* backend) : backend_(backend) { backend_->TakeKeyboard(); }
  ~KeyboardTaken() { backend_->ReturnKeyboard(); }

 private:
  HeadlessBackend* backend_;
};

HeadlessWindow* HeadlessBackend::active_window() const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if ((*it)->shown() && (*it)->enabled()) return *it;
  }
  return nullptr;
}

HeadlessWindow* HeadlessBackend::FindWindow(const ui::Text& name_or_caption) const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if ((*it)->state().name == name_or_caption || (*it)->caption() == name_or_caption) return *it;
  }
  return nullptr;
}

bool HeadlessBackend::IsOpen(int serial) const {
  return std::any_of(windows_.begin(), windows_.end(),
                     [serial](const HeadlessWindow* w) { return w->serial() == serial; });
}

namespace {

// The upper-case letter or digit after the '&' of a caption, or 0.
int MnemonicOf(const ui::Text& caption) {
  size_t amp = caption.find('&');
  if (amp == ui::Text::npos || amp + 1 >= caption.size()) return 0;
  unsigned char c = static_cast<unsigned char>(caption[amp + 1]);
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  return 0;
}

}  // namespace

HeadlessControl* HeadlessBackend::PressKey(int key, int modifiers) {
  HeadlessWindow* window = active_window();
  if (window == nullptr) return nullptr;
  ui::KeyChord chord{key, modifiers};
  const auto& menu = window->state().menu;
  for (int i = 0; i < static_cast<int>(menu.size()); ++i) {
    if (menu[i].level == 0 || menu[i].separator() || !(menu[i].shortcut == chord)) continue;
    // The shortcut is taken even when its entry is disabled; it then does nothing.
    if (!menu[i].disabled) window->events()->OnMenuChosen(i);
    return nullptr;
  }
  if (modifiers == ui::kAlt) {
    for (int i = 0; i < static_cast<int>(menu.size()); ++i) {
      if (menu[i].level == 0 && MnemonicOf(menu[i].caption) == key) {
        // The menu bar opens that drop-down; nothing is chosen until the user picks an entry.
        ScreenEvent event =
            ScreenEvent::Of(ScreenEvent::Kind::kMenuOpened, window->state().name, menu[i].caption);
        event.entry = i;
        Record(event);
        return nullptr;
      }
    }
  }
  return window->focus();
}

void HeadlessBackend::ChooseFromMenuBar(int index) {
  HeadlessWindow* window = active_window();
  if (window == nullptr || index < 0 || index >= static_cast<int>(window->state().menu.size()))
    return;
  { KeyboardTaken menu(this); }  // the drop-down closes before the entry's command runs
  const ui::MenuEntrySpec& entry = window->state().menu[index];
  if (entry.level > 0 && !entry.separator() && !entry.disabled)
    window->events()->OnMenuChosen(index);
}

void HeadlessBackend::RunModalLoop(ui::WindowPeer& peer) {
  auto& window = static_cast<HeadlessWindow&>(peer);
  const int serial = window.serial();
  auto ended = [&] {
    return !IsOpen(serial) ||
           std::find(ended_loops_.begin(), ended_loops_.end(), serial) != ended_loops_.end();
  };
  if (!modal_scripts_.empty()) {
    std::function<void()> script = std::move(modal_scripts_.front());
    modal_scripts_.pop_front();
    script();
  }
  if (!ended()) window.events()->OnCloseRequested();
  if (!ended()) throw ScriptError("a modal window stayed open after its close box");
  ended_loops_.erase(std::remove(ended_loops_.begin(), ended_loops_.end(), serial),
                     ended_loops_.end());
}

void HeadlessBackend::EndModalLoop(ui::WindowPeer& peer) {
  ended_loops_.push_back(static_cast<HeadlessWindow&>(peer).serial());
}

int HeadlessBackend::RunMainLoop() {
  if (driver_) driver_();
  return exit_code_;
}

void HeadlessBackend::Quit(int exit_code) {
  quit_ = true;
  exit_code_ = exit_code;
  ScreenEvent event = ScreenEvent::Of(ScreenEvent::Kind::kQuit);
  event.exit_code = exit_code;
  Record(event);
}

void HeadlessBackend::Terminate(int exit_code) {
  terminated_ = true;
  quit_ = true;
  exit_code_ = exit_code;
  ScreenEvent event = ScreenEvent::Of(ScreenEvent::Kind::kTerminated);
  event.exit_code = exit_code;
  Record(event);
  throw Terminated{exit_code};
}

namespace {

bool Fits(ui::MessageButtons buttons, ui::MessageAnswer answer) {
  using B = ui::MessageButtons;
  using A = ui::MessageAnswer;
  switch (buttons) {
    case B::kOk:
      return answer == A::kOk;
    case B::kOkCancel:
      return answer == A::kOk || answer == A::kCancel;
    case B::kYesNo:
      return answer == A::kYes || answer == A::kNo;
    case B::kYesNoCancel:
      return answer == A::kYes || answer == A::kNo || answer == A::kCancel;
  }
  return false;
}

}  // namespace

ui::MessageAnswer HeadlessBackend::ShowMessageBox(const ui::MessageBoxSpec& description,
                                                  ui::WindowPeer* owner) {
  KeyboardTaken box(this);
  ScreenEvent event = ScreenEvent::Of(ScreenEvent::Kind::kMessageBox);
  event.text = description.text;
  event.title = description.title;
  event.message = description;
  if (auto standing = standing_.find(description.title);
      standing != standing_.end() && Fits(description.buttons, standing->second)) {
    event.answer = standing->second;
  } else if (!answers_.empty() && Fits(description.buttons, answers_.front())) {
    event.answer = answers_.front();
    answers_.pop_front();
  } else if (description.buttons == ui::MessageButtons::kOk) {
    event.answer = ui::MessageAnswer::kOk;  // a plain notice needs no scripted answer
    event.scripted = false;
  } else {
    event.scripted = false;
    Record(event);
    throw ScriptError("a question was asked with no answer scripted for it");
  }
  Record(event);
  return event.answer;
}

ui::FileDialogResult HeadlessBackend::RunFileDialog(const ui::FileDialogSpec& description,
                                                    ui::WindowPeer* owner) {
  KeyboardTaken dialog(this);
  ScreenEvent event = ScreenEvent::Of(ScreenEvent::Kind::kFileDialog);
  event.file_dialog = description;
  if (!file_results_.empty()) {
    event.file_result = file_results_.front();
    file_results_.pop_front();
  } else {
    event.scripted = false;  // nobody chose a file: the dialog is cancelled
  }
  Record(event);
  return event.file_result;
}

int HeadlessBackend::PopupMenu(ui::WindowPeer& peer, int entry, int dx, int dy) {
  KeyboardTaken menu(this);  // given back once the choice is made, before it is acted on
  return RecordPopupChoice(static_cast<HeadlessWindow&>(peer), entry);
}

int HeadlessBackend::RecordPopupChoice(HeadlessWindow& window, int entry) {
  ScreenEvent event = ScreenEvent::Of(ScreenEvent::Kind::kPopupMenu, window.state().name);
  event.entry = entry;
  int chosen = -1;
  if (!popup_choices_.empty()) {
    chosen = popup_choices_.front();
    popup_choices_.pop_front();
  } else {
    event.scripted = false;
  }
  // Only an enabled entry of this drop-down can be chosen.
  const auto& menu = window.state().menu;
  bool inside = chosen > entry && chosen < static_cast<int>(menu.size());
  for (int i = entry + 1; inside && i <= chosen; ++i) inside = menu[i].level > 0;
  if (!inside || menu[chosen].separator() || menu[chosen].disabled) chosen = -1;
  event.chosen = chosen;
  Record(event);
  return chosen;
}

}  // namespace sr::headless
