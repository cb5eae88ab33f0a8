// The salary register on its own: the column layout, pay items and their exempt flags, texts
// kept as typed, row operations, and the changes its listeners hear (enough to undo each one).
#include "app/register/salary_register.h"
#include "app/register/stale_results.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sr::app {
namespace {

TEST(RegisterLayoutTest, ItemsAreTheIncomeAndDeductionColumnsInFieldOrder) {
  // The settings window renames field k + 2 for items 1 to 8 and k + 3 for items 9 to 15.
  for (int k = 1; k <= kSalaryItems; ++k) {
    const int field = k <= 8 ? k + 2 : k + 3;
    EXPECT_EQ(ItemColumn(k), field - 1) << k;
    EXPECT_EQ(ItemOfColumn(field - 1), k) << k;
  }
  EXPECT_EQ(kSalaryItems, 15);
  EXPECT_EQ(ItemColumn(0), -1);
  EXPECT_EQ(ItemColumn(16), -1);
  for (int column : {kNumberColumn, kNameColumn, kGrossPayColumn, kIncomeTaxColumn,
                     kTotalDeductionsColumn, kNetPayColumn, kRemarkColumn}) {
    EXPECT_EQ(ItemOfColumn(column), 0) << column;
  }
}

TEST(RegisterLayoutTest, ColumnsOfTheRegisterFile) {
  // Text at fields 1, 2 and 22; amounts at 3 to 21; the computed columns where the file has them.
  std::string kinds;
  for (int c = 0; c < kRegisterColumns; ++c) kinds += IsTextColumn(c) ? 'T' : 'A';
  EXPECT_EQ(kinds, "TTAAAAAAAAAAAAAAAAAAAT");
  EXPECT_EQ(kGrossPayColumn, 10);
  EXPECT_EQ(kIncomeTaxColumn, 18);
  EXPECT_EQ(kTotalDeductionsColumn, 19);
  EXPECT_EQ(kNetPayColumn, 20);
  EXPECT_EQ(kRemarkColumn, 21);
}

TEST(SalaryRegisterTest, ItemsTakeRoleAndExemptFlagFromTheirTitles) {
  SalaryRegister reg;
  reg.SetTitle(3, "奖金(免税)");
  reg.SetTitle(4, "(免税)岗位");
  reg.SetTitle(5, "绩效（免税）");  // full-width parentheses are no mark
  reg.SetTitle(12, "养老保险(免税)(免税)");
  reg.SetTitle(kIncomeTaxColumn, "个人所得税(免税)");
  const std::vector<PayItem> items = reg.SalaryItems();
  ASSERT_EQ(items.size(), 15u);
  std::string roles, exempt;
  for (const PayItem& item : items) {
    roles += item.role == ColumnRole::kIncome      ? 'I'
             : item.role == ColumnRole::kDeduction ? 'D'
                                                   : '?';
    exempt += item.exempt ? 'x' : '.';
  }
  EXPECT_EQ(roles, "IIIIIIIIDDDDDDD");
  EXPECT_EQ(exempt, ".xx......x.....");
  EXPECT_EQ(items[1].title, "奖金(免税)");
  EXPECT_EQ(items[1].column, 3);
  EXPECT_EQ(items[1].item, 2);
  const PayItem tax = reg.Item(kIncomeTaxColumn);
  EXPECT_EQ(tax.role, ColumnRole::kIncomeTax);
  EXPECT_EQ(tax.item, 0);
  EXPECT_TRUE(tax.exempt);
  EXPECT_EQ(reg.Item(kNetPayColumn).role, ColumnRole::kNetPay);
}

TEST(SalaryRegisterTest, CellsKeepTheTextAndReadAsTheProgramReadsIt) {
  SalaryRegister reg;
  reg.SetRowCount(3);
  EXPECT_TRUE(reg.SetCellText(1, 2, "1,500"));
  EXPECT_EQ(reg.CellText(1, 2), "1,500");
  EXPECT_EQ(reg.Amount(1, 2), 1);
  EXPECT_EQ(reg.Amount(1, 3), 0);  // empty
  EXPECT_TRUE(reg.SetAmount(2, 20, 1234.50));
  EXPECT_EQ(reg.CellText(2, 20), "1234.5");
  EXPECT_TRUE(reg.SetCellText(0, 1, "姓名"));  // row 0 is the title row
  EXPECT_EQ(reg.Title(1), "姓名");
  EXPECT_FALSE(reg.SetCellText(3, 0, "x"));  // no such row
  EXPECT_FALSE(reg.SetCellText(1, kRegisterColumns, "x"));
  EXPECT_FALSE(reg.SetCellTexts({0, 0, 1, 0}, {"a", "b"}));  // titles are not cells
  EXPECT_FALSE(reg.SetCellTexts({1, 0, 2, 1}, {"a", "b"}));  // too few texts
  EXPECT_EQ(reg.Title(0), "");
}

TEST(SalaryRegisterTest, APersonHasNumberAndName) {
  SalaryRegister reg;
  reg.SetRowCount(5);
  reg.SetCellTexts({1, 0, 4, 1}, {"1", "张三", "2", "", "", "王五", " ", "赵六"});
  reg.SetCellText(2, 2, "3000");  // amounts make nobody a person
  EXPECT_TRUE(reg.IsPerson(1));
  EXPECT_FALSE(reg.IsPerson(2));
  EXPECT_FALSE(reg.IsPerson(3));
  EXPECT_TRUE(reg.IsPerson(4));  // a space is text
  EXPECT_FALSE(reg.IsPerson(0));
  EXPECT_FALSE(reg.IsPerson(5));
  EXPECT_EQ(reg.CountPeople(), 2);
  EXPECT_EQ(reg.Number(4), " ");
  EXPECT_EQ(reg.Name(1), "张三");
}

// The results of a row fit its amounts as 计算 wrote them, until an amount or a result is
// changed; a row never calculated, or one that is nobody, never counts as stale.
TEST(StaleResultsTest, ResultsGoStaleWhenAnAmountChangesAndFitAgainWhenItIsChangedBack) {
  SalaryRegister reg;
  reg.SetRowCount(4);
  const AmountRounding as_typed = [](double amount) { return amount; };
  StaleResults results(reg, as_typed);
  int turns = 0;
  results.SetOnChanged([&] { ++turns; });
  // 6000 + 3400.1 = 9400.1 gross; 300.2 deductions + 100 tax = 400.2; net 8999.9.
  reg.SetCellTexts({1, 0, 1, 20}, {"001", "张三", "6000", "3400.1", "", "", "", "", "", "", "9400.1",
                                   "300.2", "", "", "", "", "", "", "100", "400.2", "8999.9"});
  reg.SetCellText(2, 20, "0");  // an empty row as 计算 or a load leaves it
  reg.SetCellTexts({3, 1, 3, 2}, {"李四", "5000"});  // typed, never calculated
  reg.SetCellText(1, 2, "1");
  EXPECT_FALSE(results.Stale());  // nothing calculated yet
  results.CalculationEnded();
  EXPECT_FALSE(results.Stale());  // a calculation that did not make every row fit watches nothing
  reg.SetCellText(1, 2, "6000");
  results.CalculationEnded();
  EXPECT_FALSE(results.Stale());
  const struct {
    int row, column;
    const char* text;
  } changes[] = {{1, 2, "6200"}, {1, 11, "300"}, {1, 18, "90"},
                 {1, 10, "9400"}, {1, 19, "400"}, {1, 20, "9000"}, {3, 20, "0"}};
  for (const auto& change : changes) {
    SCOPED_TRACE(testing::Message() << change.row << "," << change.column << " " << change.text);
    const Text before = reg.CellText(change.row, change.column);
    reg.SetCellText(change.row, change.column, change.text);
    EXPECT_TRUE(results.Stale());
    EXPECT_FALSE(ResultsAddUp(reg, change.row, as_typed));
    reg.SetCellText(change.row, change.column, before);
    EXPECT_FALSE(results.Stale());
  }
  EXPECT_EQ(turns, 14);
  reg.SetCellText(2, 5, "10");  // a row without number and name is nobody
  EXPECT_FALSE(results.Stale());
  reg.SetCellText(1, 3, "3400");
  reg.RemoveRow(1);  // the stale row gone, the rest fits
  EXPECT_FALSE(results.Stale());
  EXPECT_EQ(turns, 16);
  reg.SetCellText(2, 20, "5");
  EXPECT_TRUE(results.Stale());
  reg.ReplaceRows(std::vector<RowTexts>(2, reg.Row(2)));  // as Open does: nothing is known
  EXPECT_FALSE(results.Stale());
  EXPECT_EQ(turns, 18);
}

TEST(SalaryRegisterTest, RowsAreInsertedRemovedAndReplacedAsTheGridDoes) {
  SalaryRegister reg;
  EXPECT_EQ(reg.RowCount(), 1);  // the title row alone
  EXPECT_FALSE(reg.SetRowCount(0));
  reg.SetRowCount(4);
  for (int r = 1; r <= 3; ++r) reg.SetCellText(r, 1, std::to_string(r));
  EXPECT_EQ(reg.InsertRow(2), 2);  // before row 2
  EXPECT_EQ(reg.Name(2), "");
  EXPECT_EQ(reg.Name(3), "2");
  EXPECT_EQ(reg.InsertRow(0), 5);   // the title row: appended
  EXPECT_EQ(reg.InsertRow(99), 6);  // past the end: appended
  EXPECT_EQ(reg.InsertRow(-1), 7);  // no cursor: appended
  EXPECT_EQ(reg.RowCount(), 8);
  EXPECT_FALSE(reg.RemoveRow(0));  // the titles stay
  EXPECT_FALSE(reg.RemoveRow(8));
  EXPECT_FALSE(reg.RemoveRows(6, 3));
  EXPECT_TRUE(reg.RemoveRow(2));
  EXPECT_EQ(reg.Name(2), "2");
  EXPECT_TRUE(reg.SetRowCount(3));
  EXPECT_EQ(reg.RowCount(), 3);
  EXPECT_EQ(reg.Name(2), "2");
  RowTexts person;
  person[1] = "新";
  reg.ReplaceRows({person});
  EXPECT_EQ(reg.RowCount(), 2);
  EXPECT_EQ(reg.Name(1), "新");
}

// Records every change and can take each back from what the change says it replaced: the
// contract an undo stack relies on.
class Recorder : public RegisterListener {
 public:
  explicit Recorder(SalaryRegister& reg) : reg_(reg) { reg_.AddListener(this); }
  ~Recorder() override { reg_.RemoveListener(this); }

  void RegisterChanging() override { ++changing; }
  void RegisterChanged(const RegisterChange& change) override { changes.push_back(change); }

  // Takes back every recorded change, newest first.
  void UndoAll() {
    std::vector<RegisterChange> undo;
    undo.swap(changes);
    reg_.RemoveListener(this);
    for (auto it = undo.rbegin(); it != undo.rend(); ++it) Undo(*it);
    reg_.AddListener(this);
  }

  int changing = 0;
  std::vector<RegisterChange> changes;

 private:
  void Undo(const RegisterChange& change) {
    const RegisterRange& range = change.range;
    switch (change.kind) {
      case RegisterChange::Kind::kTitles: {
        auto text = change.previous_texts.begin();
        for (int c = range.first_column; c <= range.last_column; ++c) reg_.SetTitle(c, *text++);
        break;
      }
      case RegisterChange::Kind::kCells:
        reg_.SetCellTexts(range, change.previous_texts);
        break;
      case RegisterChange::Kind::kRowsInserted:
        reg_.RemoveRows(range.first_row, range.rows());
        break;
      case RegisterChange::Kind::kRowsRemoved:
        reg_.InsertRows(range.first_row, change.previous_rows);
        break;
      case RegisterChange::Kind::kRowsReplaced:
        reg_.ReplaceRows(change.previous_rows);
        break;
    }
  }

  SalaryRegister& reg_;
};

std::vector<RowTexts> Snapshot(const SalaryRegister& reg) {
  std::vector<RowTexts> rows{reg.Titles()};
  for (int r = 1; r < reg.RowCount(); ++r) rows.push_back(reg.Row(r));
  return rows;
}

TEST(SalaryRegisterTest, EachChangeNamesWhatChangedAndWhatItReplaced) {
  SalaryRegister reg;
  reg.SetRowCount(4);
  reg.SetCellText(2, 1, "李四");
  Recorder recorder(reg);

  reg.SetCellText(2, 1, "李四");  // the same text: nothing to hear
  EXPECT_TRUE(recorder.changes.empty());
  EXPECT_EQ(recorder.changing, 0);

  reg.SetCellText(2, 1, "王五");
  ASSERT_EQ(recorder.changes.size(), 1u);
  EXPECT_EQ(recorder.changes[0].kind, RegisterChange::Kind::kCells);
  EXPECT_EQ(recorder.changes[0].range, (RegisterRange{2, 1, 2, 1}));
  EXPECT_EQ(recorder.changes[0].previous_texts, std::vector<Text>{"李四"});

  reg.SetCellTexts({1, 18, 3, 20}, std::vector<Text>(9, "0"));
  ASSERT_EQ(recorder.changes.size(), 2u);
  EXPECT_EQ(recorder.changes[1].range, (RegisterRange{1, 18, 3, 20}));
  EXPECT_EQ(recorder.changes[1].previous_texts, std::vector<Text>(9, ""));

  reg.SetTitle(8, "奖金(免税)");
  EXPECT_EQ(recorder.changes.back().kind, RegisterChange::Kind::kTitles);
  EXPECT_EQ(recorder.changes.back().range, (RegisterRange{0, 8, 0, 8}));

  reg.InsertRows(2, std::vector<RowTexts>(2));
  EXPECT_EQ(recorder.changes.back().kind, RegisterChange::Kind::kRowsInserted);
  EXPECT_EQ(recorder.changes.back().range, (RegisterRange{2, 0, 3, kRegisterColumns - 1}));

  reg.RemoveRow(4);  // 王五, moved down by the insert
  EXPECT_EQ(recorder.changes.back().kind, RegisterChange::Kind::kRowsRemoved);
  ASSERT_EQ(recorder.changes.back().previous_rows.size(), 1u);
  EXPECT_EQ(recorder.changes.back().previous_rows[0][1], "王五");

  reg.ReplaceRows(std::vector<RowTexts>(5000));
  EXPECT_EQ(recorder.changes.back().kind, RegisterChange::Kind::kRowsReplaced);
  EXPECT_EQ(recorder.changes.back().range, (RegisterRange{1, 0, 5000, kRegisterColumns - 1}));
  EXPECT_EQ(recorder.changes.back().previous_rows.size(), 4u);
  EXPECT_EQ(recorder.changing, static_cast<int>(recorder.changes.size()));
}

TEST(SalaryRegisterTest, EveryChangeCanBeTakenBackFromWhatItReplaced) {
  SalaryRegister reg;
  reg.SetRowCount(6);
  reg.SetCellTexts({1, 0, 3, 2}, {"1", "甲", "100", "2", "乙", "1,500", "3", "丙", ""});
  reg.SetTitle(2, "基本工资");
  const std::vector<RowTexts> before = Snapshot(reg);
  Recorder recorder(reg);
  reg.SetCellText(1, 2, "200");
  reg.SetTitles(RowTexts{"编号", "姓名"});
  reg.InsertRow(2);
  reg.SetCellTexts({2, 0, 2, 1}, {"4", "丁"});
  reg.RemoveRows(3, 2);
  reg.SetRowCount(10);
  reg.SetRowCount(2);
  reg.ReplaceRows(std::vector<RowTexts>(3));
  reg.SetAmount(3, 20, 5);
  ASSERT_NE(Snapshot(reg), before);
  recorder.UndoAll();
  EXPECT_EQ(Snapshot(reg), before);
}

TEST(SalaryRegisterTest, ActionsNestAndListenersHearOnlyTheOutermost) {
  SalaryRegister reg;
  reg.SetRowCount(3);
  struct Steps : RegisterListener {
    std::string heard;
    void ActionBegins() override { heard += '('; }
    void ActionEnds() override { heard += ')'; }
    void RegisterChanged(const RegisterChange&) override { heard += 'c'; }
  } steps;
  reg.AddListener(&steps);
  reg.SetCellText(1, 1, "a");
  {
    RegisterAction outer(reg);
    reg.SetCellText(1, 2, "b");
    {
      RegisterAction inner(reg);
      reg.RemoveRow(2);
    }
    reg.SetTitle(3, "c");
  }
  reg.RemoveListener(&steps);
  EXPECT_EQ(steps.heard, "c(ccc)");
}

// A listener may store input it still holds when it hears that the register is about to change
// (a grid's open cell editor); that change comes first and the other still follows.
TEST(SalaryRegisterTest, ListenersMayChangeTheRegisterBeforeAChange) {
  SalaryRegister reg;
  reg.SetRowCount(3);
  struct PendingEdit : RegisterListener {
    SalaryRegister* reg = nullptr;
    bool pending = true;
    std::vector<RegisterRange> heard;
    void RegisterChanging() override {
      if (!pending) return;
      pending = false;
      reg->SetCellText(1, 3, "typed");
    }
    void RegisterChanged(const RegisterChange& change) override { heard.push_back(change.range); }
  } edit;
  edit.reg = &reg;
  reg.AddListener(&edit);
  reg.RemoveRow(2);
  reg.RemoveListener(&edit);
  EXPECT_EQ(reg.CellText(1, 3), "typed");
  EXPECT_EQ(reg.RowCount(), 2);
  ASSERT_EQ(edit.heard.size(), 2u);
  EXPECT_EQ(edit.heard[0], (RegisterRange{1, 3, 1, 3}));
  EXPECT_EQ(edit.heard[1], (RegisterRange{2, 0, 2, kRegisterColumns - 1}));
}

}  // namespace
}  // namespace sr::app
