// The salary item settings window: renaming items and switching their tax-exempt mark in the
// relay file or the register file, checked before anything is applied, and the register shared
// again however the window closes.
#include <gtest/gtest.h>

#include "app/settings/settings_window.h"
#include "app/tests/tax_test_support.h"
#include "platform/fs/real_file_system.h"

namespace sr::app::test {
namespace {

using Form = forms::SettingsForm;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.WriteRegisterFile("ZhongZhuan.rgq", DefaultTitles());
    program_.Start();
    program_.LayOutRegister(2, DefaultTitles());
  }

  void Open() { SettingsWindow(program_.context()).Show(); }
  static void Click(Form& form, int row) {
    form.grid().PressButton(row, 1, 10, 10, 0);
    form.grid().ReleaseButton(row, 1, 10, 10, 0);
  }
  static void DoubleClick(Form& form, int row) {
    form.grid().PressButton(row, 1, 10, 10, 0);
    form.grid().ReleaseButton(row, 1, 10, 10, 0);
    form.grid().DoubleClickButton(row, 1, 10, 10, 0);
    form.grid().ReleaseButton(row, 1, 10, 10, 0);
  }
  static void Name(Form& form, int item, const char* name) {
    form.grid().SetCellValue(item, 1, 1, Value::FromText(name));
  }
  static void Confirm(Form& form) { form.confirm_button().OnClicked(); }
  static void Cancel(Form& form) { form.cancel_button().OnClicked(); }
  Text Relay() { return program_.PathOf("ZhongZhuan.rgq"); }
  // Another program opening the file in the default share mode.
  bool SharedAgain(const Text& path) {
    DatabaseTable other(fs::RealFileSystem());
    return other.OpenDatabase(path, "");
  }

  TaxProgram program_;
};

TEST(ToggleTest, MarkIsAddedOrEveryOccurrenceRemoved) {
  EXPECT_EQ(ToggleTaxExempt("奖金"), "奖金(免税)");
  EXPECT_EQ(ToggleTaxExempt("奖金(免税)"), "奖金");
  EXPECT_EQ(ToggleTaxExempt("(免税)奖金(免税)"), "奖金");
  EXPECT_EQ(ToggleTaxExempt("奖金（免税）"), "奖金（免税）(免税)");
}

TEST(CheckNamesTest, TooLongOrEqualIgnoringCaseIsNamedAndSwapsAreAllowed) {
  std::vector<Text> fields = DefaultTitles();
  fields[2] = "Base";
  std::vector<Text> names(kSalaryItems);
  names[0] = "基本工资和岗位(免税)";  // 20 bytes
  names[1] = "BASE";                 // item 1 keeps "Base" only if item 1 is renamed: it is
  std::vector<Text> problems = CheckItemNames(names, fields);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("第 1 项"), Text::npos) << problems[0];

  names[0] = "";  // item 1 stays "Base": item 2 now clashes with it
  problems = CheckItemNames(names, fields);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("第 2 项“BASE”与“Base”重名"), Text::npos) << problems[0];

  names[0] = "岗位工资";  // the two items change places
  names[1] = "Base";
  EXPECT_TRUE(CheckItemNames(names, fields).empty());
  names[0] = "姓名";  // a field that is no salary item
  EXPECT_EQ(CheckItemNames(names, fields).size(), 1u);
}

TEST_F(SettingsTest, SetUpListsTheItemsWithTheirFieldNames) {
  program_.InModal<Form>([](Form& form) {
    const Grid& grid = form.grid();
    EXPECT_EQ(grid.CellText(0, 0), "序号");
    EXPECT_EQ(grid.CellText(0, 1), "工资项目名称");
    EXPECT_EQ(grid.ColumnWidth(0), 42);
    EXPECT_EQ(grid.CellText(1, 1), "基本工资");
    EXPECT_EQ(grid.CellText(8, 1), "其他收入");
    EXPECT_EQ(grid.CellText(9, 1), "养老保险(免税)");  // field 12: field 11 is gross pay
    EXPECT_EQ(grid.CellText(15, 0), "15");
    EXPECT_EQ(grid.CellText(15, 1), "事假扣款");
    Cancel(form);
  });
  Open();
  EXPECT_TRUE(program_.Messages().empty());
}

TEST_F(SettingsTest, ClickEditAndDoubleClickChangeTheItemCell) {
  program_.InModal<Form>([](Form& form) {
    Click(form, 7);
    EXPECT_EQ(form.edit_box().text(), "奖金");
    form.edit_box().OnTextEdited("奖");
    EXPECT_EQ(form.grid().CellText(7, 1), "奖");
    form.edit_box().OnTextEdited("奖励");
    EXPECT_EQ(form.grid().CellText(7, 1), "奖励");
    DoubleClick(form, 7);
    EXPECT_EQ(form.grid().CellText(7, 1), "奖励(免税)");
    EXPECT_EQ(form.edit_box().text(), "奖励(免税)");
    Click(form, 1);
    EXPECT_EQ(form.edit_box().text(), "基本工资");
    DoubleClick(form, 7);
    EXPECT_EQ(form.grid().CellText(7, 1), "奖励");
    Cancel(form);
  });
  Open();
}

TEST_F(SettingsTest, ApplyRenamesTheRelayFileWhileUntitledAndTheGridTitles) {
  program_.InModal<Form>([](Form& form) {
    Name(form, 7, "奖金(免税)");
    Name(form, 9, "");  // a cleared cell keeps its name
    Name(form, 1, "岗位工资");  // the first two items change places
    Name(form, 2, "基本工资");
    Confirm(form);
  });
  Open();
  EXPECT_TRUE(program_.Messages().empty());
  std::vector<Text> expected = DefaultTitles();
  expected[8] = "奖金(免税)";
  expected[2] = "岗位工资";
  expected[3] = "基本工资";
  EXPECT_EQ(program_.FieldNames(Relay()), expected);
  EXPECT_EQ(program_.grid().CellText(0, 8), "奖金(免税)");
  EXPECT_EQ(program_.grid().CellText(0, 2), "岗位工资");
  EXPECT_EQ(program_.grid().CellText(0, 11), "养老保险(免税)");
  EXPECT_EQ(program_.state().modified, 0);
  EXPECT_TRUE(SharedAgain(Relay()));
  EXPECT_TRUE(program_.databases().SelectDatabase("打开的数据"));
}

TEST_F(SettingsTest, ApplyRenamesTheRegisterFileOnceItHasOne) {
  program_.WriteRegisterFile("register.dat", DefaultTitles());
  program_.state().untitled = 0;
  program_.state().register_path = program_.PathOf("register.dat");
  program_.InModal<Form>([](Form& form) {
    Name(form, 15, "病假扣款");
    Confirm(form);
  });
  Open();
  EXPECT_EQ(program_.FieldNames(program_.PathOf("register.dat"))[17], "病假扣款");
  EXPECT_EQ(program_.FieldNames(Relay()), DefaultTitles());
  EXPECT_EQ(program_.grid().CellText(0, 17), "病假扣款");
}

// The titles on screen are what the calculation reads for the tax-exempt mark, so 确认 shows the
// field's name for every item it applies, renamed or not: a title that had drifted from its
// field (the field renamed by another program) is set right. A cleared item is not applied.
TEST_F(SettingsTest, ApplyShowsTheFieldNameOfEveryItemItApplies) {
  program_.SetRow(0, {{3, "旧标题"}, {12, "另一个旧标题"}});
  program_.InModal<Form>([](Form& form) {
    Name(form, 10, "");  // item 10 is field 13, column 12
    Confirm(form);
  });
  Open();
  EXPECT_TRUE(program_.Messages().empty());
  EXPECT_EQ(program_.grid().CellText(0, 3), "岗位工资");
  EXPECT_EQ(program_.grid().CellText(0, 12), "另一个旧标题");
  EXPECT_EQ(program_.FieldNames(Relay()), DefaultTitles());
}

TEST_F(SettingsTest, InvalidNamesApplyNothingAndLeaveTheGridTitles) {
  program_.InModal<Form>([this](Form& form) {
    Name(form, 1, "基本");
    DoubleClick(form, 14);  // 住房公积金(免税) loses its mark
    Name(form, 2, "住房公积金补贴(免税)");  // 20 bytes
    Name(form, 3, "奖金");                  // item 7's name
    Confirm(form);
    EXPECT_EQ(program_.Messages().size(), 1u);
    Cancel(form);
  });
  Open();
  const Text text = program_.Messages().at(0).text;
  EXPECT_NE(text.find("第 2 项"), Text::npos) << text;
  EXPECT_NE(text.find("第 3 项"), Text::npos) << text;
  EXPECT_EQ(text.find("第 1 项"), Text::npos) << text;
  EXPECT_EQ(program_.FieldNames(Relay()), DefaultTitles());
  EXPECT_EQ(program_.grid().CellText(0, 2), "基本工资");
  EXPECT_EQ(program_.grid().CellText(0, 14), "住房公积金(免税)");
  EXPECT_TRUE(SharedAgain(Relay()));
}

TEST_F(SettingsTest, CloseBoxAppliesNothingAndSharesTheRegisterAgain) {
  program_.InModal<Form>([](Form& form) { Name(form, 1, "底薪"); });  // then the close box
  Open();
  EXPECT_EQ(program_.FieldNames(Relay()), DefaultTitles());
  EXPECT_TRUE(SharedAgain(Relay()));
}

TEST_F(SettingsTest, RegisterHeldByAnotherProgramIsReportedAndTheWindowDoesNotOpen) {
  DatabaseTable other(fs::RealFileSystem());
  ASSERT_TRUE(other.OpenDatabase(Relay(), "", OpenOptions::WithShareMode(1)));
  Open();
  ASSERT_EQ(program_.Messages().size(), 1u);
  const Text text = program_.Messages()[0].text;
  EXPECT_NE(text.find(program_.directory()), Text::npos) << text;
  EXPECT_NE(text.find("ZhongZhuan.rgq"), Text::npos) << text;
  EXPECT_NE(text.find(DatabaseErrorMessage(-12)), Text::npos) << text;  // sharing violation
  for (const headless::ScreenEvent& event : program_.backend().screen_log()) {
    EXPECT_NE(event.text, "设置工资项目及免税项目") << "the window was created";
  }
  EXPECT_TRUE(program_.databases().SelectDatabase("打开的数据"));  // shared, as before
}

}  // namespace
}  // namespace sr::app::test
