#include "platform/modules/loaded_seams.h"

#include <cstdio>

#include "base/gbk.h"
#include "platform/modules/module_entries.h"
#include "platform/posix/shared_module.h"

namespace sr::modules {
namespace {

// The entry function `name` of the module `file`, of the type module_entries.h declares for it
// (`Entry`); null with *failure set when it cannot be loaded.
template <typename Entry>
Entry* LoadEntry(const char* file, const char* name, std::string* failure) {
  void* function = posix::LoadModuleFunction(file, name, SR_MODULE_DIR, failure);
  return reinterpret_cast<Entry*>(function);
}

}  // namespace

// ---------------------------------------------------------------- export

automation::Status LoadedSheetAutomation::CreateObject(const Text& prog_id,
                                                       automation::DispatchRef* object) {
  if (!real_ && failure_.empty()) {
    auto* entry = LoadEntry<decltype(SrNewSheetAutomation)>("libsr_sheet_module.so",
                                                            "SrNewSheetAutomation", &failure_);
    if (entry != nullptr) real_.reset(entry());
  }
  if (!real_) {
    // Windows' own words for a class whose server is missing.
    return automation::Status::Error(automation::kClassNotRegistered,
                                     "没有注册类 (" + FromUtf8(failure_) + ")");
  }
  return real_->CreateObject(prog_id, object);
}

// ---------------------------------------------------------------- import

bool LoadedWorkbookReader::ReadFirstSheet(std::string_view bytes, xlsx::SheetRows* rows,
                                          xlsx::ReadFailure* failure) {
  if (real_ == nullptr && failure_.empty()) {
    auto* entry = LoadEntry<decltype(SrWorkbookReader)>("libsr_xlsx_module.so", "SrWorkbookReader",
                                                        &failure_);
    if (entry != nullptr) real_ = entry();
  }
  if (real_ == nullptr) {
    rows->clear();
    *failure = {};
    failure->detail = "the workbook reader cannot be loaded: " + failure_;
    return false;
  }
  return real_->ReadFirstSheet(bytes, rows, failure);
}

// ---------------------------------------------------------------- printing
// What starts a printout loads the module; what ends or tidies one only reaches a seam that
// exists, so that a program that never printed does not load it to clean up.

LoadedPrintSeam::LoadedPrintSeam() = default;
LoadedPrintSeam::~LoadedPrintSeam() = default;

print::PrintSeam* LoadedPrintSeam::Real() {
  if (tried_) return real_.get();
  tried_ = true;
  std::string failure;
  auto* entry =
      LoadEntry<decltype(SrNewQtPrintSeam)>("libsr_print_module.so", "SrNewQtPrintSeam", &failure);
  if (entry != nullptr) {
    real_.reset(entry());
  } else {
    std::fprintf(stderr, "printing is not available: %s\n", failure.c_str());
  }
  return real_.get();
}

void LoadedPrintSeam::PrepareSettings(const print::PaperRequest& paper,
                                      print::Orientation orientation) {
  if (print::PrintSeam* real = Real()) real->PrepareSettings(paper, orientation);
}

bool LoadedPrintSeam::HasDefaultPrinter() { return Real() && real_->HasDefaultPrinter(); }

print::DialogOutcome LoadedPrintSeam::ShowPrintDialog() {
  return Real() ? real_->ShowPrintDialog() : print::DialogOutcome::kCancelled;
}

bool LoadedPrintSeam::AskOutputFile(const print::OutputFileQuestion& question, Text* path) {
  return Real() && real_->AskOutputFile(question, path);
}

bool LoadedPrintSeam::CreateContext(const Text& output_file) {
  return Real() && real_->CreateContext(output_file);
}

void LoadedPrintSeam::DeleteContext() {
  if (real_) real_->DeleteContext();
}

print::PageGeometry LoadedPrintSeam::Geometry() {
  return Real() ? real_->Geometry() : print::PageGeometry();
}

print::DeviceDescription LoadedPrintSeam::Device() {
  return Real() ? real_->Device() : print::DeviceDescription();
}

bool LoadedPrintSeam::StartDocument(const Text& job_name) {
  return Real() && real_->StartDocument(job_name);
}

void LoadedPrintSeam::EndDocument() {
  if (real_) real_->EndDocument();
}

void LoadedPrintSeam::AbortDocument() {
  if (real_) real_->AbortDocument();
}

bool LoadedPrintSeam::StartPage() { return Real() && real_->StartPage(); }

void LoadedPrintSeam::EndPage() {
  if (real_) real_->EndPage();
}

void LoadedPrintSeam::SelectFont(const print::FontSpec& font) {
  if (Real()) real_->SelectFont(font);
}

void LoadedPrintSeam::SelectColors(uint32_t text, uint32_t background) {
  if (Real()) real_->SelectColors(text, background);
}

print::TextExtent LoadedPrintSeam::MeasureText(const Text& text) {
  return Real() ? real_->MeasureText(text) : print::TextExtent();
}

void LoadedPrintSeam::DrawText(int x, int y, const Text& text) {
  if (Real()) real_->DrawText(x, y, text);
}

void LoadedPrintSeam::DrawLine(int x1, int y1, int x2, int y2, print::LineStyle style) {
  if (Real()) real_->DrawLine(x1, y1, x2, y2, style);
}

void LoadedPrintSeam::OpenStatusWindow(const print::StatusTexts& texts) {
  if (Real()) real_->OpenStatusWindow(texts);
}

void LoadedPrintSeam::CloseStatusWindow() {
  if (real_) real_->CloseStatusWindow();
}

void LoadedPrintSeam::ShowStatusPage(const Text& page_line) {
  if (real_) real_->ShowStatusPage(page_line);
}

void LoadedPrintSeam::ProcessPendingMessages() {
  if (real_) real_->ProcessPendingMessages();
}

bool LoadedPrintSeam::JobCancelled() { return real_ && real_->JobCancelled(); }

}  // namespace sr::modules
