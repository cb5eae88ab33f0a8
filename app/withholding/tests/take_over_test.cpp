// Reading the months taken over from a CSV file.
#include <gtest/gtest.h>

#include "app/withholding/take_over.h"
#include "base/gbk.h"

namespace sr::app::test {
namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

const PeopleByNumber& People() {
  static const PeopleByNumber people = {{"1001", Person()}, {"1002", Person()}};
  return people;
}

TEST(TakeOverTest, LinesBecomeLedgerRecords) {
  // UTF-8 as another program writes it, with a byte-order mark, a heading and CR LF.
  const std::string csv =
      "\xEF\xBB\xBF" +
      Utf8(u8"月份,编号,姓名,证件号码,收入额,免税收入,专项扣除,婴幼儿照护,子女教育,"
           u8"继续教育,住房贷款利息,住房租金,赡养老人,个人养老金,其他扣除,减免税额,已预扣税额\r\n"
           u8"2026-01,1002,李四,440304199001011233,30000,,4500,,,,,2000,,,,,555\r\n"
           u8"2026-02, 1002 ,李四,,30000,100.5,4500,0,0,0,0,2000,0,0,0,0,625\r\n"
           u8"\r\n");
  std::vector<LedgerEntry> entries;
  EXPECT_TRUE(ParseTakeOver(csv, "x.csv", People(), &entries).empty());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].year, 2026);
  EXPECT_EQ(entries[0].month, 1);
  EXPECT_EQ(entries[0].name, "李四");  // GBK inside the program
  EXPECT_EQ(entries[0].figures.additional[4], 2000);
  EXPECT_EQ(entries[0].figures.withheld, 555);
  EXPECT_EQ(entries[1].number, "1002");
  EXPECT_EQ(entries[1].figures.exempt_income, 100.5);
  EXPECT_EQ(entries[1].source, "x.csv");
  EXPECT_EQ(MonthsOf(entries), (std::vector<int>{1, 2}));
}

TEST(TakeOverTest, EveryBadLineIsNamedAndNothingIsTaken) {
  const std::string csv =
      "2026-01,1001,a,,100,,,,,,,,,,,,0\n"
      "2026-13,1001,a,,100,,,,,,,,,,,,0\n"    // no month
      "2026-02,,a,,100,,,,,,,,,,,,0\n"        // no number
      "2026-02,1001,a,,-100,,,,,,,,,,,,0\n"   // negative
      "2026-02,1001,a,,100,,,,,,,,,,,0\n"     // 16 fields
      "2025-12,1001,a,,100,,,,,,,,,,,,0\n"    // another year
      "2026-01,1009,a,,100,,,,,,,,,,,,0\n"    // not in the people file
      "2026-01,1001,a,,200,,,,,,,,,,,,0\n"    // January of 1001 again
      "2026-03,1001,a\xff,,100,,,,,,,,,,,,0\n" +  // not UTF-8
      std::string("2026-03,1001,a\0b,,100,,,,,,,,,,,,0\n", 35) +  // a NUL
      Utf8(u8"2026-03,1001,一二三四五六七八九十十,,100,,,,,,,,,,,,0\n");  // 22 bytes, 20 kept
  std::vector<LedgerEntry> entries;
  const std::vector<Text> problems = ParseTakeOver(csv, "x.csv", People(), &entries);
  EXPECT_TRUE(entries.empty());
  ASSERT_EQ(problems.size(), 10u);
  for (size_t i = 0; i < problems.size(); ++i) {
    EXPECT_EQ(problems[i].rfind("第 " + std::to_string(i + 2) + " 行", 0), 0u)
        << ToUtf8(problems[i]);
  }
  EXPECT_NE(problems[2].find("-100"), Text::npos);
  EXPECT_EQ(problems[5], "第 7 行：编号 1009 不在人员信息中");
  EXPECT_EQ(problems[6], "第 8 行：编号 1001 的 2026-01 与第 1 行重复");
  EXPECT_NE(problems[7].find("UTF-8"), Text::npos) << ToUtf8(problems[7]);
  EXPECT_NE(problems[8].find("空字符"), Text::npos) << ToUtf8(problems[8]);
  EXPECT_NE(problems[9].find("姓名“一二三四五六七八九十十”有 22 字节，超过了扣缴台账能保存的 20 字节"),
            Text::npos)
      << ToUtf8(problems[9]);
  EXPECT_FALSE(ParseTakeOver("2026-01,1001,\xff\xfe,,1,,,,,,,,,,,,0\n", "x", People(), &entries).empty());
}

}  // namespace
}  // namespace sr::app::test
