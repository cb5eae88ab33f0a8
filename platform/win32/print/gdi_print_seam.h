#ifndef SALARY_PLATFORM_WIN32_PRINT_GDI_PRINT_SEAM_H_
#define SALARY_PLATFORM_WIN32_PRINT_GDI_PRINT_SEAM_H_

#include <windows.h>
// The seam names a method DrawText, which windows.h makes a macro.
#undef DrawText

#include <memory>
#include <string>

#include "platform/print/print_seam.h"

namespace sr::win32 {

class PrintStatusWindow;  // print_status_window.h

// The print seam over GDI: the default printer's settings and the print dialog (PrintDlgW), a
// printer device context, text in device pixels with the requested face ("宋体"), documents and
// pages, and a status window with Cancel.
class GdiPrintSeam : public print::PrintSeam {
 public:
  GdiPrintSeam();
  ~GdiPrintSeam() override;
  GdiPrintSeam(const GdiPrintSeam&) = delete;
  GdiPrintSeam& operator=(const GdiPrintSeam&) = delete;

  void PrepareSettings(const print::PaperRequest& paper, print::Orientation orientation) override;
  bool HasDefaultPrinter() override;
  print::DialogOutcome ShowPrintDialog() override;
  bool AskOutputFile(const print::OutputFileQuestion& question, Text* path) override;

  bool CreateContext(const Text& output_file) override;
  void DeleteContext() override;
  print::PageGeometry Geometry() override;
  print::DeviceDescription Device() override;

  bool StartDocument(const Text& job_name) override;
  void EndDocument() override;
  void AbortDocument() override;
  bool StartPage() override;
  void EndPage() override;

  void SelectFont(const print::FontSpec& font) override;
  void SelectColors(uint32_t text, uint32_t background) override;
  print::TextExtent MeasureText(const Text& text) override;
  void DrawText(int x, int y, const Text& text) override;
  void DrawLine(int x1, int y1, int x2, int y2, print::LineStyle style) override;

  void OpenStatusWindow(const print::StatusTexts& texts) override;
  void CloseStatusWindow() override;
  void ShowStatusPage(const Text& page_line) override;
  void ProcessPendingMessages() override;
  bool JobCancelled() override { return cancelled_; }

  // For the status window's Cancel button.
  void Cancel() { cancelled_ = true; }

 private:
  void FreeSettings();
  // The printer's name, driver and port as the settings hold them.
  std::wstring DeviceName(int which) const;

  HGLOBAL dev_mode_ = nullptr;
  HGLOBAL dev_names_ = nullptr;
  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ old_font_ = nullptr;
  std::wstring output_file_;
  std::unique_ptr<PrintStatusWindow> status_;
  bool cancelled_ = false;
};

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_PRINT_GDI_PRINT_SEAM_H_
