#ifndef SALARY_RUNTIME_PRINT_PRINTER_H_
#define SALARY_RUNTIME_PRINT_PRINTER_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "base/value.h"
#include "platform/print/print_seam.h"

namespace sr {

// The unit of the x and y arguments of PrintAt.
enum class CoordinateUnit {
  kDevicePixel = 0,
  kTenthMillimetre = 1,
  kHundredthMillimetre = 2,
  kHundredthInch = 3,
  kThousandthInch = 4,
  kTwip = 5,  // 1/1440 inch
};

// A custom paper size in 0.1 mm, for a paper kind from 17 to 999.
struct CustomPaper {
  int width = 0;
  int height = 0;
};

// The printer object of a window (the summary window's 打印机1): one print job at a time, texts
// drawn at positions measured from the top-left corner of the printable area, all on one page.
class Printer {
 public:
  // `seam` must outlive the printer.
  explicit Printer(print::PrintSeam* seam);
  // Ends a job that is still open, so that a closed window leaves no spooled document behind.
  ~Printer();
  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;

  // Opens a job. `show_status` defaults to true; `paper_kind` 0 keeps the printer's paper, 1 to
  // 16 the papers of the kind table, 1000 and above the Windows paper number kind - 999, 17 to
  // 999 paper number 0 (with `custom` as its size when given); `orientation` 1 is landscape,
  // anything else portrait. Returns true when a job is open with its first page started; false
  // when a job was open already, the dialog or the output file question was cancelled, or the
  // document or page could not be started. Shows no message.
  bool StartPrint(bool show_dialog, std::optional<bool> show_status = std::nullopt,
                  int paper_kind = 0, int orientation = 0,
                  std::optional<CustomPaper> custom = std::nullopt);

  // Draws `values` side by side from (x, y) in the coordinate unit; an omitted coordinate is the
  // current position. A value holding CR, LF or CR LF continues one line lower at the same x.
  // Does nothing outside a job or after the user cancelled it. Never starts a new page.
  void PrintAt(std::optional<int> x, std::optional<int> y, const std::vector<Value>& values);

  // Ends the current page and starts the next; a printout of several pages calls it between
  // them. False, and nothing happens, outside a job or after the user cancelled it.
  bool NewPage();

  // Draws a thin line from (x1, y1) to (x2, y2) in the coordinate unit and the text colour.
  // Does nothing outside a job or after the user cancelled it.
  void DrawLine(int x1, int y1, int x2, int y2, print::LineStyle style = print::LineStyle::kSolid);

  // The width and height of `text` in the current font, in the coordinate unit; 0 outside a
  // job (the device decides how wide a text is).
  int TextWidth(const Text& text);
  int TextHeight(const Text& text);
  // The printable area of the job's page in the coordinate unit; 0 outside a job.
  int PrintableWidth() const;
  int PrintableHeight() const;
  // The page being drawn, from 1; 0 outside a job.
  int page_number() const { return job_open_ ? page_number_ : 0; }

  // Ends the job (a cancelled job is thrown away) and closes the status window. Does nothing
  // when no job is open.
  void EndPrint();

  // The font of later output; size in points, face such as "宋体".
  void SetFontSize(double points) { font_.points = points; }
  void SetFontName(const Text& face) { font_.face = face; }
  const print::FontSpec& font() const { return font_; }

  void set_unit(CoordinateUnit unit) { unit_ = unit; }
  void set_job_name(const Text& name) { job_name_ = name; }
  void set_offset(int left, int top) {
    left_ = left;
    top_ = top;
  }
  void set_text_color(uint32_t color) { text_color_ = color; }
  void set_background_color(uint32_t color) { background_color_ = color; }

  bool job_open() const { return job_open_; }
  bool cancelled() const { return cancelled_; }

  // The Windows paper number for a paper kind, nullopt for "keep the printer's paper".
  static std::optional<int> PaperNumberOfKind(int kind);

 private:
  print::PaperRequest PaperFor(int kind, const std::optional<CustomPaper>& custom) const;
  bool ChooseOutput(bool show_dialog, Text* output_file);
  void OpenStatusWindow();
  void DropJob();
  int ToDevice(int logical, int dpi) const;
  int FromDevice(int device, int dpi) const;
  // Starts a page when none is open and selects the font and colours; false outside a job,
  // after a cancel or when the page cannot be started.
  bool ReadyToDraw();
  // Draws one value from (*x, *y) in device pixels and leaves them where the next value goes.
  // Returns false when the job was cancelled.
  // `more_values`: another value follows on the same line.
  bool PrintValue(const Text& text, bool more_values, int* x, int* y);

  print::PrintSeam* seam_;
  CoordinateUnit unit_ = CoordinateUnit::kTenthMillimetre;
  print::FontSpec font_;
  uint32_t text_color_ = print::kBlack;
  uint32_t background_color_ = print::kTransparent;
  Text job_name_;
  int left_ = 0;
  int top_ = 0;

  bool job_open_ = false;
  bool page_open_ = false;
  bool status_open_ = false;
  bool cancelled_ = false;
  int page_number_ = 0;
  print::PageGeometry geometry_;
  int current_x_ = 0;  // device pixels
  int current_y_ = 0;
};

}  // namespace sr

#endif  // SALARY_RUNTIME_PRINT_PRINTER_H_
