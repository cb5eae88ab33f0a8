// Message boxes, file dialogs and shortcut menus of the Windows backend.
#include "platform/win32/ui/win32_ui.h"
// commdlg.h needs windows.h before it.
#include <commdlg.h>

#include <algorithm>
#include <string>

#include "platform/win32/text/wide_text.h"
#include "platform/win32/ui/form_window.h"
#include "platform/win32/ui/win32_backend.h"
#include "platform/win32/ui/win32_ui.h"

namespace sr::win32 {
namespace {

UINT ButtonsOf(ui::MessageButtons buttons) {
  switch (buttons) {
    case ui::MessageButtons::kOkCancel: return MB_OKCANCEL;
    case ui::MessageButtons::kYesNo: return MB_YESNO;
    case ui::MessageButtons::kYesNoCancel: return MB_YESNOCANCEL;
    default: return MB_OK;
  }
}

UINT IconOf(ui::MessageIcon icon) {
  switch (icon) {
    case ui::MessageIcon::kInformation: return MB_ICONINFORMATION;
    case ui::MessageIcon::kWarning: return MB_ICONWARNING;
    case ui::MessageIcon::kError: return MB_ICONERROR;
    case ui::MessageIcon::kQuestion: return MB_ICONQUESTION;
    default: return 0;
  }
}

// "name|pattern|name|pattern" as the dialogs want it: NUL between the parts, two at the end. A
// lone pattern names itself; an open dialog also offers all files.
std::wstring FilterOf(const ui::Text& filter, ui::FileDialogKind kind) {
  std::wstring wide = ShownText(filter);
  if (std::count(wide.begin(), wide.end(), L'|') % 2 == 0) {
    wide += L"|" + wide.substr(wide.rfind(L'|') + 1);
  }
  if (kind == ui::FileDialogKind::kOpen && wide.find(L"|*.*") == std::wstring::npos) {
    wide += L"|所有文件 (*.*)|*.*";
  }
  for (wchar_t& c : wide) {
    if (c == L'|') c = L'\0';
  }
  return wide + std::wstring(2, L'\0');
}

// "dat" for a filter whose first pattern is "*.dat": added to a name typed without an extension,
// so that a register saved as "一月工资" is "一月工资.dat" and 打开 finds it. Empty when that
// pattern has other wildcards.
std::wstring DefaultExtension(const ui::Text& filter) {
  std::wstring pattern = ShownText(filter);
  if (const size_t bar = pattern.find(L'|'); bar != std::wstring::npos) pattern.erase(0, bar + 1);
  pattern = pattern.substr(0, pattern.find_first_of(L";|"));
  if (pattern.rfind(L"*.", 0) != 0) return {};
  pattern.erase(0, 2);
  return pattern.find_first_of(L"*? ") == std::wstring::npos ? pattern : std::wstring();
}

}  // namespace

ui::MessageAnswer Win32Backend::ShowMessageBox(const ui::MessageBoxSpec& info,
                                               ui::WindowPeer* owner) {
  const UINT style = ButtonsOf(info.buttons) | IconOf(info.icon) |
                     (info.task_modal ? MB_TASKMODAL : MB_APPLMODAL);
  // A task-modal box has no owner: it blocks every window of the program instead.
  HWND active = GetActiveWindow();
  const int answer = MessageBoxW(info.task_modal ? nullptr : OwnerOf(owner),
                                 ShownText(info.text).c_str(), ShownText(info.title).c_str(), style);
  ActivateAgain(active);
  switch (answer) {
    case IDCANCEL: return ui::MessageAnswer::kCancel;
    case IDYES: return ui::MessageAnswer::kYes;
    case IDNO: return ui::MessageAnswer::kNo;
    default: return ui::MessageAnswer::kOk;
  }
}

ui::FileDialogResult Win32Backend::RunFileDialog(const ui::FileDialogSpec& info,
                                                 ui::WindowPeer* owner) {
  std::wstring path(32768, L'\0');
  const std::wstring filter = FilterOf(info.filter, info.kind);
  const std::wstring extension = DefaultExtension(info.filter);
  const std::wstring directory = ShownText(info.initial_directory);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = OwnerOf(owner);
  dialog.lpstrFilter = info.filter.empty() ? nullptr : filter.c_str();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  // Wine's open dialog refuses a name that does not exist before it adds the default extension:
  // whether the file exists is checked here, after the dialog.
  const bool open = info.kind == ui::FileDialogKind::kOpen;
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (open ? OFN_PATHMUSTEXIST : OFN_OVERWRITEPROMPT);
  HWND active = GetActiveWindow();
  const bool confirmed = open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
  ActivateAgain(active);
  ui::FileDialogResult result;
  if (!confirmed) return result;
  path.resize(wcslen(path.c_str()));
  if (open && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    MessageBoxW(dialog.hwndOwner, (L"找不到文件 " + path + L"。").c_str(), L"打开",
                MB_OK | MB_ICONWARNING | MB_TASKMODAL);
    return result;
  }
  // A name GBK cannot hold could be neither opened nor saved by the program: refused here.
  std::optional<std::string> gbk = WideToGbk(path);
  if (!gbk) {
    MessageBoxW(dialog.hwndOwner, L"文件名中有无法处理的字符，请换一个名称。", L"信息：",
                MB_OK | MB_ICONWARNING | MB_TASKMODAL);
    return result;
  }
  result.confirmed = true;
  result.path = *gbk;
  return result;
}

int Win32Backend::PopupMenu(ui::WindowPeer& window, int entry, int dx, int dy) {
  FormWindow& form = static_cast<FormWindow&>(window);
  HMENU drop_down = form.DropDown(entry);
  if (drop_down == nullptr) return -1;
  POINT at;
  GetCursorPos(&at);
  const int command = TrackPopupMenu(drop_down, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN |
                                                    TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                     at.x + dx, at.y + dy, 0, form.window(), nullptr);
  return command == 0 ? -1 : command - kFirstMenuCommand;
}

bool Win32Clipboard::GetText(Text* text) {
  if (!OpenClipboard(nullptr)) return false;
  bool got = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      std::optional<std::string> gbk = WideToGbk(wide);
      GlobalUnlock(data);
      if (gbk) {
        *text = *gbk;
        got = true;
      }
    }
  }
  CloseClipboard();
  return got;
}

namespace {

template <typename Char>
void PutOnClipboard(UINT format, const std::basic_string<Char>& text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(Char));
  if (memory == nullptr) return;
  auto* copy = static_cast<Char*>(GlobalLock(memory));
  std::copy(text.c_str(), text.c_str() + text.size() + 1, copy);
  GlobalUnlock(memory);
  if (SetClipboardData(format, memory) == nullptr) GlobalFree(memory);
}

}  // namespace

void Win32Clipboard::SetText(const Text& text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  PutOnClipboard<char>(CF_TEXT, text);
  PutOnClipboard<wchar_t>(CF_UNICODETEXT, ShownText(text));
  CloseClipboard();
}

}  // namespace sr::win32
