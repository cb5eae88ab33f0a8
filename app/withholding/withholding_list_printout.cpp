#include "app/withholding/withholding_list_printout.h"

#include <algorithm>

#include "app/paper/paper_table.h"
#include "app/withholding/withholding_list.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

constexpr int kA4 = 2;
constexpr int kLandscape = 1;
constexpr int kPadding = 15;
constexpr int kKeyColumns = 2;  // 编号 and 姓名, on every page

// A printed column: the list's columns first to last, summed when they are several, under the
// list's title of `first` or under `title`.
struct PrintedColumn {
  int first;
  int last;
  const char* title;
};

// 编号, 姓名, 证件号码, 计算方法, then the amounts; the seven special additional deductions as
// one.
constexpr PrintedColumn kPrinted[] = {
    {0, 0, nullptr},   {1, 1, nullptr},   {3, 3, nullptr},   {4, 4, nullptr},
    {5, 5, nullptr},   {6, 6, nullptr},   {7, 7, nullptr},   {8, 14, "专项附加扣除"},
    {15, 15, nullptr}, {16, 16, nullptr}, {17, 17, nullptr}, {18, 18, nullptr},
    {19, 19, nullptr}, {20, 20, nullptr},
};
constexpr int kFirstAmount = 4;  // index into kPrinted

double Amount(const std::vector<Text>& row, const PrintedColumn& column) {
  double sum = 0;
  for (int i = column.first; i <= column.last; ++i) sum = RoundToPlaces(sum + ToNumber(row[i]), 2);
  return sum;
}

// The printed table: titles, one line per person, the totals line.
struct ListTable {
  std::vector<Text> titles;
  std::vector<std::vector<Text>> lines;
  std::vector<Text> totals;
};

ListTable TableOf(const std::vector<std::vector<Text>>& rows) {
  ListTable table;
  const std::vector<Text>& list_titles = WithholdingListTitles();
  for (const PrintedColumn& column : kPrinted) {
    table.titles.push_back(column.title != nullptr ? Text(column.title) : list_titles[column.first]);
  }
  std::vector<double> sums(std::size(kPrinted), 0);
  for (const std::vector<Text>& row : rows) {
    std::vector<Text> line;
    for (size_t c = 0; c < std::size(kPrinted); ++c) {
      if (static_cast<int>(c) < kFirstAmount) {
        line.push_back(row[kPrinted[c].first]);
        continue;
      }
      const double amount = Amount(row, kPrinted[c]);
      sums[c] = RoundToPlaces(sums[c] + amount, 2);
      line.push_back(ToText(amount));
    }
    table.lines.push_back(std::move(line));
  }
  table.totals = {"合计", Concat({ToText(static_cast<int32_t>(rows.size())), " 人"})};
  table.totals.resize(kFirstAmount);
  for (size_t c = kFirstAmount; c < std::size(kPrinted); ++c) table.totals.push_back(ToText(sums[c]));
  return table;
}

// Where the table goes: the columns of each page (number and name first), the rows of each.
struct ListLayout {
  std::vector<int> widths;
  std::vector<std::vector<int>> groups;
  std::vector<RowPage> row_pages;
  int heading_height = 0;
  int row_height = 0;
};

ListLayout LayOut(Printer& printer, TextMeasure& measure, const ListTable& table) {
  ListLayout layout;
  layout.heading_height = SelectPrintoutFont(printer) + 40;
  for (size_t c = 0; c < table.titles.size(); ++c) {
    int widest = std::max(measure.Width(table.titles[c]), measure.Width(table.totals[c]));
    for (const std::vector<Text>& line : table.lines) widest = std::max(widest, measure.Width(line[c]));
    layout.widths.push_back(widest + 2 * kPadding);
  }
  const std::vector<int> others(layout.widths.begin() + kKeyColumns, layout.widths.end());
  for (const std::vector<int>& run : SplitIntoRuns(others, printer.PrintableWidth(),
                                                   layout.widths[0] + layout.widths[1])) {
    std::vector<int> group = {0, 1};
    for (int i : run) group.push_back(i + kKeyColumns);
    layout.groups.push_back(group);
  }
  layout.row_height = measure.Height() + 2 * kPadding;
  const int footer_height = measure.Height() + 40;
  const int table_height = printer.PrintableHeight() - layout.heading_height - footer_height;
  const int rows_per_page = std::max(1, table_height / layout.row_height - 1);
  layout.row_pages = PagesOfRows(static_cast<int>(table.lines.size()), rows_per_page);
  return layout;
}

std::vector<Text> Pick(const std::vector<Text>& line, const std::vector<int>& group) {
  std::vector<Text> texts;
  for (int c : group) texts.push_back(line[c]);
  return texts;
}

void PrintGroupPage(Printer& printer, TextMeasure& measure, const ListTable& table,
                    const ListLayout& layout, const std::vector<int>& group, const RowPage& page) {
  std::vector<int> widths;
  std::vector<CellAlign> centred(group.size(), CellAlign::kCentre);
  std::vector<CellAlign> aligns;
  int table_width = 0;
  for (int c : group) {
    widths.push_back(layout.widths[c]);
    aligns.push_back(c < kFirstAmount ? CellAlign::kLeft : CellAlign::kRight);
    table_width += layout.widths[c];
  }
  int top = layout.heading_height;
  printer.DrawLine(0, top, table_width, top);
  PrintTableLine(printer, measure, {widths, centred, layout.row_height, kPadding}, top,
                 Pick(table.titles, group));
  const TableLine line{widths, aligns, layout.row_height, kPadding};
  for (int k = 0; k < page.count && !printer.cancelled(); ++k) {
    top += layout.row_height;
    PrintTableLine(printer, measure, line, top, Pick(table.lines[page.first + k], group));
  }
  if (page.totals) {
    top += layout.row_height;
    PrintTableLine(printer, measure, line, top, Pick(table.totals, group));
  }
}

}  // namespace

bool PrintWithholdingList(const std::vector<std::vector<Text>>& rows, const Text& heading,
                          Printer& printer) {
  if (!printer.StartPrint(true, std::nullopt, kA4, kLandscape)) return false;
  TextMeasure measure(printer);
  const ListTable table = TableOf(rows);
  const ListLayout layout = LayOut(printer, measure, table);
  const int pages = static_cast<int>(layout.groups.size() * layout.row_pages.size());
  int page = 0;
  for (const std::vector<int>& group : layout.groups) {
    for (const RowPage& rows_of_page : layout.row_pages) {
      if (printer.cancelled()) break;
      if (page > 0) printer.NewPage();
      PrintPageFrame(printer, measure, heading, ++page, pages);
      PrintGroupPage(printer, measure, table, layout, group, rows_of_page);
    }
  }
  printer.EndPrint();
  return true;
}

}  // namespace sr::app
