#include "platform/win32/ui/win32_backend.h"
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/win32/ui/form_window.h"

namespace sr::win32 {
namespace {

FormWindow& Impl(ui::WindowPeer& window) { return static_cast<FormWindow&>(window); }

}  // namespace

Win32Backend::Win32Backend() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                     ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
}

Win32Backend::~Win32Backend() { DestroyDisposedWindows(); }

std::unique_ptr<ui::WindowPeer> Win32Backend::CreateWindow(const ui::WindowSpec& info,
                                                           ui::WindowEvents* events) {
  // A secondary window belongs to the window in front, so that it stays above it.
  HWND owner = GetActiveWindow();
  return std::make_unique<FormWindow>(info, events, owner);
}

bool Win32Backend::Pump(const MSG& message) {
  if (message.message == WM_QUIT) return false;
  MSG copy = message;
  HWND root = copy.hwnd != nullptr ? GetAncestor(copy.hwnd, GA_ROOT) : nullptr;
  HACCEL table = root != nullptr ? FormWindow::AcceleratorsOf(root) : nullptr;
  if ((table == nullptr || !TranslateAcceleratorW(root, table, &copy)) &&
      !FormWindow::DialogKey(copy)) {
    TranslateMessage(&copy);
    DispatchMessageW(&copy);
  }
  DestroyDisposedWindows();
  return true;
}

void Win32Backend::RunModalLoop(ui::WindowPeer& window) {
  ui::WindowPeer* peer = &window;
  auto ended = [&] {
    return std::find(modal_ended_.begin(), modal_ended_.end(), peer) != modal_ended_.end();
  };
  MSG message;
  while (!ended() && !quit_requested_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0 || !Pump(message)) {
      PostQuitMessage(exit_code_);  // for the loops outside this one
      quit_requested_ = true;
      break;
    }
  }
  std::erase(modal_ended_, peer);
  DestroyDisposedWindows();
}

void Win32Backend::EndModalLoop(ui::WindowPeer& window) { modal_ended_.push_back(&window); }

int Win32Backend::RunMainLoop() {
  MSG message;
  while (!quit_requested_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!Pump(message)) break;
  }
  quit_requested_ = false;  // a later loop (in tests) runs until its own Quit
  DestroyDisposedWindows();
  return exit_code_;
}

void Win32Backend::Quit(int exit_code) {
  quit_requested_ = true;
  exit_code_ = exit_code;
  PostQuitMessage(exit_code);
}

void Win32Backend::Terminate(int exit_code) {
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(exit_code));
}

void Win32Backend::ProcessPendingEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!Pump(message)) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that waits for it
      break;
    }
  }
}

HWND Win32Backend::OwnerOf(ui::WindowPeer* owner) const {
  if (owner != nullptr) return Impl(*owner).window();
  return GetActiveWindow();
}

}  // namespace sr::win32
