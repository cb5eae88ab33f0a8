#include "app/summary/summary_printout.h"

#include "runtime/convert/conversions.h"
#include "runtime/convert/date_time.h"

namespace sr::app {

namespace {

constexpr int kRuleX = 300;
constexpr int kTopRuleY = 450;
constexpr int kRuleStep = 38;  // half a table row: a rule line and a cell line alternate
constexpr int kPrintedRows = 20;
constexpr int kFirstContentY = 490;
constexpr int kContentStep = 76;
constexpr int kColumnX[3] = {400, 500, 1030};
constexpr int kCellWidths[3] = {3, 11, 8};

// One rule: the left corner, each cell filled with `fill`, junctions between cells, the right
// corner. Every piece is one full-width character.
Text Rule(const char* left, const char* fill, const char* junction, const char* right) {
  Text rule = left;
  for (int cell = 0; cell < 3; ++cell) {
    if (cell > 0) rule += junction;
    for (int i = 0; i < kCellWidths[cell]; ++i) rule += fill;
  }
  rule += right;
  return rule;
}

void PrintText(Printer& printer, int x, int y, const Text& text) {
  printer.PrintAt(x, y, {Value::FromText(text)});
}

void PrintRules(Printer& printer) {
  int y = kTopRuleY;
  PrintText(printer, kRuleX, y, SummaryTopRule());
  for (int row = 0; row < kPrintedRows - 1; ++row) {
    y += kRuleStep;
    PrintText(printer, kRuleX, y, SummaryCellRule());
    y += kRuleStep;
    PrintText(printer, kRuleX, y, SummaryMiddleRule());
  }
  y += kRuleStep;
  PrintText(printer, kRuleX, y, SummaryCellRule());
  y += kRuleStep;
  PrintText(printer, kRuleX, y, SummaryBottomRule());
}

void PrintContents(const Grid& summary_grid, Printer& printer) {
  for (int k = 0; k < kPrintedRows; ++k) {
    const int y = kFirstContentY + kContentStep * k;
    for (int column = 0; column < 3; ++column) {
      Value cell = summary_grid.GetCellValue(k, column);
      // A grid smaller than the table prints blank cells instead of the value "假".
      PrintText(printer, kColumnX[column], y, cell.is_text() ? cell.text() : Text());
    }
  }
}

}  // namespace

Text SummaryTopRule() { return Rule("┌", "─", "┬", "┐"); }
Text SummaryCellRule() { return Rule("│", "　", "│", "│"); }
Text SummaryMiddleRule() { return Rule("├", "─", "┼", "┤"); }
Text SummaryBottomRule() { return Rule("└", "─", "┴", "┘"); }

void PrintSummary(const Grid& summary_grid, Printer& printer, double day, const Text& note) {
  printer.StartPrint(true, std::nullopt, 2, 0);
  printer.SetFontName("宋体");
  printer.SetFontSize(16);
  PrintText(printer, 600, 300, "工 资 汇 总 表");
  printer.SetFontSize(12);
  const Text date = Text("打印日期：") + ToText(Value::DateTime(DatePart(day)));
  PrintText(printer, 320, 400, note.empty() ? date : date + "　" + note);
  PrintRules(printer);
  PrintContents(summary_grid, printer);
  printer.EndPrint();
}

}  // namespace sr::app
