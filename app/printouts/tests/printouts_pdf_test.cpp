// Payslips and the whole register printed for real: through the Qt print seam into PDFs
// (offscreen), read back with pdftotext -bbox and rendered with pdftoppm.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/printouts/payslip_printout.h"
#include "app/printouts/register_printout.h"
#include "app/printouts/tests/printout_test_register.h"
#include "app/tests/app_harness.h"
#include "base/gbk.h"
#include "platform/qt/print/qt_print_seam.h"
#include "platform/qt/print/tests/pdf_pages.h"
#include "platform/qt/print/tests/pdf_seam.h"
#include "platform/qt/print/tests/pdf_words.h"

// fontconfig keeps its caches until exit; they are not our leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace sr::app {
namespace {

namespace fs = std::filesystem;
using testing::AppHarness;
using Word = test::PdfWord;

std::string DataDir() {
  const char* source = std::getenv("SR_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/app/printouts/tests/data";
}

// A rectangle of the page in millimetres from its top-left corner.
struct Box {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// Whether a word with this text lies inside `box` on `page` (0.3 mm of slack for the glyph
// boxes that pdftotext reports).
bool PrintedIn(const std::vector<Word>& words, const Text& gbk, int page, const Box& box) {
  const std::string text = ToUtf8(gbk);
  for (const Word& word : words) {
    if (word.page == page && word.text == text && word.x >= box.left - 0.3 &&
        word.x + word.width <= box.right + 0.3 && word.y >= box.top - 0.3 &&
        word.y + word.height <= box.bottom + 0.3) {
      return true;
    }
  }
  return false;
}

class PrintoutsPdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::OffscreenApplication();
    char pattern[] = "/tmp/printouts-pdf-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    seam_.PrintToPdfWithoutAsking(Pdf().string());
  }
  void TearDown() override {
    if (std::getenv("SR_KEEP_PRINTOUTS_PDF") == nullptr) fs::remove_all(dir_);
  }
  fs::path Pdf() const { return dir_ / "printout.pdf"; }

  // Runs `lay_out` on a job of its own (the same device as the printout's), so the test knows
  // where the printout puts each cell; returns the printable area's corner in millimetres.
  void OnScratchJob(int paper, int orientation,
                    const std::function<void(Printer&, TextMeasure&)>& lay_out, double* left,
                    double* top) {
    test::PdfSeam scratch;
    scratch.PrintToPdfWithoutAsking((dir_ / "scratch.pdf").string());
    Printer printer(&scratch);
    ASSERT_TRUE(printer.StartPrint(false, false, paper, orientation));
    TextMeasure measure(printer);
    lay_out(printer, measure);
    *left = scratch.geometry.offset_x * 25.4 / scratch.geometry.dpi_x;
    *top = scratch.geometry.offset_y * 25.4 / scratch.geometry.dpi_y;
    printer.EndPrint();
  }

  // Compares page 1 of the printout with a committed reference rendered at 50 dpi; a fresh
  // render may differ by anti-aliasing and hinting, not by a moved or missing line. Set
  // SR_KEEP_PRINTOUTS_PNG to a folder to write the fresh render there.
  void ExpectFirstPageLike(const std::string& reference_name) {
    QImage fresh = test::RenderPdfPage(Pdf(), 1, 50);
    ASSERT_FALSE(fresh.isNull());
    if (const char* keep = std::getenv("SR_KEEP_PRINTOUTS_PNG")) {
      fresh.save(QString::fromStdString(std::string(keep) + "/" + reference_name));
    }
    QImage reference(QString::fromStdString(DataDir() + "/" + reference_name));
    ASSERT_FALSE(reference.isNull()) << DataDir() << "/" << reference_name;
    reference = reference.convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(fresh.size(), reference.size());
    // 4 pixels at 50 dpi: 2 mm, less than one row of a table.
    test::PageComparison result = test::ComparePages(fresh, reference, 4);
    EXPECT_GT(result.inked, 2000) << result.inked;
    EXPECT_LE(result.differing, result.inked / 10)
        << result.differing << " pixels differ, " << result.inked << " inked";
    EXPECT_GT(result.shifted, result.inked / 5) << result.shifted;
  }

  fs::path dir_;
  test::PdfSeam seam_;
  AppHarness harness_{&seam_};
};

// Thirty payslips: every strip's heading, titles and amounts inside their cells, on the page
// that holds the whole strip, and nothing else on the pages.
TEST_F(PrintoutsPdfTest, EveryStripsTextsStandInTheirCellsOnOnePage) {
  SalaryRegister& reg = harness_.salary_register();
  testing::FillPrintoutRegister(reg, 30);
  PayslipOptions options{FromUtf8("示例公司"), "", false};
  {
    Printer printer(&seam_);
    ASSERT_TRUE(PrintPayslips(printer, reg, {}, options));
  }
  const std::vector<int> people = PersonRows(reg, {});
  PayslipLayout layout;
  double left = 0;
  double top = 0;
  OnScratchJob(
      2, 0,
      [&](Printer& printer, TextMeasure& measure) {
        layout = LayOutPayslipsOn(printer, measure, reg, people, false);
      },
      &left, &top);
  ASSERT_GT(layout.strips_per_page, 1);
  ASSERT_LT(layout.strips_per_page, 30);
  const double page_bottom = top + seam_.geometry.printable_height * 25.4 / seam_.geometry.dpi_y;

  std::vector<Word> words = test::PdfWordsOf(Pdf());
  ASSERT_FALSE(words.empty()) << "pdftotext found no words";
  size_t expected_words = 0;
  auto mm = [](int tenths) { return tenths / 10.0; };
  for (int k = 0; k < 30; ++k) {
    SCOPED_TRACE("strip " + std::to_string(k + 1));
    const int page = k / layout.strips_per_page + 1;
    const int strip_top = layout.StripTop(k % layout.strips_per_page);
    EXPECT_LE(top + mm(strip_top + layout.strip_height), page_bottom);
    const Box heading{left, top + mm(strip_top), left + 190,
                      top + mm(strip_top + layout.heading_height)};
    EXPECT_TRUE(PrintedIn(words, FromUtf8("示例公司"), page, heading));
    EXPECT_TRUE(PrintedIn(words, FromUtf8("工资条"), page, heading));
    expected_words += 2;
    for (size_t b = 0; b < layout.bands.size(); ++b) {
      const int band_top = layout.BandTop(strip_top, static_cast<int>(b));
      for (int i : layout.bands[b]) {
        const int column = layout.columns[i];
        Box cell{left + mm(layout.ColumnLeft(i)), top + mm(band_top),
                 left + mm(layout.ColumnLeft(i) + layout.widths[i]),
                 top + mm(band_top + layout.row_height)};
        EXPECT_TRUE(PrintedIn(words, reg.Title(column), page, cell)) << column;
        ++expected_words;
        const Text value = PrintedCell(reg, people[k], column);
        if (value.empty()) continue;
        cell.top = cell.bottom;
        cell.bottom += mm(layout.row_height);
        EXPECT_TRUE(PrintedIn(words, value, page, cell)) << column << " " << ToUtf8(value);
        ++expected_words;
      }
    }
  }
  EXPECT_EQ(words.size(), expected_words);
  EXPECT_EQ(words.back().page, (29 / layout.strips_per_page) + 1);
}

TEST_F(PrintoutsPdfTest, PayslipPageLooksLikeTheReference) {
  testing::FillPrintoutRegister(harness_.salary_register(), 30);
  Printer printer(&seam_);
  ASSERT_TRUE(
      PrintPayslips(printer, harness_.salary_register(), {}, {FromUtf8("示例公司"), "", true}));
  ExpectFirstPageLike("payslips_page1.png");
}

// The whole register of 80 people on landscape A4: every page's titles in the title row, every
// person's name in its row on its page, the page line at the foot, the totals row at the end of
// each group of columns.
TEST_F(PrintoutsPdfTest, RegisterPagesHoldTitlesRowsPageLinesAndTotalsInTheirCells) {
  SalaryRegister& reg = harness_.salary_register();
  testing::FillPrintoutRegister(reg, 80);
  SummaryTotals totals;
  Text problem;
  ASSERT_TRUE(ComputeTotals(reg, &totals, &problem));
  {
    Printer printer(&seam_);
    ASSERT_TRUE(
        PrintRegister(printer, reg, totals, {FromUtf8("示例公司"), "", RegisterPaper::kA4}));
  }
  RegisterLayout layout;
  double left = 0;
  double top = 0;
  const std::vector<Text> totals_row = TotalsRow(totals);
  OnScratchJob(
      2, 1,
      [&](Printer& printer, TextMeasure& measure) {
        layout = LayOutRegisterOn(printer, measure, reg, totals_row);
      },
      &left, &top);
  ASSERT_GE(layout.groups.size(), 2u);
  std::vector<Word> words = test::PdfWordsOf(Pdf());
  ASSERT_FALSE(words.empty());
  const int pages = static_cast<int>(layout.pages.size());
  EXPECT_EQ(words.back().page, pages);
  auto mm = [](int tenths) { return tenths / 10.0; };
  for (int p = 0; p < pages; ++p) {
    SCOPED_TRACE("page " + std::to_string(p + 1));
    const RegisterLayout::Page& page = layout.pages[p];
    const std::vector<int>& group = layout.groups[page.group];
    // Row r of the table (0: titles) in column `column` of the group.
    auto cell = [&](int r, int column) {
      double x = left;
      for (int c : group) {
        if (c == column) break;
        x += mm(layout.widths[c]);
      }
      const double y = top + mm(layout.heading_height + r * layout.row_height);
      return Box{x, y, x + mm(layout.widths[column]), y + mm(layout.row_height)};
    };
    for (int column : group)
      EXPECT_TRUE(PrintedIn(words, reg.Title(column), p + 1, cell(0, column)));
    for (int k = 0; k < page.count; ++k) {
      const int row = layout.rows[page.first + k];
      EXPECT_TRUE(PrintedIn(words, reg.Name(row), p + 1, cell(k + 1, kNameColumn))) << row;
    }
    if (page.totals) {
      for (int column : group) {
        if (totals_row[column].empty()) continue;
        EXPECT_TRUE(PrintedIn(words, totals_row[column], p + 1, cell(page.count + 1, column)))
            << column;
      }
    }
    const double bottom = top + seam_.geometry.printable_height * 25.4 / seam_.geometry.dpi_y;
    const Box foot{left, bottom - 8, left + 277, bottom};
    EXPECT_TRUE(PrintedIn(words, FromUtf8("第"), p + 1, foot));
    EXPECT_TRUE(PrintedIn(words, FromUtf8(std::to_string(pages)), p + 1, foot));
  }
}

TEST_F(PrintoutsPdfTest, RegisterPageLooksLikeTheReference) {
  testing::FillPrintoutRegister(harness_.salary_register(), 80);
  SummaryTotals totals;
  Text problem;
  ASSERT_TRUE(ComputeTotals(harness_.salary_register(), &totals, &problem));
  Printer printer(&seam_);
  ASSERT_TRUE(PrintRegister(printer, harness_.salary_register(), totals,
                            {FromUtf8("示例公司"), "", RegisterPaper::kA4}));
  ExpectFirstPageLike("register_page1.png");
}

}  // namespace
}  // namespace sr::app
