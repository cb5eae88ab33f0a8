#ifndef SALARY_PLATFORM_PRINT_RECORDING_PRINT_SEAM_H_
#define SALARY_PLATFORM_PRINT_RECORDING_PRINT_SEAM_H_

#include <string>
#include <vector>

#include "platform/print/print_seam.h"

namespace sr::print {

// A text as it reached the page: device pixels from the printable origin, with the font and
// page it was drawn with.
struct DrawnText {
  int x = 0;
  int y = 0;
  Text text;
  FontSpec font;
  int page = 0;
};

// A line as it reached the page, in device pixels.
struct DrawnLine {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  LineStyle style = LineStyle::kSolid;
  int page = 0;
};

// A print seam for tests: it keeps every call in `calls()` (one readable line each) and every
// drawn text in `texts()`, answers the dialogs as scripted, and can fail or cancel on request.
//
// Text is measured on a fixed grid so that tests can compute positions: the em is the font size
// in device pixels (10 points when none is set), a one-byte character is half an em wide, a
// two-byte character a whole em, and every text is em + em / 5 high.
class RecordingPrintSeam : public PrintSeam {
 public:
  RecordingPrintSeam();

  // Script.
  DialogOutcome dialog_answer = DialogOutcome::kToPrinter;
  bool has_default_printer = true;
  bool answer_output_file = true;
  Text output_file_answer = "out.prn";
  bool fail_create_context = false;
  bool fail_start_document = false;
  bool fail_start_page = false;
  // The user presses Cancel during the n-th ProcessPendingMessages of a job (1-based; 0 never).
  int cancel_at_message_pass = 0;
  PageGeometry geometry;

  // Record.
  const std::vector<std::string>& calls() const { return calls_; }
  const std::vector<DrawnText>& texts() const { return texts_; }
  const std::vector<DrawnLine>& lines() const { return lines_; }
  bool context_open() const { return context_open_; }
  bool status_window_open() const { return status_open_; }
  const StatusTexts& status_texts() const { return status_texts_; }
  // The page lines the status window showed after its first, in order.
  const std::vector<Text>& status_pages() const { return status_pages_; }
  int message_passes() const { return message_passes_; }
  const PaperRequest& paper() const { return paper_; }
  Orientation orientation() const { return orientation_; }
  // The em of a font on this seam, in device pixels.
  int EmOf(const FontSpec& font) const;

  void PrepareSettings(const PaperRequest& paper, Orientation orientation) override;
  bool HasDefaultPrinter() override;
  DialogOutcome ShowPrintDialog() override;
  bool AskOutputFile(const OutputFileQuestion& question, Text* path) override;
  bool CreateContext(const Text& output_file) override;
  void DeleteContext() override;
  PageGeometry Geometry() override;
  DeviceDescription Device() override;
  bool StartDocument(const Text& job_name) override;
  void EndDocument() override;
  void AbortDocument() override;
  bool StartPage() override;
  void EndPage() override;
  void SelectFont(const FontSpec& font) override;
  void SelectColors(uint32_t text, uint32_t background) override;
  TextExtent MeasureText(const Text& text) override;
  void DrawText(int x, int y, const Text& text) override;
  void DrawLine(int x1, int y1, int x2, int y2, LineStyle style) override;
  void OpenStatusWindow(const StatusTexts& texts) override;
  void CloseStatusWindow() override;
  void ShowStatusPage(const Text& page_line) override;
  void ProcessPendingMessages() override;
  bool JobCancelled() override;

 private:
  void Record(std::string line) { calls_.push_back(std::move(line)); }

  std::vector<std::string> calls_;
  std::vector<DrawnText> texts_;
  std::vector<DrawnLine> lines_;
  PaperRequest paper_;
  Orientation orientation_ = Orientation::kPortrait;
  Text output_file_;
  FontSpec font_;
  bool context_open_ = false;
  bool status_open_ = false;
  StatusTexts status_texts_;
  std::vector<Text> status_pages_;
  int page_ = 0;
  int message_passes_ = 0;
  bool cancelled_ = false;
};

}  // namespace sr::print

#endif  // SALARY_PLATFORM_PRINT_RECORDING_PRINT_SEAM_H_
