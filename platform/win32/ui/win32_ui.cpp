#include "platform/win32/ui/win32_ui.h"

#include <vector>

#include "platform/win32/text/wide_text.h"

namespace sr::win32 {
namespace {

std::vector<HWND>& Disposed() {
  static std::vector<HWND> windows;
  return windows;
}

LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* target = reinterpret_cast<MessageTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  LRESULT result = 0;
  if (target != nullptr && target->HandleMessage(window, message, w, l, &result)) return result;
  return DefWindowProcW(window, message, w, l);
}

}  // namespace

std::wstring ShownText(const ui::Text& gbk) {
  if (std::optional<std::wstring> wide = GbkToWide(gbk)) return *wide;
  std::wstring shown;
  for (size_t i = 0; i < gbk.size();) {
    const size_t length = static_cast<unsigned char>(gbk[i]) >= 0x81 && i + 1 < gbk.size() ? 2 : 1;
    shown += GbkToWide(gbk.substr(i, length)).value_or(L"\uFFFD");
    i += length;
  }
  return shown;
}

std::optional<std::string> GbkOfWindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return WideToGbk(text);
}

HFONT FormFont() {
  static HFONT font = [] {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"宋体");
  }();
  return font;
}

int HeldModifiers() {
  int bits = ui::kNoModifier;
  if (GetKeyState(VK_CONTROL) < 0) bits |= ui::kCtrl;
  if (GetKeyState(VK_SHIFT) < 0) bits |= ui::kShift;
  if (GetKeyState(VK_MENU) < 0) bits |= ui::kAlt;
  return bits;
}

const wchar_t* OwnWindowClass(const wchar_t* name, UINT style, HBRUSH background) {
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), name, &known)) {
    WNDCLASSEXW kind{};
    kind.cbSize = sizeof kind;
    kind.style = style;
    kind.lpfnWndProc = OwnWindowProc;
    kind.hInstance = GetModuleHandleW(nullptr);
    kind.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    kind.hbrBackground = background;
    kind.lpszClassName = name;
    kind.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    RegisterClassExW(&kind);
  }
  return name;
}

void DisposeWindow(HWND window) {
  if (window == nullptr) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  ShowWindow(window, SW_HIDE);
  Disposed().push_back(window);
}

void ActivateAgain(HWND window) {
  if (window == nullptr || !IsWindow(window) || !IsWindowVisible(window) ||
      !IsWindowEnabled(window) || GetActiveWindow() == window) {
    return;
  }
  SetForegroundWindow(window);
  SetActiveWindow(window);
}

void DestroyDisposedWindows() {
  std::vector<HWND> windows;
  windows.swap(Disposed());
  for (HWND window : windows) {
    if (IsWindow(window)) DestroyWindow(window);
  }
}

}  // namespace sr::win32
