#ifndef SALARY_FORMS_FRAMEWORK_H_
#define SALARY_FORMS_FRAMEWORK_H_

#include <functional>
#include <vector>

#include "base/value.h"
#include "platform/ui/backend.h"

namespace sr {
class Clipboard;
}

namespace sr::forms {

class Control;
class Window;

// The window framework: loads windows (the main window, then secondary windows modally), closes
// them, runs every event handler and shows message boxes, file dialogs and shortcut menus through
// the user-interface backend.
class Framework {
 public:
  explicit Framework(ui::Backend& backend);
  Framework(const Framework&) = delete;
  Framework& operator=(const Framework&) = delete;

  ui::Backend& backend() { return backend_; }

  // Creates the main window's peers, raises its created event and shows it. When the main window
  // closes, the main loop ends with exit code 0.
  void LoadMain(Window& window);
  // Runs the main loop; returns the program's exit code.
  int RunMainLoop();

  // Loads a secondary window modally: creates its peers, raises created, disables every other
  // open window (remembering whether each was enabled), shows it and runs a nested loop until it
  // closes, then restores the other windows' enabled states. Returns after the window closed.
  void ShowModal(Window& window);

  // Closes a window: raises its close query once (a close requested again from inside that
  // handler is ignored), then destroys its peers, unless the close query's handler refused: the
  // window then stays open as it was. Closing the main window ends the main loop.
  void Close(Window& window);

  // The open windows, in the order they were loaded; the last one is the active window.
  const std::vector<Window*>& open_windows() const { return open_windows_; }
  Window* active_window() const;

  // A task-modal message box over the active window; an empty title becomes "信息：".
  ui::MessageAnswer ShowMessage(const Text& text, const Text& title = Text(),
                                ui::MessageButtons buttons = ui::MessageButtons::kOk,
                                ui::MessageIcon icon = ui::MessageIcon::kNone);

  // Pops up the drop-down of menu-bar entry `entry` of `window` at the mouse pointer, 3 pixels to
  // the right and below it, and runs the chosen entry's command.
  void PopupMenu(Window& window, int entry);

  Clipboard& clipboard();
  void ProcessPendingEvents();

  // Runs an event handler. A fatal runtime error raised inside it is shown once in a message box
  // and ends the program with exit code -1.
  void Dispatch(const std::function<void()>& handler);

  static constexpr int kFatalExitCode = -1;

 private:
  void Open(Window& window);
  void Forget(Window& window);

  ui::Backend& backend_;
  Window* main_window_ = nullptr;
  std::vector<Window*> open_windows_;
  std::vector<Window*> modal_windows_;  // modal windows whose loop runs, innermost last
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_FRAMEWORK_H_
