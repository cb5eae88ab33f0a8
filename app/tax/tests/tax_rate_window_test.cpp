// The tax rate window: its grid, the map between records and cells, saving on the button and on
// the close box, whole numbers only, and the quick-deduction warning.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/tax/tax_rate_window.h"
#include "app/tests/tax_test_support.h"
#include "runtime/convert/conversions.h"

namespace sr::app::test {
namespace {

using Form = forms::TaxRateForm;

class TaxRateWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.WriteTaxTable(InstalledTable());
    program_.Start();
  }

  void Open() { program_.commands().ShowTaxRateWindow(); }
  static void Put(Form& form, int row, int column, const char* text) {
    form.grid().SetCellValue(row, column, 1, Value::FromText(text));
  }
  static void PressSave(Form& form) { form.save_button().OnClicked(); }
  static void PressCloseBox(Form& form) { form.OnCloseRequested(); }
  bool WindowOpen() {
    for (forms::Window* window : program_.framework().open_windows()) {
      if (window->caption() == "税率表") return true;
    }
    return false;
  }

  TaxProgram program_;
};

TEST_F(TaxRateWindowTest, SetUpLaysOutTheMergedGridAndShowsTheTable) {
  program_.InModal<Form>([](Form& form) {
    const Grid& grid = form.grid();
    EXPECT_EQ(grid.ColumnWidth(0), 40);
    EXPECT_EQ(grid.CellText(13, 0), "13");
    EXPECT_EQ(grid.CellText(0, 8), "8");
    EXPECT_EQ(grid.CellText(3, 1), "税率表");
    EXPECT_EQ(grid.CellText(4, 7), "速算率（元）");
    EXPECT_EQ(grid.CellText(13, 3), "以上");
    EXPECT_EQ(grid.DisplayedRange(9, 1), (CellRange{5, 1, 13, 1}));
    EXPECT_EQ(grid.DisplayedRange(12, 3), (CellRange{5, 3, 12, 3}));
    EXPECT_EQ(grid.CellAlignment(13, 8), Alignment::kCentre);
    EXPECT_EQ(grid.CellText(5, 1), "5000");  // threshold
    EXPECT_EQ(grid.CellText(5, 2), "1");     // bracket 1: lower, upper, rate
    EXPECT_EQ(grid.CellText(5, 4), "3000");
    EXPECT_EQ(grid.CellText(5, 5), "3");
    EXPECT_EQ(grid.CellText(6, 7), "210");  // quick deduction of bracket 2
    EXPECT_EQ(grid.CellText(11, 2), "80000");
    EXPECT_EQ(grid.CellText(11, 7), "15160");
    EXPECT_EQ(grid.CellText(12, 7), "0");
    EXPECT_EQ(grid.CellText(2, 3), "0");  // field 1 of record 2
    EXPECT_EQ(grid.CellText(1, 3), "");   // field 6 of record 1
  });
  Open();
  EXPECT_TRUE(program_.Messages().empty());
  EXPECT_EQ(program_.ReadTaxTable(), InstalledTable());  // the close box saved it unchanged
}

TEST_F(TaxRateWindowTest, SaveWritesWholeNumbersAndReopeningShowsThem) {
  program_.InModal<Form>([](Form& form) {
    Put(form, 5, 1, "3600");
    Put(form, 11, 2, "");  // bracket 7 out of use
    Put(form, 11, 5, "");
    Put(form, 2, 5, " 12 ");
    PressSave(form);
  });
  Open();
  EXPECT_FALSE(WindowOpen());
  EXPECT_TRUE(program_.Messages().empty());
  std::vector<TaxRow> expected = InstalledTable();
  expected[0][0] = 3600;
  expected[6][1] = 0;
  expected[6][3] = 0;
  expected[3][0] = 12;
  EXPECT_EQ(program_.ReadTaxTable(), expected);
  EXPECT_FALSE(program_.databases().SelectDatabase(kTaxTableAlias));  // closed after saving

  program_.InModal<Form>([](Form& form) {
    EXPECT_EQ(form.grid().CellText(5, 1), "3600");
    EXPECT_EQ(form.grid().CellText(11, 2), "0");
    EXPECT_EQ(form.grid().CellText(2, 5), "12");
  });
  Open();
}

TEST_F(TaxRateWindowTest, CellsThatAreNotWholeNumbersAreNamedAndNothingIsSaved) {
  program_.backend().QueueAnswer(ui::MessageAnswer::kYes);  // close without saving, at the end
  program_.InModal<Form>([this](Form& form) {
    Put(form, 5, 1, "3500.75");
    Put(form, 6, 5, "2.5");
    Put(form, 7, 7, "1,500");
    Put(form, 8, 2, "abc");
    Put(form, 9, 5, "");  // the rate of a bracket in use
    PressSave(form);
    EXPECT_TRUE(WindowOpen());
    Put(form, 5, 1, "3500");
    PressSave(form);
    EXPECT_TRUE(WindowOpen());
  });
  Open();
  const std::vector<ui::MessageBoxSpec> messages = program_.Messages();
  ASSERT_EQ(messages.size(), 3u);
  const Text& first = messages[0].text;
  for (const char* cell : {"第 5 行第 1 列：3500.75", "第 6 行第 5 列：2.5", "第 7 行第 7 列：1,500",
                           "第 8 行第 2 列：abc", "第 9 行第 5 列：（空）"}) {
    EXPECT_NE(first.find(cell), Text::npos) << cell;
  }
  EXPECT_EQ(messages[1].text.find("第 5 行第 1 列"), Text::npos);
  EXPECT_EQ(messages[1].buttons, ui::MessageButtons::kOk);
  EXPECT_EQ(messages[2].buttons, ui::MessageButtons::kYesNo);  // the close box at the end
  EXPECT_EQ(program_.ReadTaxTable(), InstalledTable());
}

TEST_F(TaxRateWindowTest, CloseBoxWithBadCellsClosesWithoutSavingOnYes) {
  program_.backend().QueueAnswer(ui::MessageAnswer::kYes);
  program_.InModal<Form>([](Form& form) {
    Put(form, 5, 1, "abc");
    PressCloseBox(form);
  });
  Open();
  ASSERT_EQ(program_.Messages().size(), 1u);
  EXPECT_EQ(program_.Messages()[0].buttons, ui::MessageButtons::kYesNo);
  EXPECT_FALSE(WindowOpen());
  EXPECT_EQ(program_.ReadTaxTable(), InstalledTable());
}

TEST_F(TaxRateWindowTest, CloseBoxWithBadCellsShowsTheCellsAgainOnNo) {
  program_.backend().QueueAnswer(ui::MessageAnswer::kNo);
  program_.InModal<Form>([](Form& form) {
    Put(form, 5, 1, "4000");
    Put(form, 6, 5, "2.5");
    PressCloseBox(form);
  });
  program_.InModal<Form>([](Form& form) {
    EXPECT_EQ(form.grid().CellText(5, 1), "4000");
    EXPECT_EQ(form.grid().CellText(6, 5), "2.5");
    Put(form, 6, 5, "10");
    PressCloseBox(form);
  });
  Open();
  EXPECT_FALSE(WindowOpen());
  EXPECT_EQ(program_.ReadTaxTable()[0][0], 4000);
}

TEST_F(TaxRateWindowTest, CloseBoxEndsAnEditInProgressAndSaves) {
  program_.InModal<Form>([](Form& form) {
    Grid& grid = form.grid();
    grid.SetCursor(5, 1);
    ASSERT_TRUE(grid.BeginEdit());
    grid.SetEditorText("4200");
    PressCloseBox(form);
  });
  Open();
  EXPECT_EQ(program_.ReadTaxTable()[0][0], 4200);
}

TEST_F(TaxRateWindowTest, MistypedQuickDeductionIsSavedWithAWarning) {
  program_.InModal<Form>([](Form& form) {
    Put(form, 7, 7, "1400");  // bracket 3
    PressSave(form);
  });
  Open();
  ASSERT_EQ(program_.Messages().size(), 1u);
  const Text text = program_.Messages()[0].text;
  EXPECT_NE(text.find("第 3 级（第 7 行）的速算扣除数是 1400，按下限和税率应为 1410"), Text::npos)
      << text;
  // Bracket 4's deduction no longer continues the mistyped one: the tax jumps there too.
  EXPECT_NE(text.find("第 4 级（第 8 行）的速算扣除数是 2660，按下限和税率应为 2650"), Text::npos)
      << text;
  EXPECT_EQ(program_.ReadTaxTable()[2][4], 1400);
}

TEST_F(TaxRateWindowTest, MissingTableIsReportedAndTheWindowDoesNotOpen) {
  program_.databases().CloseAllDatabases();
  std::filesystem::remove(TaxProgram::Native(program_.PathOf(kTaxTableFileName)));
  Open();
  ASSERT_EQ(program_.Messages().size(), 1u);
  EXPECT_NE(program_.Messages()[0].text.find(program_.PathOf(kTaxTableFileName)), Text::npos);
  EXPECT_EQ(program_.backend().pending_modal_scripts(), 0u);
  for (const headless::ScreenEvent& event : program_.backend().screen_log()) {
    EXPECT_NE(event.text, "税率表") << "the window was created";
  }
}

// The brackets that the warning names, in order.
std::vector<int> NamedBrackets(const TaxTableTexts& texts) {
  std::vector<int> named;
  for (const Text& line : QuickDeductionMismatches(texts)) {
    named.push_back(ToInteger(line.substr(line.find("第 ") + 3)));
  }
  return named;
}

// Each boundary is checked on its own, from the stored deduction below it: a mistyped value is
// named at every boundary where the tax jumps because of it, and nowhere else.
TEST(QuickDeductionTest, NamesExactlyTheBoundariesWhereTheTaxJumps) {
  TaxTableTexts texts;
  const char* rows[][5] = {{"3500", "1", "1500", "3", ""},
                           {"", "1500", "4500", "10", "105"},
                           {"", "4500", "9000", "20", "555"},
                           {"", "9000", "0", "25", "1005"},
                           {"", "0", "0", "0", "0"}};
  for (int k = 0; k < 5; ++k) {
    for (int f = 0; f < 5; ++f) texts[k][f] = rows[k][f];
  }
  EXPECT_TRUE(QuickDeductionMismatches(texts).empty());

  texts[2][4] = "550";  // a deduction: the boundaries below and above bracket 3 jump
  EXPECT_EQ(NamedBrackets(texts), (std::vector<int>{3, 4}));
  ASSERT_EQ(QuickDeductionMismatches(texts).size(), 2u);
  EXPECT_NE(QuickDeductionMismatches(texts)[0].find("是 550，按下限和税率应为 555"), Text::npos);
  EXPECT_NE(QuickDeductionMismatches(texts)[1].find("是 1005，按下限和税率应为 1000"), Text::npos);
  texts[2][4] = "555";

  texts[1][3] = "11";  // a rate: both boundaries of bracket 2, not bracket 4
  EXPECT_EQ(NamedBrackets(texts), (std::vector<int>{2, 3}));
  texts[1][3] = "10";

  texts[2][1] = "4000";  // a lower bound: only its own boundary
  EXPECT_EQ(NamedBrackets(texts), (std::vector<int>{3}));
  texts[2][1] = "4500";

  texts[3][1] = "0";  // bracket 4 out of use: not checked, nor anything after it
  texts[3][4] = "7";
  EXPECT_TRUE(QuickDeductionMismatches(texts).empty());
}

}  // namespace
}  // namespace sr::app::test
