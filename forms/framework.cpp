#include "forms/framework.h"

#include <algorithm>
#include <utility>

#include "forms/window.h"
#include "platform/ui/clipboard.h"
#include "runtime/convert/fatal_error.h"

namespace sr::forms {

namespace {
// The title of a message box shown without one.
const char kDefaultMessageTitle[] = "信息：";
// A shortcut menu opens this far right of and below the mouse pointer.
constexpr int kPopupOffset = 3;
}  // namespace

Framework::Framework(ui::Backend& backend) : backend_(backend) {}

void Framework::Open(Window& window) {
  window.CreatePeers(this, backend_);
  open_windows_.push_back(&window);
  window.Raise(kWindowCreated);
  // A window gets its first size notification as it appears; the main window's layout runs here.
  if (window.is_open()) window.Raise(kWindowSizeChanged);
}

void Framework::Forget(Window& window) {
  open_windows_.erase(std::remove(open_windows_.begin(), open_windows_.end(), &window),
                      open_windows_.end());
}

void Framework::LoadMain(Window& window) {
  main_window_ = &window;
  Open(window);
  if (window.is_open()) window.peer()->Show();
}

int Framework::RunMainLoop() { return backend_.RunMainLoop(); }

void Framework::ShowModal(Window& window) {
  Open(window);
  if (!window.is_open()) return;  // closed by its own created handler

  std::vector<std::pair<Window*, bool>> others;
  for (Window* other : open_windows_) {
    if (other == &window) continue;
    others.emplace_back(other, other->enabled());
    other->SetEnabled(false);
  }
  window.peer()->Show();
  modal_windows_.push_back(&window);
  backend_.RunModalLoop(*window.peer());
  modal_windows_.erase(std::remove(modal_windows_.begin(), modal_windows_.end(), &window),
                       modal_windows_.end());
  if (window.is_open()) {  // the loop ended without the window closing (the program is ending)
    Forget(window);
    window.DestroyPeers();
  }
  for (auto it = others.rbegin(); it != others.rend(); ++it) it->first->SetEnabled(it->second);
}

void Framework::Close(Window& window) {
  if (!window.is_open() || window.closing()) return;
  window.set_closing(true);
  const bool agreed = window.Raise(kWindowCloseQuery);
  if (!window.is_open()) return;
  if (!agreed) {
    window.set_closing(false);
    return;
  }
  if (std::find(modal_windows_.begin(), modal_windows_.end(), &window) != modal_windows_.end()) {
    backend_.EndModalLoop(*window.peer());
  }
  Forget(window);
  window.DestroyPeers();
  if (&window == main_window_) {
    main_window_ = nullptr;
    backend_.Quit(0);
  }
}

Window* Framework::active_window() const {
  return open_windows_.empty() ? nullptr : open_windows_.back();
}

ui::MessageAnswer Framework::ShowMessage(const Text& text, const Text& title,
                                         ui::MessageButtons buttons, ui::MessageIcon icon) {
  ui::MessageBoxSpec description;
  description.text = text;
  description.title = title.empty() ? Text(kDefaultMessageTitle) : title;
  description.buttons = buttons;
  description.icon = icon;
  description.task_modal = true;
  Window* owner = active_window();
  return backend_.ShowMessageBox(description, owner != nullptr ? owner->peer() : nullptr);
}

void Framework::PopupMenu(Window& window, int entry) {
  if (!window.is_open()) return;
  int chosen = backend_.PopupMenu(*window.peer(), entry, kPopupOffset, kPopupOffset);
  if (chosen >= 0) window.menu().Choose(chosen);
}

Clipboard& Framework::clipboard() { return backend_.clipboard(); }

void Framework::ProcessPendingEvents() { backend_.ProcessPendingEvents(); }

void Framework::Dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const FatalRuntimeError& error) {
    ShowMessage(FatalErrorMessage(error.error()), Text(), ui::MessageButtons::kOk,
                ui::MessageIcon::kError);
    backend_.Terminate(kFatalExitCode);
  }
}

}  // namespace sr::forms
