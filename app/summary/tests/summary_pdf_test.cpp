// The summary printed for real: through the Qt print seam into an A4 PDF (offscreen), read back
// with pdftotext -bbox and rendered with pdftoppm.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/summary/summary_command.h"
#include "app/tests/app_harness.h"
#include "platform/qt/print/qt_print_seam.h"
#include "platform/qt/print/tests/pdf_pages.h"
#include "platform/qt/print/tests/pdf_seam.h"
#include "platform/qt/print/tests/pdf_words.h"
#include "runtime/convert/date_time.h"

// fontconfig keeps its caches until exit; they are not our leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace sr::app {
namespace {

namespace fs = std::filesystem;
using testing::AppHarness;
using testing::Gbk;

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

using Word = test::PdfWord;

std::vector<Word> WordsOf(const fs::path& pdf) { return test::PdfWordsOf(pdf); }

bool IsRule(const Word& word) { return word.text.rfind("\xE2\x94", 0) == 0; }  // U+25xx

// The words whose top is within 1 mm of `y`, left to right: the rules' pieces or the texts.
std::vector<Word> LineAt(const std::vector<Word>& words, double y, bool rules = false) {
  std::vector<Word> line;
  for (const Word& word : words) {
    if (std::fabs(word.y - y) < 1 && IsRule(word) == rules) line.push_back(word);
  }
  std::sort(line.begin(), line.end(), [](const Word& a, const Word& b) { return a.x < b.x; });
  return line;
}

const Word* Find(const std::vector<Word>& words, const std::string& text) {
  for (const Word& word : words) {
    if (word.text == text) return &word;
  }
  return nullptr;
}

std::string DataDir() {
  const char* source = std::getenv("SR_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/app/summary/tests/data";
}

class SummaryPdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::OffscreenApplication();
    char pattern[] = "/tmp/summary-pdf-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    seam_.PrintToPdfWithoutAsking((dir_ / "summary.pdf").string());
  }
  void TearDown() override {
    if (std::getenv("SR_KEEP_SUMMARY_PDF") == nullptr) fs::remove_all(dir_);
  }

  // A register of three people with a tax-exempt item, printed on 2014-05-03.
  void PrintSmallRegister() {
    AppHarness harness(&seam_);
    const char8_t* titles[] = {u8"基本工资", u8"岗位工资", u8"奖金(免税)", u8"应发合计"};
    for (int i = 0; i < 4; ++i) harness.SetCell(0, 2 + i, Gbk(titles[i]));
    harness.SetCell(0, 18, Gbk(u8"个人所得税"));
    harness.SetCell(0, 20, Gbk(u8"实发工资"));
    const char* amounts[3][3] = {
        {"3500", "800.5", "200"}, {"4200", "650", "0"}, {"2900.25", "700", "150"}};
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) harness.SetCell(1 + r, 2 + c, amounts[r][c]);
    }
    harness.SetCell(1, 18, "15.02");
    harness.SetCell(2, 20, "1234.50");
    SummaryCommand command(harness.context());
    command.set_clock([] { return MakeDateTime({2014, 5, 3, 9, 0, 0}); });
    harness.WithSummaryWindow([&] { command.Run(); },
                              [&](forms::SummaryForm&) { harness.Press(u8"按钮_打印"); });
  }

  fs::path dir_;
  test::PdfSeam seam_;
};

TEST_F(SummaryPdfTest, PageCarriesHeadingDateAmountsAndAClosedTable) {
  PrintSmallRegister();
  ASSERT_TRUE(fs::exists(dir_ / "summary.pdf"));
  // Where the printable area starts on this page; positions below are measured from there.
  const print::PageGeometry& g = seam_.geometry;
  ASSERT_GT(g.dpi_x, 0);
  const double left = g.offset_x * 25.4 / g.dpi_x;
  const double top = g.offset_y * 25.4 / g.dpi_y;
  std::vector<Word> words = WordsOf(dir_ / "summary.pdf");
  ASSERT_FALSE(words.empty()) << "pdftotext found no words";

  // The heading: its characters are spaced, so its first word is 工.
  std::vector<Word> heading = LineAt(words, top + 30);
  ASSERT_FALSE(heading.empty());
  EXPECT_EQ(heading.front().text, Utf8(u8"工"));
  EXPECT_NEAR(heading.front().x, left + 60, 0.5);
  const Word* date = Find(words, Utf8(u8"打印日期：2014年5月3日"));
  ASSERT_NE(date, nullptr);
  EXPECT_NEAR(date->x, left + 32, 0.5);
  EXPECT_NEAR(date->y, top + 40, 0.5);

  // Each row's amount at x = 103 mm, rows 7.6 mm apart from 49 mm.
  const char* amounts[19] = {"10600.25", "2150.5", "350", "0", "0", "0", "0",     "0", "0",     "0",
                             "0",        "0",      "0",   "0", "0", "0", "15.02", "0", "1234.5"};
  for (int k = 1; k < 20; ++k) {
    std::vector<Word> row = LineAt(words, top + 49 + 7.6 * k);
    ASSERT_FALSE(row.empty()) << "row " << k;
    EXPECT_EQ(row.back().text, amounts[k - 1]) << "row " << k;
    EXPECT_NEAR(row.back().x, left + 103, 0.5) << "row " << k;
    EXPECT_EQ(row.front().text, std::to_string(k));
    EXPECT_NEAR(row.front().x, left + 40, 0.5);
  }
  // The title row: pdftotext splits "金  额" at its spaces.
  std::vector<Word> title_row = LineAt(words, top + 49);
  ASSERT_EQ(title_row.size(), 3u);
  EXPECT_EQ(title_row[0].text, Utf8(u8"工资项目名称"));
  EXPECT_NEAR(title_row[0].x, left + 50, 0.5);
  EXPECT_EQ(title_row[1].text, Utf8(u8"金"));
  EXPECT_NEAR(title_row[1].x, left + 103, 0.5);
  const Word* exempt = Find(words, Utf8(u8"奖金(免税)"));
  ASSERT_NE(exempt, nullptr);
  EXPECT_NEAR(exempt->y, top + 49 + 7.6 * 3, 0.5);

  // The rules: 26 full-width characters, so a junction at character i stands at i / 26 of the
  // rule's width. Every rule starts at 30 mm and is as wide as the top one; the bars of the
  // cell rules (separate words, the ideographic spaces between them) stand at characters 0, 4,
  // 16 and 25.
  const Word* top_rule = Find(words, Utf8(u8"┌───┬───────────┬────────┐"));
  ASSERT_NE(top_rule, nullptr);
  EXPECT_NEAR(top_rule->x, left + 30, 0.5);
  EXPECT_NEAR(top_rule->y, top + 45, 0.5);
  const double cell = top_rule->width / 26;
  EXPECT_NEAR(cell, 12 * 25.4 / 72, 0.1);  // a full-width character of 12 points
  int rules = 0;
  int bar_rows = 0;
  for (int i = 0; i <= 40; ++i) {
    const double y = top + 45 + 3.8 * i;
    std::vector<Word> line = LineAt(words, y, /*rules=*/true);
    std::vector<Word> pieces;
    for (const Word& word : line) {
      if (word.x > left + 29) pieces.push_back(word);
    }
    ASSERT_FALSE(pieces.empty()) << "no rule at " << y;
    if (i % 2 == 0) {
      ASSERT_EQ(pieces.size(), 1u) << "rule " << i;
      EXPECT_NEAR(pieces[0].x, top_rule->x, 0.5) << "rule " << i;
      EXPECT_NEAR(pieces[0].width, top_rule->width, 0.5) << "rule " << i;
      ++rules;
    } else {
      ASSERT_EQ(pieces.size(), 4u) << "cell rule " << i;
      const int at[4] = {0, 4, 16, 25};
      for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(pieces[b].text, Utf8(u8"│"));
        EXPECT_NEAR(pieces[b].x, top_rule->x + at[b] * cell, 0.5) << "cell rule " << i;
      }
      ++bar_rows;
    }
  }
  EXPECT_EQ(rules, 21);
  EXPECT_EQ(bar_rows, 20);
}

// The reference page app/summary/tests/data/summary_page.png (50 dpi, grey) was rendered from this
// printout and looked at. A fresh render may differ by anti-aliasing and font hinting, not by
// a moved or missing line: at most a tenth as many pixels as the reference inks may differ by
// more than a third of the grey range.
TEST_F(SummaryPdfTest, PageLooksLikeTheReference) {
  PrintSmallRegister();
  QImage fresh = test::RenderPdfPage(dir_ / "summary.pdf", 1, 50);
  ASSERT_FALSE(fresh.isNull());
  if (const char* keep = std::getenv("SR_KEEP_SUMMARY_PNG")) fresh.save(keep);
  QImage reference(QString::fromStdString(DataDir() + "/summary_page.png"));
  ASSERT_FALSE(reference.isNull()) << DataDir();
  reference = reference.convertToFormat(QImage::Format_Grayscale8);
  ASSERT_EQ(fresh.size(), reference.size());
  // Shifted by 7 pixels, half a table row (3.8 mm) lower, the page differs by far more.
  test::PageComparison result = test::ComparePages(fresh, reference, 7);
  EXPECT_GT(result.inked, 2000) << result.inked;  // the reference does show the table
  EXPECT_LE(result.differing, result.inked / 10)
      << result.differing << " pixels differ, " << result.inked << " inked";
  EXPECT_GT(result.shifted, result.inked / 5) << result.shifted;
}

}  // namespace
}  // namespace sr::app
