#include "platform/win32/print/gdi_print_seam.h"

// commdlg.h needs windows.h before it.
#include <commdlg.h>

#include <cstring>

#include "platform/win32/print/print_status_window.h"
#include "platform/win32/text/wide_text.h"
#include "platform/win32/ui/win32_ui.h"

namespace sr::win32 {
namespace {

// DEVNAMES holds three offsets (in characters) to the driver, the device and the port.
enum Which { kDriver = 0, kDevice = 1, kPort = 2 };

std::string Gbk(const std::wstring& wide) { return WideToGbk(wide).value_or(""); }

}  // namespace

GdiPrintSeam::GdiPrintSeam() = default;

GdiPrintSeam::~GdiPrintSeam() {
  CloseStatusWindow();
  DeleteContext();
  FreeSettings();
}

void GdiPrintSeam::FreeSettings() {
  if (dev_mode_ != nullptr) GlobalFree(dev_mode_);
  if (dev_names_ != nullptr) GlobalFree(dev_names_);
  dev_mode_ = dev_names_ = nullptr;
}

std::wstring GdiPrintSeam::DeviceName(int which) const {
  if (dev_names_ == nullptr) return L"";
  const auto* names = static_cast<const DEVNAMES*>(GlobalLock(dev_names_));
  const WORD offsets[] = {names->wDriverOffset, names->wDeviceOffset, names->wOutputOffset};
  std::wstring name = reinterpret_cast<const wchar_t*>(names) + offsets[which];
  GlobalUnlock(dev_names_);
  return name;
}

void GdiPrintSeam::PrepareSettings(const print::PaperRequest& paper,
                                   print::Orientation orientation) {
  DeleteContext();
  FreeSettings();
  PRINTDLGW defaults{};
  defaults.lStructSize = sizeof defaults;
  defaults.Flags = PD_RETURNDEFAULT;
  if (!PrintDlgW(&defaults)) return;  // no printer at all
  dev_mode_ = defaults.hDevMode;
  dev_names_ = defaults.hDevNames;
  auto* mode = static_cast<DEVMODEW*>(GlobalLock(dev_mode_));
  if (mode == nullptr) return;
  mode->dmOrientation = orientation == print::Orientation::kLandscape ? DMORIENT_LANDSCAPE
                                                                      : DMORIENT_PORTRAIT;
  mode->dmFields |= DM_ORIENTATION;
  if (!paper.keep_default && paper.paper_number > 0) {
    mode->dmPaperSize = static_cast<short>(paper.paper_number);
    mode->dmFields |= DM_PAPERSIZE;
  } else if (!paper.keep_default && paper.custom_width > 0 && paper.custom_height > 0) {
    mode->dmPaperSize = 0;
    mode->dmPaperWidth = static_cast<short>(paper.custom_width);  // both in 0.1 mm
    mode->dmPaperLength = static_cast<short>(paper.custom_height);
    mode->dmFields |= DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
  }
  GlobalUnlock(dev_mode_);
}

bool GdiPrintSeam::HasDefaultPrinter() { return dev_names_ != nullptr; }

print::DialogOutcome GdiPrintSeam::ShowPrintDialog() {
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.hDevMode = dev_mode_;
  dialog.hDevNames = dev_names_;
  dialog.Flags = PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
  const BOOL confirmed = PrintDlgW(&dialog);
  // The dialog may hand back new settings (another printer chosen).
  dev_mode_ = dialog.hDevMode;
  dev_names_ = dialog.hDevNames;
  if (!confirmed) return print::DialogOutcome::kCancelled;
  return (dialog.Flags & PD_PRINTTOFILE) ? print::DialogOutcome::kToFile
                                         : print::DialogOutcome::kToPrinter;
}

bool GdiPrintSeam::AskOutputFile(const print::OutputFileQuestion& question, Text* path) {
  std::wstring file(32768, L'\0');
  const std::wstring name = ShownText(question.default_name);
  name.copy(file.data(), std::min(name.size(), file.size() - 1));
  std::wstring filter = ShownText(question.filter);
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  const std::wstring title = ShownText(question.title);
  const std::wstring extension = ShownText(question.default_extension);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.c_str();
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return false;
  file.resize(wcslen(file.c_str()));
  std::optional<std::string> gbk = WideToGbk(file);
  if (!gbk) return false;
  *path = *gbk;
  return true;
}

bool GdiPrintSeam::CreateContext(const Text& output_file) {
  DeleteContext();
  if (dev_names_ == nullptr) return false;
  output_file_ = ShownText(output_file);
  cancelled_ = false;
  const auto* mode = dev_mode_ != nullptr ? static_cast<DEVMODEW*>(GlobalLock(dev_mode_)) : nullptr;
  dc_ = CreateDCW(DeviceName(kDriver).c_str(), DeviceName(kDevice).c_str(), nullptr, mode);
  if (dev_mode_ != nullptr) GlobalUnlock(dev_mode_);
  return dc_ != nullptr;
}

void GdiPrintSeam::DeleteContext() {
  if (dc_ == nullptr) return;
  if (old_font_ != nullptr) SelectObject(dc_, old_font_);
  if (font_ != nullptr) DeleteObject(font_);
  font_ = nullptr;
  old_font_ = nullptr;
  DeleteDC(dc_);
  dc_ = nullptr;
}

print::PageGeometry GdiPrintSeam::Geometry() {
  print::PageGeometry g;
  if (dc_ == nullptr) return g;
  g.dpi_x = GetDeviceCaps(dc_, LOGPIXELSX);
  g.dpi_y = GetDeviceCaps(dc_, LOGPIXELSY);
  g.physical_width = GetDeviceCaps(dc_, PHYSICALWIDTH);
  g.physical_height = GetDeviceCaps(dc_, PHYSICALHEIGHT);
  g.offset_x = GetDeviceCaps(dc_, PHYSICALOFFSETX);
  g.offset_y = GetDeviceCaps(dc_, PHYSICALOFFSETY);
  g.printable_width = GetDeviceCaps(dc_, HORZRES);
  g.printable_height = GetDeviceCaps(dc_, VERTRES);
  return g;
}

print::DeviceDescription GdiPrintSeam::Device() {
  print::DeviceDescription device;
  device.printer = Gbk(DeviceName(kDevice));
  device.port = Gbk(DeviceName(kPort));
  device.output_file = Gbk(output_file_);
  return device;
}

bool GdiPrintSeam::StartDocument(const Text& job_name) {
  if (dc_ == nullptr) return false;
  const std::wstring name = ShownText(job_name);
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = name.c_str();
  document.lpszOutput = output_file_.empty() ? nullptr : output_file_.c_str();
  return StartDocW(dc_, &document) > 0;
}

void GdiPrintSeam::EndDocument() {
  if (dc_ != nullptr) EndDoc(dc_);
}

void GdiPrintSeam::AbortDocument() {
  if (dc_ != nullptr) AbortDoc(dc_);
}

bool GdiPrintSeam::StartPage() { return dc_ != nullptr && ::StartPage(dc_) > 0; }

void GdiPrintSeam::EndPage() {
  if (dc_ != nullptr) ::EndPage(dc_);
}

void GdiPrintSeam::SelectFont(const print::FontSpec& font) {
  if (dc_ == nullptr) return;
  LOGFONTW look{};
  if (font_ != nullptr) {
    GetObjectW(font_, sizeof look, &look);
  } else {
    GetObjectW(GetCurrentObject(dc_, OBJ_FONT), sizeof look, &look);
  }
  if (font.points > 0) {
    look.lfHeight = -MulDiv(static_cast<int>(font.points * 100), GetDeviceCaps(dc_, LOGPIXELSY), 7200);
    look.lfWidth = 0;
  }
  if (!font.face.empty()) {
    const std::wstring face = ShownText(font.face);
    std::memset(look.lfFaceName, 0, sizeof look.lfFaceName);
    face.copy(look.lfFaceName, LF_FACESIZE - 1);
    look.lfCharSet = GB2312_CHARSET;
  }
  HFONT made = CreateFontIndirectW(&look);
  if (made == nullptr) return;
  HGDIOBJ previous = SelectObject(dc_, made);
  if (old_font_ == nullptr) old_font_ = previous;
  if (font_ != nullptr) DeleteObject(font_);
  font_ = made;
}

void GdiPrintSeam::SelectColors(uint32_t text, uint32_t background) {
  if (dc_ == nullptr) return;
  SetTextColor(dc_, text);  // both are COLORREF values already
  if (background == print::kTransparent) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, background);
  }
}

print::TextExtent GdiPrintSeam::MeasureText(const Text& text) {
  if (dc_ == nullptr) return {};
  const std::wstring wide = ShownText(text);
  SIZE size{};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

void GdiPrintSeam::DrawText(int x, int y, const Text& text) {
  if (dc_ == nullptr) return;
  const std::wstring wide = ShownText(text);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void GdiPrintSeam::DrawLine(int x1, int y1, int x2, int y2, print::LineStyle style) {
  if (dc_ == nullptr) return;
  // A geometric pen: a cosmetic one is one device pixel, far thinner than 0.2 mm at 600 dpi.
  LOGBRUSH brush{BS_SOLID, GetTextColor(dc_), 0};
  const DWORD kind = style == print::LineStyle::kDashed ? PS_DASH : PS_SOLID;
  const DWORD width = std::max(1, MulDiv(GetDeviceCaps(dc_, LOGPIXELSX), 2, 254));  // 0.2 mm
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | kind | PS_ENDCAP_FLAT, width, &brush, 0, nullptr);
  if (pen == nullptr) return;
  HGDIOBJ old = SelectObject(dc_, pen);
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
  SelectObject(dc_, old);
  DeleteObject(pen);
}

void GdiPrintSeam::OpenStatusWindow(const print::StatusTexts& texts) {
  CloseStatusWindow();
  status_ = std::make_unique<PrintStatusWindow>(texts, [this] { cancelled_ = true; });
  ProcessPendingMessages();
}

void GdiPrintSeam::CloseStatusWindow() { status_.reset(); }

void GdiPrintSeam::ShowStatusPage(const Text& page_line) {
  if (status_) status_->SetPageLine(page_line);
}

void GdiPrintSeam::ProcessPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that waits for it
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DestroyDisposedWindows();
}

}  // namespace sr::win32
