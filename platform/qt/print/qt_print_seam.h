#ifndef SALARY_PLATFORM_QT_PRINT_QT_PRINT_SEAM_H_
#define SALARY_PLATFORM_QT_PRINT_QT_PRINT_SEAM_H_

#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QLine>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QRawFont>
#include <memory>
#include <string>

#include "platform/print/print_seam.h"

class QPainter;
class QPrinter;

namespace sr::qt {

class PrintStatusDialog;

// The print seam over Qt: QPrinter with the default printer's settings, QPrintDialog (which
// offers the machine's printers and printing to a PDF file), QPainter in device pixels with the
// origin at the printable area, and a small status window with Cancel. Texts arrive GBK and are
// converted here; a request for SimSun is served by an installed Song face with full-width
// rules (see song_font.h).
class QtPrintSeam : public print::PrintSeam {
 public:
  QtPrintSeam();
  ~QtPrintSeam() override;

  // From now on every job goes to this PDF file (a native UTF-8 path) and the print dialog is
  // never shown, even when the caller asks for it: for tests and scripted runs.
  void PrintToPdfWithoutAsking(const std::string& path) { pdf_path_ = path; }

  // The status window of the running job, or null.
  PrintStatusDialog* status_window() const;

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
  std::string pdf_path_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  QPointer<PrintStatusDialog> status_;
  // The metrics of font_ on the printer, made when first needed after a change of either.
  const QFontMetrics& Metrics();
  // Texts in one font and colour are gathered and drawn as one run of glyphs: the PDF engine
  // writes a graphics state and a text object per call, and shapes each text anew, which costs
  // more than the glyphs of a printout's short cells. False when the font lacks a glyph.
  bool GatherText(int x, int baseline, const QString& text);
  void FlushTexts();
  // Rules in one pen likewise go as one path; each call would be a path of its own.
  void FlushLines();

  // The face each requested face name resolves to; resolving asks the font database.
  QHash<QString, QString> resolved_faces_;
  QRawFont raw_font_;  // font_ at the printer's resolution; invalid until first needed
  QList<quint32> pending_glyphs_;
  QList<QPointF> pending_positions_;
  QList<QLine> pending_lines_;

  QFont font_;
  print::FontSpec font_spec_;  // what font_ was made from
  std::unique_ptr<QFontMetrics> metrics_;
  QElapsedTimer since_messages_;
  // The colours last selected; the painter holds a line's pen instead while `line_pen_`.
  bool colors_selected_ = false;
  uint32_t text_color_ = print::kBlack;
  uint32_t background_color_ = print::kTransparent;
  bool line_pen_ = false;  // since pending messages were last processed
  bool pages_started_ = false;
  bool cancelled_ = false;
};

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_PRINT_QT_PRINT_SEAM_H_
