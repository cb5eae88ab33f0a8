#include "runtime/print/printer.h"

#include <cstdint>
#include <string>

#include "base/gbk.h"
#include "runtime/print/print_text.h"

namespace sr {

namespace {

// Windows paper numbers of the paper kinds 1 to 16.
constexpr int kPaperNumbers[16] = {
    8,   // A3
    9,   // A4
    11,  // A5
    12,  // B4
    13,  // B5
    15,  // Quarto
    93,  // 16K (PRC)
    94,  // 32K (PRC)
    1,   // Letter
    5,   // Legal
    7,   // Executive
    6,   // Statement
    3,   // Tabloid
    18,  // Note
    4,   // Ledger
    14,  // Folio
};

// Logical units per inch of each coordinate unit; 0 for device pixels.
int UnitsPerInch(CoordinateUnit unit) {
  switch (unit) {
    case CoordinateUnit::kDevicePixel:
      return 0;
    case CoordinateUnit::kTenthMillimetre:
      return 254;
    case CoordinateUnit::kHundredthMillimetre:
      return 2540;
    case CoordinateUnit::kHundredthInch:
      return 100;
    case CoordinateUnit::kThousandthInch:
      return 1000;
    case CoordinateUnit::kTwip:
      return 1440;
  }
  return 254;
}

}  // namespace

Printer::Printer(print::PrintSeam* seam) : seam_(seam) {}

Printer::~Printer() { EndPrint(); }

std::optional<int> Printer::PaperNumberOfKind(int kind) {
  if (kind >= 1 && kind <= 16) return kPaperNumbers[kind - 1];
  if (kind >= 1000) return kind - 999;
  if (kind >= 17) return 0;
  return std::nullopt;
}

print::PaperRequest Printer::PaperFor(int kind, const std::optional<CustomPaper>& custom) const {
  print::PaperRequest paper;
  std::optional<int> number = PaperNumberOfKind(kind);
  if (!number) return paper;
  paper.keep_default = false;
  paper.paper_number = *number;
  if (*number == 0 && custom && custom->width > 0 && custom->height > 0) {
    paper.custom_width = custom->width;
    paper.custom_height = custom->height;
  }
  return paper;
}

bool Printer::StartPrint(bool show_dialog, std::optional<bool> show_status, int paper_kind,
                         int orientation, std::optional<CustomPaper> custom) {
  if (job_open_) return false;
  seam_->PrepareSettings(PaperFor(paper_kind, custom), orientation == 1
                                                           ? print::Orientation::kLandscape
                                                           : print::Orientation::kPortrait);
  Text output_file;
  if (!ChooseOutput(show_dialog, &output_file)) return false;
  if (!seam_->CreateContext(output_file)) return false;
  geometry_ = seam_->Geometry();
  cancelled_ = false;
  if (show_status.value_or(true)) OpenStatusWindow();

  if (!seam_->StartDocument(job_name_.empty() ? Text("未命名打印作业") : job_name_)) {
    DropJob();
    return false;
  }
  if (!seam_->StartPage()) {
    seam_->EndDocument();
    DropJob();
    return false;
  }
  job_open_ = true;
  page_open_ = true;
  page_number_ = 1;
  current_x_ = 0;
  current_y_ = 0;
  return true;
}

bool Printer::ChooseOutput(bool show_dialog, Text* output_file) {
  if (!show_dialog && seam_->HasDefaultPrinter()) return true;
  print::DialogOutcome outcome = seam_->ShowPrintDialog();
  if (outcome == print::DialogOutcome::kCancelled) return false;
  if (outcome == print::DialogOutcome::kToPrinter) return true;
  print::OutputFileQuestion question{
      "打印到文件", "打印输出文件 (*.prn)|*.prn|所有文件 (*.*)|*.*||", "prn", "Output.prn"};
  return seam_->AskOutputFile(question, output_file) && !output_file->empty();
}

void Printer::OpenStatusWindow() {
  print::DeviceDescription device = seam_->Device();
  Text device_text;
  if (!device.output_file.empty()) {
    size_t slash = LastSeparator(device.output_file);
    device_text = slash == Text::npos ? device.output_file : device.output_file.substr(slash + 1);
  } else if (device.port.empty()) {
    device_text = device.printer;
  } else {
    device_text = device.printer + " 上的 " + device.port;
  }
  print::StatusTexts texts;
  texts.title = "正在打印";
  texts.job_line = "文档：" + (job_name_.empty() ? Text("未命名打印作业") : job_name_);
  texts.device_line = "打印机：" + device_text;
  texts.page_line = "第 1 页";
  texts.cancel_caption = "取消";
  seam_->OpenStatusWindow(texts);
  status_open_ = true;
}

// Undoes a half-started job: the status window and the context go.
void Printer::DropJob() {
  if (status_open_) seam_->CloseStatusWindow();
  status_open_ = false;
  seam_->DeleteContext();
}

int Printer::ToDevice(int logical, int dpi) const {
  int per_inch = UnitsPerInch(unit_);
  if (per_inch == 0) return logical;
  // Rounded to the nearest pixel, halves away from zero, as the metric mapping modes do.
  int64_t scaled = static_cast<int64_t>(logical) * dpi;
  int64_t half = per_inch / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / per_inch : (scaled - half) / per_inch);
}

int Printer::FromDevice(int device, int dpi) const {
  int per_inch = UnitsPerInch(unit_);
  if (per_inch == 0 || dpi <= 0) return device;
  return static_cast<int>(static_cast<int64_t>(device) * per_inch / dpi);
}

bool Printer::ReadyToDraw() {
  if (!job_open_ || cancelled_) return false;
  if (!page_open_) {
    if (!seam_->StartPage()) return false;
    page_open_ = true;
    ++page_number_;
    // The status window opened on page 1; it follows the job page by page.
    if (status_open_ && page_number_ > 1) {
      seam_->ShowStatusPage("第 " + std::to_string(page_number_) + " 页");
    }
  }
  seam_->SelectFont(font_);
  seam_->SelectColors(text_color_, background_color_);
  return true;
}

bool Printer::NewPage() {
  if (!job_open_ || cancelled_) return false;
  if (page_open_) seam_->EndPage();
  page_open_ = false;
  return ReadyToDraw();
}

void Printer::DrawLine(int x1, int y1, int x2, int y2, print::LineStyle style) {
  if (!ReadyToDraw()) return;
  seam_->DrawLine(ToDevice(left_ + x1, geometry_.dpi_x), ToDevice(top_ + y1, geometry_.dpi_y),
                  ToDevice(left_ + x2, geometry_.dpi_x), ToDevice(top_ + y2, geometry_.dpi_y),
                  style);
}

int Printer::TextWidth(const Text& text) {
  if (!job_open_) return 0;
  seam_->SelectFont(font_);
  return FromDevice(seam_->MeasureText(text).width, geometry_.dpi_x);
}

int Printer::TextHeight(const Text& text) {
  if (!job_open_) return 0;
  seam_->SelectFont(font_);
  return FromDevice(seam_->MeasureText(text.empty() ? Text("W") : text).height, geometry_.dpi_y);
}

int Printer::PrintableWidth() const {
  return job_open_ ? FromDevice(geometry_.printable_width, geometry_.dpi_x) : 0;
}

int Printer::PrintableHeight() const {
  return job_open_ ? FromDevice(geometry_.printable_height, geometry_.dpi_y) : 0;
}

void Printer::PrintAt(std::optional<int> x, std::optional<int> y,
                      const std::vector<Value>& values) {
  if (!ReadyToDraw()) return;
  int dx =
      x ? ToDevice(left_ + *x, geometry_.dpi_x) : current_x_ + ToDevice(left_, geometry_.dpi_x);
  int dy = y ? ToDevice(top_ + *y, geometry_.dpi_y) : current_y_ + ToDevice(top_, geometry_.dpi_y);
  for (size_t i = 0; i < values.size(); ++i) {
    std::optional<Text> text = PrintableText(values[i]);
    if (!text) continue;
    if (!PrintValue(*text, i + 1 < values.size(), &dx, &dy)) return;
  }
}

bool Printer::PrintValue(const Text& text, bool more_values, int* x, int* y) {
  std::vector<Text> lines = SplitLines(text);
  int line_x = *x;
  for (size_t i = 0; i < lines.size(); ++i) {
    seam_->ProcessPendingMessages();
    if (seam_->JobCancelled()) {
      cancelled_ = true;
      return false;
    }
    const Text& line = lines[i];
    if (!line.empty()) seam_->DrawText(line_x, *y, line);
    const bool last = i + 1 == lines.size();
    // Where the next line or value goes; the position after the last of all is not kept, so
    // a long printout of single texts need not measure each of them.
    if (last && !more_values) break;
    print::TextExtent extent = seam_->MeasureText(line.empty() ? Text("W") : line);
    if (last) {
      *x = line_x + (line.empty() ? 0 : extent.width);
    } else {
      *y += extent.height + 2;
    }
  }
  return true;
}

void Printer::EndPrint() {
  if (job_open_) {
    if (cancelled_) {
      seam_->AbortDocument();
    } else {
      if (page_open_) seam_->EndPage();
      seam_->EndDocument();
    }
    seam_->DeleteContext();
    job_open_ = false;
    page_open_ = false;
    current_x_ = 0;
    current_y_ = 0;
  }
  if (status_open_) {
    seam_->CloseStatusWindow();
    status_open_ = false;
  }
}

}  // namespace sr
