#include "app/printouts/payslip_printout.h"

#include <algorithm>

namespace sr::app {

namespace {

constexpr int kA4 = 2;
constexpr int kPortrait = 0;

// The rules of a band: three across, one between each two columns and at both ends.
void RuleBand(Printer& printer, const PayslipLayout& layout, int b, int band_top) {
  const int band_width = layout.BandWidth(b);
  const int band_bottom = band_top + 2 * layout.row_height;
  for (int line = 0; line <= 2; ++line) {
    const int y = band_top + line * layout.row_height;
    printer.DrawLine(0, y, band_width, y);
  }
  for (int i : layout.bands[b]) {
    printer.DrawLine(layout.ColumnLeft(i), band_top, layout.ColumnLeft(i), band_bottom);
  }
  printer.DrawLine(band_width, band_top, band_width, band_bottom);
}

void FillBand(Printer& printer, TextMeasure& measure, const SalaryRegister& salary_register,
              const PayslipLayout& layout, int b, int band_top, int row) {
  const int text_top = band_top + (layout.row_height - measure.Height()) / 2;
  for (int i : layout.bands[b]) {
    const int left = layout.ColumnLeft(i);
    const int width = layout.widths[i];
    const int column = layout.columns[i];
    PrintCellText(printer, measure, salary_register.Title(column), left, width, text_top,
                  layout.padding, CellAlign::kCentre);
    PrintCellText(printer, measure, PrintedCell(salary_register, row, column), left, width,
                  text_top + layout.row_height, layout.padding,
                  IsAmountColumn(column) ? CellAlign::kRight : CellAlign::kLeft);
  }
}

// All rules of a strip, then all its texts: a PDF writes every change between the thin pen of
// a rule and the text's.
void PrintStrip(Printer& printer, TextMeasure& measure, const SalaryRegister& salary_register,
                const PayslipLayout& layout, int row, int top, const Text& heading) {
  const int bands = static_cast<int>(layout.bands.size());
  for (int b = 0; b < bands; ++b) RuleBand(printer, layout, b, layout.BandTop(top, b));
  printer.SetFontSize(kHeadingPoints);
  printer.PrintAt(0, top, {Value::FromText(heading)});
  printer.SetFontSize(kCellPoints);
  for (int b = 0; b < bands; ++b) {
    FillBand(printer, measure, salary_register, layout, b, layout.BandTop(top, b), row);
  }
}

}  // namespace

int PayslipLayout::ColumnLeft(int i) const {
  for (const std::vector<int>& band : bands) {
    int left = 0;
    for (int j : band) {
      if (j == i) return left;
      left += widths[j];
    }
  }
  return 0;
}

int PayslipLayout::BandWidth(int b) const {
  int width = 0;
  for (int j : bands[b]) width += widths[j];
  return width;
}

PayslipLayout LayOutPayslips(const SalaryRegister& salary_register, const std::vector<int>& people,
                             bool omit_empty_items, TextMeasure& measure, int heading_text_height,
                             int page_width, int page_height) {
  PayslipLayout layout;
  layout.columns = PayslipColumns(salary_register, people, omit_empty_items);
  layout.widths =
      ColumnWidths(salary_register, people, layout.columns, {}, layout.padding, measure);
  layout.bands = SplitIntoRuns(layout.widths, page_width);
  layout.heading_height = heading_text_height + 15;
  layout.row_height = measure.Height() + 2 * layout.padding;
  const int bands = static_cast<int>(layout.bands.size());
  layout.strip_height =
      layout.heading_height + bands * 2 * layout.row_height + (bands - 1) * layout.band_gap;
  layout.strips_per_page =
      std::max(1, (page_height + layout.strip_gap) / (layout.strip_height + layout.strip_gap));
  return layout;
}

PayslipLayout LayOutPayslipsOn(Printer& printer, TextMeasure& measure,
                               const SalaryRegister& salary_register,
                               const std::vector<int>& people, bool omit_empty_items) {
  const int heading_height = SelectPrintoutFont(printer);
  return LayOutPayslips(salary_register, people, omit_empty_items, measure, heading_height,
                        printer.PrintableWidth(), printer.PrintableHeight());
}

Text PayslipHeading(const PayslipOptions& options) {
  return PrintoutHeading(options.company, "工资条", options.pay_month);
}

bool PrintPayslips(Printer& printer, const SalaryRegister& salary_register,
                   const std::vector<int>& rows, const PayslipOptions& options) {
  const std::vector<int> people = PersonRows(salary_register, rows);
  if (people.empty()) return false;
  if (!printer.StartPrint(true, std::nullopt, kA4, kPortrait)) return false;
  TextMeasure measure(printer);
  const PayslipLayout layout =
      LayOutPayslipsOn(printer, measure, salary_register, people, options.omit_empty_items);
  const Text heading = PayslipHeading(options);
  const int per_page = layout.strips_per_page;
  const int width = printer.PrintableWidth();
  for (int i = 0; i < static_cast<int>(people.size()) && !printer.cancelled(); ++i) {
    const int slot = i % per_page;
    if (slot == 0 && i > 0) printer.NewPage();
    const int top = layout.StripTop(slot);
    PrintStrip(printer, measure, salary_register, layout, people[i], top, heading);
    if (slot + 1 < per_page && i + 1 < static_cast<int>(people.size())) {
      const int cut = top + layout.strip_height + layout.strip_gap / 2;
      printer.DrawLine(0, cut, width, cut, print::LineStyle::kDashed);
    }
  }
  printer.EndPrint();
  return true;
}

}  // namespace sr::app
