#ifndef SALARY_PLATFORM_WIN32_UI_WIN32_BACKEND_H_
#define SALARY_PLATFORM_WIN32_UI_WIN32_BACKEND_H_

#include "platform/win32/ui/win32_ui.h"

#include <memory>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/clipboard.h"

namespace sr::win32 {

// The clipboard in both of its text formats: GBK as CF_TEXT for older programs and UTF-16 as
// CF_UNICODETEXT, so that neither depends on the machine's ANSI code page. Read back, the
// Unicode text wins.
class Win32Clipboard : public sr::Clipboard {
 public:
  bool GetText(Text* text) override;
  void SetText(const Text& text) override;
};

// The user-interface backend of the Windows program: Win32 windows and common controls, one
// thread, a message loop per modal window.
class Win32Backend : public ui::Backend {
 public:
  Win32Backend();
  ~Win32Backend() override;

  std::unique_ptr<ui::WindowPeer> CreateWindow(const ui::WindowSpec& info,
                                               ui::WindowEvents* events) override;
  void RunModalLoop(ui::WindowPeer& window) override;
  void EndModalLoop(ui::WindowPeer& window) override;
  int RunMainLoop() override;
  void Quit(int exit_code) override;
  [[noreturn]] void Terminate(int exit_code) override;
  ui::MessageAnswer ShowMessageBox(const ui::MessageBoxSpec& info, ui::WindowPeer* owner) override;
  ui::FileDialogResult RunFileDialog(const ui::FileDialogSpec& info,
                                     ui::WindowPeer* owner) override;
  int PopupMenu(ui::WindowPeer& window, int entry, int dx, int dy) override;
  sr::Clipboard& clipboard() override { return clipboard_; }
  void ProcessPendingEvents() override;

 private:
  // Handles one message; false once WM_QUIT came.
  bool Pump(const MSG& message);
  // The window a box or dialog belongs to: the given one, else the active one of ours.
  HWND OwnerOf(ui::WindowPeer* owner) const;

  Win32Clipboard clipboard_;
  std::vector<ui::WindowPeer*> modal_ended_;
  bool quit_requested_ = false;
  int exit_code_ = 0;
};

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_UI_WIN32_BACKEND_H_
