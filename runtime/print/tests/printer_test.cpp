#include "runtime/print/printer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/print/recording_print_seam.h"

namespace sr {
namespace {

using print::DialogOutcome;
using print::DrawnText;
using print::RecordingPrintSeam;

// At the recording seam's 600 dpi, 0.1 mm is 600 / 254 pixels: 300 -> 709, 450 -> 1063.
constexpr int kX300 = 709;
constexpr int kY450 = 1063;

class PrinterTest : public ::testing::Test {
 protected:
  PrinterTest() : printer_(&seam_) {
    printer_.SetFontName("宋体");
    printer_.SetFontSize(12);  // em 100 px: one-byte characters 50 wide, lines 120 high
  }

  bool Start() { return printer_.StartPrint(true, std::nullopt, 2, 0); }
  bool Called(const std::string& call) const {
    const auto& calls = seam_.calls();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  }
  static void ExpectAt(const DrawnText& text, int x, int y, const Text& content) {
    EXPECT_EQ(text.x, x) << text.text;
    EXPECT_EQ(text.y, y) << text.text;
    EXPECT_EQ(text.text, content);
  }

  RecordingPrintSeam seam_;
  Printer printer_;
};

TEST_F(PrinterTest, SummaryStyleJobRunsDialogStatusDocumentAndPageInOrder) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(printer_.job_open());
  printer_.PrintAt(600, 300, {Value::FromText("工 资 汇 总 表")});
  printer_.EndPrint();
  EXPECT_FALSE(printer_.job_open());
  EXPECT_EQ(seam_.calls(),
            (std::vector<std::string>{
                "PrepareSettings paper=9 portrait", "ShowPrintDialog", "CreateContext ",
                "OpenStatusWindow", "StartDocument 未命名打印作业", "StartPage",
                "SelectFont 12 宋体", "DrawText 1417,709 工 资 汇 总 表", "EndPage", "EndDocument",
                "DeleteContext", "CloseStatusWindow"}));
  EXPECT_EQ(seam_.status_texts().device_line, "打印机：Recorder 上的 REC1:");
  EXPECT_EQ(seam_.status_texts().job_line, "文档：未命名打印作业");
}

TEST_F(PrinterTest, TwoCallsWithTheSameYShareTheLine) {
  ASSERT_TRUE(Start());
  printer_.PrintAt(300, 450, {Value::FromText("ab")});
  printer_.PrintAt(1000, 450, {Value::FromText("cd")});
  ASSERT_EQ(seam_.texts().size(), 2u);
  ExpectAt(seam_.texts()[0], kX300, kY450, "ab");
  ExpectAt(seam_.texts()[1], 2362, kY450, "cd");
}

TEST_F(PrinterTest, SeveralValuesStandSideBySide) {
  ASSERT_TRUE(Start());
  printer_.PrintAt(300, 450,
                   {Value::FromText("ab"), Value::Int(12), Value::FromText("工资"),
                    Value::Double(1234.50), Value::FromBytes("skipped"), Value::Bool(true)});
  ASSERT_EQ(seam_.texts().size(), 5u);
  ExpectAt(seam_.texts()[0], kX300, kY450, "ab");
  ExpectAt(seam_.texts()[1], kX300 + 100, kY450, "12");
  ExpectAt(seam_.texts()[2], kX300 + 200, kY450, "工资");
  ExpectAt(seam_.texts()[3], kX300 + 400, kY450, "1234.5");
  ExpectAt(seam_.texts()[4], kX300 + 700, kY450, "真");
}

TEST_F(PrinterTest, LineBreaksGoOneLineHeightPlusTwoPixelsDownAtTheSameX) {
  ASSERT_TRUE(Start());
  printer_.PrintAt(300, 450,
                   {Value::FromText("first\r\nsecond\rthird\nend"), Value::FromText("+")});
  ASSERT_EQ(seam_.texts().size(), 5u);
  ExpectAt(seam_.texts()[0], kX300, kY450, "first");
  ExpectAt(seam_.texts()[1], kX300, kY450 + 122, "second");
  ExpectAt(seam_.texts()[2], kX300, kY450 + 244, "third");
  ExpectAt(seam_.texts()[3], kX300, kY450 + 366, "end");
  // The next value continues after the last line of the previous one.
  ExpectAt(seam_.texts()[4], kX300 + 150, kY450 + 366, "+");
}

TEST_F(PrinterTest, EmptyLineTakesTheHeightOfALine) {
  ASSERT_TRUE(Start());
  printer_.PrintAt(300, 450, {Value::FromText("a\n\nb")});
  ASSERT_EQ(seam_.texts().size(), 2u);
  ExpectAt(seam_.texts()[1], kX300, kY450 + 244, "b");
}

TEST_F(PrinterTest, CancelledDialogPrintsNothingAndLeavesNoJob) {
  seam_.dialog_answer = DialogOutcome::kCancelled;
  EXPECT_FALSE(Start());
  EXPECT_FALSE(printer_.job_open());
  printer_.PrintAt(300, 450, {Value::FromText("x")});
  printer_.EndPrint();
  EXPECT_TRUE(seam_.texts().empty());
  EXPECT_EQ(seam_.calls(),
            (std::vector<std::string>{"PrepareSettings paper=9 portrait", "ShowPrintDialog"}));
  // A later job still works.
  seam_.dialog_answer = DialogOutcome::kToPrinter;
  EXPECT_TRUE(Start());
}

TEST_F(PrinterTest, PrintAtOutsideAJobDoesNothing) {
  printer_.PrintAt(300, 450, {Value::FromText("x")});
  ASSERT_TRUE(Start());
  printer_.EndPrint();
  printer_.PrintAt(300, 450, {Value::FromText("y")});
  EXPECT_TRUE(seam_.texts().empty());
}

TEST_F(PrinterTest, SecondStartWhileAJobIsOpenFailsAndKeepsTheFirst) {
  ASSERT_TRUE(Start());
  size_t calls = seam_.calls().size();
  EXPECT_FALSE(Start());
  EXPECT_EQ(seam_.calls().size(), calls);  // not even the settings were touched
  printer_.PrintAt(300, 450, {Value::FromText("x")});
  EXPECT_EQ(seam_.texts().size(), 1u);
}

TEST_F(PrinterTest, CancelInTheStatusWindowStopsFurtherLinesAndDiscardsTheJob) {
  seam_.cancel_at_message_pass = 2;
  ASSERT_TRUE(Start());
  printer_.PrintAt(300, 450, {Value::FromText("one\r\ntwo\r\nthree")});
  printer_.PrintAt(300, 900, {Value::FromText("later")});
  ASSERT_EQ(seam_.texts().size(), 1u);
  EXPECT_EQ(seam_.texts()[0].text, "one");
  EXPECT_TRUE(printer_.cancelled());
  printer_.EndPrint();
  EXPECT_TRUE(Called("AbortDocument"));
  EXPECT_FALSE(Called("EndDocument"));
  EXPECT_FALSE(seam_.context_open());
  EXPECT_FALSE(seam_.status_window_open());
  // The next job starts afresh.
  seam_.cancel_at_message_pass = 0;
  ASSERT_TRUE(Start());
  EXPECT_FALSE(printer_.cancelled());
  printer_.PrintAt(0, 0, {Value::FromText("again")});
  EXPECT_EQ(seam_.texts().back().text, "again");
}

TEST_F(PrinterTest, DialogIsSkippedOnlyWhenNotWantedAndADefaultPrinterExists) {
  ASSERT_TRUE(printer_.StartPrint(false, false, 0, 0));
  printer_.EndPrint();
  EXPECT_FALSE(Called("ShowPrintDialog"));
  EXPECT_FALSE(Called("OpenStatusWindow"));
  seam_.has_default_printer = false;
  ASSERT_TRUE(printer_.StartPrint(false, false, 0, 0));
  EXPECT_TRUE(Called("ShowPrintDialog"));
}

TEST_F(PrinterTest, PrintToFileAsksForTheFileAndShowsItsTitle) {
  seam_.dialog_answer = DialogOutcome::kToFile;
  seam_.answer_output_file = false;
  EXPECT_FALSE(Start());
  EXPECT_TRUE(Called("AskOutputFile 打印到文件"));
  EXPECT_FALSE(seam_.context_open());

  seam_.answer_output_file = true;
  seam_.output_file_answer = "d:\\out\\工资.prn";
  ASSERT_TRUE(Start());
  EXPECT_TRUE(Called("CreateContext d:\\out\\工资.prn"));
  EXPECT_EQ(seam_.status_texts().device_line, "打印机：工资.prn");
  printer_.EndPrint();

  // 0x955C is one character whose trail byte is a backslash, not a separator.
  seam_.output_file_answer = "d:\\out\\a\x95\x5c.prn";
  ASSERT_TRUE(Start());
  EXPECT_EQ(seam_.status_texts().device_line, "打印机：a\x95\x5c.prn");
}

TEST_F(PrinterTest, FailedDocumentOrPageUndoesTheJob) {
  seam_.fail_start_document = true;
  EXPECT_FALSE(Start());
  EXPECT_FALSE(printer_.job_open());
  EXPECT_FALSE(seam_.context_open());
  EXPECT_FALSE(seam_.status_window_open());

  seam_.fail_start_document = false;
  seam_.fail_start_page = true;
  EXPECT_FALSE(Start());
  EXPECT_TRUE(Called("EndDocument"));
  EXPECT_FALSE(seam_.context_open());
  EXPECT_FALSE(seam_.status_window_open());
}

TEST_F(PrinterTest, PaperKindsMapToWindowsPaperNumbers) {
  EXPECT_EQ(Printer::PaperNumberOfKind(0), std::nullopt);
  EXPECT_EQ(Printer::PaperNumberOfKind(-3), std::nullopt);
  EXPECT_EQ(Printer::PaperNumberOfKind(1), 8);    // A3
  EXPECT_EQ(Printer::PaperNumberOfKind(2), 9);    // A4
  EXPECT_EQ(Printer::PaperNumberOfKind(7), 93);   // 16K
  EXPECT_EQ(Printer::PaperNumberOfKind(9), 1);    // Letter
  EXPECT_EQ(Printer::PaperNumberOfKind(16), 14);  // Folio
  EXPECT_EQ(Printer::PaperNumberOfKind(17), 0);
  EXPECT_EQ(Printer::PaperNumberOfKind(999), 0);
  EXPECT_EQ(Printer::PaperNumberOfKind(1000), 1);
  EXPECT_EQ(Printer::PaperNumberOfKind(1008), 9);

  ASSERT_TRUE(printer_.StartPrint(true, std::nullopt, 20, 1, CustomPaper{1000, 1500}));
  EXPECT_FALSE(seam_.paper().keep_default);
  EXPECT_EQ(seam_.paper().paper_number, 0);
  EXPECT_EQ(seam_.paper().custom_width, 1000);
  EXPECT_EQ(seam_.orientation(), print::Orientation::kLandscape);
}

TEST_F(PrinterTest, UnitsAndOffsetsMapToDevicePixels) {
  ASSERT_TRUE(Start());
  printer_.set_unit(CoordinateUnit::kDevicePixel);
  printer_.PrintAt(5, 7, {Value::FromText("a")});
  printer_.set_unit(CoordinateUnit::kHundredthInch);
  printer_.set_offset(100, 50);
  printer_.PrintAt(100, 100, {Value::FromText("b")});
  // An omitted coordinate is the current position, which PrintAt never moves.
  printer_.set_offset(0, 0);
  printer_.PrintAt(std::nullopt, 100, {Value::FromText("c")});
  ASSERT_EQ(seam_.texts().size(), 3u);
  ExpectAt(seam_.texts()[0], 5, 7, "a");
  ExpectAt(seam_.texts()[1], 1200, 900, "b");
  ExpectAt(seam_.texts()[2], 0, 600, "c");
}

TEST_F(PrinterTest, FontChangesApplyFromTheNextOutput) {
  ASSERT_TRUE(Start());
  printer_.SetFontSize(16);
  printer_.PrintAt(600, 300, {Value::FromText("title")});
  printer_.SetFontSize(12);
  printer_.PrintAt(300, 450, {Value::FromText("ab"), Value::FromText("c")});
  ASSERT_EQ(seam_.texts().size(), 3u);
  EXPECT_EQ(seam_.texts()[0].font, (print::FontSpec{16, "宋体"}));
  EXPECT_EQ(seam_.texts()[1].font, (print::FontSpec{12, "宋体"}));
  EXPECT_EQ(seam_.texts()[2].x, kX300 + 100);
}

TEST_F(PrinterTest, DestroyingThePrinterEndsAnOpenJob) {
  {
    Printer printer(&seam_);
    ASSERT_TRUE(printer.StartPrint(true, std::nullopt, 2, 0));
  }
  EXPECT_TRUE(Called("EndDocument"));
  EXPECT_FALSE(seam_.context_open());
  EXPECT_FALSE(seam_.status_window_open());
}

}  // namespace
}  // namespace sr

namespace sr {
namespace {

// Printouts of several pages: NewPage ends one page and starts the next, lines and text widths
// use the coordinate unit, and none of it happens outside a job or after a cancel.
class PrinterPagesTest : public ::testing::Test {
 protected:
  PrinterPagesTest() : printer_(&seam_) { printer_.SetFontSize(12); }
  bool Start() { return printer_.StartPrint(false, false, 2, 0); }
  print::RecordingPrintSeam seam_;
  Printer printer_;
};

TEST_F(PrinterPagesTest, NewPageStartsTheNextPageAndCountsIt) {
  EXPECT_FALSE(printer_.NewPage());
  EXPECT_EQ(printer_.page_number(), 0);
  ASSERT_TRUE(Start());
  EXPECT_EQ(printer_.page_number(), 1);
  printer_.PrintAt(0, 0, {Value::FromText("A")});
  ASSERT_TRUE(printer_.NewPage());
  printer_.PrintAt(0, 0, {Value::FromText("B")});
  EXPECT_EQ(printer_.page_number(), 2);
  printer_.EndPrint();
  ASSERT_EQ(seam_.texts().size(), 2u);
  EXPECT_EQ(seam_.texts()[0].page, 1);
  EXPECT_EQ(seam_.texts()[1].page, 2);
  const auto& calls = seam_.calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "StartPage"), 2);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "EndPage"), 2);
}

TEST_F(PrinterPagesTest, LinesAndWidthsAreInTheCoordinateUnit) {
  EXPECT_EQ(printer_.TextWidth("AB"), 0);  // no job, no device to ask
  EXPECT_EQ(printer_.PrintableWidth(), 0);
  printer_.DrawLine(0, 0, 100, 0);
  ASSERT_TRUE(Start());
  printer_.set_offset(10, 0);
  printer_.DrawLine(300, 450, 300, 1000, print::LineStyle::kDashed);
  ASSERT_EQ(seam_.lines().size(), 1u);
  EXPECT_EQ(seam_.lines()[0].x1, 732);  // 31 mm at 600 dpi
  EXPECT_EQ(seam_.lines()[0].y1, 1063);
  EXPECT_EQ(seam_.lines()[0].y2, 2362);
  EXPECT_EQ(seam_.lines()[0].style, print::LineStyle::kDashed);
  // 12 points at 600 dpi: an em of 100 px; "AB" is one em wide, 100 px = 4.2 mm, cut to 42.
  EXPECT_EQ(printer_.TextWidth("AB"), 42);
  EXPECT_EQ(printer_.TextHeight(""), 50);  // 120 px
  EXPECT_EQ(printer_.PrintableWidth(), 4660 * 254 / 600);
}

TEST_F(PrinterPagesTest, NothingIsDrawnAfterTheUserCancelled) {
  seam_.cancel_at_message_pass = 1;  // Cancel in the status window
  ASSERT_TRUE(printer_.StartPrint(false, true, 2, 0));
  printer_.PrintAt(0, 0, {Value::FromText("A")});
  EXPECT_TRUE(printer_.cancelled());
  EXPECT_FALSE(printer_.NewPage());
  printer_.DrawLine(0, 0, 10, 10);
  EXPECT_TRUE(seam_.lines().empty());
  printer_.EndPrint();
  EXPECT_TRUE(std::find(seam_.calls().begin(), seam_.calls().end(), "AbortDocument") !=
              seam_.calls().end());
}

}  // namespace
}  // namespace sr
