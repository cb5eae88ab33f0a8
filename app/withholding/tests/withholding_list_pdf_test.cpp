// The withholding list of 200 people printed for real: through the Qt print seam into a PDF
// (offscreen), read back with pdftotext -bbox. The file is compiled with a UTF-8 execution
// character set, so its literals are UTF-8. SR_KEEP_WITHHOLDING_PDF keeps the PDF to look at.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/withholding/withholding_list.h"
#include "app/withholding/withholding_list_printout.h"
#include "base/gbk.h"
#include "platform/qt/print/tests/pdf_seam.h"
#include "platform/qt/print/tests/pdf_words.h"

// fontconfig keeps its caches until exit; they are not our leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace sr::app {
namespace {

namespace fs = std::filesystem;

TEST(WithholdingListPdfTest, EveryPersonOnPagesThatEachCarryHeadingTitlesAndPageLine) {
  test::OffscreenApplication();
  char pattern[] = "/tmp/withholding-pdf-test-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path dir = pattern;
  const fs::path pdf = dir / "list.pdf";
  test::PdfSeam seam;
  seam.PrintToPdfWithoutAsking(pdf.string());

  std::vector<std::vector<Text>> rows;
  for (int i = 0; i < 200; ++i) {
    std::vector<Text> row(WithholdingListTitles().size(), "0");
    row[0] = "P" + std::to_string(1000 + i);
    row[1] = FromUtf8("张三");
    row[3] = "11010519491231002X";
    row[5] = std::to_string(10000 + i);
    row[18] = "75";
    rows.push_back(row);
  }
  {
    Printer printer(&seam);
    ASSERT_TRUE(PrintWithholdingList(rows, FromUtf8("2026年2月 个人所得税扣缴明细"), printer));
  }
  const std::vector<test::PdfWord> words = test::PdfWordsOf(pdf);
  ASSERT_FALSE(words.empty()) << "pdftotext found no words";
  std::map<int, std::multiset<std::string>> pages;
  for (const test::PdfWord& word : words) pages[word.page].insert(word.text);
  const int m = static_cast<int>(pages.size());
  EXPECT_GE(m, 5);
  std::set<std::string> people;
  for (auto& [page, texts] : pages) {
    SCOPED_TRACE(page);
    EXPECT_EQ(texts.count("个人所得税扣缴明细"), 1u);
    EXPECT_EQ(texts.count("编号"), 1u);
    EXPECT_EQ(texts.count("本月应扣缴税额"), 1u);
    // "第 N 页 共 M 页" (no amount is that small)
    EXPECT_EQ(texts.count(std::to_string(page)), page == m ? 2u : 1u);
    EXPECT_EQ(texts.count(std::to_string(m)), page == m ? 2u : 1u);
    EXPECT_EQ(texts.count("合计"), page == m ? 1u : 0u);
    for (const std::string& text : texts) {
      if (text.rfind("P", 0) == 0) {
        EXPECT_TRUE(people.insert(text).second) << text;
      }
    }
  }
  EXPECT_EQ(people.size(), 200u);
  // 75 x 200 = 15000; 10000 + ... + 10199 = 2019900.
  EXPECT_EQ(pages[m].count("15000"), 1u);
  EXPECT_EQ(pages[m].count("2019900"), 1u);
  if (std::getenv("SR_KEEP_WITHHOLDING_PDF") == nullptr) {
    fs::remove_all(dir);
  } else {
    std::cout << "kept " << pdf << "\n";
  }
}

}  // namespace
}  // namespace sr::app
