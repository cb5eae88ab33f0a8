#ifndef SALARY_PLATFORM_WIN32_PRINT_PRINT_STATUS_WINDOW_H_
#define SALARY_PLATFORM_WIN32_PRINT_PRINT_STATUS_WINDOW_H_

#include <functional>

#include "platform/print/print_seam.h"
#include "platform/win32/ui/win32_ui.h"

namespace sr::win32 {

// The small window that shows which job goes where and which page, with a Cancel button; it
// stays above the window that was active and keeps the rest of the program from input while a
// job prints. Cancel (or its close box) calls `on_cancel`.
class PrintStatusWindow : public MessageTarget {
 public:
  PrintStatusWindow(const print::StatusTexts& texts, std::function<void()> on_cancel);
  ~PrintStatusWindow() override;

  HWND window() const { return window_; }
  // The page line, GBK.
  void SetPageLine(const Text& page_line);
  bool HandleMessage(HWND window, UINT message, WPARAM w, LPARAM l, LRESULT* result) override;

 private:
  HWND window_ = nullptr;
  HWND owner_ = nullptr;
  HWND page_ = nullptr;
  std::function<void()> on_cancel_;
};

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_PRINT_PRINT_STATUS_WINDOW_H_
