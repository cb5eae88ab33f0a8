#include "platform/qt/print/qt_print_seam.h"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "base/gbk.h"
#include "platform/qt/print/print_status_dialog.h"
#include "platform/qt/print/song_font.h"

namespace sr::qt {

namespace {

QString FromGbk(const Text& text) {
  // Digits and other ASCII are the same in GBK; amounts are most of a long printout's texts.
  if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  }
  return QString::fromStdString(ToUtf8(text));
}
Text ToGbk(const QString& text) { return FromUtf8(text.toStdString()); }

// A Windows colour value 0x00BBGGRR.
QColor ColorOf(uint32_t value) {
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QPageSize PageSizeFor(const print::PaperRequest& paper) {
  if (paper.paper_number == 0) {
    if (paper.custom_width <= 0 || paper.custom_height <= 0) return QPageSize();
    return QPageSize(QSizeF(paper.custom_width / 10.0, paper.custom_height / 10.0),
                     QPageSize::Millimeter);
  }
  QPageSize::PageSizeId id = QPageSize::id(paper.paper_number);
  return id == QPageSize::Custom ? QPageSize() : QPageSize(id);
}

// "name|pattern|name|pattern||" -> "name;;name": the names already show their patterns.
QString QtFilter(const Text& windows_filter) {
  QStringList parts = FromGbk(windows_filter).split('|', Qt::SkipEmptyParts);
  QStringList names;
  for (int i = 0; i + 1 < parts.size(); i += 2) names << parts[i];
  return names.join(";;");
}

}  // namespace

namespace {

// The PDF file that the print dialog last printed to, offered again while the program runs.
QString& LastPdfFile() {
  static QString name;
  return name;
}

}  // namespace

QtPrintSeam::QtPrintSeam() = default;

QtPrintSeam::~QtPrintSeam() {
  CloseStatusWindow();
  DeleteContext();
}

PrintStatusDialog* QtPrintSeam::status_window() const { return status_.data(); }

void QtPrintSeam::PrepareSettings(const print::PaperRequest& paper,
                                  print::Orientation orientation) {
  painter_.reset();
  // A new QPrinter starts from the default printer's settings.
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!pdf_path_.empty()) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromStdString(pdf_path_));
  } else if (!LastPdfFile().isEmpty()) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(LastPdfFile());
  }
  if (!paper.keep_default) {
    QPageSize size = PageSizeFor(paper);
    if (size.isValid()) printer_->setPageSize(size);
  }
  printer_->setPageOrientation(orientation == print::Orientation::kLandscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
}

bool QtPrintSeam::HasDefaultPrinter() {
  return !pdf_path_.empty() || !QPrinterInfo::defaultPrinterName().isEmpty();
}

print::DialogOutcome QtPrintSeam::ShowPrintDialog() {
  if (!printer_) return print::DialogOutcome::kCancelled;
  if (!pdf_path_.empty()) return print::DialogOutcome::kToPrinter;  // told not to ask
  QPrintDialog dialog(printer_.get(), QApplication::activeWindow());
  // The dialog's own "print to file" already asks for the PDF file, so it counts as a printer.
  if (dialog.exec() != QDialog::Accepted) return print::DialogOutcome::kCancelled;
  if (printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty()) {
    LastPdfFile() = printer_->outputFileName();
  }
  return print::DialogOutcome::kToPrinter;
}

bool QtPrintSeam::AskOutputFile(const print::OutputFileQuestion& question, Text* path) {
  QFileDialog dialog(QApplication::activeWindow(), FromGbk(question.title), QString(),
                     QtFilter(question.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(FromGbk(question.default_extension));
  dialog.selectFile(FromGbk(question.default_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  *path = ToGbk(dialog.selectedFiles().front());
  return true;
}

bool QtPrintSeam::CreateContext(const Text& output_file) {
  if (!printer_) return false;
  if (!output_file.empty()) {
    // Qt writes files only as PDF.
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(FromGbk(output_file));
  }
  cancelled_ = false;
  pages_started_ = false;
  font_ = QFont();
  font_spec_ = print::FontSpec();
  metrics_.reset();
  return printer_->isValid();
}

void QtPrintSeam::DeleteContext() {
  if (painter_ && painter_->isActive()) painter_->end();
  painter_.reset();
  printer_.reset();
}

print::PageGeometry QtPrintSeam::Geometry() {
  print::PageGeometry g;
  if (!printer_) return g;
  QRect paper = printer_->paperRect(QPrinter::DevicePixel).toRect();
  QRect page = printer_->pageRect(QPrinter::DevicePixel).toRect();
  g.dpi_x = printer_->logicalDpiX();
  g.dpi_y = printer_->logicalDpiY();
  g.physical_width = paper.width();
  g.physical_height = paper.height();
  g.offset_x = page.x();
  g.offset_y = page.y();
  g.printable_width = page.width();
  g.printable_height = page.height();
  return g;
}

print::DeviceDescription QtPrintSeam::Device() {
  print::DeviceDescription device;
  if (!printer_) return device;
  device.printer = ToGbk(printer_->printerName());
  if (printer_->outputFormat() == QPrinter::PdfFormat) {
    device.output_file = ToGbk(printer_->outputFileName());
  }
  return device;
}

bool QtPrintSeam::StartDocument(const Text& job_name) {
  if (!printer_) return false;
  printer_->setDocName(FromGbk(job_name));
  painter_ = std::make_unique<QPainter>();
  colors_selected_ = false;
  line_pen_ = false;
  pending_glyphs_.clear();
  pending_positions_.clear();
  pending_lines_.clear();
  if (!painter_->begin(printer_.get())) {
    painter_.reset();
    return false;
  }
  return true;
}

void QtPrintSeam::EndDocument() {
  FlushTexts();
  FlushLines();
  if (painter_ && painter_->isActive()) painter_->end();
  painter_.reset();
}

void QtPrintSeam::AbortDocument() {
  pending_glyphs_.clear();
  pending_positions_.clear();
  pending_lines_.clear();
  bool aborted = printer_ && printer_->abort();
  EndDocument();
  // The PDF engine cannot abort: it has written what was drawn so far. A cancelled job leaves
  // no output, so that half page goes.
  if (!aborted && printer_ && printer_->outputFormat() == QPrinter::PdfFormat &&
      !printer_->outputFileName().isEmpty()) {
    QFile::remove(printer_->outputFileName());
  }
}

bool QtPrintSeam::StartPage() {
  if (!painter_ || !painter_->isActive()) return false;
  // QPainter::begin opened the first page; later ones are asked for.
  if (!pages_started_) {
    pages_started_ = true;
    return true;
  }
  FlushTexts();
  FlushLines();
  return printer_->newPage();
}

void QtPrintSeam::EndPage() {}

// A printout of thousands of texts selects the same font for each; resolving the face and
// measuring with it anew every time would cost more than drawing.
void QtPrintSeam::SelectFont(const print::FontSpec& font) {
  if (font == font_spec_ && painter_ && painter_->font() == font_) return;
  FlushTexts();
  font_spec_ = font;
  metrics_.reset();
  raw_font_ = QRawFont();
  QFont qfont;
  if (!font.face.empty()) {
    const QString face = FromGbk(font.face);
    auto found = resolved_faces_.constFind(face);
    if (found == resolved_faces_.constEnd())
      found = resolved_faces_.insert(face, ResolveFace(face));
    qfont.setFamily(*found);
  }
  if (font.points > 0) qfont.setPointSizeF(font.points);
  font_ = qfont;
  if (painter_) painter_->setFont(font_);
}

void QtPrintSeam::SelectColors(uint32_t text, uint32_t background) {
  if (!painter_) return;
  // Every text and rule selects its colours; the PDF engine writes a change of pen into the
  // page. A rule's pen already has the text colour, and DrawText puts the text pen back.
  if (colors_selected_ && text == text_color_ && background == background_color_) return;
  FlushTexts();
  FlushLines();
  colors_selected_ = true;
  text_color_ = text;
  background_color_ = background;
  line_pen_ = false;
  painter_->setPen(ColorOf(text));
  if (background == print::kTransparent) {
    painter_->setBackgroundMode(Qt::TransparentMode);
  } else {
    painter_->setBackgroundMode(Qt::OpaqueMode);
    painter_->setBackground(ColorOf(background));
  }
}

const QFontMetrics& QtPrintSeam::Metrics() {
  if (!metrics_) metrics_ = std::make_unique<QFontMetrics>(font_, printer_.get());
  return *metrics_;
}

print::TextExtent QtPrintSeam::MeasureText(const Text& text) {
  if (!printer_) return {};
  const QFontMetrics& metrics = Metrics();
  return print::TextExtent{metrics.horizontalAdvance(FromGbk(text)), metrics.height()};
}

void QtPrintSeam::DrawText(int x, int y, const Text& text) {
  if (!painter_ || !painter_->isActive()) return;
  if (line_pen_) {
    FlushLines();
    painter_->setPen(ColorOf(text_color_));
    line_pen_ = false;
  }
  const QFontMetrics& metrics = Metrics();
  // Qt draws at the baseline; the caller gives the top of the text.
  const int baseline = y + metrics.ascent();
  const QString qtext = FromGbk(text);
  // An opaque background is painted per call; so are glyphs the font lacks (from a fallback).
  if (painter_->backgroundMode() == Qt::OpaqueMode || !GatherText(x, baseline, qtext)) {
    FlushTexts();
    painter_->drawText(QPoint(x, baseline), qtext);
  }
}

bool QtPrintSeam::GatherText(int x, int baseline, const QString& text) {
  if (!raw_font_.isValid()) raw_font_ = QRawFont::fromFont(QFont(font_, printer_.get()));
  const QList<quint32> glyphs = raw_font_.glyphIndexesForString(text);
  if (glyphs.isEmpty() || glyphs.contains(0u)) return false;
  // Kerned as the shaper would kern a font's pair table.
  const QList<QPointF> advances = raw_font_.advancesForGlyphIndexes(
      glyphs, QRawFont::SeparateAdvances | QRawFont::KernedAdvances);
  QPointF at(x, baseline);
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    pending_glyphs_.append(glyphs[i]);
    pending_positions_.append(at);
    at += advances[i];
  }
  return true;
}

void QtPrintSeam::FlushTexts() {
  if (pending_glyphs_.isEmpty()) return;
  if (painter_ && painter_->isActive()) {
    QGlyphRun run;
    run.setRawFont(raw_font_);
    run.setGlyphIndexes(pending_glyphs_);
    run.setPositions(pending_positions_);
    painter_->drawGlyphRun(QPointF(0, 0), run);
  }
  pending_glyphs_.clear();
  pending_positions_.clear();
}

void QtPrintSeam::DrawLine(int x1, int y1, int x2, int y2, print::LineStyle style) {
  if (!painter_ || !painter_->isActive()) return;
  FlushTexts();
  const Qt::PenStyle pen_style = style == print::LineStyle::kDashed ? Qt::DashLine : Qt::SolidLine;
  if (!line_pen_ || painter_->pen().style() != pen_style) {
    FlushLines();
    QPen pen(ColorOf(text_color_));
    pen.setWidthF(printer_->resolution() * 0.2 / 25.4);  // 0.2 mm
    pen.setCapStyle(Qt::FlatCap);
    pen.setStyle(pen_style);
    painter_->setPen(pen);
    line_pen_ = true;
  }
  pending_lines_.append(QLine(x1, y1, x2, y2));
}

void QtPrintSeam::FlushLines() {
  if (pending_lines_.isEmpty()) return;
  if (painter_ && painter_->isActive()) {
    QPainterPath path;
    for (const QLine& line : pending_lines_) {
      path.moveTo(line.p1());
      path.lineTo(line.p2());
    }
    painter_->drawPath(path);
  }
  pending_lines_.clear();
}

void QtPrintSeam::OpenStatusWindow(const print::StatusTexts& texts) {
  CloseStatusWindow();
  // Modal like the window it stands over, which is usually modal itself (the summary): a
  // plain window would get no clicks while a modal one is open.
  status_ = new PrintStatusDialog(
      texts, [this] { cancelled_ = true; }, QApplication::activeWindow());
  status_->setWindowModality(Qt::ApplicationModal);
  status_->show();
  QCoreApplication::processEvents();
}

void QtPrintSeam::ShowStatusPage(const Text& page_line) {
  if (status_) status_->SetPageLine(page_line);
}

void QtPrintSeam::CloseStatusWindow() {
  // Hidden, not closed: closing a dialog rejects it, which would count as Cancel.
  if (status_) {
    status_->hide();
    status_->deleteLater();
  }
  status_ = nullptr;
}

// Called before every line of text: a Cancel click needs a look every few milliseconds, not
// 100,000 times for a long printout.
void QtPrintSeam::ProcessPendingMessages() {
  if (since_messages_.isValid() && since_messages_.elapsed() < 10) return;
  QCoreApplication::processEvents();
  since_messages_.start();
}

bool QtPrintSeam::JobCancelled() { return cancelled_; }

}  // namespace sr::qt
