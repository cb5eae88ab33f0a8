// "Why this tax" for the worked cases: the whole text, written out by hand.
#include <gtest/gtest.h>

#include "app/withholding/explanation.h"
#include "app/withholding/tests/resident_table_support.h"
#include "base/gbk.h"

namespace sr::app::test {
namespace {

// The person's entries of months 1..last, each month the same figures, as the calculation
// leaves them in the ledger.
std::vector<LedgerEntry> Months(const MonthFigures& figures, int last) {
  const TaxBrackets table = LawResidentBrackets();
  std::vector<LedgerEntry> entries;
  CumulativeSums earlier;
  for (int m = 1; m <= last; ++m) {
    LedgerEntry entry;
    entry.year = 2026;
    entry.month = m;
    entry.number = "1002";
    entry.name = "李四";
    entry.figures = figures;
    entry.result = WithholdCumulatively(table, {2020, 1, false}, 2026, m, earlier, figures);
    entry.figures.withheld = entry.result.tax;
    earlier.Add(entry.figures);
    entries.push_back(entry);
  }
  return entries;
}

TEST(ExplanationTest, MarchOfThirtyThousandAMonth) {
  MonthFigures figures;
  figures.income = 30000;
  figures.special = 4500;
  figures.additional[4] = 2000;
  std::vector<LedgerEntry> entries = Months(figures, 3);
  const LedgerEntry march = entries.back();
  entries.pop_back();
  EXPECT_EQ(ExplainCumulative(march, entries, LawResidentBrackets()),
            "李四（编号 1002）2026年3月工资的个人所得税，按居民个人累计预扣法计算：\r\n"
            "1. 累计收入（1、2、3月）：90000 元，其中本月 30000 元\r\n"
            "2. 累计免税收入（1、2、3月）：0 元\r\n"
            "3. 累计减除费用：每月 5000 元 × 3 个月（1月至3月）= 15000 元\r\n"
            "4. 累计专项扣除（社保、公积金，1、2、3月）：13500 元\r\n"
            "5. 累计专项附加扣除（1、2、3月）：6000 元\r\n"
            "6. 累计其他扣除（1、2、3月）：0 元\r\n"
            "7. 累计应纳税所得额 = 90000 - 0 - 15000 - 13500 - 6000 - 0 = 55500 元\r\n"
            "8. 适用税率：55500 元在 36000 至 144000 元之间，适用第 2 级：税率 10%，速算扣除数 "
            "2520 元\r\n"
            "9. 累计应纳税额 = 55500 × 10% - 2520 = 3030 元\r\n"
            "10. 累计减免税额：0 元\r\n"
            "11. 已预扣税额（1、2月）：1180 元\r\n"
            "12. 本月应预扣 = 3030 - 0 - 1180 = 1850 元\r\n"
            "本月预扣个人所得税：1850 元\r\n");
}

TEST(ExplanationTest, ANegativeMonthIsHeldAtNothing) {
  // January 20000 withholds 450; February without pay: 10000 x 3% = 300 - 450 = -150.
  MonthFigures january;
  january.income = 20000;
  std::vector<LedgerEntry> entries = Months(january, 1);
  LedgerEntry february;
  february.year = 2026;
  february.month = 2;
  february.number = "2003";
  february.name = "孙七";
  CumulativeSums earlier;
  earlier.Add(entries[0].figures);
  february.result = WithholdCumulatively(LawResidentBrackets(), {2020, 1, false}, 2026, 2,
                                         earlier, february.figures);
  const Text text = ExplainCumulative(february, entries, LawResidentBrackets());
  EXPECT_NE(text.find("8. 适用税率：10000 元不超过 36000 元，适用第 1 级：税率 3%，速算扣除数 0 元\r\n"),
            std::string::npos)
      << ToUtf8(text);
  EXPECT_NE(text.find("12. 本月应预扣 = 300 - 0 - 450 = -150 元\r\n"
                      "13. 结果小于 0：预扣时不退税，本月预扣 0 元"),
            std::string::npos)
      << ToUtf8(text);
  EXPECT_NE(text.find("本月预扣个人所得税：0 元\r\n"), std::string::npos);
}

TEST(ExplanationTest, SixtyThousandRuleAndNothingTaxable) {
  MonthFigures figures;
  figures.income = 25000;
  LedgerEntry entry;
  entry.year = 2026;
  entry.month = 1;
  entry.name = "赵六";
  entry.number = "2002";
  entry.figures = figures;
  entry.result = WithholdCumulatively(LawResidentBrackets(), {2018, 1, true}, 2026, 1,
                                      CumulativeSums(), figures);
  const Text text = ExplainCumulative(entry, {}, LawResidentBrackets());
  EXPECT_NE(text.find("3. 累计减除费用：上年在本单位全年工资不超过 6 万元，从 1 月起按 60000 元 扣除\r\n"),
            std::string::npos)
      << ToUtf8(text);
  EXPECT_NE(text.find("= -35000 元\r\n8. 累计应纳税所得额不大于 0，累计应纳税额为 0 元\r\n"),
            std::string::npos)
      << ToUtf8(text);
  EXPECT_NE(text.find("10. 已预扣税额（无）：0 元\r\n"), std::string::npos) << ToUtf8(text);
}

}  // namespace
}  // namespace sr::app::test
