#include "app/paper/paper_table.h"

#include <algorithm>

#include "runtime/convert/conversions.h"

namespace sr::app {

Text PrintoutHeading(const Text& company, const Text& what, const Text& pay_month) {
  Text heading = company.empty() ? Text() : company + "　";
  heading += what;
  if (!pay_month.empty()) heading += "　" + pay_month;
  return heading;
}

int SelectPrintoutFont(Printer& printer) {
  printer.SetFontName(kPrintoutFace);
  printer.SetFontSize(kHeadingPoints);
  const int heading_height = printer.TextHeight("W");
  printer.SetFontSize(kCellPoints);
  return heading_height;
}

int TextMeasure::Width(const Text& text) {
  auto found = widths_.find(text);
  if (found != widths_.end()) return found->second;
  int width = printer_.TextWidth(text);
  widths_.emplace(text, width);
  return width;
}

std::vector<std::vector<int>> SplitIntoRuns(const std::vector<int>& widths, int available,
                                            int fixed) {
  std::vector<std::vector<int>> runs;
  int used = 0;
  for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
    if (runs.empty() || used + widths[i] > available) {
      runs.emplace_back();
      used = fixed;
    }
    runs.back().push_back(i);
    used += widths[i];
  }
  return runs;
}

void PrintCellText(Printer& printer, TextMeasure& measure, const Text& text, int left, int width,
                   int top, int padding, CellAlign align) {
  if (text.empty()) return;
  int x = left + padding;
  if (align != CellAlign::kLeft) {
    const int room = width - 2 * padding - measure.Width(text);
    x += align == CellAlign::kRight ? room : room / 2;
  }
  printer.PrintAt(x, top, {Value::FromText(text)});
}

void PrintTableLine(Printer& printer, TextMeasure& measure, const TableLine& line, int top,
                    const std::vector<Text>& texts) {
  const int text_top = top + (line.row_height - measure.Height()) / 2;
  int left = 0;
  for (size_t i = 0; i < line.widths.size(); ++i) {
    PrintCellText(printer, measure, texts[i], left, line.widths[i], text_top, line.padding,
                  line.aligns[i]);
    left += line.widths[i];
  }
  // The rules after the texts, so the pen changes twice a line, not twice a cell.
  left = 0;
  for (int width : line.widths) {
    printer.DrawLine(left, top, left, top + line.row_height);
    left += width;
  }
  printer.DrawLine(left, top, left, top + line.row_height);
  printer.DrawLine(0, top + line.row_height, left, top + line.row_height);
}

std::vector<RowPage> PagesOfRows(int rows, int rows_per_page) {
  const int pages = (rows + 1 + rows_per_page - 1) / rows_per_page;
  std::vector<RowPage> result;
  for (int p = 0; p < pages; ++p) {
    RowPage page;
    page.first = p * rows_per_page;
    page.count = std::max(0, std::min(rows_per_page, rows - page.first));
    page.totals = p + 1 == pages;
    result.push_back(page);
  }
  return result;
}

Text PageLine(int page, int pages) {
  return "第 " + ToText(page) + " 页 共 " + ToText(pages) + " 页";
}

void PrintPageFrame(Printer& printer, TextMeasure& measure, const Text& heading, int page,
                    int pages) {
  const int page_width = printer.PrintableWidth();
  printer.SetFontSize(kHeadingPoints);
  printer.PrintAt((page_width - printer.TextWidth(heading)) / 2, 0, {Value::FromText(heading)});
  const Text page_line = PageLine(page, pages);
  printer.SetFontSize(kCellPoints);
  printer.PrintAt((page_width - measure.Width(page_line)) / 2,
                  printer.PrintableHeight() - measure.Height(), {Value::FromText(page_line)});
}

}  // namespace sr::app
