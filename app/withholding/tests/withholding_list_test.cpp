// The withholding list and the year-to-date statement from the ledger, and the printed page.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/withholding/withholding_list.h"
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

TEST(WithholdingListTest, RowsOfTheMonthAndAStatementOfTheYear) {
  const std::vector<LedgerEntry> ledger = {Entry(1, "1002", 30000, 555, 0),
                                           Entry(1, "1001", 10000, 75, 0),
                                           Entry(2, "1002", 30000, 625, 555)};
  const auto rows = WithholdingListRows(ledger, 2);
  ASSERT_EQ(rows.size(), 1u);
  const std::vector<Text>& titles = WithholdingListTitles();
  ASSERT_EQ(rows[0].size(), titles.size());
  auto cell = [&](const char* title) {
    return rows[0][std::find(titles.begin(), titles.end(), Text(title)) - titles.begin()];
  };
  EXPECT_EQ(cell("编号"), "1002");
  EXPECT_EQ(cell("住房租金"), "2000");
  EXPECT_EQ(cell("本月预扣税额"), "625");
  EXPECT_EQ(cell("累计收入额"), "60000");
  EXPECT_EQ(cell("累计已扣税额"), "1180");  // 555 before and 625 now

  const Text statement = YearStatement(ledger, "1002");
  EXPECT_EQ(statement.rfind("李四（编号 1002）", 0), 0u) << ToUtf8(statement);
  EXPECT_NE(statement.find("2月：收入 30000，专项扣除 0，专项附加扣除 2000，预扣税 625；累计收入 "
                           "60000，累计预扣税 1180\r\n"),
            Text::npos)
      << ToUtf8(statement);
  EXPECT_NE(YearStatement(ledger, "9999").find("没有编号 9999"), Text::npos);
}

TEST(WithholdingListTest, APrintedPageSaysWhenPeopleAreLeftOut) {
  std::vector<std::vector<Text>> rows;
  for (int i = 0; i < 40; ++i) {
    std::vector<Text> row(WithholdingListTitles().size(), "1");
    row[0] = "P" + std::to_string(i);
    rows.push_back(row);
  }
  print::RecordingPrintSeam seam;
  Printer printer(&seam);
  PrintWithholdingList(rows, "2026年2月 个人所得税扣缴明细", printer);
  auto drawn = [&](const Text& text) {
    return std::any_of(seam.texts().begin(), seam.texts().end(),
                       [&](const print::DrawnText& d) { return d.text == text; });
  };
  EXPECT_TRUE(drawn("2026年2月 个人所得税扣缴明细"));
  EXPECT_TRUE(drawn("P0"));
  EXPECT_TRUE(drawn("P33"));
  EXPECT_FALSE(drawn("P34"));  // past the page
  EXPECT_TRUE(drawn("共 40 人，本页列出前 34 人；完整名单请导出到电子表格。"));
  for (const print::DrawnText& d : seam.texts()) EXPECT_EQ(d.page, seam.texts()[0].page);
}

}  // namespace
}  // namespace sr::app::test
