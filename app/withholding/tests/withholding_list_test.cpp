// The withholding list and the year-to-date statement from the ledger, and the printed pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "app/withholding/withholding_list.h"
#include "app/withholding/withholding_list_printout.h"
#include "base/gbk.h"
#include "platform/print/recording_print_seam.h"

namespace sr::app::test {
namespace {

LedgerEntry Entry(int month, const char* number, double income, double withheld,
                  double withheld_before) {
  LedgerEntry e;
  e.year = 2026;
  e.month = month;
  e.number = number;
  e.name = number == Text("1002") ? "李四" : "张三";
  e.figures.income = income;
  e.figures.additional[4] = 2000;
  e.figures.withheld = withheld;
  e.result.withheld_before = withheld_before;
  e.result.sums.income = income * month;
  return e;
}

// The year so far is the ledger's: a month taken over holds no cumulative figures of its own.
TEST(WithholdingListTest, RowsOfTheMonthAndAStatementOfTheYear) {
  LedgerEntry taken_over = Entry(3, "1002", 30000, 1850, 0);
  taken_over.result = CumulativeResult();
  const std::vector<LedgerEntry> ledger = {Entry(1, "1002", 30000, 555, 0),
                                           Entry(1, "1001", 10000, 75, 0),
                                           Entry(2, "1002", 30000, 625, 555), taken_over};
  const std::vector<Text>& titles = WithholdingListTitles();
  struct Expected {
    int month;
    const char* withheld_before;  // 累计已预扣预缴税额: the earlier months only
    const char* tax;              // 本月应扣缴税额
    const char* income_so_far;
  };
  for (const Expected& e : {Expected{2, "555", "625", "60000"}, Expected{3, "1180", "1850", "90000"}}) {
    const auto rows = WithholdingListRows(ledger, e.month);
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), titles.size());
    auto cell = [&](const char* title) {
      return rows[0].at(size_t(std::find(titles.begin(), titles.end(), Text(title)) - titles.begin()));
    };
    EXPECT_EQ(cell("编号"), "1002");
    EXPECT_EQ(cell("住房租金"), "2000");
    EXPECT_EQ(cell("累计已预扣预缴税额"), e.withheld_before);
    EXPECT_EQ(cell("本月应扣缴税额"), e.tax);
    EXPECT_EQ(cell("累计收入额"), e.income_so_far);
  }

  const Text statement = YearStatement(ledger, "1002");
  EXPECT_EQ(statement.rfind("李四（编号 1002）", 0), 0u) << ToUtf8(statement);
  EXPECT_NE(statement.find("2月：收入 30000，专项扣除 0，专项附加扣除 2000，预扣税 625；累计收入 "
                           "60000，累计预扣税 1180\r\n"),
            Text::npos)
      << ToUtf8(statement);
  EXPECT_NE(YearStatement(ledger, "9999").find("没有编号 9999"), Text::npos);
}

// 200 people: each of them printed, in order, on as many landscape pages as they need; every
// page repeats the heading and the titles and says which page of how many it is; the last page
// ends with the head count and the sums; the status window follows the pages.
TEST(WithholdingListTest, TwoHundredPeopleOnAsManyPagesAsNeededWithTotalsAtTheEnd) {
  const std::vector<Text>& titles = WithholdingListTitles();
  std::vector<std::vector<Text>> rows;
  for (int i = 0; i < 200; ++i) {
    std::vector<Text> row(titles.size(), "0");
    row[0] = "P" + std::to_string(i);
    row[1] = "张三";
    row[2] = "居民身份证";
    row[3] = "11010519491231002X";
    row[4] = "累计预扣法";
    row[5] = std::to_string(1000 + i);                   // 收入额
    for (int k = 8; k <= 14; ++k) row[k] = "100";        // the seven special additional ones
    row[18] = "3.5";                                     // 本月应扣缴税额
    rows.push_back(row);
  }
  const Text heading = "2026年2月 个人所得税扣缴明细";
  print::RecordingPrintSeam seam;
  Printer printer(&seam);
  ASSERT_TRUE(PrintWithholdingList(rows, heading, printer));
  EXPECT_EQ(seam.calls().front(), "PrepareSettings paper=9 landscape");

  std::map<int, std::vector<print::DrawnText>> pages;
  for (const print::DrawnText& d : seam.texts()) pages[d.page].push_back(d);
  const int m = static_cast<int>(pages.size());
  ASSERT_GE(m, 5);  // about 30 people a page
  auto count = [](const std::vector<print::DrawnText>& texts, const Text& text) {
    return std::count_if(texts.begin(), texts.end(),
                         [&](const print::DrawnText& d) { return d.text == text; });
  };
  auto find = [](const std::vector<print::DrawnText>& texts, const Text& text) {
    return std::find_if(texts.begin(), texts.end(),
                        [&](const print::DrawnText& d) { return d.text == text; });
  };
  std::map<Text, std::pair<int, int>> where;  // number -> page, y
  for (auto& [page, texts] : pages) {
    SCOPED_TRACE(page);
    EXPECT_EQ(count(texts, heading), 1);
    EXPECT_EQ(count(texts, "编号"), 1);
    EXPECT_EQ(count(texts, "姓名"), 1);
    const auto page_line = find(texts, "第 " + std::to_string(page) + " 页 共 " +
                                           std::to_string(m) + " 页");
    ASSERT_NE(page_line, texts.end());
    for (const print::DrawnText& d : texts) {
      if (&d == &*page_line) continue;
      EXPECT_LE(d.y + seam.EmOf(d.font), page_line->y) << ToUtf8(d.text);  // above the foot
      if (d.text.rfind("P", 0) == 0) {
        EXPECT_TRUE(where.emplace(d.text, std::make_pair(page, d.y)).second) << d.text;
      }
    }
    EXPECT_EQ(count(texts, "合计"), page == m ? 1 : 0);
  }
  ASSERT_EQ(where.size(), 200u);  // everyone, once
  for (int i = 0; i + 1 < 200; ++i) {
    EXPECT_LT(where["P" + std::to_string(i)], where["P" + std::to_string(i + 1)]) << i;
  }
  // The totals, by hand: 1000 + ... + 1199 = 219900; 7 x 100 x 200 = 140000; 3.5 x 200 = 700.
  for (const char* total : {"200 人", "219900", "140000", "700"}) {
    EXPECT_EQ(count(pages[m], total), 1) << total;
  }
  EXPECT_EQ(count(pages[1], "专项附加扣除"), 1);
  EXPECT_EQ(count(pages[1], "累计已预扣预缴税额"), 1);

  ASSERT_EQ(static_cast<int>(seam.status_pages().size()), m - 1);
  EXPECT_EQ(seam.status_pages().front(), "第 2 页");
  EXPECT_EQ(seam.status_pages().back(), "第 " + std::to_string(m) + " 页");
  EXPECT_FALSE(seam.status_window_open());
}

TEST(WithholdingListTest, ACancelledDialogPrintsNothingAndCancellingStopsAtThePage) {
  std::vector<std::vector<Text>> rows(100, std::vector<Text>(WithholdingListTitles().size(), "1"));
  print::RecordingPrintSeam seam;
  seam.dialog_answer = print::DialogOutcome::kCancelled;
  Printer printer(&seam);
  EXPECT_FALSE(PrintWithholdingList(rows, "明细", printer));
  EXPECT_TRUE(seam.texts().empty());

  print::RecordingPrintSeam cancelling;
  cancelling.cancel_at_message_pass = 50;  // on the first page
  Printer second(&cancelling);
  EXPECT_TRUE(PrintWithholdingList(rows, "明细", second));
  EXPECT_TRUE(cancelling.status_pages().empty());
  EXPECT_FALSE(cancelling.context_open());
}

}  // namespace
}  // namespace sr::app::test
