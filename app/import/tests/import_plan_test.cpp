// Matching a file's titles to the register and checking its cells, before anything changes; the
// CSV reader's encodings and quoting; the rows that append and replace leave.
#include "app/import/import_plan.h"

#include <gtest/gtest.h>

#include "app/import/csv_table.h"
#include "base/gbk.h"

namespace sr::app {
namespace {

using xlsx::SheetCell;
using Kind = SheetCell::Kind;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }
SheetCell T(const char8_t* text) { return {Kind::kText, U8(text)}; }
SheetCell N(const char* digits) { return {Kind::kNumber, digits}; }

class ImportPlanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char8_t* titles[] = {u8"编号", u8"姓名", u8"基本工资", u8"岗位工资", u8"奖金(免税)"};
    for (int c = 0; c < 5; ++c) reg_.SetTitle(c, FromUtf8(U8(titles[c])));
    reg_.SetTitle(kRemarkColumn, "备注");
    reg_.SetRowCount(4);
  }
  SalaryRegister reg_;
};

TEST_F(ImportPlanTest, TitlesMatchExactlyThenWithoutTheExemptMarkAndSpaces) {
  const ImportPlan plan = PlanImport(
      {{T(u8"姓名"), T(u8" 编 号 "), T(u8"奖金"), T(u8"备注"), {}, T(u8"基本工资（免税）")},
       {T(u8"张三"), T(u8"0012"), N("300"), T(u8"  留  "), {}, N("1234.5")}},
      reg_);
  ASSERT_TRUE(plan.ok()) << ToUtf8(plan.problem);
  EXPECT_EQ(plan.columns, (std::vector<int>{1, 0, 4, kRemarkColumn, -1, 2}));
  ASSERT_EQ(plan.rows.size(), 1u);
  EXPECT_EQ(plan.rows[0][0], "0012");  // a text cell keeps its digits
  EXPECT_EQ(ToUtf8(plan.rows[0][1]), U8(u8"张三"));
  EXPECT_EQ(plan.rows[0][2], "1234.5");
  EXPECT_EQ(plan.rows[0][4], "300");
  EXPECT_EQ(plan.rows[0][kRemarkColumn], "  留  ");
  EXPECT_EQ(plan.file_rows, std::vector<int>{2});
}

TEST_F(ImportPlanTest, AmountsFromTextCellsStayTextWhenTheyAreNumbers) {
  const ImportPlan plan = PlanImport({{T(u8"编号"), T(u8"姓名"), T(u8"基本工资")},
                                      {T(u8"1"), T(u8"甲"), T(u8" 8000.50 ")},
                                      {},
                                      {T(u8"2"), T(u8"乙"), T(u8"-1e3")}},
                                     reg_);
  ASSERT_TRUE(plan.ok()) << ToUtf8(plan.problem);
  ASSERT_EQ(plan.rows.size(), 2u);  // the empty row is left out
  EXPECT_EQ(plan.rows[0][2], "8000.50");
  EXPECT_EQ(plan.rows[1][2], "-1e3");
  EXPECT_EQ(plan.file_rows, (std::vector<int>{2, 4}));
}

// Every refusal names the row and the column, and brings no row.
TEST_F(ImportPlanTest, RefusalsNameRowAndColumn) {
  struct Case {
    xlsx::SheetRows sheet;
    const char8_t* says;
  };
  const std::vector<Case> cases = {
      {{{T(u8"编号"), T(u8"姓名"), T(u8"部门")}}, u8"第 1 行第 3 列的标题“部门”与工资表的任何项目都不对应"},
      {{{T(u8"编号"), T(u8"姓名"), T(u8"基本工资")}, {T(u8"1"), T(u8"甲"), T(u8"1,500")}},
       u8"第 2 行第 3 列（基本工资）的金额“1,500”不是数字"},
      {{{T(u8"编号"), T(u8"姓名"), T(u8"基本工资")}, {T(u8"1"), T(u8"甲"), {Kind::kOther, "TRUE"}}},
       u8"第 2 行第 3 列（基本工资）的金额“TRUE”不是数字"},
      {{{T(u8"编号"), T(u8"姓名")}, {T(u8"1"), T(u8"甲")}, {T(u8"2"), T(u8"😀")}},
       u8"第 3 行第 2 列（姓名）中有字符 U+1F600"},
      {{{T(u8"编号"), T(u8"姓名"), T(u8"基本工资"), T(u8"基本 工资")}},
       u8"第 1 行第 4 列的标题“基本 工资”与第 3 列对应同一个项目“基本工资”"},
      {{{T(u8"编号"), T(u8"姓名"), {}}, {T(u8"1"), T(u8"甲"), N("5")}}, u8"第 1 行第 3 列没有标题"},
      {{{T(u8"编号"), T(u8"基本工资")}}, u8"文件第一行没有“姓名”这一列"},
      {{}, u8"文件是空的"},
  };
  for (const Case& c : cases) {
    const ImportPlan plan = PlanImport(c.sheet, reg_);
    EXPECT_NE(ToUtf8(plan.problem).find(U8(c.says)), std::string::npos)
        << ToUtf8(plan.problem) << " | " << U8(c.says);
  }
}

TEST_F(ImportPlanTest, MoreThanFiveThousandPeopleAreRefusedAtTheRowThatIsTooMany) {
  xlsx::SheetRows sheet = {{T(u8"编号"), T(u8"姓名")}};
  for (int i = 1; i <= kMostPeople + 1; ++i) sheet.push_back({N(std::to_string(i).c_str()), T(u8"某")});
  const ImportPlan plan = PlanImport(sheet, reg_);
  EXPECT_NE(ToUtf8(plan.problem).find(U8(u8"文件从第 5002 行起超过了 5000 人")), std::string::npos)
      << ToUtf8(plan.problem);
  sheet.pop_back();
  EXPECT_TRUE(PlanImport(sheet, reg_).ok());
}

TEST_F(ImportPlanTest, AppendKeepsTheRowsUpToTheLastFilledAndReplaceDropsThem) {
  reg_.SetCellText(1, 0, "1");
  reg_.SetCellText(2, 21, "x");  // a row that holds anything is kept, also without a name
  const ImportPlan plan = PlanImport({{T(u8"编号"), T(u8"姓名")}, {T(u8"9"), T(u8"新")}}, reg_);
  std::vector<RowTexts> rows;
  Text problem;
  ASSERT_TRUE(ImportedRows(plan, ImportMode::kAppend, reg_, &rows, &problem));
  ASSERT_EQ(rows.size(), static_cast<size_t>(kMostPeople));
  EXPECT_EQ(rows[0][0], "1");
  EXPECT_EQ(rows[1][21], "x");
  EXPECT_EQ(rows[2][0], "9");
  EXPECT_EQ(rows[3][0], "");
  ASSERT_TRUE(ImportedRows(plan, ImportMode::kReplace, reg_, &rows, &problem));
  EXPECT_EQ(rows[0][0], "9");
  EXPECT_EQ(rows[1][21], "");
  // Appending past the register's size is refused.
  reg_.SetRowCount(kMostPeople + 1);
  reg_.SetCellText(kMostPeople, 0, "last");
  EXPECT_FALSE(ImportedRows(plan, ImportMode::kAppend, reg_, &rows, &problem));
  EXPECT_NE(ToUtf8(problem).find(U8(u8"追加后工资表将有 5001 行")), std::string::npos);
}

TEST(ImportNumberTest, NumbersAreDigitsWithOnePointAndAnExponent) {
  for (const char* yes : {"0", "-12", "+3.5", ".5", "5.", " 7 ", "1e5", "2E-3"}) {
    EXPECT_TRUE(IsNumberText(yes)) << yes;
  }
  for (const char* no : {"", " ", "1,500", "1.2.3", "12元", "e5", "1e", "--1", "0x10", "NaN"}) {
    EXPECT_FALSE(IsNumberText(no)) << no;
  }
}

TEST(CsvTableTest, ReadsUtf8WithOrWithoutByteOrderMarkAndGbk) {
  xlsx::SheetRows rows;
  Text error;
  const std::string utf8 = U8(u8"编号,姓名\r\n0012,\"张,三\"\r\n");
  for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8, std::string(FromUtf8(utf8))}) {
    ASSERT_TRUE(ReadCsv(bytes, &rows, &error));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].text, U8(u8"编号"));
    EXPECT_EQ(rows[1][0].text, "0012");
    EXPECT_EQ(rows[1][1].text, U8(u8"张,三"));
  }
  EXPECT_FALSE(ReadCsv("\x81\x20\xFF", &rows, &error));  // neither
  EXPECT_FALSE(error.empty());
}

TEST(CsvTableTest, QuotesMayHoldQuotesAndLineBreaksAndEmptyFieldsCount) {
  xlsx::SheetRows rows;
  Text error;
  ASSERT_TRUE(ReadCsv("a,\"say \"\"hi\"\"\",\"two\nlines\",,\nlast", &rows, &error));
  ASSERT_EQ(rows.size(), 2u);
  ASSERT_EQ(rows[0].size(), 5u);
  EXPECT_EQ(rows[0][1].text, "say \"hi\"");
  EXPECT_EQ(rows[0][2].text, "two\nlines");
  EXPECT_EQ(rows[0][3].kind, Kind::kEmpty);
  EXPECT_EQ(rows[1][0].text, "last");
}

}  // namespace
}  // namespace sr::app
