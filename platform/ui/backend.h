#ifndef SALARY_PLATFORM_UI_BACKEND_H_
#define SALARY_PLATFORM_UI_BACKEND_H_

#include <memory>

#include "platform/ui/peer.h"

namespace sr {
class Clipboard;  // platform/ui/clipboard.h
}

namespace sr::ui {

enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

// A message box. The framework fills in the default title; the backend shows exactly this.
struct MessageBoxSpec {
  Text text;  // lines separated by CR LF
  Text title;
  MessageButtons buttons = MessageButtons::kOk;
  MessageIcon icon = MessageIcon::kNone;
  bool task_modal = true;  // every top-level window of the program is blocked while it shows
};

enum class FileDialogKind { kOpen, kSave };

struct FileDialogSpec {
  FileDialogKind kind = FileDialogKind::kOpen;
  // Pairs of description and pattern, all separated by '|': "*.dat|*.dat".
  Text filter;
  Text initial_directory;  // empty: the toolkit's choice
};

struct FileDialogResult {
  bool confirmed = false;  // false: the user cancelled
  Text path;               // the chosen full path when confirmed
};

// The user-interface backend: Qt (platform/qt/ui) for the program, headless (platform/headless)
// for tests and salary-scenario. Everything runs on the one user-interface thread.
class Backend {
 public:
  virtual ~Backend() = default;

  // Creates a top-level window, hidden until WindowPeer::Show. `events` outlives the peer.
  virtual std::unique_ptr<WindowPeer> CreateWindow(const WindowSpec& description,
                                                   WindowEvents* events) = 0;

  // Runs a nested loop for a modal window that is already shown; returns once EndModalLoop has
  // been called for it (the framework calls it when the window closes). The framework has
  // disabled the other windows beforehand.
  virtual void RunModalLoop(WindowPeer& window) = 0;
  virtual void EndModalLoop(WindowPeer& window) = 0;

  // Runs the main loop until Quit; returns Quit's exit code.
  virtual int RunMainLoop() = 0;
  virtual void Quit(int exit_code) = 0;
  // Ends the program at once with `exit_code` (after a fatal runtime error has been shown).
  // Does not return: the real backend exits the process, the headless one unwinds to its driver.
  [[noreturn]] virtual void Terminate(int exit_code) = 0;

  // Shows a message box modally over `owner` (null: no owner) and returns the answer.
  virtual MessageAnswer ShowMessageBox(const MessageBoxSpec& description, WindowPeer* owner) = 0;
  // Runs an open or save dialog modally over `owner`.
  virtual FileDialogResult RunFileDialog(const FileDialogSpec& description, WindowPeer* owner) = 0;
  // Pops up the drop-down of menu-bar entry `entry` of `window`'s menu as a shortcut menu at the
  // mouse pointer moved by (dx, dy) pixels. Returns the index of the chosen entry (never a
  // disabled one or a separator), or -1 when the menu was dismissed.
  virtual int PopupMenu(WindowPeer& window, int entry, int dx, int dy) = 0;

  // The plain-text clipboard.
  virtual sr::Clipboard& clipboard() = 0;

  // Handles the window messages that are waiting (a long operation lets the user cancel).
  virtual void ProcessPendingEvents() = 0;
};

}  // namespace sr::ui

#endif  // SALARY_PLATFORM_UI_BACKEND_H_
