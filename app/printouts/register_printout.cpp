#include "app/printouts/register_printout.h"

#include <algorithm>

#include "runtime/convert/conversions.h"

namespace sr::app {

namespace {

constexpr int kA3 = 1;
constexpr int kA4 = 2;
constexpr int kLandscape = 1;

std::vector<std::vector<int>> ColumnGroups(const std::vector<int>& widths, int page_width) {
  const std::vector<int> keys = {kNumberColumn, kNameColumn};
  std::vector<int> others;
  std::vector<int> other_widths;
  for (int column = 0; column < kRegisterColumns; ++column) {
    if (column == kNumberColumn || column == kNameColumn) continue;
    others.push_back(column);
    other_widths.push_back(widths[column]);
  }
  // As few groups as the page allows, then as even as they come: the least width that still
  // gives that many, so the last group is not a stub of one or two columns.
  const int keys_width = widths[kNumberColumn] + widths[kNameColumn];
  std::vector<std::vector<int>> runs = SplitIntoRuns(other_widths, page_width, keys_width);
  int total = 0;
  for (int width : other_widths) total += width;
  const size_t fewest = runs.size();
  for (int width = keys_width + total / static_cast<int>(fewest); width < page_width; width += 20) {
    std::vector<std::vector<int>> even = SplitIntoRuns(other_widths, width, keys_width);
    if (even.size() == fewest) {
      runs = even;
      break;
    }
  }
  std::vector<std::vector<int>> groups;
  for (const std::vector<int>& run : runs) {
    std::vector<int> group = keys;
    for (int i : run) group.push_back(others[i]);
    groups.push_back(group);
  }
  return groups;
}

void AddPages(RegisterLayout& layout) {
  const std::vector<RowPage> pages =
      PagesOfRows(static_cast<int>(layout.rows.size()), layout.rows_per_page);
  for (int group = 0; group < static_cast<int>(layout.groups.size()); ++group) {
    for (const RowPage& rows : pages) {
      layout.pages.push_back({group, rows.first, rows.count, rows.totals});
    }
  }
}

// One line of the table: each column's text inside its cell, and the bars between cells.
void PrintLine(Printer& printer, TextMeasure& measure, const RegisterLayout& layout,
               const std::vector<int>& group, int top, const std::vector<Text>& texts,
               bool titles) {
  std::vector<int> widths;
  std::vector<CellAlign> aligns;
  for (int column : group) {
    widths.push_back(layout.widths[column]);
    aligns.push_back(titles                   ? CellAlign::kCentre
                     : IsAmountColumn(column) ? CellAlign::kRight
                                              : CellAlign::kLeft);
  }
  PrintTableLine(printer, measure, {widths, aligns, layout.row_height, layout.padding}, top, texts);
}

template <typename ByColumn>
std::vector<Text> TextsOf(const std::vector<int>& group, const ByColumn& by_column) {
  std::vector<Text> texts;
  for (int column : group) texts.push_back(by_column[column]);
  return texts;
}

void PrintPage(Printer& printer, TextMeasure& measure, const SalaryRegister& salary_register,
               const RegisterLayout& layout, const std::vector<Text>& totals_row, int index,
               const Text& heading) {
  const RegisterLayout::Page& page = layout.pages[index];
  const std::vector<int>& group = layout.groups[page.group];
  PrintPageFrame(printer, measure, heading, index + 1, static_cast<int>(layout.pages.size()));

  int top = layout.heading_height;
  printer.DrawLine(0, top, layout.GroupWidth(page.group), top);
  PrintLine(printer, measure, layout, group, top, TextsOf(group, salary_register.Titles()), true);
  for (int k = 0; k < page.count && !printer.cancelled(); ++k) {
    top += layout.row_height;
    const int row = layout.rows[page.first + k];
    std::vector<Text> texts;
    for (int column : group) texts.push_back(PrintedCell(salary_register, row, column));
    PrintLine(printer, measure, layout, group, top, texts, false);
  }
  if (page.totals) {
    top += layout.row_height;
    PrintLine(printer, measure, layout, group, top, TextsOf(group, totals_row), false);
  }
}

}  // namespace

int RegisterLayout::GroupWidth(int group) const {
  int width = 0;
  for (int column : groups[group]) width += widths[column];
  return width;
}

std::vector<int> FilledRows(const SalaryRegister& salary_register) {
  std::vector<int> rows;
  for (int row = 1; row < salary_register.RowCount(); ++row) {
    if (salary_register.HasNumberOrName(row)) rows.push_back(row);
  }
  return rows;
}

std::vector<Text> TotalsRow(const SummaryTotals& totals) {
  std::vector<Text> row(kRegisterColumns);
  row[kNameColumn] = "合计";
  for (int i = 0; i < kSummaryItems; ++i) row[kFirstAmountColumn + i] = ToText(totals[i]);
  return row;
}

RegisterLayout LayOutRegister(const SalaryRegister& salary_register,
                              const std::vector<Text>& totals_row, TextMeasure& measure,
                              int heading_text_height, int page_width, int page_height) {
  RegisterLayout layout;
  layout.rows = FilledRows(salary_register);
  std::vector<int> all(kRegisterColumns);
  for (int c = 0; c < kRegisterColumns; ++c) all[c] = c;
  layout.widths =
      ColumnWidths(salary_register, layout.rows, all, totals_row, layout.padding, measure);
  layout.groups = ColumnGroups(layout.widths, page_width);
  layout.heading_height = heading_text_height + 40;
  layout.row_height = measure.Height() + 2 * layout.padding;
  layout.footer_height = measure.Height() + 40;
  const int table_height = page_height - layout.heading_height - layout.footer_height;
  layout.rows_per_page = std::max(1, table_height / layout.row_height - 1);
  AddPages(layout);
  return layout;
}

RegisterLayout LayOutRegisterOn(Printer& printer, TextMeasure& measure,
                                const SalaryRegister& salary_register,
                                const std::vector<Text>& totals_row) {
  const int heading_height = SelectPrintoutFont(printer);
  return LayOutRegister(salary_register, totals_row, measure, heading_height,
                        printer.PrintableWidth(), printer.PrintableHeight());
}

Text RegisterHeading(const RegisterPrintOptions& options) {
  return PrintoutHeading(options.company, "工资表", options.pay_month);
}

bool PrintRegister(Printer& printer, const SalaryRegister& salary_register,
                   const SummaryTotals& totals, const RegisterPrintOptions& options) {
  const int paper = options.paper == RegisterPaper::kA3 ? kA3 : kA4;
  if (!printer.StartPrint(true, std::nullopt, paper, kLandscape)) return false;
  TextMeasure measure(printer);
  const std::vector<Text> totals_row = TotalsRow(totals);
  const RegisterLayout layout = LayOutRegisterOn(printer, measure, salary_register, totals_row);
  const Text heading = RegisterHeading(options);
  for (int i = 0; i < static_cast<int>(layout.pages.size()) && !printer.cancelled(); ++i) {
    if (i > 0) printer.NewPage();
    PrintPage(printer, measure, salary_register, layout, totals_row, i, heading);
  }
  printer.EndPrint();
  return true;
}

}  // namespace sr::app
