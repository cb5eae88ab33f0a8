#ifndef SALARY_PLATFORM_MODULES_LOADED_SEAMS_H_
#define SALARY_PLATFORM_MODULES_LOADED_SEAMS_H_

#include <memory>
#include <string>

#include "platform/automation/automation.h"
#include "platform/print/print_seam.h"
#include "platform/xlsx/workbook_reader.h"

// Stand-ins for the real seams of export, import and printing: each loads its shared module
// (module_entries.h) on its first call and forwards every call to the seam the module makes. A
// module is loaded at most once; when it cannot be loaded, the stand-in fails the way its seam
// reports failure, naming the reason.
namespace sr::modules {

class LoadedSheetAutomation final : public automation::AutomationSeam {
 public:
  // Without its module: kClassNotRegistered, with the loader's reason in the message.
  automation::Status CreateObject(const Text& prog_id, automation::DispatchRef* object) override;

 private:
  std::unique_ptr<automation::AutomationSeam> real_;
  std::string failure_;  // why the module could not be loaded
};

class LoadedWorkbookReader final : public xlsx::WorkbookReader {
 public:
  // Without its module: false, failure->detail naming the reason.
  bool ReadFirstSheet(std::string_view bytes, xlsx::SheetRows* rows,
                      xlsx::ReadFailure* failure) override;

 private:
  xlsx::WorkbookReader* real_ = nullptr;
  std::string failure_;
};

// REQUIRES: the Qt application object exists before the first call and outlives this seam.
// Without its module there is no printer: none by default, the print dialog comes back cancelled,
// contexts, documents and pages are refused; the reason goes to standard error once. Calls that
// end or tidy a printout do not load the module.
class LoadedPrintSeam final : public print::PrintSeam {
 public:
  LoadedPrintSeam();
  ~LoadedPrintSeam() override;

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
  bool JobCancelled() override;

 private:
  // The module's seam; null when the module cannot be loaded.
  print::PrintSeam* Real();

  std::unique_ptr<print::PrintSeam> real_;
  bool tried_ = false;
};

}  // namespace sr::modules

#endif  // SALARY_PLATFORM_MODULES_LOADED_SEAMS_H_
