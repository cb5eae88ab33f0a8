#ifndef SALARY_PLATFORM_PRINT_PRINT_SEAM_H_
#define SALARY_PLATFORM_PRINT_PRINT_SEAM_H_

#include <cstdint>

#include "base/value.h"

namespace sr::print {

enum class Orientation { kPortrait, kLandscape };

// The paper to put into the default printer settings before a job. `paper_number` is a Windows
// paper number (DMPAPER_*: 9 is A4); `keep_default` leaves the printer's paper as it is. Paper
// number 0 with a custom size (in 0.1 mm, both above 0) asks for that size.
struct PaperRequest {
  bool keep_default = true;
  int paper_number = 0;
  int custom_width = 0;
  int custom_height = 0;
};

enum class DialogOutcome { kCancelled, kToPrinter, kToFile };

// The save dialog that asks where "print to file" output goes. All texts GBK.
struct OutputFileQuestion {
  Text title;
  Text filter;  // "name|pattern|name|pattern||"
  Text default_extension;
  Text default_name;
};

// The drawing surface of a job, in device pixels. The drawing origin is the top-left corner of
// the printable area, which lies `offset_x`, `offset_y` inside the physical page.
struct PageGeometry {
  int dpi_x = 0;
  int dpi_y = 0;
  int physical_width = 0;
  int physical_height = 0;
  int offset_x = 0;
  int offset_y = 0;
  int printable_width = 0;
  int printable_height = 0;
};

// Where the job goes, for the status window: a printer on a port, or a file.
struct DeviceDescription {
  Text printer;
  Text port;
  Text output_file;  // not empty when printing to a file
};

// A font request. 0 points or an empty face keep the device's default size or face.
struct FontSpec {
  double points = 0;
  Text face;
  bool operator==(const FontSpec&) const = default;
};

// The texts of the printing status window; GBK, composed by the caller.
struct StatusTexts {
  Text title;
  Text job_line;
  Text device_line;
  Text page_line;
  Text cancel_caption;
};

struct TextExtent {
  int width = 0;
  int height = 0;
};

// How a line is drawn: solid for rules, dashed for the line along which paper is cut.
enum class LineStyle { kSolid, kDashed };

// Colours are Windows colour values 0x00BBGGRR.
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kTransparent = 0xFF000000;

// The printer as the program sees it: settings and dialog, one drawing context at a time,
// document and page brackets, text measured and drawn in device pixels, and the status window
// with its Cancel button. Texts are GBK. Calls arrive in the order that a job needs them; an
// implementation may assume a context exists between a successful CreateContext and
// DeleteContext.
class PrintSeam {
 public:
  virtual ~PrintSeam() = default;

  // Takes the default printer settings and applies paper and orientation to them.
  virtual void PrepareSettings(const PaperRequest& paper, Orientation orientation) = 0;
  // True when there is a printer to use without asking.
  virtual bool HasDefaultPrinter() = 0;
  // Shows the print dialog over the prepared settings.
  virtual DialogOutcome ShowPrintDialog() = 0;
  // Asks for the output file of a "print to file" job; false when the user cancels.
  virtual bool AskOutputFile(const OutputFileQuestion& question, Text* path) = 0;

  // Creates the drawing context for the chosen printer, or for `output_file` when not empty.
  virtual bool CreateContext(const Text& output_file) = 0;
  virtual void DeleteContext() = 0;
  virtual PageGeometry Geometry() = 0;
  virtual DeviceDescription Device() = 0;

  virtual bool StartDocument(const Text& job_name) = 0;
  virtual void EndDocument() = 0;
  // Throws the document away (the user cancelled it): nothing of it is printed.
  virtual void AbortDocument() = 0;
  virtual bool StartPage() = 0;
  virtual void EndPage() = 0;

  virtual void SelectFont(const FontSpec& font) = 0;
  // `background` kTransparent draws no background behind the text.
  virtual void SelectColors(uint32_t text, uint32_t background) = 0;
  virtual TextExtent MeasureText(const Text& text) = 0;
  // Draws `text` with its top-left corner at (x, y) device pixels from the printable origin.
  virtual void DrawText(int x, int y, const Text& text) = 0;
  // Draws a thin line (about 0.2 mm) in the text colour from (x1, y1) to (x2, y2), device pixels
  // from the printable origin.
  virtual void DrawLine(int x1, int y1, int x2, int y2, LineStyle style) = 0;

  virtual void OpenStatusWindow(const StatusTexts& texts) = 0;
  virtual void CloseStatusWindow() = 0;
  // The job has reached another page: the status window's page line reads `page_line` now.
  virtual void ShowStatusPage(const Text& page_line) = 0;
  // Lets the status window (and the rest of the user interface) handle what is waiting.
  virtual void ProcessPendingMessages() = 0;
  // True once the user pressed Cancel in the status window of the current job.
  virtual bool JobCancelled() = 0;
};

}  // namespace sr::print

#endif  // SALARY_PLATFORM_PRINT_PRINT_SEAM_H_
