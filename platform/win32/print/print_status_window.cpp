#include "platform/win32/print/print_status_window.h"

namespace sr::win32 {
namespace {

constexpr int kCancelId = 1;

HWND Child(HWND parent, const wchar_t* kind, const Text& text, int top, int id = 0) {
  const bool button = id != 0;
  HWND child = CreateWindowExW(0, kind, ShownText(text).c_str(),
                               WS_CHILD | WS_VISIBLE | (button ? BS_PUSHBUTTON : SS_CENTER),
                               button ? 110 : 10, top, button ? 80 : 280, button ? 24 : 16, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
  return child;
}

}  // namespace

PrintStatusWindow::PrintStatusWindow(const print::StatusTexts& texts,
                                     std::function<void()> on_cancel)
    : owner_(GetActiveWindow()), on_cancel_(std::move(on_cancel)) {
  window_ = CreateWindowExW(
      WS_EX_DLGMODALFRAME,
      OwnWindowClass(L"SalaryRegisterPrintStatus", 0, GetSysColorBrush(COLOR_BTNFACE)),
      ShownText(texts.title).c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 200, 306, 160,
      owner_, nullptr, GetModuleHandleW(nullptr), static_cast<MessageTarget*>(this));
  Child(window_, L"STATIC", texts.job_line, 10);
  Child(window_, L"STATIC", texts.device_line, 30);
  page_ = Child(window_, L"STATIC", texts.page_line, 50);
  Child(window_, L"BUTTON", texts.cancel_caption, 80, kCancelId);
  if (owner_ != nullptr) EnableWindow(owner_, FALSE);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void PrintStatusWindow::SetPageLine(const Text& page_line) {
  SetWindowTextW(page_, ShownText(page_line).c_str());
}

PrintStatusWindow::~PrintStatusWindow() {
  if (owner_ != nullptr) EnableWindow(owner_, TRUE);
  DisposeWindow(window_);
}

bool PrintStatusWindow::HandleMessage(HWND, UINT message, WPARAM w, LPARAM, LRESULT* result) {
  *result = 0;
  if ((message == WM_COMMAND && LOWORD(w) == kCancelId) || message == WM_CLOSE) {
    on_cancel_();
    return true;
  }
  return false;
}

}  // namespace sr::win32
