#include "platform/print/recording_print_seam.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

namespace sr::print {

namespace {

constexpr double kDefaultPoints = 10;

}  // namespace

RecordingPrintSeam::RecordingPrintSeam() {
  // An A4 page at 600 dpi with the quarter-inch offsets of a typical laser printer.
  geometry.dpi_x = 600;
  geometry.dpi_y = 600;
  geometry.physical_width = 4960;
  geometry.physical_height = 7016;
  geometry.offset_x = 150;
  geometry.offset_y = 150;
  geometry.printable_width = 4660;
  geometry.printable_height = 6716;
}

int RecordingPrintSeam::EmOf(const FontSpec& font) const {
  double points = font.points > 0 ? font.points : kDefaultPoints;
  return static_cast<int>(std::lround(points * geometry.dpi_y / 72.0));
}

void RecordingPrintSeam::PrepareSettings(const PaperRequest& paper, Orientation orientation) {
  paper_ = paper;
  orientation_ = orientation;
  Record("PrepareSettings paper=" +
         (paper.keep_default ? std::string("default") : std::to_string(paper.paper_number)) +
         (orientation == Orientation::kLandscape ? " landscape" : " portrait"));
}

bool RecordingPrintSeam::HasDefaultPrinter() { return has_default_printer; }

DialogOutcome RecordingPrintSeam::ShowPrintDialog() {
  Record("ShowPrintDialog");
  return dialog_answer;
}

bool RecordingPrintSeam::AskOutputFile(const OutputFileQuestion& question, Text* path) {
  Record("AskOutputFile " + question.title);
  if (!answer_output_file) return false;
  *path = output_file_answer;
  return true;
}

bool RecordingPrintSeam::CreateContext(const Text& output_file) {
  Record("CreateContext " + output_file);
  if (fail_create_context) return false;
  context_open_ = true;
  output_file_ = output_file;
  cancelled_ = false;
  message_passes_ = 0;
  page_ = 0;
  font_ = FontSpec();
  return true;
}

void RecordingPrintSeam::DeleteContext() {
  Record("DeleteContext");
  context_open_ = false;
}

// `geometry` is the portrait A4 page; A3 (paper number 8) is as much larger as it is, and a
// landscape job turns the page.
PageGeometry RecordingPrintSeam::Geometry() {
  PageGeometry page = geometry;
  if (!paper_.keep_default && paper_.paper_number == 8) {
    page.physical_width = geometry.physical_height;
    page.physical_height = static_cast<int>(std::lround(geometry.physical_height * std::sqrt(2.0)));
    page.printable_width = page.physical_width - 2 * page.offset_x;
    page.printable_height = page.physical_height - 2 * page.offset_y;
  }
  if (orientation_ == Orientation::kLandscape) {
    std::swap(page.physical_width, page.physical_height);
    std::swap(page.printable_width, page.printable_height);
    std::swap(page.offset_x, page.offset_y);
  }
  return page;
}

DeviceDescription RecordingPrintSeam::Device() {
  return DeviceDescription{"Recorder", "REC1:", output_file_};
}

bool RecordingPrintSeam::StartDocument(const Text& job_name) {
  Record("StartDocument " + job_name);
  return !fail_start_document;
}

void RecordingPrintSeam::EndDocument() { Record("EndDocument"); }

void RecordingPrintSeam::AbortDocument() { Record("AbortDocument"); }

bool RecordingPrintSeam::StartPage() {
  Record("StartPage");
  if (fail_start_page) return false;
  ++page_;
  return true;
}

void RecordingPrintSeam::EndPage() { Record("EndPage"); }

void RecordingPrintSeam::SelectFont(const FontSpec& font) {
  if (font == font_) return;  // re-selecting the same font is not worth a line
  font_ = font;
  char points[32];
  std::snprintf(points, sizeof points, "%g", font.points);
  Record("SelectFont " + std::string(points) + " " + font.face);
}

void RecordingPrintSeam::SelectColors(uint32_t text, uint32_t background) {}

TextExtent RecordingPrintSeam::MeasureText(const Text& text) {
  int em = EmOf(font_);
  int halves = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) {
      halves += 2;
      ++i;
    } else {
      halves += 1;
    }
  }
  return TextExtent{halves * em / 2, em + em / 5};
}

void RecordingPrintSeam::DrawText(int x, int y, const Text& text) {
  Record("DrawText " + std::to_string(x) + "," + std::to_string(y) + " " + text);
  texts_.push_back(DrawnText{x, y, text, font_, page_});
}

void RecordingPrintSeam::DrawLine(int x1, int y1, int x2, int y2, LineStyle style) {
  Record("DrawLine " + std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) +
         "," + std::to_string(y2) + (style == LineStyle::kDashed ? " dashed" : ""));
  lines_.push_back(DrawnLine{x1, y1, x2, y2, style, page_});
}

void RecordingPrintSeam::OpenStatusWindow(const StatusTexts& texts) {
  Record("OpenStatusWindow");
  status_open_ = true;
  status_texts_ = texts;
}

void RecordingPrintSeam::CloseStatusWindow() {
  Record("CloseStatusWindow");
  status_open_ = false;
}

void RecordingPrintSeam::ShowStatusPage(const Text& page_line) {
  status_texts_.page_line = page_line;
  status_pages_.push_back(page_line);
}

void RecordingPrintSeam::ProcessPendingMessages() {
  ++message_passes_;
  if (status_open_ && cancel_at_message_pass == message_passes_) cancelled_ = true;
}

bool RecordingPrintSeam::JobCancelled() { return cancelled_; }

}  // namespace sr::print
