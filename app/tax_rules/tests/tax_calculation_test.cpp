// The income-tax calculation on the register grid, against the table installed with the program
// (threshold 5000) and the three-bracket table of the worked examples (threshold 3500).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "app/tax_rules/tax_calculation.h"
#include "app/tax_rules/tax_table.h"
#include "app/tests/tax_test_support.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"

namespace sr::app::test {
namespace {

class CalculationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.WriteTaxTable(ThreeBracketTable());
    program_.Start();
    program_.LayOutRegister(4, DefaultTitles());
  }

  Text Cell(int row, int column) { return program_.grid().CellText(row, column); }
  void Calculate() { program_.commands().Calculate(); }
  // Columns 10, 18, 19 and 20 of a row.
  std::vector<Text> Totals(int row) {
    return {Cell(row, 10), Cell(row, 18), Cell(row, 19), Cell(row, 20)};
  }
  using Totals4 = std::vector<Text>;

  TaxProgram program_;
};

TEST_F(CalculationTest, WorkedExamplesOfTheThreeBracketTable) {
  program_.SetRow(1, {{2, "5000"}, {3, "800"}});
  program_.SetRow(2, {{2, "5000"}, {3, "800"}, {11, "300"}});  // 养老保险(免税)
  program_.SetRow(3, {{2, "3500"}});                            // S equal to T
  Calculate();
  EXPECT_EQ(Totals(1), (Totals4{"5800", "125", "125", "5675"}));
  EXPECT_EQ(Totals(2), (Totals4{"5800", "95", "395", "5405"}));
  EXPECT_EQ(Totals(3), (Totals4{"3500", "0", "0", "3500"}));
  EXPECT_EQ(Totals(4), (Totals4{"0", "0", "0", "0"}));  // an empty row
  EXPECT_EQ(program_.state().modified, 1);
}

TEST_F(CalculationTest, ExemptIncomeCountsInGrossPayButIsNotTaxed) {
  program_.salary_register().SetTitle(3, "岗位工资(免税)");
  program_.SetRow(1, {{2, "5000"}, {3, "800"}});
  Calculate();
  // S - T = 1500 equals the second bracket's lower bound and falls into it.
  EXPECT_EQ(Totals(1), (Totals4{"5800", "45", "45", "5755"}));
}

TEST_F(CalculationTest, ExemptMarkAnywhereInTheTitleAndOnlyInAsciiParentheses) {
  program_.salary_register().SetTitle(3, "(免税)岗位");
  program_.salary_register().SetTitle(4, "绩效（免税）");  // full-width: taxed
  program_.SetRow(1, {{2, "5000"}, {3, "800"}, {4, "1000"}});
  Calculate();
  // S = 6000: S - T = 2500, 250 - 105.
  EXPECT_EQ(Cell(1, 18), "145");
}

TEST_F(CalculationTest, LowestBoundOfZeroTakesTheBracketOutOfUse) {
  std::vector<TaxRow> table = ThreeBracketTable();
  program_.SetRow(1, {{2, "4500"}});  // S - T = 1000
  Calculate();
  EXPECT_EQ(Cell(1, 18), "30");
  table[0][1] = 0;
  program_.WriteTaxTable(table);
  Calculate();
  EXPECT_EQ(Cell(1, 18), "0");
}

TEST_F(CalculationTest, EveryPartialSumIsRoundedToTwoPlaces) {
  program_.SetRow(1, {{2, "0.004"}, {3, "0.004"}, {15, "0.004"}, {16, "0.004"}});
  program_.SetRow(2, {{2, "0.005"}, {3, "0.005"}});
  Calculate();
  EXPECT_EQ(Totals(1), (Totals4{"0", "0", "0", "0"}));
  EXPECT_EQ(Totals(2), (Totals4{"0.02", "0", "0", "0.02"}));
}

// The cumulative method puts its own tax into rows the monthly pass has worked out; the totals
// must come out as if the row had been worked out with that tax from the start.
TEST_F(CalculationTest, ChangingTheTaxOfAWorkedOutRowGivesTheResultWithThatTax) {
  program_.SetRow(1, {{2, "8000.004"}, {3, "0.005"}, {11, "300.25"}, {15, "0.004"}, {16, "2.5"}});
  const SalaryRegister& salary_register = program_.salary_register();
  Text problem;
  for (double tax : {0.0, 12.345, 1.005, 630.0, -20.0}) {
    SCOPED_TRACE(tax);
    RowResult fresh, changed;
    ASSERT_TRUE(ResultWithTax(salary_register, 1, tax, &fresh, &problem));
    ASSERT_TRUE(ResultWithTax(salary_register, 1, 99.99, &changed, &problem));
    ASSERT_TRUE(ChangeTax(salary_register, 1, tax, &changed, &problem));
    EXPECT_EQ(changed.tax, fresh.tax);
    EXPECT_EQ(changed.gross, fresh.gross);
    EXPECT_EQ(changed.deductions, fresh.deductions);
    EXPECT_EQ(changed.net, fresh.net);
  }
  RowResult result;
  ASSERT_TRUE(ResultWithTax(salary_register, 1, 0, &result, &problem));
  EXPECT_EQ(result.deduction_items, 302.75);  // 300.25 + 0.004 to the fen, + 2.5
  EXPECT_FALSE(ChangeTax(salary_register, 1, HUGE_VAL, &result, &problem));
  EXPECT_NE(problem.find("范围"), Text::npos);
}

TEST_F(CalculationTest, NonNumericAmountsCountAsZero) {
  program_.SetRow(1, {{2, "5000"}, {3, "abc"}, {4, "800元"}, {15, "x"}});
  Calculate();
  EXPECT_EQ(Totals(1), (Totals4{"5800", "125", "125", "5675"}));
}

TEST_F(CalculationTest, QuickDeductionLargerThanTheTaxGivesANegativeTax) {
  std::vector<TaxRow> table = ThreeBracketTable();
  table[1][4] = 300;
  program_.WriteTaxTable(table);
  program_.SetRow(1, {{2, "5500"}});
  Calculate();
  EXPECT_EQ(Totals(1), (Totals4{"5500", "-100", "-100", "5600"}));
}

TEST_F(CalculationTest, TitleRowOnlyWritesNothingButOpensTheTableAndSetsModified) {
  program_.salary_register().SetRowCount(1);
  program_.state().modified = 0;
  Calculate();
  EXPECT_EQ(program_.state().modified, 1);
  EXPECT_TRUE(program_.databases().SelectDatabase(kTaxTableAlias));
  EXPECT_EQ(Cell(0, 18), "个人所得税");
}

TEST_F(CalculationTest, ProgressBarEndsHiddenAfterMoving) {
  program_.LayOutRegister(300, DefaultTitles());
  forms::ProgressBar& bar = program_.window().form().progress_bar();
  Calculate();
  EXPECT_FALSE(bar.visible());
  EXPECT_GT(bar.position(), 1);
}

TEST_F(CalculationTest, TableIsReadAfreshFromTheCurrentDirectoryEachTime) {
  program_.SetRow(1, {{2, "5800"}});
  Calculate();
  EXPECT_EQ(Cell(1, 18), "125");
  // The table left open by the first run does not hide a change another program made.
  program_.SetTaxField(1, 1, 3000);
  Calculate();
  EXPECT_EQ(Cell(1, 18), "175");  // 2800 x 10% - 105
  // A file dialog may have moved the current directory away from the program directory.
  const Text other = program_.PathOf("other");
  program_.databases().CloseDatabase(kTaxTableAlias);
  std::filesystem::create_directory(TaxProgram::Native(other));
  std::filesystem::copy_file(TaxProgram::Native(program_.PathOf(kTaxTableFileName)),
                             TaxProgram::Native(other + "/" + kTaxTableFileName));
  program_.WriteTaxTable(ThreeBracketTable());
  fs::RealFileSystem().SetCurrentDirectory(other);
  Calculate();
  EXPECT_EQ(Cell(1, 18), "175");
}

TEST_F(CalculationTest, MissingTableIsReportedAndNothingChanges) {
  std::filesystem::remove(TaxProgram::Native(program_.PathOf(kTaxTableFileName)));
  program_.SetRow(1, {{2, "5800"}, {18, "7"}});
  program_.state().modified = 0;
  Calculate();
  ASSERT_EQ(program_.Messages().size(), 1u);
  const Text text = program_.Messages()[0].text;
  EXPECT_NE(text.find(program_.PathOf(kTaxTableFileName)), Text::npos) << text;
  EXPECT_NE(text.find(DatabaseErrorMessage(kDbNotFound)), Text::npos) << text;
  EXPECT_EQ(Totals(1), (Totals4{"", "7", "", ""}));
  EXPECT_EQ(program_.state().modified, 0);
}

// Past the range of a double an amount would become infinity, shown as "1.#INF" and later read
// as 1: the calculation names the row (and the cell) and writes nothing at all.
TEST_F(CalculationTest, AmountsOrTotalsPastTheRangeOfADoubleAreNamedAndNothingChanges) {
  // Calculates, expecting exactly this problem reported and row 1 left unwritten.
  const auto refused = [this](const Text& problem) {
    const size_t before = program_.Messages().size();
    Calculate();
    ASSERT_EQ(program_.Messages().size(), before + 1);
    EXPECT_EQ(program_.Messages().back().text,
              "无法计算：" + problem + "。表中的数据都没有改动，请改正后再计算。");
    EXPECT_EQ(Totals(1), (Totals4{"", "", "", ""}));
  };
  program_.SetRow(1, {{0, "001"}, {1, "张三"}, {2, "5800"}});
  program_.SetRow(3, {{0, "003"}, {1, "王五"}, {3, "1e309"}});
  program_.state().modified = 0;
  refused("第 3 行（003 王五）“岗位工资”一栏的金额“1e309”超出了程序能处理的范围");
  EXPECT_EQ(program_.state().modified, 0);
  // Each amount fits, their sum does not.
  program_.SetRow(3, {{3, "1.7e308"}, {4, "1.7e308"}});
  refused("第 3 行（003 王五）的税额或合计超出了程序能处理的范围");
  // What an infinity stored by an earlier version shows is no amount of 1, nor is NaN's text.
  program_.SetRow(3, {{3, ""}, {4, "1.#INF"}});
  program_.SetRow(2, {{13, "-1.#IND"}});  // 失业保险(免税): read into the taxable sum
  refused("第 2 行“失业保险(免税)”一栏的金额“-1.#IND”超出了程序能处理的范围");
  program_.SetRow(2, {{13, ""}});
  refused("第 3 行（003 王五）“绩效工资”一栏的金额“1.#INF”超出了程序能处理的范围");

  program_.SetRow(3, {{4, "5e306"}});
  Calculate();
  EXPECT_EQ(program_.Messages().size(), 4u);
  EXPECT_EQ(Totals(1), (Totals4{"5800", "125", "125", "5675"}));
  EXPECT_EQ(Totals(3), (Totals4{"5e+306", "1e+306", "1e+306", "4e+306"}));
  EXPECT_EQ(program_.state().modified, 1);
}

TEST_F(CalculationTest, NonNumericTableValueIsReportedWithItsRecordAndField) {
  program_.WriteTaxTable(ThreeBracketTable(), /*text_field=*/4, "abc");
  program_.SetRow(1, {{2, "5800"}});
  Calculate();
  ASSERT_EQ(program_.Messages().size(), 1u);
  const Text text = program_.Messages()[0].text;
  EXPECT_NE(text.find("第 1 条记录第 4 个字段"), Text::npos) << text;
  EXPECT_EQ(Cell(1, 18), "");
  EXPECT_EQ(program_.state().modified, 0);
}

TEST_F(CalculationTest, ShortTableIsReportedInsteadOfReadingPastIt) {
  std::vector<TaxRow> table = ThreeBracketTable();
  table.resize(3);
  program_.WriteTaxTable(table);
  program_.SetRow(1, {{2, "5800"}});
  Calculate();
  ASSERT_EQ(program_.Messages().size(), 1u);
  EXPECT_EQ(Cell(1, 18), "");
}

// Taxable amounts S - T on, just below and just above every bracket boundary of the installed
// table. Its quick deductions make the tax continuous, so the same bounds and rates without
// quick deductions show which bracket was chosen.
struct BoundaryCase {
  const char* over;  // S - T, entered as a second income item beside 5000
  const char* with_quick;
  const char* without_quick;
};

TEST(InstalledTableTest, AmountsOnAndNextToEveryBracketBoundary) {
  const BoundaryCase cases[] = {
      {"0", "0", "0"},                {"0.99", "0", "0"},           {"1", "0.03", "0.03"},
      {"1.01", "0.03", "0.03"},       {"2000", "60", "60"},         {"2999.99", "90", "90"},
      {"3000", "90", "300"},          {"3000.01", "90", "300"},     {"3000.05", "90.01", "300.01"},
      {"5000", "290", "500"},         {"11999.99", "990", "1200"},  {"12000", "990", "2400"},
      {"12000.01", "990", "2400"},    {"24999.99", "3590", "5000"}, {"25000", "3590", "6250"},
      {"25000.01", "3590", "6250"},   {"34999.99", "6090", "8750"}, {"35000", "6090", "10500"},
      {"35000.01", "6090", "10500"},  {"54999.99", "12090", "16500"},
      {"55000", "12090", "19250"},    {"55000.01", "12090", "19250"},
      {"79999.99", "20840", "28000"}, {"80000", "20840", "36000"},
      {"80000.01", "20840", "36000"}, {"100000", "29840", "45000"}};
  const int rows = static_cast<int>(std::size(cases));
  for (bool quick : {true, false}) {
    TaxProgram program;
    std::vector<TaxRow> table = InstalledTable();
    if (!quick) {
      for (TaxRow& row : table) row[4] = 0;
    }
    program.WriteTaxTable(table);
    program.Start();
    program.LayOutRegister(rows, DefaultTitles());
    for (int r = 1; r <= rows; ++r) program.SetRow(r, {{2, "5000"}, {3, cases[r - 1].over}});
    program.commands().Calculate();
    for (int r = 1; r <= rows; ++r) {
      const BoundaryCase& c = cases[r - 1];
      EXPECT_EQ(program.grid().CellText(r, 18), quick ? c.with_quick : c.without_quick)
          << "S - T = " << c.over << (quick ? "" : " without quick deductions");
    }
  }
}

TEST(InstalledTableTest, ExemptDeductionsAndExemptIncome) {
  TaxProgram program;
  program.WriteTaxTable(InstalledTable());
  program.Start();
  std::vector<Text> titles = DefaultTitles();
  titles[9] = "其他收入(免税)";
  program.LayOutRegister(1, titles);
  // Taxable 10000 less 800 and 200 exempt deductions: S - T = 4000, 400 - 210 = 190.
  program.SetRow(1, {{2, "10000"}, {9, "1000"}, {11, "800"}, {12, "200"}, {15, "50"}});
  program.commands().Calculate();
  const Grid& grid = program.grid();
  EXPECT_EQ(grid.CellText(1, 10), "11000");
  EXPECT_EQ(grid.CellText(1, 18), "190");
  EXPECT_EQ(grid.CellText(1, 19), "1240");
  EXPECT_EQ(grid.CellText(1, 20), "9760");
}

TEST(TaxBracketTest, LookUpWalksDownFromTheLastRecordWithinTheTolerance) {
  TaxBrackets brackets;
  brackets.threshold = 100;
  brackets.lower = {1, 50, 0, 80, 0, 0, 0, 0, 0};  // an unused record between used ones
  brackets.rate = {3, 10, 99, 20, 0, 0, 0, 0, 0};
  brackets.quick = {0, 5, 99, 10, 0, 0, 0, 0, 0};
  int rate = -1;
  int quick = -1;
  LookUpBracket(brackets, 180 - 0.00000005, &rate, &quick);
  EXPECT_EQ(rate, 20);
  LookUpBracket(brackets, 180 - 0.000001, &rate, &quick);
  EXPECT_EQ(rate, 10);
  EXPECT_EQ(quick, 5);
  LookUpBracket(brackets, 100.5, &rate, &quick);
  EXPECT_EQ(rate, 0);
  EXPECT_EQ(quick, 0);
}

}  // namespace
}  // namespace sr::app::test
