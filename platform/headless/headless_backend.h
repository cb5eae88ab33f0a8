#ifndef SALARY_PLATFORM_HEADLESS_HEADLESS_BACKEND_H_
#define SALARY_PLATFORM_HEADLESS_HEADLESS_BACKEND_H_

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/memory_clipboard.h"
#include "platform/ui/peer.h"

namespace sr::headless {

class HeadlessBackend;
class HeadlessWindow;

// A control as the headless "screen" shows it: the state its model last told it.
class HeadlessControl : public ui::ControlPeer {
 public:
  HeadlessControl(HeadlessWindow* window, const ui::ControlSpec& description, ui::ControlEvents* events,
                  HeadlessControl* container);
  ~HeadlessControl() override;

  // The creation description with every later change applied (rect, visibility, text, ...).
  const ui::ControlSpec& state() const { return state_; }
  ui::ControlKind kind() const { return state_.kind; }
  const ui::Text& name() const { return state_.name; }
  ui::ControlEvents* events() const { return events_; }
  HeadlessWindow* window() const { return window_; }
  HeadlessControl* container() const { return container_; }
  // Shown on screen: visible itself, inside a visible container.
  bool shown() const;

  void SetRect(const ui::Rect& rect) override { state_.rect = rect; }
  void SetVisible(bool visible) override { state_.visible = visible; }
  void SetEnabled(bool enabled) override { state_.enabled = enabled; }
  void SetText(const ui::Text& text) override { state_.text = text; }
  void SetFocus() override;
  void SetProgressPosition(int position) override { state_.progress_position = position; }
  void SetToolbarButtonState(int index, int state) override;

  // Tells the model that the control got or lost the keyboard focus.
  virtual void ReportFocus(ui::Input got_or_lost);

 private:
  HeadlessWindow* window_;
  ui::ControlSpec state_;
  ui::ControlEvents* events_;
  HeadlessControl* container_;
};

class HeadlessWindow : public ui::WindowPeer {
 public:
  HeadlessWindow(HeadlessBackend* backend, const ui::WindowSpec& description, ui::WindowEvents* events,
                 int serial);
  ~HeadlessWindow() override;

  std::unique_ptr<ui::ControlPeer> CreateControl(const ui::ControlSpec& description,
                                                 ui::ControlEvents* events,
                                                 ui::ControlPeer* container) override;
  void Show() override;
  void SetRect(const ui::Rect& rect) override { state_.rect = rect; }
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetCaption(const ui::Text& caption) override;
  void SetMenuEntryDisabled(int index, bool disabled) override;

  // The creation description with later changes applied (caption, rect, menu disabled flags).
  const ui::WindowSpec& state() const { return state_; }
  const ui::Text& caption() const { return state_.caption; }
  bool shown() const { return shown_; }
  bool enabled() const { return enabled_; }
  int serial() const { return serial_; }
  ui::WindowEvents* events() const { return events_; }
  const std::vector<HeadlessControl*>& controls() const { return controls_; }
  HeadlessControl* Find(const ui::Text& name) const;
  // The window's focus control: the one that has the keyboard focus while the window has the
  // keyboard (see HeadlessBackend::keyboard_window), and gets it back when the window does.
  HeadlessControl* focus() const { return focus_; }
  // The control that a window taking the keyboard for the first time focuses: its first control,
  // in form order, that can take the focus (a button, an edit box or a grid that is shown,
  // enabled and not barred from the focus), or null.
  HeadlessControl* FirstFocusable() const;

  // The user resizes the window by its frame, down to its minimum size at most: the new outer
  // size is reported to the model.
  void ResizeByUser(int width, int height);

 private:
  friend class HeadlessControl;
  friend class HeadlessBackend;

  HeadlessBackend* backend_;
  ui::WindowSpec state_;
  ui::WindowEvents* events_;
  int serial_;
  bool shown_ = false;
  bool enabled_ = true;
  std::vector<HeadlessControl*> controls_;
  HeadlessControl* focus_ = nullptr;
};

// Thrown out of Terminate, to unwind to the driver that started the program.
struct Terminated {
  int exit_code;
};

// The script did not say what to do: a question was asked with no answer queued, or a modal
// window stayed open after its script and its close box.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the headless screen showed, in order.
struct ScreenEvent {
  enum class Kind {
    kWindowCreated,  // text: caption, name: window name
    kWindowShown,    // text: caption, name: window name
    kWindowClosed,   // text: caption, name: window name
    kCaption,        // text: the new caption, name: window name
    kMessageBox,     // text, title, answer
    kFileDialog,     // file_dialog, result
    kPopupMenu,      // name: window name, entry, chosen
    kMenuOpened,     // name: window name, text: the menu-bar entry's caption, entry
    kQuit,           // exit_code
    kTerminated,     // exit_code
  };
  Kind kind = Kind::kWindowShown;
  ui::Text name;
  ui::Text text;
  ui::Text title;
  ui::MessageBoxSpec message;
  ui::MessageAnswer answer = ui::MessageAnswer::kOk;
  bool scripted = true;  // the answer or result came from the script
  ui::FileDialogSpec file_dialog;
  ui::FileDialogResult file_result;
  int entry = -1;
  int chosen = -1;
  int exit_code = 0;

  static ScreenEvent Of(Kind kind, ui::Text name = {}, ui::Text text = {}) {
    ScreenEvent event;
    event.kind = kind;
    event.name = std::move(name);
    event.text = std::move(text);
    return event;
  }
};

// The user-interface backend without a screen: answers, dialog results, shortcut-menu choices and
// what happens inside each modal window are queued in advance; everything shown is recorded.
class HeadlessBackend : public ui::Backend {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;

  // --- Script ---
  void QueueAnswer(ui::MessageAnswer answer) { answers_.push_back(answer); }
  // Every later message box titled `title` gets `answer`, before any queued answer: for a
  // question that a script cannot tell in advance whether it comes.
  void AnswerAlways(const Text& title, ui::MessageAnswer answer) { standing_[title] = answer; }
  void QueueFileDialog(ui::FileDialogResult result) { file_results_.push_back(result); }
  // -1 dismisses the shortcut menu.
  void QueuePopupChoice(int index) { popup_choices_.push_back(index); }
  // Runs inside the next modal loop; it should end by closing the window. Afterwards a window
  // still open is closed by its close box.
  void QueueModalScript(std::function<void()> script) { modal_scripts_.push_back(script); }
  // Runs as the main loop; without one, the main loop returns at once.
  void SetMainLoopDriver(std::function<void()> driver) { driver_ = std::move(driver); }
  size_t pending_answers() const { return answers_.size(); }
  size_t pending_file_dialogs() const { return file_results_.size(); }
  size_t pending_modal_scripts() const { return modal_scripts_.size(); }

  // --- User input ---
  // A key pressed in the active window: a menu shortcut of an enabled entry is chosen, Alt and a
  // menu-bar entry's mnemonic opens that drop-down; otherwise the key goes to the focused control,
  // which is returned (null when the menu took the key or nothing has the focus).
  HeadlessControl* PressKey(int key, int modifiers);

  // The user opens the drop-down of the menu bar that holds entry `index` of the active window and
  // picks the entry with the mouse (nothing for a disabled one). The drop-down takes the keyboard
  // while it is open, as every menu does.
  void ChooseFromMenuBar(int index);

  // --- What the screen showed ---
  const std::vector<ScreenEvent>& screen_log() const { return log_; }
  // Runs on every event as it is recorded, while that screen is up: a message box, a file
  // dialog or a shortcut menu has the keyboard then.
  void SetScreenObserver(std::function<void(const ScreenEvent&)> observer) {
    observer_ = std::move(observer);
  }
  // The window whose focus control has the keyboard focus, or null (also while a message box, a
  // file dialog or a menu has it). The focus follows the Qt backend's: a window that is shown
  // and enabled takes the keyboard (its focus control reports kGotFocus, the previous window's
  // kLostFocus); a disabled window keeps it until another one takes it; when the window that has
  // it closes, the newest shown and enabled window takes it, or the next one enabled.
  HeadlessWindow* keyboard_window() const { return keyboard_taken_ > 0 ? nullptr : keyboard_; }
  // Open windows in the order they were created.
  const std::vector<HeadlessWindow*>& windows() const { return windows_; }
  // The window that takes input: the last shown and enabled one.
  HeadlessWindow* active_window() const;
  HeadlessWindow* FindWindow(const ui::Text& name_or_caption) const;
  bool quit() const { return quit_; }
  bool terminated() const { return terminated_; }
  int exit_code() const { return exit_code_; }
  MemoryClipboard& memory_clipboard() { return clipboard_; }

  // --- ui::Backend ---
  std::unique_ptr<ui::WindowPeer> CreateWindow(const ui::WindowSpec& description,
                                               ui::WindowEvents* events) override;
  void RunModalLoop(ui::WindowPeer& window) override;
  void EndModalLoop(ui::WindowPeer& window) override;
  int RunMainLoop() override;
  void Quit(int exit_code) override;
  [[noreturn]] void Terminate(int exit_code) override;
  ui::MessageAnswer ShowMessageBox(const ui::MessageBoxSpec& description, ui::WindowPeer* owner) override;
  ui::FileDialogResult RunFileDialog(const ui::FileDialogSpec& description,
                                     ui::WindowPeer* owner) override;
  int PopupMenu(ui::WindowPeer& window, int entry, int dx, int dy) override;
  sr::Clipboard& clipboard() override { return clipboard_; }
  void ProcessPendingEvents() override {}

 private:
  friend class HeadlessWindow;

  bool IsOpen(int serial) const;
  void Record(ScreenEvent event);
  // Gives the keyboard to the window that should have it now (see keyboard_window()).
  void UpdateKeyboard();
  // A message box, file dialog or menu takes the keyboard from the window that has it, and gives
  // it back when it closes (nested ones count).
  void TakeKeyboard();
  void ReturnKeyboard();
  class KeyboardTaken;
  int RecordPopupChoice(HeadlessWindow& window, int entry);

  std::deque<ui::MessageAnswer> answers_;
  std::map<Text, ui::MessageAnswer> standing_;
  std::deque<ui::FileDialogResult> file_results_;
  std::deque<int> popup_choices_;
  std::deque<std::function<void()>> modal_scripts_;
  std::function<void()> driver_;
  std::function<void(const ScreenEvent&)> observer_;
  HeadlessWindow* keyboard_ = nullptr;
  int keyboard_taken_ = 0;

  std::vector<ScreenEvent> log_;
  std::vector<HeadlessWindow*> windows_;
  std::vector<int> ended_loops_;  // serials of windows whose modal loop was ended
  int next_serial_ = 1;
  bool quit_ = false;
  bool terminated_ = false;
  int exit_code_ = 0;
  MemoryClipboard clipboard_;
};

}  // namespace sr::headless

#endif  // SALARY_PLATFORM_HEADLESS_HEADLESS_BACKEND_H_
