// An amount that reaches the tax is rounded to the fen one way, half away from zero, as the
// decimal it was typed as, wherever it comes from: the register, the people file or a month
// taken over. What is finer than a fen is named.
#include <gtest/gtest.h>

#include "app/tax_rules/fen.h"
#include "app/tax_rules/tax_calculation.h"
#include "app/withholding/register_month.h"
#include "app/withholding/take_over.h"
#include "runtime/convert/conversions.h"

namespace sr::app::test {
namespace {

TEST(AmountsToTheFenTest, TheRegisterThePeopleFileAndTheTakeOverRoundAlike) {
  struct Case {
    const char* text;
    double fen;
    bool finer;  // named in a warning
  };
  const Case kCases[] = {{"1000.555", 1000.56, true}, {"10000.005", 10000.01, true},
                         {"1500.555", 1500.56, true}, {"2.675", 2.68, true},
                         {"1.004", 1, true},          {"12.5", 12.5, false},
                         {"7.10", 7.1, false},        {"30000", 30000, false}};
  const PeopleByNumber people = {{"1", Person()}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    SalaryRegister salary_register;
    salary_register.InsertRow(1);
    salary_register.SetCellText(1, kNumberColumn, "1");
    salary_register.SetCellText(1, kNameColumn, "某人");
    salary_register.SetCellText(1, kFirstIncomeColumn, c.text);
    EXPECT_EQ(RowFigures(salary_register, 1, Person()).income, c.fen);
    EXPECT_EQ(TaxableSumOf(salary_register, 1), c.fen);

    PersonTexts row;
    row[kPersonNumber] = "1";
    row[kPersonName] = "某人";
    row[kPersonResidence] = "非居民";
    row[kPersonOther] = c.text;
    std::vector<Person> declared;
    ASSERT_TRUE(PeopleFromTexts({row}, &declared).empty());
    EXPECT_EQ(declared[0].other, c.fen);
    EXPECT_EQ(RecordOfTexts(row)[kPersonOther].floating(), c.fen);

    std::vector<LedgerEntry> entries;
    std::vector<Text> finer;
    ASSERT_TRUE(ParseTakeOver(Concat({"2026-01,1,a,,", c.text, ",,,,,,,,,,,,0\n"}), "x",
                              people, &entries, &finer)
                    .empty());
    EXPECT_EQ(entries[0].figures.income, c.fen);

    const auto named = [&](const std::vector<Text>& warnings, const Text& expected) {
      EXPECT_EQ(warnings, c.finer ? std::vector<Text>{expected} : std::vector<Text>());
    };
    named(FinerThanFenCells(salary_register),
          Concat({"第 1 行 1 某人 ", salary_register.Title(kFirstIncomeColumn), "：", c.text}));
    named(FinerThanFenAmounts({row}), Concat({"第 1 行 1 某人 其他扣除：", c.text}));
    named(finer, Concat({"第 1 行 收入额：", c.text}));
  }
}

}  // namespace
}  // namespace sr::app::test
